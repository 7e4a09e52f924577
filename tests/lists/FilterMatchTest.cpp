// Filter matching: the alternative rules, the exact rule, and filter texts of any content.
#include <gtest/gtest.h>

#include "lists/FilterMatch.h"

namespace {

struct sMatchRow {
  const char* szName;
  std::string_view strCell;
  std::string_view strFilter;
  bool bExact;
  bool bMatch;
};

void ExpectRows(std::initializer_list<sMatchRow> arrRows) {
  for (const sMatchRow& row : arrRows) {
    SCOPED_TRACE(testing::Message() << row.szName << ": cell \"" << row.strCell << "\" filter \""
                                    << row.strFilter << '"' << (row.bExact ? " exact" : ""));
    EXPECT_EQ(MatchFilterText(row.strCell, row.strFilter, row.bExact), row.bMatch);
  }
}

}  // namespace

TEST(FilterMatch, RulesAndAlternatives) {
  std::string strManyAlternatives;
  for (int i = 0; i < 2000; ++i) strManyAlternatives += "x" + std::to_string(i) + "~";
  strManyAlternatives += "Rel";
  ExpectRows({
      {"empty filter", "Reliance", "", false, true},
      {"prefix, any case", "RELIANCE", "rEl", false, true},
      {"prefix not at start", "Breliance", "rel", false, false},
      {"contains, any case", "BRELIANCE", "*rEl*", false, true},
      {"suffix, any case", "FINANCE", "*AnCe", false, true},
      {"suffix not at end", "Finances", "*ance", false, false},
      {"letters past ASCII keep their case", "\u00C9clair", "\u00E9", false, false},
      {"greater", "1500.50", ">1000", false, true},
      {"equal is not greater", "1000", ">1000", false, false},
      {"exact: equal, any case", "REL", "rel", true, true},
      {"exact: prefix is not enough", "Reliance", "rel", true, false},
      {"exact: stars are literal", "*REL*", "*rel*", true, true},
      {"above or below: above", "1500", ">1000~<-500", false, true},
      {"above or below: dash", "-", ">1000~<-500", false, false},
      {"empty pieces skipped", "Reliance", "~rel~~", false, true},
      {"exact alternatives", "TATA", "rel~tata", true, true},
      {"lone star", "", "*", false, true},
      {"three stars look for a star", "ab", "***", false, false},
      {"only tildes match nothing", "Reliance", "~~~", false, false},
      {"last of 2,001 alternatives", "reliance", strManyAlternatives, false, true},
      {"NUL byte in filter", std::string_view("a\0b", 3), std::string_view("a\0", 2), false, true},
  });
}
