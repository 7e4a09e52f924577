// Cell comparisons, dates and times included, and the key-based row order against them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>

#include "lists/ListCompare.h"
#include "lists/ListSort.h"
#include "model/NumberFormat.h"

namespace {

constexpr eSortRule kBase = eSortRule::kBase;
constexpr eSortRule kData = eSortRule::kData;

struct sCompareRow {
  const char* szName;
  eSortRule eRule;
  std::string_view strA;
  std::string_view strB;
  int32_t nValueType;
  int32_t nExpected;  // with direction -1 (the first click); +1 gives the opposite
};

void ExpectRows(std::initializer_list<sCompareRow> arrRows) {
  for (const sCompareRow& row : arrRows) {
    SCOPED_TRACE(testing::Message() << row.szName << ": \"" << row.strA << "\" vs \"" << row.strB << '"');
    EXPECT_EQ(CompareCells(row.eRule, row.strA, row.strB, row.nValueType, -1), row.nExpected);
    EXPECT_EQ(CompareCells(row.eRule, row.strA, row.strB, row.nValueType, 1), -row.nExpected);
  }
}

// Sorts row numbers by the texts and returns them.
std::vector<int32_t> SortTexts(const std::vector<std::string>& arrTexts, eSortRule eRule, int32_t nValueType,
                               int32_t nDirection, int* pReads = nullptr) {
  std::vector<int32_t> arrRows(arrTexts.size());
  std::iota(arrRows.begin(), arrRows.end(), 0);
  SortRowsByText(
      arrRows,
      [&](int32_t nRow, std::string& strText) {
        if (pReads != nullptr) ++*pReads;
        strText = arrTexts[static_cast<size_t>(nRow)];
      },
      eRule, nValueType, nDirection);
  return arrRows;
}

// Sorted first: std::is_permutation takes quadratic time on shuffled rows.
bool IsPermutation(std::vector<int32_t> arrRows, size_t nCount) {
  std::vector<int32_t> arrAll(nCount);
  std::iota(arrAll.begin(), arrAll.end(), 0);
  std::ranges::sort(arrRows);
  return arrRows == arrAll;
}

// Texts of every kind a cell can show, numbers and otherwise.
std::string MakeCellText(std::mt19937& random) {
  static const char* const kSpecial[] = {
      "-",  "NA",  "nan",         "-nan",        "inf",        "-inf",      "1e400", "abc",
      "",   " 12", "0x1A",        "12abc",       "-0",         "0.00",      "B10",   "B9",
      "b9", "NA ", "99999999999", "-2147483649", "2147483647", "2147483648"};
  char szText[32];
  const uint32_t nKind = random() % 4;
  if (nKind == 0) return kSpecial[random() % std::size(kSpecial)];
  if (nKind == 1) std::snprintf(szText, sizeof(szText), "%d", static_cast<int>(random() % 20001) - 10000);
  if (nKind > 1)
    std::snprintf(szText, sizeof(szText), "%.2f", (static_cast<double>(random() % 100001) - 50000) / 100);
  return szText;
}

// "dd/mm/yyyy hh:mm:ss": one shape, for which the date comparison is antisymmetric.
std::string MakeDateText(std::mt19937& random) {
  char szText[32];
  std::snprintf(szText, sizeof(szText), "%02d/%02d/%04d %02d:%02d:%02d", static_cast<int>(random() % 28 + 1),
                static_cast<int>(random() % 12 + 1), static_cast<int>(random() % 5 + 2020),
                static_cast<int>(random() % 24), static_cast<int>(random() % 60),
                static_cast<int>(random() % 60));
  return szText;
}

TEST(ListCompare, DatesTimesAndCellsByValueType) {
  ExpectRows({
      {"different lengths compare byte-wise", kData, "9/1/2024", "10/1/2024", 6, 1},
      {"later month first", kData, "01/02/2024", "02/01/2024", 6, -1},
      {"year before month", kBase, "31/12/2023", "01/01/2024", 6, 1},
      {"equal dates compare times", kData, "01/02/2024 10:15:30", "01/02/2024 09:15:30", 6, -1},
      {"separator taken from a", kData, "01/02/2024", "05-01-2024", 6, -1},
      {"year is four characters, the rest a time", kData, "01/01/20245", "01/01/20244", 6, 0},
      {"time alone, AM before PM", kData, "10:00:00 AM", "09:00:00 PM", 6, 1},
      {"month name", kData, "01Jan2024", "01Feb2024", 6, 1},
      {"unknown month is January", kData, "01Xyz2024", "01Jan2024", 6, 0},
      {"words and empty texts", kData, "ab", "cd", 6, 0},
      {"dash texts", kData, "--", "-5", 6, 1},
      {"base: dash counts -1, below 0", kBase, "-", "0", 2, -1},
      {"base: NA equals -1", kBase, "NA", "-1", 5, 0},
      {"data: dash counts 0, above negatives", kData, "-", "-0.5", 2, 1},
      {"nan equals everything", kData, "nan", "5", 2, 0},
      {"base: types 7 and 9 are decimals", kBase, "-", "3", 9, -1},
      {"data: types 7 and 8 are equal", kData, "5", "3", 7, 0},
      {"byte-wise: B10 before B9", kData, "B10", "B9", 3, -1},
      {"integer: leading digits", kData, "12abc", "9", 1, 1},
      {"integer: clamped to 32 bits", kBase, "99999999999", "2147483647", 1, 0},
      {"long: 64 bits", kData, "99999999999", "2147483647", 4, 1},
      {"unknown type", kBase, "1", "2", 10, 0},
  });
  EXPECT_EQ(CompareTimeTexts("x 23:59:59", "00:00:00"), 1);
  EXPECT_EQ(CompareTimeTexts("10:30:59", "10:31:00"), -1);
  EXPECT_EQ(CompareTimeTexts("10:15", "09:15"), 1);  // too short for hours: minutes decide
}

// The key order must be one the comparison allows: every row compares <= 0 with the next,
// and, for small lists, with every later row; rows that compare equal keep their order.
TEST(ListSort, KeyOrderAgreesWithTheComparison) {
  std::mt19937 random(4711);
  for (const size_t nCount : {size_t{0}, size_t{1}, size_t{2}, size_t{90}, size_t{3000}}) {
    std::vector<std::string> arrTexts;
    for (size_t i = 0; i < nCount; ++i) arrTexts.push_back(MakeCellText(random));
    for (const eSortRule eRule : {kBase, kData}) {
      for (int32_t nType = 0; nType <= 10; ++nType) {
        if (nType == 6) continue;
        for (const int32_t nDirection : {-1, 1}) {
          SCOPED_TRACE(testing::Message() << "rows " << nCount << " rule " << static_cast<int>(eRule)
                                          << " type " << nType << " direction " << nDirection);
          int nReads = 0;
          const std::vector<int32_t> arrRows = SortTexts(arrTexts, eRule, nType, nDirection, &nReads);
          ASSERT_TRUE(IsPermutation(arrRows, nCount));
          const bool bHasKey =
              CompareCells(eRule, "1", "2", nType, 1) != 0 || CompareCells(eRule, "a", "b", nType, 1);
          EXPECT_EQ(nReads, bHasKey && nCount >= 2 ? static_cast<int>(nCount) : 0);
          const size_t nSpan = nCount <= 90 ? nCount : 2;
          for (size_t i = 0; i + 1 < nCount; ++i) {
            for (size_t j = i + 1; j < std::min(nCount, i + nSpan); ++j) {
              const std::string& strA = arrTexts[static_cast<size_t>(arrRows[i])];
              const std::string& strB = arrTexts[static_cast<size_t>(arrRows[j])];
              const int32_t nResult = CompareCells(eRule, strA, strB, nType, nDirection);
              ASSERT_LE(nResult, 0) << '"' << strA << "\" before \"" << strB << '"';
              // A "nan" equals every row but goes last.
              const bool bNan = std::isnan(ParseDecimalText(strA)) || std::isnan(ParseDecimalText(strB));
              if (j == i + 1 && nResult == 0 && !bNan) {
                ASSERT_LT(arrRows[i], arrRows[j]);
              }
            }
          }
        }
      }
    }
  }
}

TEST(ListSort, DatesByTheComparison) {
  std::mt19937 random(99);
  std::vector<std::string> arrDates;
  for (int i = 0; i < 2000; ++i) arrDates.push_back(MakeDateText(random));
  for (const int32_t nDirection : {-1, 1}) {
    const std::vector<int32_t> arrRows = SortTexts(arrDates, kData, 6, nDirection);
    ASSERT_TRUE(IsPermutation(arrRows, arrDates.size()));
    for (size_t i = 0; i + 1 < arrRows.size(); ++i) {
      const std::string& strA = arrDates[static_cast<size_t>(arrRows[i])];
      const std::string& strB = arrDates[static_cast<size_t>(arrRows[i + 1])];
      ASSERT_LE(CompareDateTexts(strA, strB, nDirection), 0) << strA << " before " << strB;
    }
  }
  // Texts of mixed shapes make the comparison neither transitive nor antisymmetric; the sort
  // still ends and keeps every row.
  for (int i = 0; i < 2000; ++i)
    arrDates.push_back(i % 3 == 0 ? MakeDateText(random).substr(0, 10 + i % 9)
                       : i % 3 == 1
                           ? std::to_string(random() % 40) + "-0" + std::to_string(random() % 9) + "-2024"
                           : MakeCellText(random));
  EXPECT_TRUE(IsPermutation(SortTexts(arrDates, kBase, 6, -1), arrDates.size()));
}

}  // namespace
