#include "lists/FilterMatch.h"

#include <algorithm>

#include "model/NumberFormat.h"

namespace {

char FoldCase(char ch) { return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch; }

bool IsSameFolded(char chLeft, char chRight) { return FoldCase(chLeft) == FoldCase(chRight); }

bool EqualsIgnoringCase(std::string_view strLeft, std::string_view strRight) {
  return strLeft.size() == strRight.size() &&
         std::equal(strLeft.begin(), strLeft.end(), strRight.begin(), IsSameFolded);
}

bool StartsWithIgnoringCase(std::string_view strText, std::string_view strPrefix) {
  return strText.size() >= strPrefix.size() &&
         EqualsIgnoringCase(strText.substr(0, strPrefix.size()), strPrefix);
}

bool EndsWithIgnoringCase(std::string_view strText, std::string_view strSuffix) {
  return strText.size() >= strSuffix.size() &&
         EqualsIgnoringCase(strText.substr(strText.size() - strSuffix.size()), strSuffix);
}

// The needle is lower-cased already.
bool ContainsIgnoringCase(std::string_view strText, std::string_view strLowerNeedle) {
  const auto it = std::search(strText.begin(), strText.end(), strLowerNeedle.begin(), strLowerNeedle.end(),
                              [](char chText, char chNeedle) { return FoldCase(chText) == chNeedle; });
  return it != strText.end() || strLowerNeedle.empty();
}

bool IsCSpace(char ch) { return ch == ' ' || (ch >= '\t' && ch <= '\r'); }

bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }

}  // namespace

bool ReadFilterNumber(std::string_view strText, double& dValue) {
  size_t i = 0;
  while (i < strText.size() && IsCSpace(strText[i])) {
    ++i;
  }
  if (i < strText.size() && (strText[i] == '+' || strText[i] == '-')) {
    ++i;
  }
  // strtod reads a number exactly when one of these starts here.
  const std::string_view strRest = strText.substr(i);
  const bool bNumber = (!strRest.empty() && IsDigit(strRest[0])) ||
                       (strRest.size() >= 2 && strRest[0] == '.' && IsDigit(strRest[1])) ||
                       StartsWithIgnoringCase(strRest, "inf") || StartsWithIgnoringCase(strRest, "nan");
  if (!bNumber) {
    return false;
  }
  dValue = ParseDecimalText(strText);
  return true;
}

CFilterMatcher::CFilterMatcher(std::string_view strFilter, bool bExact) {
  if (strFilter.empty()) {
    return;
  }
  m_bMatchAll = false;
  size_t nStart = 0;
  while (nStart <= strFilter.size()) {
    const size_t nTilde = std::min(strFilter.find('~', nStart), strFilter.size());
    const std::string_view strPiece = strFilter.substr(nStart, nTilde - nStart);
    nStart = nTilde + 1;
    if (strPiece.empty()) {
      continue;
    }
    sAlternative alternative;
    if (bExact) {
      alternative.eKind = eTest::kEqual;
      alternative.strText.assign(strPiece);
    } else if (strPiece.front() == '*' && strPiece.back() == '*') {
      // A lone "*" is both the first and the last star: nothing lies between.
      alternative.eKind = eTest::kContains;
      if (strPiece.size() >= 2) {
        alternative.strText.assign(strPiece.substr(1, strPiece.size() - 2));
      }
      std::transform(alternative.strText.begin(), alternative.strText.end(), alternative.strText.begin(),
                     FoldCase);
    } else if (strPiece.front() == '*') {
      alternative.eKind = eTest::kEndsWith;
      alternative.strText.assign(strPiece.substr(1));
    } else if (strPiece.front() == '>' || strPiece.front() == '<') {
      alternative.eKind = strPiece.front() == '>' ? eTest::kGreater : eTest::kLess;
      // Without a number after the sign no cell can pass this alternative.
      if (!ReadFilterNumber(strPiece.substr(1), alternative.dNumber)) {
        continue;
      }
    } else {
      alternative.eKind = eTest::kPrefix;
      alternative.strText.assign(strPiece);
    }
    m_arrAlternatives.push_back(std::move(alternative));
  }
}

bool CFilterMatcher::Matches(std::string_view strCell) const {
  if (m_bMatchAll) {
    return true;
  }
  for (const sAlternative& alternative : m_arrAlternatives) {
    double dCell = 0.0;
    bool bMatch = false;
    switch (alternative.eKind) {
      case eTest::kEqual:
        bMatch = EqualsIgnoringCase(strCell, alternative.strText);
        break;
      case eTest::kContains:
        bMatch = ContainsIgnoringCase(strCell, alternative.strText);
        break;
      case eTest::kEndsWith:
        bMatch = EndsWithIgnoringCase(strCell, alternative.strText);
        break;
      case eTest::kGreater:
        bMatch = ReadFilterNumber(strCell, dCell) && dCell > alternative.dNumber;
        break;
      case eTest::kLess:
        bMatch = ReadFilterNumber(strCell, dCell) && dCell < alternative.dNumber;
        break;
      case eTest::kPrefix:
        bMatch = StartsWithIgnoringCase(strCell, alternative.strText);
        break;
    }
    if (bMatch) {
      return true;
    }
  }
  return false;
}

bool MatchFilterText(std::string_view strCell, std::string_view strFilter, bool bExact) {
  return CFilterMatcher(strFilter, bExact).Matches(strCell);
}
