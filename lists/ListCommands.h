// The parts of the list commands that need no window: the clipboard text, the column widths of
// the fitting commands, the row height, and the texts of the filter value popup.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class CFilterListStore;

// The narrowest width the fitting commands give a column.
inline constexpr int32_t kMinFitWidth = 50;

// "Fit to Data" and "Fit to Header Size": the measured width when it is above 50, else 50.
int32_t GetFitWidth(int32_t nMeasured);
// "Fit to Window": the client width divided by the number of columns (integer division), or 50
// when either is not positive.
int32_t GetFitToWindowWidth(int32_t nClientWidth, int32_t nColumnCount);

// The height of a row: the font's absolute height plus 4 pixels, times the lines per row
// (values below 2 count as 1).
int32_t GetRowHeight(int32_t nFontHeight, int32_t nLinesPerRow);

// Writes the text of (row, header position) into strText, which is empty.
using ViewCellFn = std::function<void(int32_t nRow, int32_t nPosition, std::string& strText)>;

// Every selected row in selection order, every header column in order: the cell text and a tab
// each, "\r\n" after each row.
std::string BuildClipboardText(std::span<const int32_t> arrSelectedRows, int32_t nHeaderCount,
                               const ViewCellFn& fnCell);
// The same over the view rows of a filter list store.
std::string BuildClipboardText(const CFilterListStore& store, std::span<const int32_t> arrSelectedRows,
                               int32_t nHeaderCount);

// The entries of the filter value popup of a header position: the distinct non-empty cell
// texts over the view rows, in view order; texts that differ only in letter case count once
// (the first one shown stays).
std::vector<std::string> CollectFilterValues(const CFilterListStore& store, int32_t nPosition);
// The filter text made of the chosen entries: joined with '~' in order, an entry already
// contained in the text so far left out.
std::string JoinFilterValues(std::span<const std::string> arrChosen);
