// The view of a filter list whose rows follow its filters and sort as their records change
// ("Live Filter and Sort"). A row shows while its record is present and its cells match the
// filters of the last filtering pass; the shown rows stand in the order of the sort column's
// key by the data rule of ListCompare.h, equal keys (and every row when there is no sort or the
// column's type has no key) in store order.
//
// Each store row has a slot of the view that stays its own while the row lives, whatever rows
// come or go before it: the order is a CRankTree of slots, and a slot keeps its row's key and
// tree node. So a row that is added, changes or goes costs O(log n) plus reading its filter and
// sort cells, and a changed row is taken out without reading anything. When a row enters or
// leaves the middle of the store, only the two maps between store indices and slots move, one
// pass over plain integers as the store makes over its own arrays. Rebuilding (new filters, a
// new sort) reads every row once. The view also knows the slots of each record, so a change of
// a record finds its rows without a search.
//
// Rows added at the end of the store, as a server's first answer adds them by the thousand, wait
// unplaced: the rows at a place (a page) are found among the placed and the waiting rows
// without placing these, and the waiting rows are merged with the placed ones in one pass once
// they are many. Reading a row's place, or changing the order otherwise, places them first,
// one by one when they are few.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "lists/CellText.h"
#include "lists/FilterMatch.h"
#include "lists/ListSort.h"
#include "lists/RankTree.h"
#include "lists/RecordSlots.h"

class CFilterListStore;

// The sort a live view follows; a column of -1 is none.
struct sLiveSort {
  int32_t nColumn = -1;
  int32_t nValueType = 0;
  int32_t nDirection = -1;  // -1 ascending, as a first click
};

// Where a row stood in the view before a change and stands after it; -1 when not shown.
struct sLiveMove {
  int32_t nOldEntry = -1;
  int32_t nNewEntry = -1;
  // Shown where it was: neither place was counted (a count walks the tree), both are -1.
  bool bInPlace = false;
};

class CLiveView {
 public:
  // Reads rows and cells through the store, which must outlive the view.
  explicit CLiveView(const CFilterListStore& store) : m_store(store) {}

  // Takes the filters (matchers parallel to their columns) and the sort, and places every row
  // of the store by them.
  void Rebuild(std::vector<int32_t> arrFilterColumns, std::vector<CFilterMatcher> arrMatchers,
               const sLiveSort& sort);
  // Shows no row until the next Rebuild, as after a failed filtering pass.
  void ShowNone();
  // The same filters, another sort.
  void SetSort(const sLiveSort& sort);
  // The store was emptied; the filters and the sort stay.
  void Clear();

  // The place InsertRow gives a shown row whose place is settled when the view is next read.
  static constexpr int32_t kPlaceLater = -2;

  int32_t GetCount() const { return m_tree.GetCount() + static_cast<int32_t>(m_arrPending.size()); }
  // The store index at a place of the view, or -1.
  int32_t GetStoreIndexAt(int32_t nEntry) const;
  // The place of a store row in the view, or -1 when it is not shown.
  int32_t FindEntry(int32_t nStoreIndex) const;
  // The shown store indices in order.
  std::vector<int32_t> GetOrder() const;

  // The store has a new row at nStoreIndex (the rows from there on moved up by one): places
  // it. Its place, -1 when it is not shown, or kPlaceLater for a shown row at the store's end.
  int32_t InsertRow(int32_t nStoreIndex);
  // The store row at nStoreIndex is about to go (the rows after it then move down by one).
  // Its place before, or -1.
  int32_t EraseRow(int32_t nStoreIndex);
  // The store row's record changed: shown or not, and where, by its cells now.
  sLiveMove UpdateRow(int32_t nStoreIndex);
  // Calls fnRow(store index) for every row of the record.
  template <class TRowFn>
  void ForEachRowOf(const void* pRecord, const TRowFn& fnRow) const {
    m_slots.ForEachSlot(pRecord, [&](int32_t nSlot) { fnRow(m_arrRowOfSlot[static_cast<size_t>(nSlot)]); });
  }

 private:
  // A row's sort key as read from its cell; only the member of the sort's kind is used.
  struct sKey {
    int64_t nInteger = 0;
    double dDecimal = 0.0;
    std::string strText;
  };

  bool Passes(const void* pRecord);
  void ReadKey(const void* pRecord, sKey& key);
  bool HasKey(int32_t nSlot, const sKey& key) const;
  void StoreKey(int32_t nSlot, sKey& key);
  // The order of two slots by their keys, then their rows' store indices.
  bool IsBefore(int32_t nFirst, int32_t nSecond) const;
  // Places a slot whose key is stored; its place.
  int32_t Attach(int32_t nSlot) const;
  // Places the rows that wait, before the order is read or changed.
  void SettlePending() const;
  // The slot at a place of the view, waiting rows included, or kNone.
  int32_t GetSlotAt(int32_t nEntry) const;
  // Many rows wait, for the tree's size: merging them is cheaper than placing each.
  bool IsMergeDue() const;
  // How many waiting rows go before a slot by the stored keys.
  int32_t CountPendingBefore(int32_t nSlot) const;
  // Puts the waiting slots in order.
  void SortPending() const;
  // Reads the key of a slot whose record passes the filters; false when it does not show.
  bool Prepare(int32_t nSlot, const void* pRecord);
  // Places a slot whose record passes the filters, reading its key; its place, or -1.
  int32_t Place(int32_t nSlot, const void* pRecord);
  // A free slot; the arrays by slot grow to hold it.
  int32_t AllocateSlot();
  // Gives every store row the slot of its index and places it.
  void PlaceAll();

  const CFilterListStore& m_store;
  std::vector<int32_t> m_arrFilterColumns;
  std::vector<CFilterMatcher> m_arrMatchers;
  sLiveSort m_sort;
  eSortKeyKind m_eKeyKind = eSortKeyKind::kNone;
  bool m_bShowNone = false;

  // Placing waiting rows changes these when the view is read.
  mutable CRankTree m_tree;                   // of slots
  mutable std::vector<int32_t> m_arrPending;  // shown slots, keys stored, not yet in the tree
  mutable size_t m_nSortedPending = 0;  // how many waiting slots, from the first, are in order
  std::vector<int32_t> m_arrSlotOfRow;  // by store index
  std::vector<int32_t> m_arrRowOfSlot;  // by slot: the store index, or -1 for a free slot
  std::vector<int32_t> m_arrFreeSlots;
  // By slot: the tree node, -1 when not shown, kPendingHandle while waiting.
  static constexpr int32_t kPendingHandle = -2;
  mutable std::vector<int32_t> m_arrHandles;
  // Keys by slot; only the array of the sort's kind is used.
  std::vector<int64_t> m_arrIntegers;
  std::vector<double> m_arrDecimals;
  std::vector<std::string> m_arrTexts;
  CRecordSlots m_slots;  // record -> the slots of its rows
  sKey m_scratchKey;
  sCellText m_cell;
};
