// The columns of a list control and how its header shows them: the column array (standard
// columns first, custom columns after them), the position map (column index -> header position,
// -1 when hidden) with its reverse (header position -> column index), the width each column is
// shown with, the first column and the call-amount columns.
//
// Shown columns always take the header positions 0 to count-1, each exactly once. Columns are
// added and removed through AppendShownColumn and RemoveColumn, which keep the map in step;
// a column appended to m_arrColumns directly counts as hidden.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "model/ListColumns.h"

// The call-amount keys of a list's profile section, in the order of m_arrCallAmountColumns.
inline constexpr std::array<const char*, 6> kCallAmountKeys = {"MCA", "MCU", "MCS", "OCA", "OCU", "OCS"};

class CListLayout : public CListColumns {
 public:
  CListLayout() { m_arrCallAmountColumns.fill(-1); }

  // The number of header items.
  int32_t GetHeaderCount() const { return static_cast<int32_t>(m_arrHeaderColumns.size()); }
  // The column shown at a header position, or -1.
  int32_t GetColumnAt(int32_t nPosition) const;
  // The header position of a column, or -1 when it is hidden or not a column of the list.
  int32_t GetPosition(int32_t nColumn) const;
  // The position map, one entry per column the map knows.
  const std::vector<int32_t>& GetPositions() const { return m_arrPositions; }

  // The width a column is shown with: the one read from the profile or set since, else the
  // record's nWidth.
  int32_t GetColumnWidth(int32_t nColumn) const;
  void SetColumnWidth(int32_t nColumn, int32_t nWidth);

  // Every column shown in column order with its record's width, except m_nHiddenByDefault.
  void ShowAllColumns();
  // Replaces the position map (an entry per column; missing entries and entries below 0 hide
  // the column). Shown columns keep the order of their positions, equal positions in column
  // order, and are renumbered without gaps. Width entries that are not positive are taken
  // from the records.
  void SetPositions(std::span<const int32_t> arrPositions);
  void SetLayout(std::span<const int32_t> arrPositions, std::span<const int32_t> arrWidths);

  // Appends a column record shown as the last header item, with the record's width; returns
  // its index.
  int32_t AppendShownColumn(const sHalvoColInfo& column);
  // Removes a column's record and its map entry. A shown column's header item goes and the
  // positions after it move down by one.
  void RemoveColumn(int32_t nColumn);

  // The column whose position is 0 when the profile was loaded.
  int32_t m_nFirstColumn = 0;
  // A column that only a profile shows, -1 for none: a list without one leaves it hidden.
  int32_t m_nHiddenByDefault = -1;
  // The columns named by the keys of kCallAmountKeys, -1 while unset.
  std::array<int32_t, kCallAmountKeys.size()> m_arrCallAmountColumns{};

 private:
  void RebuildHeaderOrder();

  std::vector<int32_t> m_arrPositions;
  std::vector<int32_t> m_arrWidths;  // 0: the record's width
  std::vector<int32_t> m_arrHeaderColumns;
};
