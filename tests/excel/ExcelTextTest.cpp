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

TEST(ExcelText, ValidUtf8SheetNamesAndFileNameStems) {
  const struct { const char* szName; std::string (*fnMake)(std::string_view); std::string strInput, strExpected; }
  arrRows[] = {
      {"two, three, four bytes", MakeValidUtf8, "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80",
       "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"},
      {"Latin-1 byte", MakeValidUtf8, "caf\xE9", "caf" + g_strFffd},
      {"stray continuation", MakeValidUtf8, "a\x80!", "a" + g_strFffd + "!"},
      {"sequence cut by ASCII", MakeValidUtf8, "\xE2\x82z", g_strFffd + "z"},
      {"overlong slash", MakeValidUtf8, "\xC0\xAF", Repeat(g_strFffd, 2)},
      {"surrogate", MakeValidUtf8, "\xED\xA0\x80", Repeat(g_strFffd, 3)},
      {"above U+10FFFF", MakeValidUtf8, "\xF4\x90\x80\x80", Repeat(g_strFffd, 4)},
      {"NUL", MakeValidUtf8, std::string("a\0b", 3), "a" + g_strFffd + "b"},
      {"U+FFFE and U+FFFF", MakeValidUtf8, "\xEF\xBF\xBE\xEF\xBF\xBF", Repeat(g_strFffd, 2)},
      {"sheet: forbidden characters removed", MakeSheetName, "a[b]c:d*e?f/g\\h", "abcdefgh"},
      {"sheet: control characters removed", MakeSheetName, "tab\there\x01", "tabhere"},
      {"sheet: apostrophes and blanks trimmed", MakeSheetName, " 'Risk' list' ", "Risk' list"},
      {"sheet: cut to 31 characters", MakeSheetName, Repeat("x", 40), Repeat("x", 31)},
      {"sheet: cut counts characters, not bytes", MakeSheetName, Repeat("\xC3\xA9", 40), Repeat("\xC3\xA9", 31)},
      {"sheet: blank left at the cut is trimmed", MakeSheetName, Repeat("y", 30) + " z", Repeat("y", 30)},
      {"sheet: nothing left", MakeSheetName, "[]:*?/\\''", "Sheet1"},
      {"stem: separators and reserved characters", MakeFileNameStem, "a/b\\c:d*e?f\"g<h>i|j", "a_b_c_d_e_f_g_h_i_j"},
      {"stem: invalid UTF-8 replaced", MakeFileNameStem, "\xC0list", g_strFffd + "list"},
      {"stem: cut keeps whole characters", MakeFileNameStem, "z" + Repeat("\xE2\x82\xAC", 80),
       "z" + Repeat("\xE2\x82\xAC", 66)},
      {"stem: empty", MakeFileNameStem, "", "List"}};
  for (const auto& row : arrRows) EXPECT_EQ(row.fnMake(row.strInput), row.strExpected) << row.szName;
}

TEST(ExcelNumber, ParseExcelNumberTakesWholeDecimalNumbersOnly) {
  // Text, value and decimals.
  const std::tuple<const char*, double, int> arrRows[] = {{"1500.50", 1500.5, 2}, {"-0.00", -0.0, 2}, {"12", 12.0, 0},
      {" \t42 \r\n", 42.0, 0}, {"+7.5", 7.5, 1}, {".5", 0.5, 1}, {"5.", 5.0, 0}, {"-1.5E-2", -0.015, -1},
      {"123456789012345", 123456789012345.0, 0}, {"0.0000000000000000000000000000012", 1.2e-30, -1}};
  for (const auto& [szText, dValue, nDecimals] : arrRows) {
    const auto number = ParseExcelNumber(szText);
    ASSERT_TRUE(number.has_value()) << '"' << szText << '"';
    EXPECT_DOUBLE_EQ(number->dValue, dValue) << szText;
    EXPECT_EQ(std::pair(std::signbit(number->dValue), number->nDecimals), std::pair(std::signbit(dValue), nDecimals))
        << szText;
  }
  // Texts that stay text.
  for (const char* szText : {"1234567890123456", "-", "--NA--", "", "   ", "nan", "-infinity", "0x10",
                             "1,500.00", "1.2.3", "1 2", "1e", ".", "+-1", "1e400"})
    EXPECT_FALSE(ParseExcelNumber(szText).has_value()) << '"' << szText << '"';
}

}  // namespace
