#include "controls/FontChoice.h"

#include <cmath>
#include <cstdlib>
#include <strings.h>

namespace {

bool IsSameIgnoringCase(std::string_view strLeft, std::string_view strRight) {
  return strLeft.size() == strRight.size() && ::strncasecmp(strLeft.data(), strRight.data(), strLeft.size()) == 0;
}

const char* GetStyleWord(int32_t nStyle) {
  switch (nStyle) {
    case 1:
      return "Bold";
    case 2:
      return "Italic";
    case 3:
      return "Bold Italic";
    default:
      return "Regular";
  }
}

}  // namespace

std::vector<std::string> GetFontSizeTexts() {
  std::vector<std::string> arrTexts;
  for (const int32_t nSize : kFontSizes) arrTexts.push_back(std::to_string(nSize));
  return arrTexts;
}

int32_t GetFontHeight(const std::string& strSize, int32_t nDpiY) {
  const long nSize = std::strtol(strSize.c_str(), nullptr, 10);
  return -static_cast<int32_t>(std::lround(static_cast<double>(nSize) * nDpiY / 72.0));
}

int32_t FindEntryWithPrefix(const std::vector<std::string>& arrEntries, std::string_view strPrefix) {
  for (size_t nIndex = 0; nIndex < arrEntries.size(); ++nIndex) {
    const std::string& strEntry = arrEntries[nIndex];
    if (strEntry.size() >= strPrefix.size() && IsSameIgnoringCase(std::string_view(strEntry).substr(0, strPrefix.size()), strPrefix)) {
      return static_cast<int32_t>(nIndex);
    }
  }
  return -1;
}

int32_t FindEntryIgnoringCase(const std::vector<std::string>& arrEntries, std::string_view strText) {
  for (size_t nIndex = 0; nIndex < arrEntries.size(); ++nIndex) {
    if (IsSameIgnoringCase(arrEntries[nIndex], strText)) return static_cast<int32_t>(nIndex);
  }
  return -1;
}

std::string FormatFontCaption(const std::string& strName, const std::string& strSize, int32_t nStyle) {
  if (nStyle == -1) return strName + " (" + strSize + ")";
  return strName + " (" + GetStyleWord(nStyle) + " , " + strSize + ")";
}
