// "Fit to Data" over entity records as the parser keeps them: ranking by the cells' shapes keeps
// exactly what reading every cell keeps, the wider values of the last row among them.
#include <gtest/gtest.h>

#include <algorithm>

#include "lists/CustomColumnText.h"
#include "lists/FilterListStore.h"
#include "lists/FitToDataPass.h"
#include "lists/StoreFitSource.h"
#include "model/ColumnCatalogue.h"
#include "model/RmsDetails.h"
#include "tests/lists/FormulaColumn.h"

namespace {

using Texts = std::vector<std::string>;
using Cells = std::vector<std::pair<int, std::string>>;  // column, bytes as the message gives them

// Shown: a text, amounts (one of them negated), three decimals, a whole number, and two custom
// columns over amounts.
constexpr int32_t kShownColumns[] = {201, 1, 70, 86, 3};
constexpr const char* kFormulas[] = {" \"1\" - \"70\"", " \"1\" / 1000"};

// A record with the cells given, numbers kept as the parser keeps them; "NA" everywhere else.
void FillRecord(CRmsDetails& record, const Cells& arrCells) {
  static CSlotTextsWriter s_writer;
  s_writer.Start();
  for (int nSlot = 0; nSlot < kRmsSlotCount; ++nSlot) {
    const int nColumn = rmsslot::kOrder[nSlot].nColumn;
    const auto it = std::find_if(arrCells.begin(), arrCells.end(), [nColumn](const auto& cell) { return cell.first == nColumn; });
    if (it == arrCells.end() || nColumn == 201)
      s_writer.Append(it == arrCells.end() ? "NA" : it->second);
    else
      s_writer.AppendNumber(it->second);
  }
  s_writer.CommitTo(record.GetSlotTexts());
}

// Reads every cell, as a list without the shape shortcut does.
class CEveryCell final : public IFitToDataSource {
 public:
  explicit CEveryCell(IFitToDataSource& source) : m_source(source) {}
  int32_t GetRowCount() const override { return m_source.GetRowCount(); }
  void ReadCell(int32_t nRow, int32_t nPosition, sCellText& cell) override { m_source.ReadCell(nRow, nPosition, cell); }
  bool ReadShapes(int32_t, int32_t, std::span<sTextShape>) override { return false; }

 private:
  IFitToDataSource& m_source;
};

TEST(StoreFitSourceTest, ShapesKeepWhatReadingEveryCellKeeps) {
  CListLayout layout;
  layout.LoadColumnTable("Orvane_watch1", GetCatalogueColumns());
  layout.RecordCatalogueCount();
  std::vector<int32_t> arrPositions(layout.m_arrColumns.size(), -1);
  for (size_t i = 0; i < std::size(kShownColumns); ++i) arrPositions[kShownColumns[i]] = static_cast<int32_t>(i);
  layout.SetPositions(arrPositions);
  for (const char* szFormula : kFormulas) AppendFormulaColumn(layout, szFormula);
  CFilterListStore store(layout);
  CCustomColumnText customText(layout);
  store.SetCellTextFn(MakeCellTextFn(&GetColumnText));
  store.SetCellShapesFn(&CRmsDetails::GetCellShapes);
  ConnectCustomColumns(store, customText, {});

  // Six-digit amounts above, the wider values on the last row; one value in forty is absent.
  std::vector<CRmsDetails> arrRecords(1500);
  for (size_t i = 0; i + 1 < arrRecords.size(); ++i) {
    const std::string strAmount = std::to_string(static_cast<int>(i * 7919 % 1000000) - 90000) + "." + std::to_string(i % 90 + 10);
    FillRecord(arrRecords[i], {{201, "Client " + std::to_string(i)},
                               {1, i % 40 == 3 ? "NA" : strAmount},
                               {70, std::to_string(i * 104729 % 999999)},
                               {86, "0." + std::to_string(1000 + i % 9000)},
                               {3, std::to_string(static_cast<int>(i % 20000) - 9999)}});
  }
  FillRecord(arrRecords.back(), {{201, "A client name longer than all"}, {1, "-87654321.5"}, {70, "-989898989"},
                                 {86, "12.3456"}, {3, "-1234567"}});
  for (const CRmsDetails& record : arrRecords) store.InsertRow(0, &record);
  const Texts arrLastRow = {"A client name longer than all", "-87654321.50", "989898989.00", "12.346", "-1234567",
                            "-1077553310.50", "-87654.32"};

  const struct {
    const char* szName;
    CTextAdvances::AdvanceFn fnAdvance;
  } arrFonts[] = {
      {"digits of one advance", [](char32_t ch) { return ch >= '0' && ch <= '9' ? 7 : ch == '-' ? 4 : ch == '.' ? 3 : 6; }},
      {"digits of their own advances, a wide minus",
       [](char32_t ch) { return ch >= '0' && ch <= '9' ? 4 + static_cast<int>(ch - '0') % 5 : ch == '-' ? 11 : 5; }},
  };
  for (const auto& font : arrFonts) {
    SCOPED_TRACE(font.szName);
    std::vector<int32_t> arrColumns;
    for (int32_t nPosition = 0; nPosition < layout.GetHeaderCount(); ++nPosition)
      arrColumns.push_back(layout.GetColumnAt(nPosition));
    CFitToDataPass byShapes(arrColumns, font.fnAdvance, 8);
    CFitToDataPass byCells(arrColumns, font.fnAdvance, 8);
    CStoreFitSource source(store, layout);
    CEveryCell everyCell(source);
    const auto later = std::chrono::steady_clock::now() + std::chrono::hours(1);
    ASSERT_TRUE(byShapes.Run(source, later));
    ASSERT_TRUE(byCells.Run(everyCell, later));
    for (int32_t nPosition = 0; nPosition < byShapes.GetPositionCount(); ++nPosition) {
      Texts arrShapes = byShapes.GetTexts(nPosition);
      Texts arrCells = byCells.GetTexts(nPosition);
      std::ranges::sort(arrShapes);
      std::ranges::sort(arrCells);
      EXPECT_EQ(arrShapes, arrCells) << "position " << nPosition;
      EXPECT_GT(std::ranges::count(arrShapes, arrLastRow[static_cast<size_t>(nPosition)]), 0) << nPosition;
    }
  }
}

}  // namespace
