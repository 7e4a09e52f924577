#include "excel/ExcelNumber.h"

#include <charconv>
#include <cmath>

namespace {

// The most significant digits a double keeps through a spreadsheet.
constexpr int g_nMaxSignificantDigits = 15;
// The most decimals a number format may have.
constexpr int g_nMaxFormatDecimals = 30;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Checks the shape [+-]digits[.digits][(e|E)[+-]digits] with at least one digit in the
// mantissa; counts the mantissa's significant digits and its decimals.
bool ReadNumberShape(std::string_view strText, int& nSignificant, int& nDecimals, bool& bExponent) {
  size_t nPos = 0;
  if (nPos < strText.size() && (strText[nPos] == '+' || strText[nPos] == '-')) ++nPos;
  int nDigits = 0;
  bool bPoint = false;
  nSignificant = 0;
  nDecimals = 0;
  for (; nPos < strText.size(); ++nPos) {
    const char c = strText[nPos];
    if (c == '.' && !bPoint) {
      bPoint = true;
    } else if (IsDigit(c)) {
      ++nDigits;
      if (c != '0' || nSignificant > 0) ++nSignificant;
      if (bPoint) ++nDecimals;
    } else {
      break;
    }
  }
  if (nDigits == 0) return false;
  bExponent = nPos < strText.size() && (strText[nPos] == 'e' || strText[nPos] == 'E');
  if (!bExponent) return nPos == strText.size();
  ++nPos;
  if (nPos < strText.size() && (strText[nPos] == '+' || strText[nPos] == '-')) ++nPos;
  if (nPos == strText.size()) return false;
  for (; nPos < strText.size(); ++nPos) {
    if (!IsDigit(strText[nPos])) return false;
  }
  return true;
}

}  // namespace

bool IsNumericExportType(int nValueType) {
  switch (nValueType) {
    case 1:
    case 2:
    case 4:
    case 5:
    case 7:
    case 9:
      return true;
    default:
      return false;
  }
}

std::optional<sExcelNumber> ParseExcelNumber(std::string_view strText) {
  while (!strText.empty() && IsBlank(strText.front())) strText.remove_prefix(1);
  while (!strText.empty() && IsBlank(strText.back())) strText.remove_suffix(1);
  int nSignificant = 0;
  int nDecimals = 0;
  bool bExponent = false;
  if (!ReadNumberShape(strText, nSignificant, nDecimals, bExponent)) return std::nullopt;
  if (nSignificant > g_nMaxSignificantDigits) return std::nullopt;
  // from_chars reads the same numbers as strtod in the "C" locale, whatever the process
  // locale is, but takes no '+'.
  if (strText.front() == '+') strText.remove_prefix(1);
  double dValue = 0.0;
  const auto result = std::from_chars(strText.data(), strText.data() + strText.size(), dValue);
  if (result.ec != std::errc() || result.ptr != strText.data() + strText.size() || !std::isfinite(dValue)) {
    return std::nullopt;
  }
  const bool bGeneral = bExponent || nDecimals > g_nMaxFormatDecimals;
  return sExcelNumber{dValue, bGeneral ? -1 : nDecimals};
}

std::string GetNumberFormat(int nDecimals) {
  if (nDecimals <= 0) return "0";
  return "0." + std::string(static_cast<size_t>(nDecimals), '0');
}
