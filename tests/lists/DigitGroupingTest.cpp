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
      {"999", "999", "999"},
      {"0.123456", "0.123456", "0.123456"},
      {"12345.", "12,345.", "12,345."},
      {"", "", ""},
      {"ACC12345", "ACC12345", "ACC12345"},
      {"1e+12345", "1e+12345", "1e+12345"},
      {"1,234", "1,234", "1,234"},
      {".12345", ".12345", ".12345"},
  };
  for (const auto& [szText, szInternational, szIndian] : arrCases) {
    EXPECT_EQ(GroupDigits(szText, eDigitGrouping::kNone), szText);
    EXPECT_EQ(GroupDigits(szText, eDigitGrouping::kInternational), szInternational) << szText;
    EXPECT_EQ(GroupDigits(szText, eDigitGrouping::kIndian), szIndian) << szText;
  }
  // Numbers are read grouped or not.
  const std::pair<const char*, bool> arrNumbers[] = {
      {"-1,585,860,499.80", true},
      {"12,34,567.89", true},
      {"+7", true},
      {"12.", true},
      {"", false},
      {"-", false},
      {".5", false},
      {",123", false},
      {"1,,234", false},
      {"1234,", false},
      {"1.2.3", false},
      {"1.2,3", false},
      {"1e5", false},
      {"A1", false},
  };
  for (const auto& [szText, bNumber] : arrNumbers) EXPECT_EQ(IsNumberText(szText), bNumber) << szText;
}

}  // namespace
