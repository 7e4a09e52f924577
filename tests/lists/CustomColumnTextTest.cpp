// Custom column cells read through a store: rules, colours, the failure box, cycles and nesting.
#include <gtest/gtest.h>

#include "lists/CustomColumnEdit.h"
#include "lists/CustomColumnText.h"
#include "lists/FilterListStore.h"
#include "platform/MessageBox.h"
#include "tests/lists/FormulaColumn.h"

namespace {

constexpr int32_t kStandardCount = 4;  // Name, MToM Loss, Margin Used, Note
constexpr const char* kUnchanged = "unchanged";

struct sTestRow {
  std::string arrCells[kStandardCount];
};

bool GetRowText(const void* pRecord, int32_t nColumn, sCellText& cell) {
  if (pRecord == nullptr || nColumn < 0 || nColumn >= kStandardCount) return false;
  cell.strText = static_cast<const sTestRow*>(pRecord)->arrCells[nColumn];
  return true;
}

class CustomColumnTextTest : public testing::Test {
 protected:
  CustomColumnTextTest() {
    const sColumnDef arrColumns[] = {{"Name", kAlignLeft, kSortText},
                                     {"MToM Loss", kAlignRight, kSortDecimal},
                                     {"Margin Used", kAlignRight, kSortDecimal},
                                     {"Note", kAlignRight, kSortDecimal}};
    m_layout.LoadColumnTable("Orvane_watch1", arrColumns);
    m_layout.RecordCatalogueCount();
    m_layout.ShowAllColumns();
    m_store.SetCellTextFn(GetRowText);
    // The texts the list would show for the failures reported.
    ConnectCustomColumns(m_store, m_customText,
                         [this] { m_arrMessages.emplace_back(kCalculationFailedText); });
  }

  int32_t AddStored(const char* szName, const std::string& strStored) {
    AppendFormulaColumn(m_layout, strStored.c_str());
    SetColumnName(m_layout.m_arrColumns.back(), szName);
    return static_cast<int32_t>(m_layout.m_arrColumns.size()) - 1;
  }
  void AddDisplayed(const char* szName, const char* szDisplay) {
    const sCustomColumnChange change =
        AddCustomColumn(m_layout, GetExpressionColumns(m_layout), szName, szDisplay, false);
    ASSERT_TRUE(change.Succeeded()) << szName << ": " << change.strMessage;
  }
  sCellText Cell(int32_t nColumn, const sTestRow& row) {
    sCellText cell;
    cell.strText = kUnchanged;
    EXPECT_TRUE(m_store.GetCellText(&row, nColumn, cell));
    return cell;
  }

  sTestRow m_row{{"ACC1", "10.00", "4.00", "--NA--"}};
  CListLayout m_layout;
  CFilterListStore m_store{m_layout};
  CCustomColumnText m_customText{m_layout};
  std::vector<std::string> m_arrMessages;
};

}  // namespace

TEST_F(CustomColumnTextTest, ComputesCellsByTheRules) {
  // Case, stored expression, MToM Loss, Margin Used, the cell.
  const std::tuple<const char*, std::string, const char*, const char*, std::string> arrRows[] = {
      {"MToM Loss / Margin Used", " \"1\" / \"2\"", "10.00", "4.00", "2.50"},
      {"zero divisor", " \"1\" / \"2\"", "10.00", "0.00", "Divided by ZERO error"},
      {"--NA-- divisor counts as 0", " \"1\" / \"3\"", "10.00", "4.00", "Divided by ZERO error"},
      {"a text column counts as 0", " \"0\" + 5", "10.00", "4.00", "5.00"},
      {"division inside parentheses", " (\"1\" / \"2\") * 100", "10.00", "4.00", "Divided by ZERO error"},
      {"a sign joined to an operator (code 1)", " \"1\" -\"2\"", "10.00", "-4.00", "0.00"},
      {"code 1 keeps the divisor part's value", " \"1\" -\"2\" / 2", "10.00", "-4.00", "2.00"},
      {"operand not a number (code 3)", " \"1\" + abc", "10.00", "4.00", "0.00"},
      {"divisor part not a number", " \"1\" / abc", "10.00", "4.00", kUnchanged},
      {"infinite result", " \"1\" / \"2\" / 0", "10.00", "4.00", "inf"},
      {"rounding", " \"1\" / 3", "-2.00", "4.00", "-0.67"},
      {"index past the array", " \"99\" + 1", "10.00", "4.00", kInvalidReferenceText},
  };
  for (const auto& [szCase, strStored, szLoss, szMargin, strExpected] : arrRows) {
    const sTestRow record{{"ACC1", szLoss, szMargin, "--NA--"}};
    EXPECT_EQ(Cell(AddStored(szCase, strStored), record).strText, strExpected) << szCase;
  }
  EXPECT_TRUE(m_arrMessages.empty());
}

TEST_F(CustomColumnTextTest, NegativeValuesOfColouredColumnsAreRed) {
  const std::string arrColoured[] = {"Loss", "Zero"};
  m_customText.SetColouredNames(arrColoured);
  const int32_t nLoss = AddStored("Loss", " \"2\" - \"1\"");
  const int32_t nZero = AddStored("Zero", " \"1\" / \"3\"");
  const int32_t nPlain = AddStored("Plain", " \"2\" - \"1\"");
  EXPECT_EQ(Cell(nLoss, m_row).nTextColour, kNegativeCustomColour);
  EXPECT_EQ(Cell(nZero, m_row).nTextColour, kColourUnset);  // "Divided by ZERO error" counts as 0
  EXPECT_EQ(Cell(nPlain, m_row).nTextColour, kColourUnset);
  const sTestRow positive{{"ACC2", "1.00", "5.00", ""}};
  EXPECT_EQ(Cell(nLoss, positive).nTextColour, kColourUnset);
}

TEST_F(CustomColumnTextTest, AFailedEvaluationIsShownOncePerExpression) {
  const int32_t nBroken = AddStored("Broken", " \"1\" \"2\"");
  const int32_t nOther = AddStored("Other", " \"2\" 5");
  for (int i = 0; i < 1000; ++i) EXPECT_EQ(Cell(nBroken, m_row).strText, kUnchanged);
  EXPECT_EQ(m_arrMessages, std::vector<std::string>{"Invalid Expression,while calculating value"});
  Cell(nOther, m_row);
  EXPECT_EQ(m_arrMessages.size(), 2u);
  m_layout.m_arrColumns[static_cast<size_t>(nBroken)].strFormula = " \"1\" \"3\"";
  Cell(nBroken, m_row);
  Cell(nBroken, m_row);
  EXPECT_EQ(m_arrMessages.size(), 3u);
  // A column that reads a failing one: the failing cell stays empty and counts as 0.
  const int32_t nFresh = AddStored("Fresh", " \"2\" 7");
  const int32_t nReader = AddStored("Reader", " \"" + std::to_string(nFresh) + "\" + 1");
  EXPECT_EQ(Cell(nReader, m_row).strText, "1.00");
  EXPECT_EQ(m_arrMessages.size(), 4u);
}

TEST_F(CustomColumnTextTest, CyclesShowTheirTextWithoutRecursingForever) {
  const int32_t nSelf = AddStored("Self", " \"4\" + 1");
  const int32_t nA = AddStored("A", " \"6\" + 1");
  AddStored("B", " \"7\" * 2");
  AddStored("C", " \"5\" - \"1\"");
  const int32_t nReader = AddStored("Reader", " \"5\" + 1");
  EXPECT_EQ(Cell(nSelf, m_row).strText, kCircularReferenceText);
  for (int32_t nColumn = nA; nColumn <= nReader; ++nColumn)
    EXPECT_EQ(Cell(nColumn, m_row).strText, kCircularReferenceText) << nColumn;
  // The guard resets after each cell: a sound column computes as usual.
  EXPECT_EQ(Cell(AddStored("Sound", " \"1\" + 1"), m_row).strText, "11.00");
}

TEST_F(CustomColumnTextTest, CustomColumnsReadOthersUpToANestingLimit) {
  AddDisplayed("Third", "\"MToM Loss\" / 3");
  AddDisplayed("Thrice", "\"Third\" * 3");
  EXPECT_EQ(Cell(5, m_row).strText, "9.99");
  int32_t nPrevious = AddStored("C0", " \"1\" + 0");
  for (int i = 1; i < 40; ++i) {
    const std::string strName = "C" + std::to_string(i);
    nPrevious = AddStored(strName.c_str(), " \"" + std::to_string(nPrevious) + "\" + 1");
  }
  EXPECT_EQ(Cell(kStandardCount + 2 + kMaxCustomNesting - 1, m_row).strText, "41.00");
  EXPECT_EQ(Cell(kStandardCount + 2 + kMaxCustomNesting, m_row).strText, kNestingTooDeepText);
  EXPECT_EQ(Cell(nPrevious, m_row).strText, kNestingTooDeepText);
}
