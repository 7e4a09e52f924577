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
// Failures are shown with ShowMessageBox (platform/MessageBox.h) in the texts below.
#pragma once

#include <cstdint>
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

// A text the widget writes into the header filter at a position. The header then reports the
// change as typing does: the widget stores the text with SetColumnFilter for the column shown
// there and tells the owner, which runs Filter.
struct sHeaderFilterWrite {
  int32_t nPosition = 0;
  std::string strText;
};

// The result of a sort click for the header's images.
struct sSortResult {
  bool bSorted = false;  // false: the view was empty and nothing changed
  sSortClick click;
};

class CFilterListStore {
 public:
  // The layout is the list's columns and position map; it must outlive the store.
  explicit CFilterListStore(const CListLayout& layout) : m_layout(layout) {}

  // Data descriptor. An empty function removes it.
  void SetCellTextFn(CellTextFn fnCellText) { m_fnCellText = std::move(fnCellText); }
  void SetCustomColumnFn(CellTextFn fnCustomColumn) { m_fnCustomColumn = std::move(fnCustomColumn); }
  // The optional load hint for catalogue columns (CellText.h); it changes no result.
  void SetCellPrefetchFn(CellPrefetchFn fnPrefetch) { m_fnCellPrefetch = std::move(fnPrefetch); }
  // The same hint for custom columns (CCustomColumnText::PrefetchCell).
  void SetCustomPrefetchFn(CellPrefetchFn fnPrefetch) { m_fnCustomPrefetch = std::move(fnPrefetch); }
  bool HasDataSource() const { return static_cast<bool>(m_fnCellText); }

  // The cell text of a record's column; false without a data source or when the function
  // produced no text. The cell's text and colours are what the caller set, changed by the
  // function.
  bool GetCellText(const void* pRecord, int32_t nColumn, sCellText& cell) const;
  // The cell at a view row and header position, from empty text and unset colours: empty past
  // the view count or the header, kNoDataDescriptorText without a data source. True when the
  // cell text operation produced the text.
  bool GetViewCellText(int32_t nViewRow, int32_t nPosition, sCellText& cell) const;

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
  // view at that entry). The new row shows whatever the filters until the next Filter. Returns
  // the view row it shows at; on a broken view index shows kInsertReindexFailedText, empties
  // the store and returns 0.
  int32_t InsertRow(int32_t nPosition, const void* pRecord);
  // Deletes the row a view row shows and closes up the view. kDeleteNotFoundText when the view
  // row shows no store row (nothing deleted); kDeleteReindexFailedText when the view still
  // holds the deleted index (the store is emptied).
  bool DeleteRow(int32_t nViewRow);
  // Deletes a store row: as its view row when it is shown; when it is filtered out, removes its
  // node and renumbers the view. kDeleteMapItemFailedText when the index stands in the view
  // index past the view count (nothing deleted). False for an index outside the store.
  bool DeleteStoreRow(int32_t nStoreIndex);
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
  // again. Runs only with a data source and at least one header item (false otherwise). Shows
  // kFilterFailedText, leaving the view empty, when the filter arrays are out of step. Clears
  // the exact-for-this-setting flag after a pass.
  bool Filter();

  // Sorting by a clicked header position; nothing happens when the view is empty. The column
  // shown there and its value type are recorded; the view is ordered by the data rule of
  // ListCompare.h and refilled in order, or in reverse order with the reverse flag (so the
  // rows show in sorted order either way).
  sSortResult SortByPosition(int32_t nPosition);
  const CListSortState& GetSortState() const { return m_sortState; }
  int32_t GetSortColumnIndex() const { return m_nSortColumnIndex; }
  int32_t GetSortValueType() const { return m_nSortValueType; }

 private:
  friend class CFilterListStoreProbe;  // tests break the view index on purpose

  struct sRowNode {
    const void* pRecord = nullptr;
    uint32_t nCheck = 0;
  };

  // The view entry a view row reads, or -1.
  int32_t GetViewEntry(int32_t nViewRow) const;
  void EmptyStore();
  bool DeleteViewEntry(int32_t nEntry);
  int32_t FindFilter(int32_t nColumn) const;
  // Starts the loads of the rows a pass will read next: the column's cell of the store row
  // kPrefetchNear places ahead, the record itself of the one kPrefetchFar places ahead.
  void PrefetchRows(const void* pNearRecord, const void* pFarRecord, int32_t nColumn) const;

  const CListLayout& m_layout;
  CellTextFn m_fnCellText;
  CellTextFn m_fnCustomColumn;
  CellPrefetchFn m_fnCellPrefetch;
  CellPrefetchFn m_fnCustomPrefetch;

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
};
