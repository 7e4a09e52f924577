// A host module for start-up and shutdown tests. Built several times, each build offering
// the services its definitions name; each service logs its call to standard output, and the
// receive controls it hands out log the name of every request and each close.
#include <cstdio>
#include <cstdlib>

#include "host/api/HalvoHostApi.h"
#include "tests/support/FakeRxControl.h"

namespace {

class CLoggingRxControl final : public CPyxoRxControl {
 public:
  explicit CLoggingRxControl(int32_t nKind) : m_nKind(nKind) {}
  int SendRequest(uint64_t* pnOut, OTP_MSG hMsg, int32_t /*nFlags*/, int32_t* /*pnErr*/) override {
    const uint8_t* pBytes = nullptr;
    size_t nLength = 0;
    if (pnOut != nullptr) *pnOut = 0;
    if (!GetComposedBytes(hMsg, &pBytes, &nLength)) return 0;
    const FieldList arrFields = ListFields(pBytes, nLength);
    std::printf("control %d request %s\n", m_nKind,
                arrFields.empty() ? "" : arrFields.front().second.c_str());
    return 1;
  }
  int Subscribe(uint64_t*, uint32_t, const char*, uint64_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                int32_t*) override {
    return 1;
  }
  int Publish(OTP_SCRATCH, int32_t*) override { return 1; }
  void Close(int32_t nFlags) override { std::printf("control %d close %d\n", m_nKind, nFlags); }

 private:
  int32_t m_nKind;
};

CLoggingRxControl g_controls[2] = {CLoggingRxControl(0), CLoggingRxControl(1)};

}  // namespace

extern "C" {

#ifdef FAKE_HOST_USER_DIRECTORY
HALVO_API int pu_get_UserDirectory(CHostString* pstrDirectory) {
  std::printf("service pu_get_UserDirectory\n");
  const char* szDirectory = std::getenv("FAKE_HOST_USER_DIRECTORY");
  *pstrDirectory = szDirectory != nullptr ? szDirectory : "";
  return 1;
}
#endif

HALVO_API CPyxoRxControl* GetPyxoRxControl(int32_t nKind, CPyxoRxNotifierBase* /*pReceiver*/) {
  std::printf("service GetPyxoRxControl %d\n", nKind);
  return &g_controls[nKind & 1];
}

HALVO_API void DestoryPyxoRxCOntrol(CPyxoRxControl* pControl) {
  std::printf("service DestoryPyxoRxCOntrol %d\n", pControl == &g_controls[0] ? 0 : 1);
}

}  // extern "C"
