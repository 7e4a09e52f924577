// The row store and view of a filter list: insertion, deletion, cells, filters, sorts.
#include "tests/lists/FormulaColumn.h"
#include "tests/lists/StoreTestRecords.h"

namespace {

using namespace storetest;

using FilterListStoreTest = CStoreTest;

TEST_F(FilterListStoreTest, InsertAndDelete) {
  EXPECT_EQ(Insert("A", "10"), 0);
  EXPECT_EQ(Insert("B", "20"), 1);
  EXPECT_EQ(Insert("C", "30"), 2);
  EXPECT_EQ(Insert("D", "5", "0", 1), 1);  // at store index 1
  EXPECT_EQ(Insert("E", "1", "0", 4), 4);  // the store's size: the end
  EXPECT_EQ(Shown(), (Texts{"A", "D", "B", "C", "E"}));
  FilterBy(kValue, ">25");
  // A new row shows whatever the filters until the next pass.
  EXPECT_EQ(Insert("F", "5", "0", 1), 1);
  EXPECT_EQ(Shown(), (Texts{"C", "F"}));
  ASSERT_TRUE(m_store.Filter());
  EXPECT_EQ(Shown(), (Texts{"C"}));
  m_store.ResetFilters();
  ASSERT_TRUE(m_store.Filter());
  EXPECT_TRUE(m_store.DeleteRow(1));
  EXPECT_EQ(Shown(), (Texts{"A", "D", "B", "C", "E"}));
  m_store.DeleteAllRows();
  EXPECT_EQ(m_store.GetViewCount() + m_store.GetStoreCount(), 0);
}

TEST_F(FilterListStoreTest, DeletingFilteredOutRowsKeepsTheShownRows) {
  for (const char* szName : {"A", "B", "C", "D", "E"}) Insert(szName);
  FilterBy(kName, "B~D");
  EXPECT_TRUE(m_store.DeleteStoreRow(0));  // A, filtered out
  EXPECT_TRUE(m_store.DeleteStoreRow(1));  // C, filtered out
  EXPECT_EQ(Shown(), (Texts{"B", "D"}));
  EXPECT_EQ(m_store.GetStoreIndex(1), 1);
  EXPECT_TRUE(m_store.DeleteStoreRow(1));   // D, shown
  EXPECT_FALSE(m_store.DeleteStoreRow(2));  // outside the store, no message
  m_store.ResetFilters();
  ASSERT_TRUE(m_store.Filter());
  EXPECT_EQ(Shown(), (Texts{"B", "E"}));
}

TEST_F(FilterListStoreTest, CellTexts) {
  Insert("A", "1.5", "3");
  sCellText cell;
  ASSERT_TRUE(m_store.GetViewCellText(0, kValue, cell));
  EXPECT_FALSE(m_store.GetViewCellText(1, kValue, cell));  // past the view
  EXPECT_FALSE(m_store.GetViewCellText(0, 3, cell));       // past the header
  EXPECT_EQ(cell.strText, "");
  // Columns from the catalogue count on are custom columns.
  AppendFormulaColumn(m_layout, " 1");
  EXPECT_FALSE(m_store.GetViewCellText(0, 3, cell));  // no custom-column function: the descriptor
  m_store.SetCustomColumnFn([](const void*, int32_t nColumn, sCellText& custom) {
    custom.strText = "custom " + std::to_string(nColumn);
    custom.nTextColour = 255;
    return false;  // still counts as produced
  });
  EXPECT_TRUE(m_store.GetViewCellText(0, 3, cell));
  EXPECT_EQ(std::pair(cell.strText, cell.nTextColour), std::pair(std::string("custom 3"), 255));
  EXPECT_TRUE(m_store.GetViewCellText(0, kName, cell));
  EXPECT_EQ(cell.nTextColour, kColourUnset);
  m_store.SetCellTextFn({});
  EXPECT_FALSE(m_store.GetViewCellText(0, kName, cell));
  EXPECT_EQ(cell.strText, kNoDataDescriptorText);
  EXPECT_FALSE(m_store.GetCellText(m_store.GetRecord(0), 3, cell));
  EXPECT_FALSE(m_store.Filter());
  EXPECT_EQ(m_store.GetViewCount(), 1);
}

TEST_F(FilterListStoreTest, FilteringPass) {
  Insert("Reliance", "1500", "10");
  Insert("Relaxo", "-", "5");
  m_store.InsertRow(0, nullptr);
  Insert("Tata", "2500", "7");
  Insert("Infosys", "-600", "3");
  m_store.SetColumnFilter(kValue, ">1000");
  FilterBy(kName, "rel");
  EXPECT_EQ(Shown(), (Texts{"Reliance"}));
  FilterBy(kValue, "");  // removes that filter
  EXPECT_EQ(Shown(), (Texts{"Reliance", "Relaxo"}));
  // The exact rule of a programmatic setting lasts one pass; "Match Filter Exactly" stays.
  m_store.SetExactForThisSetting(true);
  FilterBy(kName, "TATA");
  EXPECT_EQ(Shown(), (Texts{"Tata"}));
  EXPECT_FALSE(m_store.IsExactForThisSetting());
  FilterBy(kName, "rel");
  EXPECT_EQ(Shown(), (Texts{"Reliance", "Relaxo"}));
  m_store.SetMatchExactly(true);
  FilterBy(kName, "relaxo");
  EXPECT_EQ(Shown(), (Texts{"Relaxo"}));
  // A sorted view goes back to store order; the row without a record is not shown.
  m_store.SetMatchExactly(false);
  m_store.ResetFilters();
  ASSERT_TRUE(m_store.Filter());
  m_store.SortByPosition(kValue);
  EXPECT_EQ(Shown(), (Texts{"Infosys", "Relaxo", "Reliance", "Tata"}));
  ASSERT_TRUE(m_store.Filter());
  EXPECT_EQ(Shown(), (Texts{"Reliance", "Relaxo", "Tata", "Infosys"}));
  m_layout.SetPositions(std::vector<int32_t>{-1, -1, -1});
  EXPECT_FALSE(m_store.Filter());  // no header item, no pass
}

TEST_F(FilterListStoreTest, ProgrammaticFilters) {
  Insert("Reliance", "1500", "10");
  Insert("Tata", "2500", "7");
  Insert("Infosys", "-600", "3");
  m_layout.SetPositions(std::vector<int32_t>{0, 1, -1});  // Qty hidden
  const auto write = [](const sHeaderFilterWrite& w) { return std::pair(w.nPosition, w.strText); };
  EXPECT_EQ(write(m_store.SetFilter(kValue, ">1000", true)), std::pair(1, std::string(">1000")));
  EXPECT_TRUE(m_store.IsExactForThisSetting());
  EXPECT_TRUE(m_store.GetFilterColumns().empty());  // the header write stores it
  EXPECT_EQ(write(m_store.SetFilter(kQty, ">6", false)), std::pair(0, std::string()));
  EXPECT_EQ(m_store.GetColumnFilter(kQty), ">6");

  EXPECT_FALSE(m_store.SetFilters(std::vector<int32_t>{kName}, Texts{"a", "b"}, true));
  EXPECT_FALSE(m_store.SetFilters(std::vector<int32_t>{kName, -1}, Texts{"a", "b"}, true));
  EXPECT_EQ(m_store.GetColumnFilter(kQty), ">6");
  auto arrWrites = m_store.SetFilters(std::vector<int32_t>{kName, kQty}, Texts{"tat", ">1"}, true);
  ASSERT_TRUE(arrWrites && arrWrites->size() == 1);
  EXPECT_EQ(arrWrites->front().strText, "tat");
  m_store.SetColumnFilter(kValue, "5");
  arrWrites = m_store.SetFilters(std::vector<int32_t>{kQty}, Texts{"3"}, false);
  ASSERT_TRUE(arrWrites && arrWrites->size() == 1);
  // No shown column: the first header filter emptied.
  EXPECT_EQ(write(arrWrites->front()), std::pair(0, std::string()));
  EXPECT_EQ(m_store.GetFilterColumns(), (std::vector<int32_t>{kQty}));
  ASSERT_TRUE(m_store.Filter());
  EXPECT_EQ(Shown(), (Texts{"Infosys"}));
}

TEST_F(FilterListStoreTest, SortingByClicks) {
  Insert("D", "10", "1");
  Insert("B", "-", "40");
  Insert("A", "-5", "300");
  Insert("C", "2.5", "2");
  EXPECT_EQ(m_store.SortByPosition(kValue).click.nDirection, -1);
  EXPECT_EQ(Shown(kValue), (Texts{"-5", "-", "2.5", "10"}));
  EXPECT_EQ(m_store.SortByPosition(kValue).click.nDirection, 1);
  EXPECT_EQ(Shown(kValue), (Texts{"10", "2.5", "-", "-5"}));
  const sSortResult result = m_store.SortByPosition(kName);
  EXPECT_EQ(result.click.nClearImagePosition, kValue);
  EXPECT_EQ(Shown(), (Texts{"A", "B", "C", "D"}));
  ASSERT_TRUE(m_store.DeleteRow(0));  // after a deletion the same column ascends again
  EXPECT_EQ(m_store.SortByPosition(kName).click.nDirection, -1);
  // The column comes through the position map; a reversed view shows it in order too.
  m_layout.SetPositions(std::vector<int32_t>{2, 0, 1});
  m_store.SetReverse(true);
  m_store.SortByPosition(1);
  EXPECT_EQ(std::pair(m_store.GetSortColumnIndex(), m_store.GetSortValueType()), std::pair(kQty, kSortLong));
  EXPECT_EQ(Shown(1), (Texts{"1", "2", "40"}));
  // An empty view ignores clicks.
  FilterBy(kName, "Z");
  EXPECT_FALSE(m_store.SortByPosition(kName).bSorted);
  EXPECT_EQ(m_store.GetSortState().GetSortColumn(), 1);
}

}  // namespace
