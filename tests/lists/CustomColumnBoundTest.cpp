// The bound of custom columns' texts: which stored expressions it covers, and that the text a
// covered column shows, computed as the list computes it, fits the bound of its referenced cells.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "lists/CustomColumnBound.h"
#include "lists/CustomColumnText.h"
#include "lists/FilterListStore.h"
#include "model/NumberFormat.h"
#include "tests/lists/FormulaColumn.h"

namespace {

constexpr int32_t kStandardCount = 3;

struct sTestRow {
  std::string arrCells[kStandardCount];
};

bool GetRowText(const void* pRecord, int32_t nColumn, sCellText& cell) {
  if (nColumn < 0 || nColumn >= kStandardCount) return false;
  cell.strText = static_cast<const sTestRow*>(pRecord)->arrCells[nColumn];
  return true;
}

TEST(CustomColumnBoundTest, CoversPlainArithmeticOnly) {
  const std::tuple<const char*, const char*, bool> arrCases[] = {
      {"difference", " \"0\" - \"1\"", true},
      {"constants, signs and parentheses", " ( \"0\" + 2.5 ) * -3 / (\"2\")", true},
      {"minus after an opening parenthesis", " (-2 * \"0\")", true},
      {"operator touching a reference", " \"0\" -\"1\"", false},
      {"sign before a reference", " - \"0\"", false},
      {"number touching a reference", " 2\"0\"", false},
      {"no operator between", " \"0\" 5", false},
      {"comparison", " \"0\" > 5", false},
      {"remainder", " \"0\" % 3", false},
      {"a custom column", " \"3\" * 2", false},
      {"divisor part alone unbalanced", " (\"0\" / \"1\")", false},
      {"divisor of constants that is zero", " \"0\" / (2 - 2)", false},
      {"reference that is no index", " \"x\" + 1", false},
      {"tab", " \"0\"\t+ 1", false},
  };
  for (const auto& [szName, szFormula, bCovered] : arrCases)
    EXPECT_EQ(CCustomColumnBound(szFormula, kStandardCount).IsCovered(), bCovered) << szName;
}

// Values of many magnitudes, both signs, zeros, and values just below a power of ten, whose
// results may round up to one; each at either end of the range the bound is given, or inside.
TEST(CustomColumnBoundTest, ComputedTextsFitTheBound) {
  const char* const arrFormulas[] = {" \"0\" - \"1\"", " \"1\" / 1000", " ( \"0\" + 0.5 ) * \"2\" - 99.99",
                                     " \"0\" / \"1\" * 100", " \"2\" * -0.001 + \"0\""};
  CListLayout layout;
  const sColumnDef arrColumns[] = {
      {"A", kAlignRight, kSortDecimal}, {"B", kAlignRight, kSortDecimal}, {"C", kAlignRight, kSortDecimal}};
  layout.LoadColumnTable("Orvane_watch1", arrColumns);
  layout.RecordCatalogueCount();
  layout.ShowAllColumns();
  for (const char* szFormula : arrFormulas) AppendFormulaColumn(layout, szFormula);
  CFilterListStore store(layout);
  CCustomColumnText customText(layout);
  store.SetCellTextFn(GetRowText);
  ConnectCustomColumns(store, customText, {});

  std::mt19937_64 random(20240612);
  const auto MakeValue = [&random] {
    const double dPower = std::pow(10.0, static_cast<double>(random() % 7));
    // Zero, just below a power of ten, or any value of that magnitude.
    const uint64_t nKind = random() % 4;
    const double dValue = nKind == 0   ? 0.0
                          : nKind == 1 ? dPower - 0.01 * static_cast<double>(1 + random() % 3)
                                       : static_cast<double>(random() % 1000000) / 100.0 * dPower / 100.0;
    char szText[kFixedTextSize];
    return std::string(szText, FormatFixed(random() % 2 == 0 ? dValue : -dValue, 2, szText));
  };
  int nBounded = 0;
  for (int nRow = 0; nRow < 3000; ++nRow) {
    const sTestRow row{{MakeValue(), MakeValue(), MakeValue()}};
    for (size_t i = 0; i < std::size(arrFormulas); ++i) {
      const CCustomColumnBound bound(arrFormulas[i], kStandardCount);
      ASSERT_TRUE(bound.IsCovered()) << arrFormulas[i];
      std::vector<double> arrLows, arrHighs;
      for (const int32_t nColumn : bound.GetReferences()) {
        // A range the value lies in: at its low end, its high end or inside.
        const double dValue = ParseDecimalText(row.arrCells[nColumn]);
        const double dWidth = std::fabs(dValue) * static_cast<double>(random() % 60) / 100.0 + 0.01;
        const int nPlace = static_cast<int>(random() % 3);
        arrLows.push_back(nPlace == 0 ? dValue : dValue - dWidth);
        arrHighs.push_back(nPlace == 1 ? dValue : dValue + dWidth);
      }
      const sTextShape shape = bound.GetShape(arrLows, arrHighs);
      if (shape.eKind == eShapeKind::kUnknown) continue;
      ++nBounded;
      sCellText cell;
      ASSERT_TRUE(store.GetCellText(&row, kStandardCount + static_cast<int32_t>(i), cell));
      const std::string& strText = cell.strText;
      const auto nMinus = std::count(strText.begin(), strText.end(), '-');
      const auto nPoints = std::count(strText.begin(), strText.end(), '.');
      const auto nDigits =
          std::count_if(strText.begin(), strText.end(), [](char ch) { return ch >= '0' && ch <= '9'; });
      SCOPED_TRACE(std::string(arrFormulas[i]) + " of " + row.arrCells[0] + ", " + row.arrCells[1] + ", " +
                   row.arrCells[2] + ": " + strText);
      EXPECT_EQ(static_cast<size_t>(nMinus + nPoints + nDigits), strText.size());
      EXPECT_LE(nMinus, shape.nMinus);
      EXPECT_LE(nPoints, shape.nPoints);
      EXPECT_LE(nDigits, shape.nDigits);
    }
  }
  EXPECT_GT(nBounded, 12000) << "only a divisor that may be zero leaves no bound";
}

}  // namespace
