// The one way a list reads a cell: a cell text operation that the list's owner supplies (the
// data descriptor). Drawing, filtering, sorting, the clipboard and custom columns all read
// cells through it.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "model/TextShape.h"

// A colour that the operation left unset; the list then draws with its own colours.
constexpr int32_t kColourUnset = -1;

// What a cell text operation gives besides success: the text and the colours (0x00BBGGRR) to
// draw it with. Callers set the colours they start from before the call.
struct sCellText {
  std::string strText;
  int32_t nTextColour = kColourUnset;
  int32_t nBackColour = kColourUnset;

  void Reset() {
    strText.clear();
    nTextColour = kColourUnset;
    nBackColour = kColourUnset;
  }
};

// (row record, column index, cell) -> true when it produced the text. The record is the
// pointer a row was inserted with; the owner knows its type. An owner that needs its window
// captures it in the function.
using CellTextFn = std::function<bool(const void* pRecord, int32_t nColumn, sCellText& cell)>;

// Wraps a typed cell-text callback of the model (GetColumnText, GetRaisedAlertCellText, ...),
// which reports success as non-zero.
template <class TRecord>
CellTextFn MakeCellTextFn(int (*pfnGetText)(const TRecord*, int, std::string&)) {
  return [pfnGetText](const void* pRecord, int32_t nColumn, sCellText& cell) {
    return pfnGetText(static_cast<const TRecord*>(pRecord), nColumn, cell.strText) != 0;
  };
}

// An optional hint of a data descriptor: starts loading the memory that the cell text operation
// will read for a record's column, and reads nothing itself. Passes over every row (filtering,
// sorting) give it the rows a few places ahead, so the loads of many records overlap instead of
// waiting one after the other.
using CellPrefetchFn = std::function<void(const void* pRecord, int32_t nColumn)>;

// The hint for records that prefetch a column's stored bytes themselves (CRmsDetails::PrefetchCell).
template <class TRecord>
CellPrefetchFn MakeCellPrefetchFn(void (TRecord::*pfnPrefetch)(int) const) {
  return [pfnPrefetch](const void* pRecord, int32_t nColumn) {
    (static_cast<const TRecord*>(pRecord)->*pfnPrefetch)(nColumn);
  };
}

// An optional shortcut of a data descriptor for passes that rank every row's text by its width
// ("Fit to Data"): the shapes of a column's cells for many records at once, each the shape of
// the text the cell text operation gives for that record, with numbers' value ranges when
// bValues. A cell it cannot tell is kUnknown, and is then read. arrAhead are the records whose
// cells of the column the pass reads next: the shortcut may start loading them, as the load
// hint does.
using CellShapesFn = std::function<void(std::span<const void* const> arrRecords, std::span<const void* const> arrAhead,
                                        int32_t nColumn, bool bValues, std::span<sTextShape> arrShapes)>;
