// The comparisons by which a list orders two cell texts a (first row) and b (second row) when
// it is sorted by a column, by the column's value type (nDataType). A negative result puts the
// first row first; nDirection is +1 or -1, and -1 (a first click) sorts ascending.
//
// Two rule sets exist. The base rule is that of plain lists; the data rule is that of a filter
// list in data mode, which reads "-" as the number 0 and knows only value types 1 to 6.
//
//   type        base rule                           data rule
//   1           integers                            integers
//   2, 5        decimals; "-" and "NA" count as -1  decimals
//   7, 9        decimals; "-" and "NA" count as -1  equal
//   3           byte-wise                           byte-wise
//   8           byte-wise                           equal
//   4           long integers                       long integers
//   6           date and time texts                 date and time texts
//   other       equal                               equal
//
// Numbers are read as the C library reads them in the "C" locale: integers as atoi (32 bits,
// clamped at the range ends), long integers as a 64-bit atol, decimals as atof. Differences are
// taken without overflow. Decimals compare by the sign of their difference, so a "nan" cell
// equals every cell.
#pragma once

#include <cstdint>
#include <string_view>

enum class eSortRule : uint8_t { kBase, kData };

int32_t CompareCells(eSortRule eRule, std::string_view strA, std::string_view strB, int32_t nValueType,
                     int32_t nDirection);

// Date and time texts of equal length; texts of different lengths compare byte-wise as
// d x (b against a). Otherwise, unlike the other types, the comparison is +d when a is the
// later text and -d when it is the earlier, so a first click puts the latest rows first:
//   a contains '/' (else '-'): day, month and year numbers, the year being the four
//     characters after the second separator; equal dates compare the rest of each text
//     after the year as times.
//   a contains ':' (a time alone): AM in a and PM in b gives -d, PM in a and AM in b +d;
//     else both texts cut to 8 characters compare as times.
//   otherwise "01Jan2024": day in characters 1-2, month name in 3-5 (exact case; an unknown
//     name is month 1), year in 6-9.
// Not a total order: the rule a text is read by depends on the first text alone.
int32_t CompareDateTexts(std::string_view strA, std::string_view strB, int32_t nDirection);

// Times of texts ending in "hh:mm:ss": hours are the two characters 8 and 7 places from the
// end, minutes 5 and 4, seconds the last two; a text too short for a field gives 0 for it.
// +1 when a is later, -1 when earlier.
int32_t CompareTimeTexts(std::string_view strA, std::string_view strB);

// The value readers of the comparisons.
int32_t ReadCellInteger(std::string_view strText);
int64_t ReadCellLong(std::string_view strText);
// The base rule's decimal: "-" and "NA" are -1.
double ReadBaseDecimal(std::string_view strText);
