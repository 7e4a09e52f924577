#include "lists/AppearanceLine.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

char ToLowerAscii(char chText) {
  return chText >= 'A' && chText <= 'Z' ? static_cast<char>(chText - 'A' + 'a') : chText;
}

std::string FormatHex(uint32_t nValue) {
  char szText[16];
  std::snprintf(szText, sizeof(szText), "%X", static_cast<unsigned int>(nValue));
  return szText;
}

// The value cut at every comma; empty fields are kept.
std::vector<std::string> SplitFields(const std::string& strValue) {
  std::vector<std::string> arrFields;
  size_t nStart = 0;
  while (true) {
    const size_t nComma = strValue.find(',', nStart);
    arrFields.push_back(strValue.substr(nStart, nComma == std::string::npos ? std::string::npos : nComma - nStart));
    if (nComma == std::string::npos) break;
    nStart = nComma + 1;
  }
  return arrFields;
}

uint32_t ParseHex(const std::string& strText) {
  return static_cast<uint32_t>(std::strtoul(strText.c_str(), nullptr, 16));
}

}  // namespace

std::string FormatAppearanceKey(std::string_view strListName, int32_t nControlId) {
  return std::string(strListName) + "-" + std::to_string(nControlId);
}

std::string FormatKeywordPart(int32_t nColumn, const std::vector<std::string>& arrKeywords,
                              const std::vector<uint32_t>& arrColours) {
  if (nColumn < 0) return {};
  std::string strPart = std::to_string(nColumn) + ",";
  const size_t nCount = std::min(arrKeywords.size(), arrColours.size());
  for (size_t nIndex = 0; nIndex < nCount; ++nIndex) {
    strPart += arrKeywords[nIndex] + "," + FormatHex(arrColours[nIndex]) + ",";
  }
  return strPart;
}

std::string FormatKeywordPart(const sAppearanceInfo& appearance) {
  static const std::vector<std::string> s_arrNoKeywords;
  static const std::vector<uint32_t> s_arrNoColours;
  return FormatKeywordPart(appearance.nKeywordColumn,
                           appearance.pKeywords != nullptr ? *appearance.pKeywords : s_arrNoKeywords,
                           appearance.pKeywordColours != nullptr ? *appearance.pKeywordColours : s_arrNoColours);
}

std::string FormatAppearanceValue(const sAppearanceInfo& appearance, const std::string& strKeywordPart) {
  std::string strValue = FormatHex(appearance.clrBackground) + "," + FormatHex(appearance.clrText) + "," +
                         appearance.strFontName + "," + appearance.strFontSize;
  if (!strKeywordPart.empty()) strValue += "," + strKeywordPart;
  return strValue;
}

bool ParseAppearanceValue(const std::string& strValue, sAppearanceInfo& appearance) {
  if (strValue.empty() || strValue == kAppearanceNotFound) return false;
  const std::vector<std::string> arrFields = SplitFields(strValue);
  if (arrFields.size() < 4) return false;
  appearance.clrBackground = ParseHex(arrFields[0]);
  appearance.clrText = ParseHex(arrFields[1]);
  appearance.strFontName = arrFields[2];
  appearance.strFontSize = arrFields[3];
  if (arrFields.size() < 5 || arrFields[4].empty()) return true;
  appearance.nKeywordColumn = static_cast<int32_t>(std::strtol(arrFields[4].c_str(), nullptr, 10));
  if (appearance.nKeywordColumn == -1 || arrFields.size() < 6) return true;
  if (appearance.pKeywords == nullptr) appearance.pKeywords = std::make_shared<std::vector<std::string>>();
  if (appearance.pKeywordColours == nullptr) appearance.pKeywordColours = std::make_shared<std::vector<uint32_t>>();
  std::vector<std::string>& arrKeywords = *appearance.pKeywords;
  std::vector<uint32_t>& arrColours = *appearance.pKeywordColours;
  arrKeywords.clear();
  arrColours.clear();
  for (size_t nField = 5; nField < arrFields.size() && !arrFields[nField].empty(); nField += 2) {
    if (nField + 1 >= arrFields.size() || arrFields[nField + 1].empty()) {
      arrKeywords.clear();
      arrColours.clear();
      break;
    }
    std::string strKeyword = arrFields[nField];
    std::transform(strKeyword.begin(), strKeyword.end(), strKeyword.begin(), ToLowerAscii);
    arrKeywords.push_back(std::move(strKeyword));
    arrColours.push_back(ParseHex(arrFields[nField + 1]));
  }
  return true;
}

size_t FindKeywordInsertRow(const std::vector<std::string>& arrKeywords, std::string_view strKeyword) {
  const auto itRow = std::find_if(arrKeywords.begin(), arrKeywords.end(), [&](const std::string& strExisting) {
    return strExisting.size() <= strKeyword.size();
  });
  return static_cast<size_t>(itRow - arrKeywords.begin());
}

bool MatchKeywordColour(const sAppearanceInfo& appearance, std::string_view strCellText, uint32_t& clrColour) {
  if (!HasKeywordColours(appearance)) return false;
  const std::vector<std::string>& arrKeywords = *appearance.pKeywords;
  const size_t nCount = std::min(arrKeywords.size(), appearance.pKeywordColours->size());
  // Compared in place, lower-casing the cell text as it is read: no copy of the text per row.
  const auto fnSameLower = [](char chCell, char chKeyword) { return ToLowerAscii(chCell) == chKeyword; };
  for (size_t nIndex = 0; nIndex < nCount; ++nIndex) {
    const std::string& strKeyword = arrKeywords[nIndex];
    if (std::search(strCellText.begin(), strCellText.end(), strKeyword.begin(), strKeyword.end(), fnSameLower) !=
            strCellText.end() ||
        strKeyword.empty()) {
      clrColour = (*appearance.pKeywordColours)[nIndex];
      return true;
    }
  }
  return false;
}

sStoredAppearance ReadStoredAppearance(const IListSettingsFile& file, const std::string& strKey,
                                       const sAppearanceInfo& current) {
  sStoredAppearance stored;
  stored.appearance = current;
  const std::string strValue =
      file.ReadKey(kAppearanceSection, strKey, kAppearanceNotFound, kAppearanceBufferSize);
  stored.bStored = ParseAppearanceValue(strValue, stored.appearance);
  if (!stored.bStored) {
    stored.appearance = g_defaultAppearance;
    stored.appearance.bKeywordsAvailable = current.bKeywordsAvailable;
  }
  return stored;
}

bool WriteStoredAppearance(IListSettingsFile& file, const std::string& strKey, const std::string& strValue) {
  return file.WriteKey(kAppearanceSection, strKey, strValue);
}
