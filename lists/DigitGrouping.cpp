#include "lists/DigitGrouping.h"

namespace {

bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }

bool IsSign(char ch) { return ch == '-' || ch == '+'; }

// The length of the whole part of a plain decimal number after its sign, or 0 when the text is
// not one.
size_t MeasureWholeDigits(std::string_view strText, size_t nStart) {
  size_t i = nStart;
  while (i < strText.size() && IsDigit(strText[i])) ++i;
  const size_t nWhole = i - nStart;
  if (nWhole == 0) return 0;
  if (i < strText.size() && strText[i] == '.') ++i;
  while (i < strText.size() && IsDigit(strText[i])) ++i;
  return i == strText.size() ? nWhole : 0;
}

}  // namespace

std::string GroupDigits(std::string_view strText, eDigitGrouping eGrouping) {
  const size_t nStart = !strText.empty() && IsSign(strText[0]) ? 1 : 0;
  const size_t nWhole = eGrouping == eDigitGrouping::kNone ? 0 : MeasureWholeDigits(strText, nStart);
  if (nWhole <= 3) return std::string(strText);
  // A comma goes before each digit (but the first) that starts a group, counted from the end of
  // the whole part: every third digit, or the third and then every second.
  std::string strGrouped(strText.substr(0, nStart));
  strGrouped.reserve(strText.size() + nWhole / 2);
  for (size_t i = 0; i < nWhole; ++i) {
    const size_t nLeft = nWhole - i;  // digits from this one to the end of the whole part
    const bool bGroupStart =
        eGrouping == eDigitGrouping::kIndian ? nLeft == 3 || (nLeft > 3 && nLeft % 2 == 1) : nLeft % 3 == 0;
    if (i != 0 && bGroupStart) strGrouped += ',';
    strGrouped += strText[nStart + i];
  }
  strGrouped += strText.substr(nStart + nWhole);
  return strGrouped;
}

bool IsNumberText(std::string_view strText) {
  size_t i = !strText.empty() && IsSign(strText[0]) ? 1 : 0;
  bool bDigitBefore = false;
  for (; i < strText.size() && strText[i] != '.'; ++i) {
    if (IsDigit(strText[i])) {
      bDigitBefore = true;
    } else if (strText[i] != ',' || !bDigitBefore || i + 1 == strText.size() || !IsDigit(strText[i + 1])) {
      return false;
    }
  }
  if (!bDigitBefore) return false;
  for (++i; i < strText.size(); ++i) {
    if (!IsDigit(strText[i])) return false;
  }
  return true;
}
