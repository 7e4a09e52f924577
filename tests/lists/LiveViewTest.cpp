// Live filter and sort of the filter list's store: changed and new rows follow the filters and
// the sort at once; the order tree and record map under it against a vector and a multimap.
#include <algorithm>
#include <map>
#include <numeric>
#include <random>

#include "lists/RankTree.h"
#include "lists/RecordSlots.h"
#include "tests/lists/StoreTestRecords.h"

namespace {

using namespace storetest;

using LiveStoreTest = CStoreTest;

TEST_F(LiveStoreTest, ChangedAndNewRowsFollowTheFiltersOnlyWhenLive) {
  // Off: a new row shows until the next pass, a changed one stays where it is.
  const std::tuple<bool, Texts, Texts> arrCases[] = {{false, {"A", "B", "D"}, {"A", "B", "D"}},
                                                     {true, {"A", "C"}, {"C"}}};
  for (const auto& [bLive, arrAfterChanges, arrAfterNotANumber] : arrCases) {
    SCOPED_TRACE(bLive ? "live" : "off");
    m_store.DeleteAllRows();
    m_store.SetLive(false);
    sTestRecord* pA = Add("A", "500");
    sTestRecord* pB = Add("B", "700");
    sTestRecord* pC = Add("C", "10");
    m_store.SetColumnFilter(kValue, ">100");
    ASSERT_TRUE(m_store.Filter());
    m_store.SetLive(bLive);
    EXPECT_EQ(Shown(), (Texts{"A", "B"}));
    Change(pB, "50");   // stops matching
    Change(pC, "200");  // now matches
    Add("D", "1");      // never matched
    EXPECT_EQ(Shown(), arrAfterChanges);
    Change(pA, "abc");  // not a number: no ">" passes it
    EXPECT_EQ(Shown(), arrAfterNotANumber);
  }
}

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

// Many random changes, deletions and insertions: the live view always equals a filtering pass
// and a sort by click of the same rows in a store without live filtering.
TEST_F(LiveStoreTest, RandomChangesMatchAPassAndASort) {
  std::mt19937 random(7);
  CFilterListStore snapshot(m_layout);
  snapshot.SetCellTextFn(GetTestCellText);
  std::vector<sTestRecord*> arrRows;
  // Adds a row of a random value to both stores.
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

TEST(RecordSlots, MatchesAMultimapThroughGrowthAndRemovals) {
  std::mt19937 random(5);
  // Few records, many rows each: long probe runs that removals must keep whole.
  std::vector<int64_t> arrRecords(40);
  CRecordSlots slots;
  std::multimap<const void*, int32_t> mapExpected;
  for (int n = 0; n < 20000; ++n) {
    const void* pRecord = &arrRecords[random() % arrRecords.size()];
    if (mapExpected.empty() || random() % 3 != 0) {
      const auto nSlot = static_cast<int32_t>(random() % 1000);
      slots.Add(pRecord, nSlot);
      mapExpected.emplace(pRecord, nSlot);
    } else {
      auto it = mapExpected.begin();
      std::advance(it, static_cast<ptrdiff_t>(random() % mapExpected.size()));
      slots.Remove(it->first, it->second);
      mapExpected.erase(it);
    }
    if (n % 97 != 0) continue;
    for (const int64_t& nRecord : arrRecords) {
      std::vector<int32_t> arrFound, arrWanted;
      slots.ForEachSlot(&nRecord, [&](int32_t nSlot) { arrFound.push_back(nSlot); });
      for (auto [it, itEnd] = mapExpected.equal_range(&nRecord); it != itEnd; ++it)
        arrWanted.push_back(it->second);
      std::ranges::sort(arrFound);
      std::ranges::sort(arrWanted);
      ASSERT_EQ(arrFound, arrWanted) << n;
    }
  }
  EXPECT_EQ(slots.GetCount(), mapExpected.size());
  slots.Remove(&arrRecords[0], 5000);  // absent: nothing changes
  EXPECT_EQ(slots.GetCount(), mapExpected.size());
}

TEST(RankTree, MatchesAnOrderedVector) {
  std::mt19937 random(11);
  CRankTree tree;
  std::vector<int32_t> arrSorted(64), arrHandles(64);
  for (int32_t i = 0; i < 64; ++i) arrSorted[static_cast<size_t>(i)] = i * 2;
  tree.Assign(arrSorted);
  std::iota(arrHandles.begin(), arrHandles.end(), 0);  // Assign's handles
  const auto before = [](int32_t nA, int32_t nB) { return nA < nB; };
  for (int n = 0; n < 2000; ++n) {
    if (arrSorted.empty() || random() % 2 == 0) {
      const auto nValue = static_cast<int32_t>(random() % 1000);
      int32_t nRank = -1;
      const int32_t nHandle = tree.Insert(nValue, before, &nRank);
      const auto it = std::upper_bound(arrSorted.begin(), arrSorted.end(), nValue);
      ASSERT_EQ(nRank, it - arrSorted.begin());
      arrHandles.insert(arrHandles.begin() + (it - arrSorted.begin()), nHandle);
      arrSorted.insert(it, nValue);
    } else {
      const size_t nAt = random() % arrSorted.size();
      tree.Erase(arrHandles[nAt]);
      arrSorted.erase(arrSorted.begin() + static_cast<ptrdiff_t>(nAt));
      arrHandles.erase(arrHandles.begin() + static_cast<ptrdiff_t>(nAt));
    }
    ASSERT_EQ(tree.GetCount(), static_cast<int32_t>(arrSorted.size()));
    const size_t nProbe = arrSorted.empty() ? 0 : random() % arrSorted.size();
    if (!arrSorted.empty()) {
      ASSERT_EQ(tree.GetValueAt(static_cast<int32_t>(nProbe)), arrSorted[nProbe]);
      ASSERT_EQ(tree.GetRank(arrHandles[nProbe]), static_cast<int32_t>(nProbe));
    }
  }
  EXPECT_EQ(tree.GetValues(), arrSorted);
  EXPECT_EQ(tree.GetValueAt(tree.GetCount()), CRankTree::kNone);
}

}  // namespace
