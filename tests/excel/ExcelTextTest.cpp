// The text and number rules of the spreadsheet writer, as tables.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "excel/ExcelNumber.h"
#include "excel/ExcelText.h"

namespace {

const std::string g_strFffd = "\xEF\xBF\xBD";

std::string Repeat(const std::string& strPart, int nCount) {
  std::string strText;
  for (int i = 0; i < nCount; ++i) strText += strPart;
  return strText;
}

struct sTextRow {
  const char* szName;
  std::string strInput;
  std::string strExpected;
};

TEST(ExcelText, MakeValidUtf8ReplacesEachIllFormedPart) {
  const sTextRow arrRows[] = {
      {"ascii", "abc 1.5", "abc 1.5"},
      {"two, three, four bytes", "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80",
       "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"},
      {"Latin-1 byte", "caf\xE9", "caf" + g_strFffd},
      {"stray continuation", "a\x80!", "a" + g_strFffd + "!"},
      {"sequence cut by the end", "a\xE2\x82", "a" + g_strFffd},
      {"sequence cut by ASCII", "\xE2\x82z", g_strFffd + "z"},
      {"overlong slash", "\xC0\xAF", Repeat(g_strFffd, 2)},
      {"surrogate", "\xED\xA0\x80", Repeat(g_strFffd, 3)},
      {"above U+10FFFF", "\xF4\x90\x80\x80", Repeat(g_strFffd, 4)},
      {"NUL", std::string("a\0b", 3), "a" + g_strFffd + "b"},
      {"U+FFFE and U+FFFF", "\xEF\xBF\xBE\xEF\xBF\xBF", Repeat(g_strFffd, 2)},
      {"U+FFFD stays", g_strFffd, g_strFffd},
      {"empty", "", ""},
  };
  for (const auto& row : arrRows) EXPECT_EQ(MakeValidUtf8(row.strInput), row.strExpected) << row.szName;
}

TEST(ExcelText, SheetNameFollowsTheWorkbookRules) {
  const sTextRow arrRows[] = {
      {"plain", "Orvane_watch1", "Orvane_watch1"},
      {"forbidden characters removed", "a[b]c:d*e?f/g\\h", "abcdefgh"},
      {"control characters removed", "tab\there\x01", "tabhere"},
      {"apostrophes and blanks trimmed", " 'Risk' list' ", "Risk' list"},
      {"cut to 31 characters", Repeat("x", 40), Repeat("x", 31)},
      {"cut counts characters, not bytes", Repeat("\xC3\xA9", 40), Repeat("\xC3\xA9", 31)},
      {"blank left at the cut is trimmed", Repeat("y", 30) + " z", Repeat("y", 30)},
      {"nothing left", "[]:*?/\\''", "Sheet1"},
  };
  for (const auto& row : arrRows) EXPECT_EQ(MakeSheetName(row.strInput), row.strExpected) << row.szName;
}

TEST(ExcelText, FileNameStemIsOneSafeName) {
  const sTextRow arrRows[] = {
      {"separators and reserved characters", "a/b\\c:d*e?f\"g<h>i|j", "a_b_c_d_e_f_g_h_i_j"},
      {"control characters", "a\nb\x7f", "a_b_"},
      {"brackets and blanks stay", "[x] y", "[x] y"},
      {"invalid UTF-8 replaced", "\xC0list", g_strFffd + "list"},
      {"cut keeps whole characters", "z" + Repeat("\xE2\x82\xAC", 80), "z" + Repeat("\xE2\x82\xAC", 66)},
      {"empty", "", "List"},
  };
  for (const auto& row : arrRows) EXPECT_EQ(MakeFileNameStem(row.strInput), row.strExpected) << row.szName;
}

TEST(ExcelNumber, ParseExcelNumberTakesWholeDecimalNumbersOnly) {
  const std::tuple<const char*, double, int> arrRows[] = {
      // text, value, decimals
      {"1500.50", 1500.5, 2},
      {"-0.00", -0.0, 2},
      {"12", 12.0, 0},
      {" \t42 \r\n", 42.0, 0},
      {"+7.5", 7.5, 1},
      {".5", 0.5, 1},
      {"5.", 5.0, 0},
      {"-1.5E-2", -0.015, -1},
      {"123456789012345", 123456789012345.0, 0},
      {"0.0000000000000000000000000000012", 1.2e-30, -1},
  };
  for (const auto& [szText, dValue, nDecimals] : arrRows) {
    const auto number = ParseExcelNumber(szText);
    ASSERT_TRUE(number.has_value()) << '"' << szText << '"';
    EXPECT_DOUBLE_EQ(number->dValue, dValue) << szText;
    EXPECT_EQ(std::signbit(number->dValue), std::signbit(dValue)) << szText;
    EXPECT_EQ(number->nDecimals, nDecimals) << szText;
  }
  // Texts that stay text.
  for (const char* szText : {"1234567890123456", "-", "--NA--", "", "   ", "nan", "-infinity", "0x10",
                             "1,500.00", "1.2.3", "1 2", "1e", ".", "+-1", "1e400"})
    EXPECT_FALSE(ParseExcelNumber(szText).has_value()) << '"' << szText << '"';
}

}  // namespace
