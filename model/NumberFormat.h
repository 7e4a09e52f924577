// Number texts with the C library's rules in the "C" locale, whatever the process locale:
// fixed-point formatting byte for byte as printf's "%.2f"/"%.3f", and text to number as
// strtod and base-10 strtol read it.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model/TextShape.h"

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

// The characters of a short number text by class, a bit per character (bit i for character i),
// for telling the shape of its formatted text without formatting it.
struct sCharClasses {
  static constexpr size_t kMaxLength = 16;

  uint32_t nDigits = 0;
  uint32_t nZeros = 0;
  uint32_t nNines = 0;
  uint32_t nPoints = 0;
  uint32_t nMinus = 0;
  uint32_t nLength = 0;  // characters classified; a longer text is not classified
};

// The classes of a text of at most kMaxLength characters; false for a longer one.
bool ClassifyText(std::string_view strText, sCharClasses& classes);
// The same for nLength characters at pText, reading kMaxLength bytes there whatever nLength.
void ClassifyLoadedText(const char* pText, size_t nLength, sCharClasses& classes);

// How a number text is made from its bytes, as far as its shape goes: FormatDecimalText with
// nPrecision decimals, negated when bNegate; or, with nPrecision below 0, FormatInteger of what
// ParseIntegerText reads, whose value nMaxDigits significant digits keep clear of any clamping.
struct sNumberRule {
  int nPrecision = 2;
  bool bNegate = false;
  int nMaxDigits = 0;
};

// The shape of what FormatDecimalText writes for the text into shape: exact, or unknown where it
// cannot be told from the classes (a text that is not a plain decimal, more than 15 significant
// digits, or a rounding that may carry into a new digit).
inline void GetFixedTextShape(const sCharClasses& classes, int nPrecision, bool bNegate, sTextShape& shape) {
  // printf writes most texts as they came (an optional leading minus, a whole part without
  // leading zeros, nPrecision decimals): their shape is their own.
  const int nLength = static_cast<int>(classes.nLength);
  const uint32_t nSign = classes.nMinus;
  const int nWholeDigits = nLength - 1 - nPrecision - static_cast<int>(nSign);
  if (nSign <= 1 && nWholeDigits > 0 && classes.nPoints == 1u << (nLength - 1 - nPrecision) &&
      (classes.nDigits | classes.nPoints | nSign) == (1u << nLength) - 1 &&
      (((classes.nZeros >> nSign) & 1u) == 0 || nWholeDigits == 1)) {
    shape.eKind = eShapeKind::kNumber;
    shape.nMinus = (nSign != 0) != bNegate ? 1 : 0;
    shape.nDigits = static_cast<uint16_t>(nWholeDigits + nPrecision);
    shape.nPoints = 1;
    return;
  }
  const uint32_t nPoints = classes.nPoints;
  const int nIntegerEnd = nPoints != 0 ? std::countr_zero(nPoints) : static_cast<int>(classes.nLength);
  const uint32_t nInteger = ((1u << nIntegerEnd) - 1) & ~classes.nMinus;
  // The whole part's digits from its first that is not a zero.
  const uint32_t nNonZero = classes.nDigits & ~classes.nZeros & nInteger;
  const int nSignificantDigits = nNonZero != 0 ? nIntegerEnd - std::countr_zero(nNonZero) : 0;
  const int nDecimals = static_cast<int>(classes.nLength) - nIntegerEnd - (nPoints != 0 ? 1 : 0);
  // A plain decimal: an optional leading minus, at least one whole digit, at most one point.
  // Beyond 15 digits printf's digits may be those of the nearest double rather than the text's.
  bool bKnown = (classes.nDigits | nPoints | classes.nMinus) == (1u << classes.nLength) - 1 &&
                (classes.nMinus & ~1u) == 0 && (nPoints & (nPoints - 1)) == 0 && (classes.nDigits & nInteger) != 0 &&
                nSignificantDigits + nPrecision <= 15;
  // Rounding to fewer decimals adds a digit only to a whole part of nines whose first kept
  // decimals are nines too (99.9996 -> 100.000).
  if (bKnown && nDecimals > nPrecision && nNonZero != 0) {
    const uint32_t nNines = (nInteger & ~((1u << std::countr_zero(nNonZero)) - 1)) | (((1u << nPrecision) - 1) << (nIntegerEnd + 1));
    bKnown = (classes.nNines & nNines) != nNines;
  }
  shape.eKind = bKnown ? eShapeKind::kNumber : eShapeKind::kUnknown;
  // printf keeps the sign of a negative value that rounds to zero, and of -0.
  shape.nMinus = (classes.nMinus != 0) != bNegate ? 1 : 0;
  shape.nDigits = static_cast<uint16_t>(std::max(nSignificantDigits, 1) + nPrecision);
  shape.nPoints = nPrecision > 0 ? 1 : 0;
}

// The shape of what FormatInteger writes for the value ParseIntegerText reads from the text:
// exact, or unknown for a text that does not start with '-' or a digit or has more than
// nMaxDigits significant digits.
inline void GetIntegerTextShape(const sCharClasses& classes, int nMaxDigits, sTextShape& shape) {
  shape.eKind = eShapeKind::kUnknown;
  const int nStart = (classes.nMinus & 1u) != 0 ? 1 : 0;
  const int nRun = std::countr_one(classes.nDigits >> nStart);
  const int nSignificantDigits = nRun - std::min(std::countr_one(classes.nZeros >> nStart), nRun);
  if (nRun == 0 || nSignificantDigits > nMaxDigits) return;
  shape.eKind = eShapeKind::kNumber;
  shape.nMinus = nStart != 0 && nSignificantDigits > 0 ? 1 : 0;
  shape.nDigits = static_cast<uint16_t>(std::max(nSignificantDigits, 1));
  shape.nPoints = 0;
}

inline void GetNumberTextShape(const sCharClasses& classes, const sNumberRule& rule, sTextShape& shape) {
  if (rule.nPrecision < 0)
    GetIntegerTextShape(classes, rule.nMaxDigits, shape);
  else
    GetFixedTextShape(classes, rule.nPrecision, rule.bNegate, shape);
}
