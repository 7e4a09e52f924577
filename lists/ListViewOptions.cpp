#include "lists/ListViewOptions.h"

#include <algorithm>

#include "lists/CustomColumnExpression.h"

namespace {

constexpr const char* kAscending = "ascending";
constexpr const char* kDescending = "descending";
constexpr const char* kHexDigits = "0123456789ABCDEF";
constexpr const char* kInternational = "international";
constexpr const char* kIndian = "indian";

bool NeedsEscape(char ch, bool bAtEnd) {
  const auto nByte = static_cast<unsigned char>(ch);
  return ch == '%' || ch == ',' || ch == ':' || ch == '"' || ch == '\'' || nByte < 0x20 || nByte == 0x7F ||
         (bAtEnd && ch == ' ');
}

void AppendEscaped(std::string& strOut, std::string_view strText) {
  for (size_t i = 0; i < strText.size(); ++i) {
    const char ch = strText[i];
    if (!NeedsEscape(ch, i == 0 || i + 1 == strText.size())) {
      strOut += ch;
      continue;
    }
    const auto nByte = static_cast<unsigned char>(ch);
    strOut += '%';
    strOut += kHexDigits[nByte >> 4];
    strOut += kHexDigits[nByte & 0x0F];
  }
}

int ReadHexDigit(char ch) {
  if (ch >= '0' && ch <= '9') {
    return ch - '0';
  }
  if (ch >= 'A' && ch <= 'F') {
    return ch - 'A' + 10;
  }
  if (ch >= 'a' && ch <= 'f') {
    return ch - 'a' + 10;
  }
  return -1;
}

std::optional<std::string> Unescape(std::string_view strText) {
  std::string strOut;
  for (size_t i = 0; i < strText.size(); ++i) {
    if (strText[i] != '%') {
      strOut += strText[i];
      continue;
    }
    const int nHigh = i + 2 < strText.size() ? ReadHexDigit(strText[i + 1]) : -1;
    const int nLow = i + 2 < strText.size() ? ReadHexDigit(strText[i + 2]) : -1;
    if (nHigh < 0 || nLow < 0) {
      return std::nullopt;
    }
    strOut += static_cast<char>(nHigh * 16 + nLow);
    i += 2;
  }
  return strOut;
}

// The first column of the list with exactly this name, or -1.
int32_t FindNamedColumn(const CListLayout& layout, std::string_view strName) {
  const auto it =
      std::find_if(layout.m_arrColumns.begin(), layout.m_arrColumns.end(),
                   [strName](const sHalvoColInfo& column) { return GetColumnNameView(column) == strName; });
  return it == layout.m_arrColumns.end() ? -1 : static_cast<int32_t>(it - layout.m_arrColumns.begin());
}

bool IsColumn(const CListLayout& layout, int32_t nColumn) {
  return nColumn >= 0 && static_cast<size_t>(nColumn) < layout.m_arrColumns.size();
}

// The pieces of a value between commas.
std::vector<std::string_view> SplitAtCommas(std::string_view strValue) {
  std::vector<std::string_view> arrPieces;
  size_t nStart = 0;
  for (size_t nComma = strValue.find(','); nComma != std::string_view::npos;
       nComma = strValue.find(',', nStart)) {
    arrPieces.push_back(strValue.substr(nStart, nComma - nStart));
    nStart = nComma + 1;
  }
  arrPieces.push_back(strValue.substr(nStart));
  return arrPieces;
}

}  // namespace

sListViewOptions ReadListViewOptions(const ProfileReadFn& fnRead) {
  const auto readValue = [&fnRead](const char* szKey) {
    std::string strValue;
    return fnRead(szKey, strValue) ? strValue : std::string();
  };
  sListViewOptions options;
  options.bLiveFilterSort = readValue(kLiveFilterSortKey) == "1";
  options.bKeepFilterSort = readValue(kKeepFilterSortKey) == "1";
  options.bAlertsOnEveryRow = readValue(kAlertsOnEveryRowKey) == "1";
  options.bNumbersUncut = readValue(kNumbersUncutKey) == "1";
  const std::string strGrouping = readValue(kDigitGroupingKey);
  options.eGrouping = strGrouping == kInternational ? eDigitGrouping::kInternational
                      : strGrouping == kIndian      ? eDigitGrouping::kIndian
                                                    : eDigitGrouping::kNone;
  options.bFrozenFirstColumn = readValue(kFrozenFirstColumnKey) == "1";
  return options;
}

std::string FormatListViewOption(bool bOn) { return bOn ? "1" : "0"; }

std::string FormatDigitGroupingOption(eDigitGrouping eGrouping) {
  switch (eGrouping) {
    case eDigitGrouping::kInternational:
      return kInternational;
    case eDigitGrouping::kIndian:
      return kIndian;
    default:
      return "none";
  }
}

std::string FormatKeptFilters(const CListLayout& layout, std::span<const int32_t> arrColumns,
                              std::span<const std::string> arrTexts) {
  std::string strValue;
  for (size_t i = 0; i < arrColumns.size() && i < arrTexts.size(); ++i) {
    if (!IsColumn(layout, arrColumns[i]) || arrTexts[i].empty()) {
      continue;
    }
    if (!strValue.empty()) {
      strValue += ',';
    }
    AppendEscaped(strValue, GetColumnNameView(layout.m_arrColumns[static_cast<size_t>(arrColumns[i])]));
    strValue += ':';
    AppendEscaped(strValue, arrTexts[i]);
  }
  return strValue;
}

std::vector<sKeptFilter> ParseKeptFilters(const CListLayout& layout, std::string_view strValue) {
  std::vector<sKeptFilter> arrFilters;
  for (const std::string_view strPiece : SplitAtCommas(strValue)) {
    const size_t nColon = strPiece.find(':');
    if (nColon == std::string_view::npos) {
      continue;
    }
    const std::optional<std::string> strName = Unescape(strPiece.substr(0, nColon));
    std::optional<std::string> strText = Unescape(strPiece.substr(nColon + 1));
    if (!strName || !strText || strText->empty()) {
      continue;
    }
    const int32_t nColumn = FindNamedColumn(layout, *strName);
    if (nColumn >= 0) {
      arrFilters.push_back({nColumn, std::move(*strText)});
    }
  }
  return arrFilters;
}

std::string FormatKeptSort(const CListLayout& layout, const sKeptSort& sort) {
  if (!IsColumn(layout, sort.nColumn)) {
    return {};
  }
  std::string strValue;
  AppendEscaped(strValue, GetColumnNameView(layout.m_arrColumns[static_cast<size_t>(sort.nColumn)]));
  strValue += ',';
  strValue += sort.nDirection < 0 ? kAscending : kDescending;
  return strValue;
}

std::optional<sKeptSort> ParseKeptSort(const CListLayout& layout, std::string_view strValue) {
  const std::vector<std::string_view> arrPieces = SplitAtCommas(strValue);
  if (arrPieces.size() != 2 || (arrPieces[1] != kAscending && arrPieces[1] != kDescending)) {
    return std::nullopt;
  }
  const std::optional<std::string> strName = Unescape(arrPieces[0]);
  const int32_t nColumn = strName ? FindNamedColumn(layout, *strName) : -1;
  if (nColumn < 0) {
    return std::nullopt;
  }
  return sKeptSort{nColumn, arrPieces[1] == kAscending ? -1 : 1};
}
