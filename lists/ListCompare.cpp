#include "lists/ListCompare.h"

#include <algorithm>
#include <array>
#include <limits>

#include "model/NumberFormat.h"

namespace {

template <class T>
int32_t CompareValues(T left, T right) {
  return static_cast<int32_t>(left > right) - static_cast<int32_t>(left < right);
}

// The sign of (b - a); zero when the difference is not a number.
int32_t CompareDecimals(double dA, double dB) {
  const double dDifference = dB - dA;
  return static_cast<int32_t>(dDifference > 0) - static_cast<int32_t>(dDifference < 0);
}

int32_t CompareBytes(std::string_view strLeft, std::string_view strRight) {
  const int nResult = strLeft.compare(strRight);
  return static_cast<int32_t>(nResult > 0) - static_cast<int32_t>(nResult < 0);
}

// A date's parts, year first, so equal dates compare their times next.
struct sDateParts {
  int32_t nYear = 0;
  int32_t nMonth = 0;
  int32_t nDay = 0;
  std::string_view strRest;
};

// +1 when a is the later date.
int32_t CompareDateParts(const sDateParts& a, const sDateParts& b) {
  if (a.nYear != b.nYear) return CompareValues(a.nYear, b.nYear);
  if (a.nMonth != b.nMonth) return CompareValues(a.nMonth, b.nMonth);
  return CompareValues(a.nDay, b.nDay);
}

// "dd/mm/yyyy[ time]": the day is the number before the first separator, the month the one
// after it, the year the four characters after the second separator.
sDateParts ReadSeparatedDate(std::string_view strText, char chSeparator) {
  sDateParts parts;
  const size_t nFirst = strText.find(chSeparator);
  parts.nDay = ReadCellInteger(strText.substr(0, nFirst));
  if (nFirst == std::string_view::npos) {
    return parts;
  }
  const size_t nSecond = strText.find(chSeparator, nFirst + 1);
  parts.nMonth = ReadCellInteger(strText.substr(nFirst + 1, nSecond - nFirst - 1));
  if (nSecond == std::string_view::npos) {
    return parts;
  }
  const std::string_view strYearOn = strText.substr(nSecond + 1);
  parts.nYear = ReadCellInteger(strYearOn.substr(0, 4));
  parts.strRest = strYearOn.substr(std::min<size_t>(4, strYearOn.size()));
  return parts;
}

// "01Jan2024": day, month name, year.
sDateParts ReadNamedMonthDate(std::string_view strText) {
  static constexpr std::array<std::string_view, 12> kMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  sDateParts parts;
  parts.nDay = ReadCellInteger(strText.substr(0, 2));
  const std::string_view strMonth = strText.substr(std::min<size_t>(2, strText.size()), 3);
  const auto it = std::find(kMonthNames.begin(), kMonthNames.end(), strMonth);
  parts.nMonth = it != kMonthNames.end() ? static_cast<int32_t>(it - kMonthNames.begin()) + 1 : 1;
  parts.nYear = ReadCellInteger(strText.substr(std::min<size_t>(5, strText.size()), 4));
  return parts;
}

// The two characters starting nFromEnd places from the end, as a number; 0 when too short.
int32_t ReadTimeField(std::string_view strText, size_t nFromEnd) {
  if (strText.size() < nFromEnd) {
    return 0;
  }
  return ReadCellInteger(strText.substr(strText.size() - nFromEnd, 2));
}

bool Contains(std::string_view strText, std::string_view strPart) {
  return strText.find(strPart) != std::string_view::npos;
}

}  // namespace

int32_t ReadCellInteger(std::string_view strText) {
  const int64_t nValue = ParseIntegerText(strText);
  return static_cast<int32_t>(
      std::clamp<int64_t>(nValue, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

int64_t ReadCellLong(std::string_view strText) { return ParseIntegerText(strText); }

double ReadBaseDecimal(std::string_view strText) {
  return strText == "-" || strText == "NA" ? -1.0 : ParseDecimalText(strText);
}

int32_t CompareTimeTexts(std::string_view strA, std::string_view strB) {
  constexpr size_t kHours = 8;
  constexpr size_t kMinutes = 5;
  constexpr size_t kSeconds = 2;
  for (const size_t nFromEnd : {kHours, kMinutes, kSeconds}) {
    const int32_t nResult = CompareValues(ReadTimeField(strA, nFromEnd), ReadTimeField(strB, nFromEnd));
    if (nResult != 0) {
      return nResult;
    }
  }
  return 0;
}

int32_t CompareDateTexts(std::string_view strA, std::string_view strB, int32_t nDirection) {
  if (strA.size() != strB.size()) {
    return nDirection * CompareBytes(strB, strA);
  }
  const char chSeparator = Contains(strA, "/") ? '/' : Contains(strA, "-") ? '-' : '\0';
  if (chSeparator != '\0') {
    const sDateParts a = ReadSeparatedDate(strA, chSeparator);
    const sDateParts b = ReadSeparatedDate(strB, chSeparator);
    const int32_t nResult = CompareDateParts(a, b);
    return nDirection * (nResult != 0 ? nResult : CompareTimeTexts(a.strRest, b.strRest));
  }
  if (Contains(strA, ":")) {
    if (Contains(strA, "AM") && Contains(strB, "PM")) return -nDirection;
    if (Contains(strB, "AM") && Contains(strA, "PM")) return nDirection;
    return nDirection * CompareTimeTexts(strA.substr(0, 8), strB.substr(0, 8));
  }
  return nDirection * CompareDateParts(ReadNamedMonthDate(strA), ReadNamedMonthDate(strB));
}

int32_t CompareCells(eSortRule eRule, std::string_view strA, std::string_view strB, int32_t nValueType,
                     int32_t nDirection) {
  const bool bBase = eRule == eSortRule::kBase;
  switch (nValueType) {
    case 1:
      return nDirection * CompareValues(ReadCellInteger(strB), ReadCellInteger(strA));
    case 2:
    case 5:
      return nDirection * (bBase ? CompareDecimals(ReadBaseDecimal(strA), ReadBaseDecimal(strB))
                                 : CompareDecimals(ParseDecimalText(strA), ParseDecimalText(strB)));
    case 7:
    case 9:
      return bBase ? nDirection * CompareDecimals(ReadBaseDecimal(strA), ReadBaseDecimal(strB)) : 0;
    case 3:
      return nDirection * CompareBytes(strB, strA);
    case 8:
      return bBase ? nDirection * CompareBytes(strB, strA) : 0;
    case 4:
      return nDirection * CompareValues(ReadCellLong(strB), ReadCellLong(strA));
    case 6:
      return CompareDateTexts(strA, strB, nDirection);
    default:
      return 0;
  }
}
