// Number texts with the C library's rules in the "C" locale, whatever the process locale:
// fixed-point formatting byte for byte as printf's "%.2f"/"%.3f", and text to number as
// strtod and base-10 strtol read it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// Room for the longest FormatFixed text: sign, 309 integer digits, point and 3 decimals.
constexpr size_t kFixedTextSize = 320;

// Writes dValue as printf("%.*f", nPrecision, dValue) does (the exact binary value rounded to
// nearest, ties to even; "-0.00", "nan", "-inf"), for nPrecision 0 to 3. Precisions 2 and 3
// take a fast exact path. Returns the length; writes no terminator.
size_t FormatFixed(double dValue, int nPrecision, char* pBuffer);

// Room for the longest FormatInteger text.
constexpr size_t kIntegerTextSize = 24;

// Writes the decimal digits of nValue as printf's "%d"/"%ld" does. Returns the length.
size_t FormatInteger(int64_t nValue, char* pBuffer);

// The value of the longest number at the start of the text, read as strtod reads it (leading
// blanks, sign, exponent, hexadecimal, inf and nan; "." as the decimal point). A text with no
// number gives 0. Reading stops at a NUL byte.
double ParseDecimalText(std::string_view strText);

// Writes what printf("%.*f", nPrecision, ...) gives for the value ParseDecimalText reads from
// the text, multiplied by -1 when bNegate, for nPrecision 0 to 3. Returns the length.
size_t FormatDecimalText(std::string_view strText, int nPrecision, bool bNegate, char* pBuffer);

// The value of the leading decimal integer as base-10 strtol reads it (leading blanks, sign,
// digits), clamped to the 64-bit range. A text with no digits gives 0.
int64_t ParseIntegerText(std::string_view strText);
