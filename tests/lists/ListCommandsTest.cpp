// The window-free parts of the list commands: fitting to data, clipboard, filter values.
#include <gtest/gtest.h>

#include <algorithm>

#include "lists/FilterListStore.h"
#include "lists/FitToDataPass.h"
#include "lists/ListCommands.h"

namespace {

using Texts = std::vector<std::string>;

// Rows of texts read one by one.
class CTextRows final : public IFitToDataSource {
 public:
  explicit CTextRows(const Texts& arrRows) : m_arrRows(arrRows) {}
  int32_t GetRowCount() const override { return static_cast<int32_t>(m_arrRows.size()); }
  void ReadCell(int32_t nRow, int32_t, sCellText& cell) override { cell.strText = m_arrRows[static_cast<size_t>(nRow)]; }
  bool ReadShapes(int32_t, int32_t, std::span<sTextShape>) override { return false; }

 private:
  const Texts& m_arrRows;
};

// "Fit to Data" reads a long list in slices: one whose time is up stops after a block of rows,
// the next goes on where it stopped, rows added meanwhile included. Each column keeps the texts
// widest by their characters' advances, not by their length; a byte that is not UTF-8 counts as
// U+FFFD.
TEST(ListCommands, FitToDataPassReadsEveryRowAcrossSlices) {
  Texts arrRows(500, "iiiiiiii");
  arrRows[270] = "WW";
  arrRows[490] = "\xff\xff\xff";
  arrRows[495] = "\xc3\xa9\xc3\xa9\xc3\xa9";  // three e-acute
  CFitToDataPass pass({0}, [](char32_t ch) { return ch == U'W' ? 10 : ch == 0xFFFD ? 9 : ch == 0xE9 ? 5 : 1; }, 2);
  const Texts arrFirst(arrRows.begin(), arrRows.begin() + 300);
  CTextRows first(arrFirst);
  CTextRows all(arrRows);
  const auto timeUp = std::chrono::steady_clock::now();
  EXPECT_FALSE(pass.Run(first, timeUp));
  int nSlices = 1;
  while (!pass.Run(all, timeUp)) ++nSlices;
  EXPECT_GT(nSlices, 3);
  Texts arrKept = pass.GetTexts(0);
  std::sort(arrKept.begin(), arrKept.end());
  EXPECT_EQ(arrKept, (Texts{"WW", "\xff\xff\xff"}));
}

TEST(ListCommands, StoreClipboardAndFilterValues) {
  const sColumnDef arrColumns[] = {{"Name", kAlignLeft, kSortText}, {"Segment", kAlignLeft, kSortText}};
  CListLayout layout;
  layout.LoadColumnTable("Test", arrColumns);
  layout.RecordCatalogueCount();
  layout.ShowAllColumns();
  CFilterListStore store(layout);
  store.SetCellTextFn([](const void* pRecord, int32_t nColumn, sCellText& cell) {
    cell.strText = static_cast<const Texts*>(pRecord)->at(static_cast<size_t>(nColumn));
    return true;
  });
  const std::vector<Texts> arrRecords = {{"A", "CM"}, {"B", ""}, {"C", "cm"}, {"D", "FO"}, {"E", "Cm~FO"}};
  for (const Texts& record : arrRecords) store.InsertRow(0, &record);
  store.SetReverse(true);
  EXPECT_EQ(BuildClipboardText(store, std::vector<int32_t>{0, 4, 9}, 2), "E\tCm~FO\t\r\nA\tCM\t\r\n\t\t\r\n");
  EXPECT_EQ(BuildClipboardText(store, std::vector<int32_t>{}, 2), "");
  // Distinct non-empty texts in view order, letter case ignored.
  EXPECT_EQ(CollectFilterValues(store, 1), (Texts{"Cm~FO", "FO", "cm"}));
  store.SetColumnFilter(0, "A~D");
  ASSERT_TRUE(store.Filter());
  EXPECT_EQ(CollectFilterValues(store, 1), (Texts{"FO", "CM"}));
  // A value the joined text contains already is left out; letter case counts here.
  EXPECT_EQ(JoinFilterValues(Texts{"AB", "A", "CM", "cm"}), "AB~CM~cm");
}

}  // namespace
