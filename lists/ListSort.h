// Sorting a list by a clicked column: the click rules (direction and sort image) and the
// ordering of rows by the comparisons of ListCompare.h.
//
// Rows are ordered by a key read once per row and sort (the integer, the decimal or the text of
// the cell), not by reading both cells in every comparison. The order is one the comparison of
// ListCompare.h allows: every row compares <= 0 with every row after it (rows whose decimal
// reads as "nan" equal every row and go last). Rows that compare equal keep their order. Date
// texts (type 6) admit no such key, the comparison not being a total order; they are ordered by
// a merge sort that calls the comparison itself, which for any comparison that is
// antisymmetric leaves every row <= 0 against the row after it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "lists/ListCompare.h"

// The key a row is ordered by, by rule and value type: none (the rows keep their order), a
// 32-bit or 64-bit integer, a decimal (the base rule's reads "-" and "NA" as -1), the text's
// bytes, or a date text compared by CompareDateTexts.
enum class eSortKeyKind : uint8_t { kNone, kInteger, kLong, kDecimal, kBaseDecimal, kText, kDate };
eSortKeyKind GetSortKeyKind(eSortRule eRule, int32_t nValueType);

// What a click changed, for the header's sort images.
struct sSortClick {
  int32_t nDirection = 1;            // image 0 while -1, image 1 while +1
  int32_t nClearImagePosition = -1;  // the header position that loses its sort image, or -1
};

// The sort column, the previous sort column and the direction of a list.
class CListSortState {
 public:
  // A click on a header position: a column other than the previous sort column sorts with
  // direction -1 (ascending), the same column again negates the direction.
  sSortClick Click(int32_t nPosition);
  // A sort kept from an earlier session: the next click on the same position negates the
  // direction, as after a click.
  void Restore(int32_t nPosition, int32_t nDirection);
  // After a row is deleted the next click on any column starts ascending.
  void ForgetPrevious() { m_nPreviousColumn = -1; }

  int32_t GetSortColumn() const { return m_nSortColumn; }
  int32_t GetPreviousColumn() const { return m_nPreviousColumn; }
  int32_t GetDirection() const { return m_nDirection; }

 private:
  int32_t m_nSortColumn = 0;
  int32_t m_nPreviousColumn = -1;
  int32_t m_nDirection = 1;
  int32_t m_nImagePosition = -1;
};

// Writes the cell text of a row (a row number of the caller's) into strText, which is empty.
using RowTextFn = std::function<void(int32_t nRow, std::string& strText)>;

// Reorders arrRows by the texts of their cells. The text of each row is asked for once, in
// the order of arrRows, before any row moves.
void SortRowsByText(std::vector<int32_t>& arrRows, const RowTextFn& fnText, eSortRule eRule,
                    int32_t nValueType, int32_t nDirection);
