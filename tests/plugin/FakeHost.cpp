// A host module for start-up and shutdown tests. Built several times, each build offering
// the services its definitions name; each service logs its call to standard output.
#include <cstdio>
#include <cstdlib>

#include "host/api/HalvoHostApi.h"

extern "C" {

#ifdef FAKE_HOST_USER_DIRECTORY
HALVO_API int pu_get_UserDirectory(CHostString* pstrDirectory) {
  std::printf("service pu_get_UserDirectory\n");
  const char* szDirectory = std::getenv("FAKE_HOST_USER_DIRECTORY");
  *pstrDirectory = szDirectory != nullptr ? szDirectory : "";
  return 1;
}
#endif

#ifdef FAKE_HOST_DESTROY
HALVO_API void DestoryPyxoRxCOntrol(CPyxoRxControl* /*pControl*/) {
  std::printf("service DestoryPyxoRxCOntrol\n");
}
#endif

}  // extern "C"
