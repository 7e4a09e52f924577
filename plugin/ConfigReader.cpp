#include "plugin/ConfigReader.h"

#include <cctype>
#include <cstdint>
#include <limits>

#include "plugin/SettingsAccess.h"

namespace {

constexpr const char* kConfigSection = "CONFIG";

bool ReadConfigValue(const char* szKey, std::string& strValue) {
  return AccessProfileSetting(kSettingRead, kConfigSection, szKey, strValue, kSettingsFileName);
}

}  // namespace

int SplitCommaList(const std::string& strValue, ConfigNameList& arrNames) {
  int nCount = 0;
  size_t nStart = 0;
  while (nStart <= strValue.size() && nCount < kMaxConfigListEntries) {
    size_t nComma = strValue.find(',', nStart);
    if (nComma == std::string::npos) nComma = strValue.size();
    if (nComma > nStart) arrNames[static_cast<size_t>(nCount++)] = strValue.substr(nStart, nComma - nStart);
    nStart = nComma + 1;
  }
  return nCount;
}

int32_t ParseLeadingInt(const std::string& strValue) {
  size_t nPos = 0;
  while (nPos < strValue.size() && std::isspace(static_cast<unsigned char>(strValue[nPos]))) ++nPos;
  bool bNegative = false;
  if (nPos < strValue.size() && (strValue[nPos] == '+' || strValue[nPos] == '-')) {
    bNegative = strValue[nPos] == '-';
    ++nPos;
  }
  int64_t nValue = 0;
  constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  for (; nPos < strValue.size() && std::isdigit(static_cast<unsigned char>(strValue[nPos])); ++nPos) {
    nValue = nValue * 10 + (strValue[nPos] - '0');
    if (nValue > kLimit) nValue = kLimit;
  }
  if (bNegative) return static_cast<int32_t>(-nValue);
  return static_cast<int32_t>(nValue > kLimit - 1 ? kLimit - 1 : nValue);
}

void ReadConfiguration(PluginContext& context) {
  std::string strValue;
  if (ReadConfigValue("CALC", strValue)) {
    context.calcFormula = strValue;
    context.calcEnabled = !strValue.empty();
  }
  if (context.calcEnabled) {
    if (ReadConfigValue("CREDIT", strValue))
      context.creditCount = SplitCommaList(strValue, context.creditColumns);
    if (ReadConfigValue("DEBIT", strValue))
      context.debitCount = SplitCommaList(strValue, context.debitColumns);
  }
  if (ReadConfigValue("DIALOG COUNT", strValue) && !strValue.empty())
    context.watchCount = ParseLeadingInt(strValue);
  if (ReadConfigValue("MAIL_CC", strValue)) context.mailCc = strValue;
  if (ReadConfigValue("COLORING CUSTOM COLUMN", strValue))
    context.colouredCustomCount = SplitCommaList(strValue, context.colouredCustomColumns);
}
