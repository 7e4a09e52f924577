// What the table model of a list reads: the row and column counts, a cell's text and, per
// header position, the column shown there, its tip and its sort image. The list control gives
// them; a list in data mode reads its rows from its store, a plain list from its own rows.
#pragma once

#include <QString>
#include <cstdint>
#include <string>

#include "model/HalvoColInfo.h"

class IListTableSource {
 public:
  virtual ~IListTableSource() = default;

  virtual int32_t GetItemCount() const = 0;
  virtual int32_t GetHeaderCount() const = 0;
  // The text of (row, header position), as export, clipboard and sorting read it.
  virtual std::string GetCellText(int32_t nRow, int32_t nPosition) const = 0;
  // The column shown at a header position, or null.
  virtual const sHalvoColInfo* GetColumnAtPosition(int32_t nPosition) const = 0;
  // Empty while the position has no tip.
  virtual QString GetHeaderTip(int32_t nPosition) const = 0;
  // 0, 1, 2 or -1 (none).
  virtual int32_t GetSortImage(int32_t nPosition) const = 0;
};
