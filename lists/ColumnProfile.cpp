#include "lists/ColumnProfile.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstring>


namespace {

bool IsCSpace(char ch) { return ch == ' ' || (ch >= '\t' && ch <= '\r'); }

// A whole field: blanks, an optional sign, digits, blanks; within the 32-bit range.
bool ReadProfileInteger(std::string_view strField, int32_t& nValue) {
  while (!strField.empty() && IsCSpace(strField.front())) {
    strField.remove_prefix(1);
  }
  while (!strField.empty() && IsCSpace(strField.back())) {
    strField.remove_suffix(1);
  }
  if (strField.size() >= 2 && strField[0] == '+' && strField[1] != '-') {
    strField.remove_prefix(1);
  }
  const char* const pEnd = strField.data() + strField.size();
  const std::from_chars_result result = std::from_chars(strField.data(), pEnd, nValue);
  return result.ec == std::errc{} && result.ptr == pEnd;
}

std::string_view GetColumnName(const sHalvoColInfo& column) {
  return {column.szName, strnlen(column.szName, sizeof(column.szName))};
}

void AppendPlace(std::string& strValue, int32_t nIndex, int32_t nPosition, int32_t nWidth) {
  strValue += std::to_string(nIndex);
  strValue += ',';
  strValue += std::to_string(nPosition);
  strValue += ',';
  strValue += std::to_string(nWidth);
}

}  // namespace

std::vector<sProfileEntry> ReadProfileEntries(std::string_view strValue) {
  std::vector<sProfileEntry> arrEntries;
  int32_t arrFields[3] = {};
  size_t nField = 0;
  bool bTripleGood = true;
  size_t nStart = 0;
  for (;;) {
    const size_t nComma = strValue.find(',', nStart);
    const std::string_view strField = strValue.substr(nStart, nComma - nStart);
    bTripleGood = ReadProfileInteger(strField, arrFields[nField]) && bTripleGood;
    if (++nField == 3) {
      if (bTripleGood && arrFields[0] >= 0) {
        arrEntries.push_back({arrFields[0], arrFields[1], arrFields[2]});
      }
      nField = 0;
      bTripleGood = true;
    }
    if (nComma == std::string_view::npos) {
      break;
    }
    nStart = nComma + 1;
  }
  return arrEntries;
}

void ApplyProfileEntries(CListLayout& layout, std::span<const sProfileEntry> arrEntries) {
  const size_t nCount = layout.m_arrColumns.size();
  std::vector<int32_t> arrPositions(nCount, -1);
  std::vector<int32_t> arrWidths(nCount, 0);
  std::vector<size_t> arrReadOrder(nCount, 0);
  for (size_t nRead = 0; nRead < arrEntries.size(); ++nRead) {
    const sProfileEntry& entry = arrEntries[nRead];
    if (entry.nIndex < 0 || static_cast<size_t>(entry.nIndex) >= nCount) {
      continue;
    }
    const size_t nIndex = static_cast<size_t>(entry.nIndex);
    arrPositions[nIndex] = entry.nPosition;
    arrWidths[nIndex] = entry.nWidth;
    arrReadOrder[nIndex] = nRead;
  }
  std::vector<size_t> arrShown;
  for (size_t i = 0; i < nCount; ++i) {
    if (arrPositions[i] >= 0) {
      arrShown.push_back(i);
    }
  }
  if (arrShown.empty()) {
    layout.ShowAllColumns();
    return;
  }
  std::sort(arrShown.begin(), arrShown.end(), [&](size_t a, size_t b) {
    return arrPositions[a] != arrPositions[b] ? arrPositions[a] < arrPositions[b]
                                              : arrReadOrder[a] < arrReadOrder[b];
  });
  for (size_t nPosition = 0; nPosition < arrShown.size(); ++nPosition) {
    arrPositions[arrShown[nPosition]] = static_cast<int32_t>(nPosition);
  }
  layout.SetLayout(arrPositions, arrWidths);
  layout.m_nFirstColumn = layout.GetColumnAt(0);
}

std::array<int32_t, kCallAmountKeys.size()> ResolveCallAmountColumns(
    const std::vector<sHalvoColInfo>& arrColumns,
    std::span<const std::string, kCallAmountKeys.size()> arrValues) {
  std::array<int32_t, kCallAmountKeys.size()> arrResult{};
  for (size_t nKey = 0; nKey < arrResult.size(); ++nKey) {
    const std::string& strName = arrValues[nKey];
    const auto it = std::find_if(arrColumns.begin(), arrColumns.end(), [&](const sHalvoColInfo& column) {
      return !strName.empty() && GetColumnName(column) == strName;
    });
    arrResult[nKey] = it != arrColumns.end() ? static_cast<int32_t>(it - arrColumns.begin()) : -1;
  }
  return arrResult;
}

sProfileValues BuildProfileValues(const CListLayout& layout, std::span<const sHeaderItem> arrHeader) {
  sProfileValues values;
  for (size_t i = 0; i < layout.m_arrColumns.size(); ++i) {
    const sHalvoColInfo& column = layout.m_arrColumns[i];
    const std::string_view strName = GetColumnName(column);
    const auto itHeader = std::find_if(arrHeader.begin(), arrHeader.end(),
                                       [&](const sHeaderItem& item) { return item.strText == strName; });
    const int32_t nWidth = itHeader != arrHeader.end() ? itHeader->nWidth : 0;
    const int32_t nIndex = static_cast<int32_t>(i);
    const int32_t nPosition = layout.GetPosition(nIndex);
    if (column.nKind == kColumnCatalogue) {
      if (nIndex != 0) {
        values.strColumnProfile += ',';
      }
      AppendPlace(values.strColumnProfile, nIndex, nPosition, nWidth);
      continue;
    }
    std::string* pValue = column.nKind == kColumnCustom            ? &values.strUserColumnProfile
                          : column.nKind == kColumnProtectedCustom ? &values.strProtectedColumnProfile
                                                                   : nullptr;
    if (pValue == nullptr) {
      continue;
    }
    *pValue += ',';
    AppendPlace(*pValue, nIndex, nPosition, nWidth);
    *pValue += ',';
    *pValue += strName;
    *pValue += '#';
    *pValue += column.strFormula;
    *pValue += '#';
    *pValue += column.strFormulaText;
  }
  return values;
}

void LoadColumnProfile(CListLayout& layout, const ProfileReadFn& fnRead,
                       const CustomColumnReadFn& fnReadCustom) {
  layout.RecordCatalogueCount();
  layout.m_arrCallAmountColumns.fill(-1);
  std::string strValue;
  if (!fnRead(kColumnProfileKey, strValue)) {
    layout.ShowAllColumns();
    return;
  }
  std::vector<sProfileEntry> arrEntries = ReadProfileEntries(strValue);
  // The triples are those of the standard columns; custom columns come from their own keys.
  std::erase_if(arrEntries,
                [&layout](const sProfileEntry& entry) { return entry.nIndex >= layout.m_nCatalogueCount; });
  if (fnReadCustom) {
    const std::vector<sProfileEntry> arrCustom = fnReadCustom(layout, fnRead);
    arrEntries.insert(arrEntries.end(), arrCustom.begin(), arrCustom.end());
  }
  ApplyProfileEntries(layout, arrEntries);
  std::array<std::string, kCallAmountKeys.size()> arrValues;
  for (size_t nKey = 0; nKey < kCallAmountKeys.size(); ++nKey) {
    if (!fnRead(kCallAmountKeys[nKey], arrValues[nKey])) {
      arrValues[nKey].clear();
    }
  }
  layout.m_arrCallAmountColumns = ResolveCallAmountColumns(layout.m_arrColumns, arrValues);
}

bool SaveColumnProfile(const CListLayout& layout, std::span<const sHeaderItem> arrHeader,
                       const ProfileWriteFn& fnWrite) {
  const sProfileValues values = BuildProfileValues(layout, arrHeader);
  const std::pair<const char*, const std::string*> arrWrites[] = {
      {kColumnProfileKey, &values.strColumnProfile},
      {kUserColumnProfileKey, &values.strUserColumnProfile},
      {kProtectedColumnProfileKey, &values.strProtectedColumnProfile}};
  bool bAllWritten = true;
  for (const auto& [szKey, pValue] : arrWrites) {
    if (!fnWrite(szKey, *pValue)) {
      bAllWritten = false;
    }
  }
  return bAllWritten;
}

void ReadStoredProfile(const IListSettingsFile& file, const std::string& strSection, CListLayout& layout,
                       const CustomColumnReadFn& fnReadCustom) {
  const ProfileReadFn fnRead = [&file, &strSection](const std::string& strKey, std::string& strValue) {
    return file.ReadProfileKey(strSection, strKey, strValue);
  };
  LoadColumnProfile(layout, fnRead, fnReadCustom);
}

sProfileSave WriteStoredProfile(IListSettingsFile& file, const std::string& strSection,
                                const CListLayout& layout, std::span<const sHeaderItem> arrHeader,
                                const ProfileFailureFn& fnFailure) {
  sProfileSave save;
  const auto fnAddFailure = [&save, &fnFailure](const char* szText) {
    save.arrFailureTexts.emplace_back(szText);
    if (fnFailure) fnFailure(save.arrFailureTexts.back());
  };
  save.bAllWritten =
      SaveColumnProfile(layout, arrHeader, [&](const std::string& strKey, const std::string& strValue) {
        const sListSettingWrite write = file.WriteProfileKey(strSection, strKey, strValue);
        if (write.szFailure != nullptr) fnAddFailure(write.szFailure);
        if (!write.bWritten) fnAddFailure(kSaveProfileFailedText);
        return write.bWritten;
      });
  return save;
}
