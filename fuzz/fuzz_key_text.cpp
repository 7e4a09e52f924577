// Feeds arbitrary bytes to the reader of key files and allow-lists. Good or bad, it must not
// crash; a text it takes holds only keys that are keys, each on a line that exists.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "keys/CurveKeys.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  const std::string_view strText(reinterpret_cast<const char*>(pData), nSize);
  std::string strError;
  const auto arrKeys = ParseKeyText(strText, strError);
  if (!arrKeys) {
    if (strError.empty()) std::abort();
    return 0;
  }
  int nLines = 1;
  for (const char c : strText) nLines += c == '\n' ? 1 : 0;
  int nPrevious = 0;
  for (const sKeyLine& key : *arrKeys) {
    if (!IsZ85Key(key.strKey) || key.nLine <= nPrevious || key.nLine > nLines) std::abort();
    nPrevious = key.nLine;
  }
  return 0;
}
