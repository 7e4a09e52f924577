// Matching a cell text against a column's filter text. A filter text holds alternatives
// separated by '~' (empty pieces are skipped); a cell passes when any alternative matches:
//   exact rule     the alternative equals the cell, ignoring letter case
//   "*x*"          x occurs anywhere in the cell, ignoring case ("*" and "**" match anything)
//   "*x"           the cell ends with x, ignoring case
//   ">x", "<x"     cell and x both read as numbers and the cell is greater, smaller
//   anything else  the cell begins with the alternative, ignoring case
// The exact rule applies when the list's match-exactly flag or its exact-for-this-setting
// flag is on. An empty filter text matches every cell; one made only of '~' matches none.
// Letter case is that of the C locale: A-Z and a-z only.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A filter text taken apart once, to test many cells.
class CFilterMatcher {
 public:
  CFilterMatcher() = default;  // matches every cell
  CFilterMatcher(std::string_view strFilter, bool bExact);

  bool Matches(std::string_view strCell) const;

 private:
  enum class eTest : uint8_t { kEqual, kContains, kEndsWith, kGreater, kLess, kPrefix };

  struct sAlternative {
    eTest eKind = eTest::kPrefix;
    std::string strText;  // lower-cased for kContains
    double dNumber = 0.0;
  };

  bool m_bMatchAll = true;
  std::vector<sAlternative> m_arrAlternatives;
};

bool MatchFilterText(std::string_view strCell, std::string_view strFilter, bool bExact);

// Reads the number at the start of the text as strtod finds one (leading blanks, sign,
// decimals, exponent, hexadecimal, inf, nan; '.' as the point whatever the locale). False when
// the text does not begin with a number; such a cell never passes '>' or '<'.
bool ReadFilterNumber(std::string_view strText, double& dValue);
