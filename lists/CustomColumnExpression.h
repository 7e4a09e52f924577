// The two forms of a custom column's expression and the conversions between them. The display
// expression is what the user typed, with column names in double quotes; the stored expression
// has a blank in front and each name replaced by the column's index in the column array, still
// in quotes: `"MToM Loss" / "Margin Used" * 100` is stored as ` "8" / "10" * 100`.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "lists/ListLayout.h"

// A column as the custom column dialog lists it: its heading and its index in the column array.
struct sColumnChoice {
  std::string strName;
  int32_t nColumn = -1;
};

// A column's heading up to its terminator.
std::string_view GetColumnNameView(const sHalvoColInfo& column);

// The text without the blanks (C white space) at both ends.
std::string_view TrimBlanks(std::string_view strText);

// Whether a value type is numeric: 1, 2, 4 or 5 (every type but text, 3).
bool IsNumericValueType(int32_t nDataType);

// The dialog's column list: every column with a numeric value type, custom columns included, in
// array order.
std::vector<sColumnChoice> GetExpressionColumns(const CListLayout& layout);
// The edit and delete chooser: every custom column (index >= N) that is not protected, in array
// order.
std::vector<sColumnChoice> GetEditableCustomColumns(const CListLayout& layout);

struct sConvertedExpression {
  std::string strStored;  // names replaced by their index in quotes
  std::string strCheck;   // names replaced by the bare index, for the form check
};

// The dialog's conversion and check: a blank is put in front, each name piece is looked up in
// the column list (the whole name, ASCII letter case ignored, first match), and the check text
// must evaluate with code 0. False when a name is not in the list or the check fails; the
// dialog then shows kInvalidExpressionText.
bool ConvertDisplayExpression(std::string_view strDisplay, std::span<const sColumnChoice> arrColumns,
                              sConvertedExpression& converted);

// The loader's rebuild: a blank is put in front and each name piece is looked up among all the
// list's columns (exact; of two equal names the later column counts). False, leaving strStored
// as it was, when a name is not found or the display expression is empty.
bool RebuildStoredExpression(std::string_view strDisplay, std::span<const sHalvoColInfo> arrColumns,
                             std::string& strStored);

// Rebuilds the stored expression of every custom column (index >= N) of the layout.
void RebuildStoredExpressions(CListLayout& layout);
