// The window-free parts of the list commands: fitting to data, clipboard, filter values.
#include <algorithm>

#include "lists/FitToDataPass.h"
#include "lists/ListCommands.h"
#include "tests/lists/StoreTestRecords.h"

namespace {

using namespace storetest;
using ListCommandsTest = CStoreTest;

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

// A slice whose time is up stops after a block of rows; the widest texts are chosen by their
// characters' advances, not their length, and a byte that is not UTF-8 counts as U+FFFD.
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

TEST_F(ListCommandsTest, StoreClipboardAndFilterValues) {
  for (const auto& [szName, szSegment] : {std::pair{"A", "CM"}, {"B", ""}, {"C", "cm"}, {"D", "FO"}, {"E", "Cm~FO"}})
    Insert(szName, szSegment);
  m_store.SetReverse(true);
  EXPECT_EQ(BuildClipboardText(m_store, std::vector<int32_t>{0, 4, 9}, 2), "E\tCm~FO\t\r\nA\tCM\t\r\n\t\t\r\n");
  EXPECT_EQ(BuildClipboardText(m_store, std::vector<int32_t>{}, 2), "");
  // Distinct non-empty texts in view order, letter case ignored.
  EXPECT_EQ(CollectFilterValues(m_store, kValue), (Texts{"Cm~FO", "FO", "cm"}));
  FilterBy(kName, "A~D");
  EXPECT_EQ(CollectFilterValues(m_store, kValue), (Texts{"FO", "CM"}));
  // A value the joined text contains already is left out; letter case counts here.
  EXPECT_EQ(JoinFilterValues(Texts{"AB", "A", "CM", "cm"}), "AB~CM~cm");
}

}  // namespace
