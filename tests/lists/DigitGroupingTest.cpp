// Digit grouping of shown numbers, and which texts count as numbers.
#include <gtest/gtest.h>

#include "lists/DigitGrouping.h"

namespace {

TEST(DigitGrouping, GroupsTheWholePartOfPlainNumbersOnlyAndReadsThemBack) {
  // A text, then grouped the international and the Indian way.
  const std::tuple<const char*, const char*, const char*> arrCases[] = {
      {"1585860499.80", "1,585,860,499.80", "1,58,58,60,499.80"},
      {"-1234567.89", "-1,234,567.89", "-12,34,567.89"},
      {"1000", "1,000", "1,000"},
      {"100000", "100,000", "1,00,000"},
      {"12345.", "12,345.", "12,345."},
  };
  for (const auto& [szText, szInternational, szIndian] : arrCases) {
    EXPECT_EQ(GroupDigits(szText, eDigitGrouping::kNone), szText);
    EXPECT_EQ(GroupDigits(szText, eDigitGrouping::kInternational), szInternational) << szText;
    EXPECT_EQ(GroupDigits(szText, eDigitGrouping::kIndian), szIndian) << szText;
  }
  // Texts both groupings leave as they are: too short, no whole part, not a plain number.
  for (const char* szText : {"999", "0.123456", "", "ACC12345", "1e+12345", "1,234", ".12345"}) {
    for (const eDigitGrouping eGrouping : {eDigitGrouping::kInternational, eDigitGrouping::kIndian})
      EXPECT_EQ(GroupDigits(szText, eGrouping), szText) << szText;
  }
  // Numbers are read grouped or not.
  for (const char* szText : {"-1,585,860,499.80", "12,34,567.89", "+7", "12."})
    EXPECT_TRUE(IsNumberText(szText)) << szText;
  for (const char* szText : {"", "-", ".5", ",123", "1,,234", "1234,", "1.2.3", "1.2,3", "1e5", "A1"})
    EXPECT_FALSE(IsNumberText(szText)) << szText;
}

}  // namespace
