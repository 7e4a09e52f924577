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

// The column a reference piece of a stored expression names: a run of decimal digits, blanks
// around it allowed, within 32 bits; -1 for any other piece.
int32_t ReadColumnReference(std::string_view strPiece);

// Whether a referenced cell's text reads as zero with atof: such a text (an empty one and words
// such as "--NA--" included) enters a custom column's evaluation as "0".
bool ReadsAsZero(std::string_view strText);

// Whether a value type is numeric: 1, 2, 4 or 5 (every type but text, 3).
bool IsNumericValueType(int32_t nDataType);

// The dialog's column list: every column with a numeric value type, custom columns included, in
// array order.
std::vector<sColumnChoice> GetExpressionColumns(const CListLayout& layout);
// The edit and delete chooser: every custom column (index >= N) that is not protected, in array
// order.
std::vector<sColumnChoice> GetEditableCustomColumns(const CListLayout& layout);

// The one rule by which a quoted name references a column, in the dialog, the loader and
// deletion alike: among the given columns, the one whose name is the same, else the first whose
// name differs only in ASCII letter case; -1 when there is none. The columns are those an
// expression may reference (GetExpressionColumns). New names differing from a column's only in
// case are refused, so the exact match matters only for lists saved before that.
int32_t FindReferencedColumn(std::span<const sColumnChoice> arrColumns, std::string_view strName);
// Whether two column names differ at most in ASCII letter case.
bool IsSameColumnName(std::string_view strFirst, std::string_view strSecond);

// Whether any name in the display expression references the column (FindReferencedColumn).
bool DoesReferenceColumn(std::string_view strDisplay, std::span<const sColumnChoice> arrColumns,
                         int32_t nColumn);

// What the stored expression holds for a name no column has: no index reads as it, so the cell
// shows the reference failure instead of a value.
inline constexpr const char* kMissingReference = "?";

struct sConvertedExpression {
  std::string strStored;  // names replaced by their index in quotes
  std::string strCheck;   // names replaced by the bare index, for the form check
};

// The dialog's conversion and check: a blank is put in front, each name piece is looked up in
// the column list (FindReferencedColumn), and the check text must evaluate with code 0. False
// when a name is not in the list or the check fails; the dialog then shows
// kInvalidExpressionText.
bool ConvertDisplayExpression(std::string_view strDisplay, std::span<const sColumnChoice> arrColumns,
                              sConvertedExpression& converted);

// Rebuilds the stored expression of every custom column (index >= N) from its display
// expression, as the loader does and a deletion must: a blank is put in front and each name
// piece becomes the index of the column it references (FindReferencedColumn over
// GetExpressionColumns), or kMissingReference when no column has that name. So references
// follow their columns by name wherever the columns stand. A column without a display
// expression has no names to follow and keeps its stored expression.
void RebuildStoredExpressions(CListLayout& layout);
