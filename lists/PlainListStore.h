// The rows of a list out of the filter list's data mode, without a widget: each row holds its
// own texts, one per header position, and a 32-bit check flag. Rows are inserted, changed,
// deleted and sorted by a clicked header position here; the widget over the store tells its
// view of each change and paints the rows it shows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "lists/ListSort.h"

// What a sort by a click did: the click (for the header's sort images) and, for each row as it
// is now, the row it was before, so that the widget can move its selection along.
struct sPlainSort {
  sSortClick click;
  std::vector<int32_t> arrOldRows;
};

class CPlainListStore {
 public:
  int32_t GetItemCount() const { return static_cast<int32_t>(m_arrRows.size()); }

  // A new row with the text of its first position, unchecked, at nRow or at the end when nRow
  // is past it; the row it went to, or -1 for a negative row.
  int32_t InsertItem(int32_t nRow, const std::string& strText);
  // A position past the row's texts makes room for it; false for a row that does not exist or a
  // negative position.
  bool SetItemText(int32_t nRow, int32_t nPosition, const std::string& strText);
  // Empty for a row or a position without a text.
  std::string GetItemText(int32_t nRow, int32_t nPosition) const;
  bool DeleteItem(int32_t nRow);
  // The number of rows there were.
  int32_t DeleteAllItems();

  // 0 for a row that does not exist.
  uint32_t GetCheck(int32_t nRow) const;
  bool SetCheck(int32_t nRow, uint32_t nCheck);

  // A click on a header position (CListSortState): the rows are ordered by the texts of that
  // position under the base rule for the value type of the column shown there, and keep their
  // check flags as they move.
  sPlainSort SortByClick(int32_t nPosition, int32_t nValueType);

 private:
  struct sRow {
    std::vector<std::string> arrTexts;
    uint32_t nCheck = 0;
  };

  bool HasRow(int32_t nRow) const { return nRow >= 0 && static_cast<size_t>(nRow) < m_arrRows.size(); }

  std::vector<sRow> m_arrRows;
  CListSortState m_sortState;
};
