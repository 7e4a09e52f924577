// The data of a filter list in data mode, without a widget: the row store, the view of it that
// the list shows, the column filters and the sorting by a clicked column.
//
// The store holds one node per inserted row, in insertion order: the row's record (not owned;
// its owner keeps it alive until the row is deleted) and a 32-bit check flag. The view index
// maps entries to store indices; the list shows the view count entries. With the reverse flag
// view row r shows entry count-1-r, so rows appended to a reversed view show at the top.
//
// Every cell is read through the data descriptor: a column index at or past the list's
// catalogue count is asked of the custom-column function when one is set, any other index of
// the cell text function. Without a cell text function the list has no data source.
//
// A widget built on the store asks it for the view count and the text of (view row, header
// position), and calls the operations below for its commands; it paints the rows it shows.
//
// Live filter and sort (SetLive, off by default): the view is a CLiveView instead of the view
// index. Rows then follow the filters of the last filtering pass and the sort column at once:
// a new row shows only when it matches, a row whose record changed (UpdateRecord) appears,
// disappears or moves to its sorted place, each in O(log n). Off, new rows show until the next
// pass and a sort orders the view once, as the operations below describe.
// Failures come back in the results (sStoreResult) with the texts below; the list that asked
// shows them.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "lists/CellText.h"
#include "lists/ListLayout.h"
#include "lists/ListSort.h"

inline constexpr const char* kNoDataDescriptorText = "no data descriptor initialised";
inline constexpr const char* kInsertReindexFailedText = "Insert Item: Reindexing Error";
inline constexpr const char* kDeleteNotFoundText = "Delete item: Item not found";
inline constexpr const char* kDeleteReindexFailedText = "Delete item: Reindexing Error";
inline constexpr const char* kDeleteMapItemFailedText = "Error occured while deleting map item";
inline constexpr const char* kFilterFailedText = "Error occured while filtering";

// What a row or filter operation did. szFailure is one of the texts above when the operation
// failed in a way the user is told of, else null.
struct sStoreResult {
  bool bDone = false;
  int32_t nViewRow = 0;  // InsertRow: the view row the new row shows at
  const char* szFailure = nullptr;

  explicit operator bool() const { return bDone; }
};

// A text the widget writes into the header filter at a position. The header then reports the
// change as typing does: the widget stores the text with SetColumnFilter for the column shown
// there and tells the owner, which runs Filter.
struct sHeaderFilterWrite {
  int32_t nPosition = 0;
  std::string strText;
};

// The view rows whose contents a live change may have changed, from nFirst to nLast; none while
// nFirst is -1.
struct sViewSpan {
  int32_t nFirst = -1;
  int32_t nLast = -1;

  void Add(int32_t nFrom, int32_t nTo);
  // A row moved from one view row to another (-1: not shown), the view counts before and after:
  // the rows between the two, or from where it appeared or left to the end.
  void AddMove(int32_t nOldRow, int32_t nOldCount, int32_t nNewRow, int32_t nNewCount);
};

// What a changed record did to a live view: the rows to repaint and the row it shows at now
// (-1 when not shown). A row that stayed where it was is not counted (bInPlace): the caller
// knows which records its page shows.
struct sLiveUpdate {
  sViewSpan span;
  int32_t nRow = -1;
  bool bInPlace = false;
};

class CLiveView;

// The result of a sort click for the header's images.
struct sSortResult {
  bool bSorted = false;  // false: the view was empty and nothing changed
  sSortClick click;
};

class CFilterListStore {
 public:
  // The layout is the list's columns and position map; it must outlive the store.
  explicit CFilterListStore(const CListLayout& layout);
  ~CFilterListStore();
  CFilterListStore(const CFilterListStore&) = delete;
  CFilterListStore& operator=(const CFilterListStore&) = delete;

  // Data descriptor. An empty function removes it.
  void SetCellTextFn(CellTextFn fnCellText) { m_fnCellText = std::move(fnCellText); }
  void SetCustomColumnFn(CellTextFn fnCustomColumn) { m_fnCustomColumn = std::move(fnCustomColumn); }
  // The optional load hint for catalogue columns (CellText.h); it changes no result.
  void SetCellPrefetchFn(CellPrefetchFn fnPrefetch) { m_fnCellPrefetch = std::move(fnPrefetch); }
  // The same hint for custom columns (CCustomColumnText::PrefetchCell).
  void SetCustomPrefetchFn(CellPrefetchFn fnPrefetch) { m_fnCustomPrefetch = std::move(fnPrefetch); }
  // The optional shape shortcut for catalogue columns (CellText.h); it changes no result.
  void SetCellShapesFn(CellShapesFn fnShapes) { m_fnCellShapes = std::move(fnShapes); }
  bool HasDataSource() const { return static_cast<bool>(m_fnCellText); }

  // The cell text of a record's column; false without a data source or when the function
  // produced no text. The cell's text and colours are what the caller set, changed by the
  // function.
  bool GetCellText(const void* pRecord, int32_t nColumn, sCellText& cell) const;
  // The cell at a view row and header position, from empty text and unset colours: empty past
  // the view count or the header, kNoDataDescriptorText without a data source. True when the
  // cell text operation produced the text.
  bool GetViewCellText(int32_t nViewRow, int32_t nPosition, sCellText& cell) const;

  // The shapes of a column's cells for the records, through the shape shortcut, which may start
  // loading those of the records ahead; false for a custom column, or without a data source or
  // shortcut.
  bool GetCellShapes(std::span<const void* const> arrRecords, std::span<const void* const> arrAhead, int32_t nColumn,
                     bool bValues, std::span<sTextShape> arrShapes) const;

  int32_t GetViewCount() const { return m_nViewCount; }
  int32_t GetStoreCount() const { return static_cast<int32_t>(m_arrNodes.size()); }
  bool IsReverse() const { return m_bReverse; }
  void SetReverse(bool bReverse) { m_bReverse = bReverse; }
  // The store index a view row shows, or -1.
  int32_t GetStoreIndex(int32_t nViewRow) const;
  // The view row that shows a store index, or -1 when it is filtered out.
  int32_t FindViewRow(int32_t nStoreIndex) const;
  const void* GetRecord(int32_t nViewRow) const;
  const void* GetStoreRecord(int32_t nStoreIndex) const;

  // Adds a row for the record: at the end when the position is 0 or past the store, else at
  // that store index (the view entries from it on move up by one, and the new index enters the
  // view at that entry). The new row shows whatever the filters until the next Filter. Gives
  // the view row it shows at; on a broken view index kInsertReindexFailedText, with the store
  // emptied and view row 0. Live, the row takes its place by the filters and the sort, and the
  // view row is -1 when it does not show; a row added at the end is placed when the view is next
  // read, and the view row is then 0, as every row from the top may have moved. Always done.
  sStoreResult InsertRow(int32_t nPosition, const void* pRecord);
  // Deletes the row a view row shows and closes up the view. kDeleteNotFoundText when the view
  // row shows no store row (nothing deleted); kDeleteReindexFailedText when the view still
  // holds the deleted index (the store is emptied).
  sStoreResult DeleteRow(int32_t nViewRow);
  // Deletes a store row: as its view row when it is shown; when it is filtered out, removes its
  // node and renumbers the view. kDeleteMapItemFailedText when the index stands in the view
  // index past the view count (nothing deleted). Not done, without a failure, for an index
  // outside the store.
  sStoreResult DeleteStoreRow(int32_t nStoreIndex);
  void DeleteAllRows();

  // The check flag of a view row's node; 0 past the view.
  uint32_t GetCheck(int32_t nViewRow) const;
  bool SetCheck(int32_t nViewRow, uint32_t nCheck);

  // The filter of a column: an empty text removes it. This is where a header filter's text
  // arrives.
  void SetColumnFilter(int32_t nColumn, std::string_view strText);
  // The filter text of a column, empty when it has none.
  std::string_view GetColumnFilter(int32_t nColumn) const;
  const std::vector<int32_t>& GetFilterColumns() const { return m_arrFilterColumns; }
  const std::vector<std::string>& GetFilterTexts() const { return m_arrFilterTexts; }
  // Clears every column filter; the widget clears its header filters and then writes an empty
  // text into the first one, which notifies the owner.
  void ResetFilters();

  bool IsMatchExactly() const { return m_bMatchExactly; }
  void SetMatchExactly(bool bOn) { m_bMatchExactly = bOn; }
  bool IsExactForThisSetting() const { return m_bExactForThisSetting; }
  void SetExactForThisSetting(bool bOn) { m_bExactForThisSetting = bOn; }

  // Programmatic filter by the owner: the exact-for-this-setting flag takes bExact. A shown
  // column's text goes into its header filter; a hidden column's is stored here and the first
  // header filter is emptied (which clears the first shown column's filter). Returns the
  // header write the widget makes.
  sHeaderFilterWrite SetFilter(int32_t nColumn, std::string_view strText, bool bExact);
  // Several at once: nullopt (nothing changed) when the arrays differ in size or a column is
  // negative. Otherwise resets every filter (the widget clears its header filters first), sets
  // the flag, stores the hidden columns' texts and returns the writes: one per shown column,
  // or, when none is shown, an empty text into the first header filter.
  std::optional<std::vector<sHeaderFilterWrite>> SetFilters(std::span<const int32_t> arrColumns,
                                                            std::span<const std::string> arrTexts,
                                                            bool bExact);

  // The filtering pass: rebuilds the view from the store, in store order, with every row whose
  // record is present and whose cells match all column filters; a previous sort is not applied
  // again. Runs only with a data source and at least one header item (not done otherwise).
  // kFilterFailedText, leaving the view empty, when the filter arrays are out of step. Clears
  // the exact-for-this-setting flag after a pass. Live, the rows keep following the sort, and
  // these filters hold for every later change until the next pass.
  sStoreResult Filter();

  // Sorting by a clicked header position; nothing happens when the view is empty. The column
  // shown there and its value type are recorded; the view is ordered by the data rule of
  // ListCompare.h and refilled in order, or in reverse order with the reverse flag (so the
  // rows show in sorted order either way). Live, the order holds for every later change.
  sSortResult SortByPosition(int32_t nPosition);
  // A sort kept from an earlier session: the position's column and the direction (-1
  // ascending) as a click would leave them; the view is ordered only when live.
  void RestoreSort(int32_t nPosition, int32_t nDirection);
  // Forgets the sort column (the header shows no sort any more); live, the rows go back to
  // store order. The click rules keep their state.
  void ClearSort();
  bool HasSort() const { return m_nSortColumnIndex >= 0; }
  const CListSortState& GetSortState() const { return m_sortState; }
  int32_t GetSortColumnIndex() const { return m_nSortColumnIndex; }
  int32_t GetSortValueType() const { return m_nSortValueType; }

  // Live filter and sort. Turning it on places every row by the current filters (the rule of a
  // pass now) and sort; turning it off keeps the view as it stands, to be changed by the rules
  // of the view index from then on.
  void SetLive(bool bOn);
  bool IsLive() const { return m_pLive != nullptr; }
  // Live: every row of the record follows its changed cells. Nothing when not live.
  sLiveUpdate UpdateRecord(const void* pRecord);
  // Live: the first view row that shows the record, or -1 (also when not live).
  int32_t FindRecordRow(const void* pRecord) const;

 private:
  struct sRowNode {
    const void* pRecord = nullptr;
    uint32_t nCheck = 0;
  };

  // The view entry a view row reads, or -1.
  int32_t GetViewEntry(int32_t nViewRow) const;
  void EmptyStore();
  sStoreResult DeleteViewEntry(int32_t nEntry);
  int32_t FindFilter(int32_t nColumn) const;
  // Records the column shown at a header position as the sort column, with its value type.
  void RecordSortColumn(int32_t nPosition);
  // The live parts of the operations above (FilterListStoreLive.cpp).
  int32_t InsertLiveRow(int32_t nPosition, const void* pRecord);
  void DeleteLiveRow(int32_t nStoreIndex);
  sStoreResult FilterLive();
  // Hands the live view the filters and the sort and places every row.
  void PlaceLiveRows();
  void SortLiveRows();
  int32_t ToViewRow(int32_t nEntry, int32_t nViewCount) const;
  // Starts the loads of the rows a pass will read next: the column's cell of the store row
  // kPrefetchNear places ahead, the record itself of the one kPrefetchFar places ahead.
  void PrefetchRows(const void* pNearRecord, const void* pFarRecord, int32_t nColumn) const;

  const CListLayout& m_layout;
  CellTextFn m_fnCellText;
  CellTextFn m_fnCustomColumn;
  CellPrefetchFn m_fnCellPrefetch;
  CellPrefetchFn m_fnCustomPrefetch;
  CellShapesFn m_fnCellShapes;

  std::vector<sRowNode> m_arrNodes;
  // View entry -> store index. Only the first m_nViewCount entries are shown; the operations
  // keep the array exactly that long.
  std::vector<int32_t> m_arrView;
  int32_t m_nViewCount = 0;
  bool m_bReverse = false;

  std::vector<int32_t> m_arrFilterColumns;
  std::vector<std::string> m_arrFilterTexts;  // parallel to m_arrFilterColumns
  bool m_bMatchExactly = false;
  bool m_bExactForThisSetting = false;

  CListSortState m_sortState;
  int32_t m_nSortColumnIndex = -1;
  int32_t m_nSortValueType = 0;

  std::unique_ptr<CLiveView> m_pLive;  // set while live; m_arrView is then empty
};
