#include "lists/CustomColumnProfile.h"

#include <algorithm>
#include <charconv>

#include "lists/CustomColumnExpression.h"

namespace {

bool ReadInteger(std::string_view strField, int32_t& nValue) {
  strField = TrimBlanks(strField);
  const char* const pEnd = strField.data() + strField.size();
  const std::from_chars_result result = std::from_chars(strField.data(), pEnd, nValue);
  return !strField.empty() && result.ec == std::errc{} && result.ptr == pEnd;
}

// Reads the number up to the next comma and moves past the comma; false when there is no comma
// or the field is not an integer.
bool TakeNumber(std::string_view strValue, size_t& nCursor, int32_t& nNumber) {
  const size_t nComma = strValue.find(',', nCursor);
  if (nComma == std::string_view::npos) {
    return false;
  }
  const std::string_view strField = strValue.substr(nCursor, nComma - nCursor);
  nCursor = nComma + 1;
  return ReadInteger(strField, nNumber);
}

sHalvoColInfo MakeLoadedRecord(const sCustomProfileEntry& entry, int32_t nKind) {
  sHalvoColInfo column;
  SetColumnName(column, entry.strName);
  column.nWidth = kLoadedCustomWidth;
  column.nFormat = kAlignRight;
  column.nDataType = kSortDecimal;
  column.nKind = nKind;
  column.strFormula = entry.strStored;
  column.strFormulaText = entry.strDisplay;
  return column;
}

}  // namespace

std::vector<sCustomProfileEntry> ReadCustomProfileEntries(std::string_view strValue) {
  std::vector<sCustomProfileEntry> arrEntries;
  size_t nCursor = 0;
  while (nCursor < strValue.size()) {
    if (strValue[nCursor] == ',') {
      ++nCursor;
    }
    sCustomProfileEntry entry;
    if (!TakeNumber(strValue, nCursor, entry.place.nIndex) || !TakeNumber(strValue, nCursor, entry.place.nPosition) ||
        !TakeNumber(strValue, nCursor, entry.place.nWidth)) {
      break;
    }
    const size_t nEnd = std::min(strValue.find(',', nCursor), strValue.size());
    const std::string_view strTexts = strValue.substr(nCursor, nEnd - nCursor);
    nCursor = nEnd;
    const size_t nNameEnd = strTexts.find('#');
    const size_t nStoredEnd = nNameEnd == std::string_view::npos ? nNameEnd : strTexts.find('#', nNameEnd + 1);
    if (nStoredEnd == std::string_view::npos) {
      break;
    }
    if (nNameEnd == 0) {
      continue;
    }
    entry.strName = strTexts.substr(0, nNameEnd);
    entry.strStored = strTexts.substr(nNameEnd + 1, nStoredEnd - nNameEnd - 1);
    entry.strDisplay = strTexts.substr(nStoredEnd + 1);
    arrEntries.push_back(std::move(entry));
  }
  return arrEntries;
}

size_t GetCustomEntryLength(std::string_view strName, std::string_view strStored, std::string_view strDisplay) {
  // ",index,position,width," and two '#', each number as long as "-2147483648".
  constexpr size_t kFixedLength = 4 + 3 * 11 + 2;
  return kFixedLength + strName.size() + strStored.size() + strDisplay.size();
}

size_t MeasureCustomProfileValue(const CListLayout& layout, int32_t nKind, int32_t nSkipColumn) {
  size_t nLength = 0;
  for (size_t i = static_cast<size_t>(std::max(layout.m_nCatalogueCount, 0)); i < layout.m_arrColumns.size(); ++i) {
    const sHalvoColInfo& column = layout.m_arrColumns[i];
    if (column.nKind == nKind && static_cast<int32_t>(i) != nSkipColumn) {
      nLength += GetCustomEntryLength(GetColumnNameView(column), column.strFormula, column.strFormulaText);
    }
  }
  return nLength;
}

std::vector<sProfileEntry> ReadCustomColumns(CListLayout& layout, const ProfileReadFn& fnRead) {
  std::vector<sProfileEntry> arrPlaces;
  const std::pair<const char*, int32_t> arrKeys[] = {{kProtectedColumnProfileKey, kColumnProtectedCustom},
                                                     {kUserColumnProfileKey, kColumnCustom}};
  for (const auto& [szKey, nKind] : arrKeys) {
    std::string strValue;
    if (!fnRead(szKey, strValue)) {
      continue;
    }
    for (const sCustomProfileEntry& entry : ReadCustomProfileEntries(strValue)) {
      layout.m_arrColumns.push_back(MakeLoadedRecord(entry, nKind));
      arrPlaces.push_back({static_cast<int32_t>(layout.m_arrColumns.size()) - 1, entry.place.nPosition,
                           entry.place.nWidth});
    }
  }
  RebuildStoredExpressions(layout);
  return arrPlaces;
}
