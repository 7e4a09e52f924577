// Live filter and sort of the filter list's store: changed and new rows follow the filters and
// the sort at once, checked against a filtering pass and a sort of the same rows.
#include <algorithm>
#include <random>

#include "tests/lists/StoreTestRecords.h"

namespace {

using namespace storetest;

using LiveStoreTest = CStoreTest;

TEST_F(LiveStoreTest, RowsTakeTheirSortedPlace) {
  m_store.SetLive(true);
  sTestRecord* pA = Add("A", "30");
  Add("B", "10");
  sTestRecord* pC = Add("C", "20");
  ASSERT_TRUE(m_store.SortByPosition(kValue).bSorted);  // ascending
  EXPECT_EQ(Shown(), (Texts{"B", "C", "A"}));
  Add("D", "15");
  Add("E", "nan");  // equal to every value by the comparison: last, as a click puts it
  Add("F", "20");   // equal to C: after it, in store order
  EXPECT_EQ(Shown(), (Texts{"B", "D", "C", "F", "A", "E"}));
  const sLiveUpdate moved = Change(pA, "5");
  EXPECT_EQ(Shown(), (Texts{"A", "B", "D", "C", "F", "E"}));
  const auto fields = [](const sLiveUpdate& u) {
    return std::tuple(u.bInPlace, u.nRow, u.span.nFirst, u.span.nLast);
  };
  EXPECT_EQ(fields(moved), std::tuple(false, 0, 0, 4));
  // An unchanged key keeps the row where it is, and its place is not counted.
  EXPECT_EQ(fields(Change(pC, "20")), std::tuple(true, -1, -1, -1));
  m_store.SortByPosition(kValue);  // descending
  EXPECT_EQ(Shown(), (Texts{"C", "F", "D", "B", "A", "E"}));
  Change(pC, "-");  // reads as 0 in a watch list's sort
  EXPECT_EQ(Shown(), (Texts{"F", "D", "B", "A", "C", "E"}));
  // The text column, and a reversed view, which shows the same order read from the end.
  m_store.SortByPosition(kName);
  m_store.SetReverse(true);
  Add("AA", "1");
  EXPECT_EQ(Shown(), (Texts{"F", "E", "D", "C", "B", "AA", "A"}));
}

TEST_F(LiveStoreTest, SpansCoverTheRowsThatChangedInBothReadingDirections) {
  // Rows 10, 20, 30, 40 ascending; the row of 20 changes: reversed or not, to what, the span.
  const std::tuple<const char*, bool, const char*, std::pair<int32_t, int32_t>> arrCases[] = {
      {"moves down", false, "35", {1, 2}},     {"moves up, reversed", true, "35", {1, 2}},
      {"disappears", false, "1000", {1, 3}},   {"disappears, reversed", true, "1000", {2, 3}},
      {"stays, reversed", true, "21", {2, 2}},
  };
  for (const auto& [szName, bReverse, szChanged, span] : arrCases) {
    SCOPED_TRACE(szName);
    m_store.DeleteAllRows();
    m_store.SetLive(true);
    m_store.SetReverse(bReverse);
    m_store.SetColumnFilter(kValue, "<500");
    ASSERT_TRUE(m_store.Filter());
    m_store.RestoreSort(kValue, -1);
    for (const char* szValue : {"10", "20", "30", "40"}) Add(szValue, szValue);
    const sLiveUpdate update = Change(&m_records[m_records.size() - 3], szChanged);  // the row of 20
    EXPECT_EQ(std::pair(update.span.nFirst, update.span.nLast), span);
  }
}

TEST_F(LiveStoreTest, RandomChangesMatchAPassAndASort) {
  std::mt19937 random(7);
  CFilterListStore snapshot(m_layout);
  snapshot.SetCellTextFn(GetTestCellText);
  std::vector<sTestRecord*> arrRows;
  const auto addBoth = [&](const std::string& strName, int32_t nAt = 0) {
    arrRows.push_back(Add(strName, std::to_string(random() % 50), nAt));
    snapshot.InsertRow(nAt, arrRows.back());
  };
  for (int i = 0; i < 300; ++i) addBoth("R" + std::to_string(i));
  for (CFilterListStore* pStore : {&m_store, &snapshot}) pStore->SetColumnFilter(kValue, ">9~<5");
  m_store.SetLive(true);
  ASSERT_TRUE(m_store.Filter());
  m_store.SortByPosition(kValue);
  m_store.SortByPosition(kValue);  // descending
  for (int nRound = 0; nRound < 40; ++nRound) {
    // A burst at the end, placed when the view is read: a few one by one, many merged.
    const uint32_t nBurst = random() % 3 == 0 ? 30 : random() % 3;
    for (uint32_t n = 0; n < nBurst; ++n) addBoth("E" + std::to_string(nRound) + "." + std::to_string(n));
    // A changed row is where the change says, waiting rows before it counted.
    for (int n = 0; n < 25; ++n) {
      sTestRecord* pRow = arrRows[random() % arrRows.size()];
      const sLiveUpdate update = Change(pRow, std::to_string(random() % 50));
      if (update.nRow >= 0) {
        ASSERT_EQ(m_store.GetRecord(update.nRow), pRow) << "round " << nRound;
      }
    }
    // Rows leave and come anywhere in the store, one by its store index and one by the view row
    // it is found at when shown; the slots they free are taken again.
    for (int n = 0; n < 2; ++n) {
      const auto nGone = static_cast<int32_t>(random() % static_cast<uint32_t>(m_store.GetStoreCount()));
      std::erase(arrRows, m_store.GetStoreRecord(nGone));
      const int32_t nViewRow = n == 1 ? m_store.FindViewRow(nGone) : -1;
      ASSERT_TRUE(nViewRow >= 0 ? m_store.DeleteRow(nViewRow) : m_store.DeleteStoreRow(nGone));
      ASSERT_TRUE(snapshot.DeleteStoreRow(nGone));
      addBoth("N" + std::to_string(nRound * 2 + n),
              static_cast<int32_t>(random() % static_cast<uint32_t>(m_store.GetStoreCount())));
    }
    // Rows still waiting when the whole view is read.
    for (uint32_t n = random() % 4; n > 0; --n)
      addBoth("W" + std::to_string(nRound) + "." + std::to_string(n));
    ASSERT_TRUE(snapshot.Filter());
    // Clicks alternate the direction; ties keep store order either way.
    if (snapshot.SortByPosition(kValue).click.nDirection != 1) snapshot.SortByPosition(kValue);
    ASSERT_EQ(m_store.GetViewCount(), snapshot.GetViewCount());
    for (int32_t nRow = 0; nRow < m_store.GetViewCount(); ++nRow)
      ASSERT_EQ(m_store.GetRecord(nRow), snapshot.GetRecord(nRow)) << "round " << nRound << ", row " << nRow;
  }
}

}  // namespace
