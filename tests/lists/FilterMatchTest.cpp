// Filter matching: the alternative rules, the exact rule, and filter texts of any content.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <random>

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
  ExpectRows({
      {"empty filter", "Reliance", "", false, true},
      {"prefix, any case", "RELIANCE", "rEl", false, true},
      {"prefix not at start", "Breliance", "rel", false, false},
      {"cell shorter than prefix", "re", "rel", false, false},
      {"contains, any case", "BRELIANCE", "*rEl*", false, true},
      {"suffix, any case", "FINANCE", "*AnCe", false, true},
      {"suffix not at end", "Finances", "*ance", false, false},
      {"cell shorter than suffix", "nce", "*ance", false, false},
      {"letters past ASCII keep their case", "\u00C9clair", "\u00E9", false, false},
      {"greater", "1500.50", ">1000", false, true},
      {"equal is not greater", "1000", ">1000", false, false},
      {"less", "-600", "<-500", false, true},
      {"exact: equal, any case", "REL", "rel", true, true},
      {"exact: prefix is not enough", "Reliance", "rel", true, false},
      {"exact: stars are literal", "*REL*", "*rel*", true, true},
      {"exact: comparison is literal", "1500", ">1000", true, false},
      {"above or below: above", "1500", ">1000~<-500", false, true},
      {"above or below: below", "-600", ">1000~<-500", false, true},
      {"above or below: dash", "-", ">1000~<-500", false, false},
      {"empty pieces skipped", "Reliance", "~rel~~", false, true},
      {"exact alternatives", "TATA", "rel~tata", true, true},
  });
  // Filter texts of any content.
  const std::string strLong(10000, 'a');
  const std::string strStars(10000, '*');
  std::string strManyAlternatives;
  for (int i = 0; i < 2000; ++i) strManyAlternatives += "x" + std::to_string(i) + "~";
  strManyAlternatives += "Rel";
  ExpectRows({
      {"lone star", "", "*", false, true},
      {"three stars look for a star", "ab", "***", false, false},
      {"lone greater", "", ">", false, false},
      {"only tildes match nothing", "Reliance", "~~~", false, false},
      {"10,000 letters, equal cell", strLong, strLong, false, true},
      {"10,000 stars, star cell", std::string_view(strStars).substr(2), strStars, false, true},
      {"last of 2,001 alternatives", "reliance", strManyAlternatives, false, true},
      {"NUL byte in filter", std::string_view("a\0b", 3), std::string_view("a\0", 2), false, true},
  });
}

// A cell reads as a number exactly when strtod (the "C" locale) reads one, with the same value.
TEST(FilterMatch, ReadFilterNumberAgreesWithStrtod) {
  ASSERT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
  // Shapes the random texts below rarely reach.
  std::vector<std::string> arrTexts = {"",      " ",   "-",    "+",   ".",       "-.5e3", "1e", "1e+",  "0x",
                                       "0x1p4", "inf", "-INF", "nan", "NaN(12)", "in",    "na", "\t\n7"};
  std::mt19937 random(77);
  const std::string strAlphabet = "0123456789.-+eExXaAfFinNtTy \t,";
  std::uniform_int_distribution<size_t> length(0, 8);
  std::uniform_int_distribution<size_t> pick(0, strAlphabet.size() - 1);
  for (int n = 0; n < 50000; ++n) {
    std::string strText;
    for (size_t i = length(random); i > 0; --i) strText += strAlphabet[pick(random)];
    arrTexts.push_back(strText);
  }
  for (const std::string& strText : arrTexts) {
    char* pEnd = nullptr;
    const double dExpected = std::strtod(strText.c_str(), &pEnd);
    const bool bExpected = pEnd != strText.c_str();
    double dValue = -7.0;
    ASSERT_EQ(ReadFilterNumber(strText, dValue), bExpected) << '"' << strText << '"';
    if (bExpected) {
      ASSERT_TRUE(dValue == dExpected || (std::isnan(dValue) && std::isnan(dExpected)))
          << '"' << strText << "\" " << dValue << " vs " << dExpected;
    }
  }
}
