#include "model/NumberFormat.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <charconv>
#include <clocale>
#include <cstring>
#include <cstdlib>
#include <locale.h>
#include <string>

#include <emmintrin.h>

namespace {

constexpr uint64_t kDecimalScales[] = {1, 10, 100, 1000};
constexpr int kMantissaBits = 52;
constexpr int kExponentBias = 1075;  // IEEE bias plus the mantissa bits

bool IsDigit(char ch) {
  return ch >= '0' && ch <= '9';
}

bool IsCSpace(char ch) {
  return ch == ' ' || (ch >= '\t' && ch <= '\r');
}

// Fixed-point digits of a finite value below 2^52, computed exactly: the value is
// mantissa / 2^shift, so value * 10^precision rounds to nearest (ties to even) by integer
// arithmetic on the mantissa, which is what printf does with the exact binary value.
// Returns false for the values it does not take (NaN, infinities, 2^52 and above).
template <int nPrecision>
bool FormatSmallFixed(double dValue, char* pBuffer, size_t& nLength) {
  constexpr uint64_t nScale = kDecimalScales[nPrecision];
  const uint64_t nBits = std::bit_cast<uint64_t>(dValue);
  const int nBiasedExponent = static_cast<int>((nBits >> kMantissaBits) & 0x7FF);
  uint64_t nMantissa = nBits & ((uint64_t{1} << kMantissaBits) - 1);
  if (nBiasedExponent == 0x7FF) {
    return false;
  }
  int nShift = kExponentBias - 1;  // subnormals
  if (nBiasedExponent != 0) {
    nMantissa |= uint64_t{1} << kMantissaBits;
    nShift = kExponentBias - nBiasedExponent;
  }
  if (nShift <= 0) {
    return false;
  }
  uint64_t nScaled = 0;
  // With a shift of 64 or more the product (below 2^63) is under half a unit and rounds to 0.
  if (nShift < 64) {
    const uint64_t nProduct = nMantissa * nScale;  // below 2^53 * 2^10
    nScaled = nProduct >> nShift;
    const uint64_t nRest = nProduct & ((uint64_t{1} << nShift) - 1);
    const uint64_t nHalf = uint64_t{1} << (nShift - 1);
    if (nRest > nHalf || (nRest == nHalf && (nScaled & 1) != 0)) {
      ++nScaled;
    }
  }
  char* pOut = pBuffer;
  if ((nBits >> 63) != 0) {
    *pOut++ = '-';
  }
  pOut = std::to_chars(pOut, pOut + kIntegerTextSize, nScaled / nScale).ptr;
  if constexpr (nPrecision > 0) {
    *pOut++ = '.';
    uint64_t nFraction = nScaled % nScale;
    for (int i = nPrecision - 1; i >= 0; --i) {
      pOut[i] = static_cast<char>('0' + nFraction % 10);
      nFraction /= 10;
    }
    pOut += nPrecision;
  }
  nLength = static_cast<size_t>(pOut - pBuffer);
  return true;
}

enum class eDecimalShape {
  kExact,  // converted here
  kPlain,  // plain, but too many digits to convert here
  kOther,  // anything else
};

// Reads an optional minus, digits, and optionally a point and more digits, as the server
// writes numbers. When the digits form an exact double and the power of ten is exact too, one
// IEEE division gives the correctly rounded value, which is what strtod gives.
eDecimalShape ParseExactDecimal(std::string_view strText, double& dValue) {
  constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                     1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                     1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  constexpr int kMaxDigits = 19;  // below 2^64
  const char* p = strText.data();
  const char* const pEnd = p + strText.size();
  const bool bNegative = p != pEnd && *p == '-';
  p += bNegative ? 1 : 0;
  uint64_t nMantissa = 0;
  int nDigits = 0;
  int nDecimals = 0;
  for (; p != pEnd && IsDigit(*p); ++p, ++nDigits) {
    nMantissa = nMantissa * 10 + static_cast<uint64_t>(*p - '0');
  }
  if (nDigits == 0) {
    return eDecimalShape::kOther;
  }
  if (p != pEnd && *p == '.') {
    for (++p; p != pEnd && IsDigit(*p); ++p, ++nDigits, ++nDecimals) {
      nMantissa = nMantissa * 10 + static_cast<uint64_t>(*p - '0');
    }
  }
  if (p != pEnd) {
    return eDecimalShape::kOther;
  }
  if (nDigits > kMaxDigits || nMantissa > (uint64_t{1} << 53)) {
    return eDecimalShape::kPlain;
  }
  // At most 19 digits, so nDecimals indexes the table.
  const double dMagnitude =
      static_cast<double>(nMantissa) / kPowersOfTen[static_cast<size_t>(nDecimals)];
  dValue = bNegative ? -dMagnitude : dMagnitude;
  return eDecimalShape::kExact;
}

// A plain decimal text with no more decimals than the precision and at most 15 significant
// digits once padded: such a decimal survives the trip to the nearest double and back (the
// double is within 2^-52 of it, relative, while the rounding step is above 10^-15 of it), so
// printf's digits are the text's own digits, padded with zeros. Writes them and returns true;
// false for any other text.
bool FormatPlainDecimal(std::string_view strText, int nPrecision, bool bNegate, char* pBuffer,
                        size_t& nLength) {
  constexpr int kRoundTripDigits = 15;
  const char* p = strText.data();
  const char* const pEnd = p + strText.size();
  const bool bNegative = p != pEnd && *p == '-';
  p += bNegative ? 1 : 0;
  const char* const pInteger = p;
  while (p != pEnd && *p == '0') {
    ++p;
  }
  const char* const pSignificant = p;
  while (p != pEnd && IsDigit(*p)) {
    ++p;
  }
  if (p == pInteger) {
    return false;
  }
  const int nIntegerDigits = static_cast<int>(p - pSignificant);
  const char* pDecimals = p;
  int nDecimals = 0;
  if (p != pEnd && *p == '.') {
    pDecimals = ++p;
    while (p != pEnd && IsDigit(*p)) {
      ++p;
    }
    nDecimals = static_cast<int>(p - pDecimals);
  }
  if (p != pEnd || nDecimals > nPrecision || nIntegerDigits + nPrecision > kRoundTripDigits) {
    return false;
  }
  // The sign survives for zero too: -0.0 prints as "-0.00".
  char* pOut = pBuffer;
  if (bNegative != bNegate) {
    *pOut++ = '-';
  }
  if (nIntegerDigits == 0) {
    *pOut++ = '0';
  }
  pOut = std::copy(pSignificant, pSignificant + nIntegerDigits, pOut);
  if (nPrecision > 0) {
    *pOut++ = '.';
    pOut = std::copy(pDecimals, pDecimals + nDecimals, pOut);
    pOut = std::fill_n(pOut, nPrecision - nDecimals, '0');
  }
  nLength = static_cast<size_t>(pOut - pBuffer);
  return true;
}

// The "C" locale object; glibc hands out a static one for "C", so this never allocates.
locale_t GetCLocale() {
  static const locale_t s_locale = newlocale(LC_ALL_MASK, "C", locale_t{});
  return s_locale;
}

}  // namespace

size_t FormatFixed(double dValue, int nPrecision, char* pBuffer) {
  size_t nLength = 0;
  if ((nPrecision == 2 && FormatSmallFixed<2>(dValue, pBuffer, nLength)) ||
      (nPrecision == 3 && FormatSmallFixed<3>(dValue, pBuffer, nLength))) {
    return nLength;
  }
  // Large values, NaN, infinities and other precisions: to_chars gives printf's exact digits
  // as well, only slower.
  const std::to_chars_result result = std::to_chars(
      pBuffer, pBuffer + kFixedTextSize, dValue, std::chars_format::fixed, nPrecision);
  return result.ec == std::errc{} ? static_cast<size_t>(result.ptr - pBuffer) : 0;
}

size_t FormatDecimalText(std::string_view strText, int nPrecision, bool bNegate, char* pBuffer) {
  size_t nLength = 0;
  if (FormatPlainDecimal(strText, nPrecision, bNegate, pBuffer, nLength)) {
    return nLength;
  }
  const double dValue = ParseDecimalText(strText);
  return FormatFixed(bNegate ? dValue * -1.0 : dValue, nPrecision, pBuffer);
}

size_t FormatInteger(int64_t nValue, char* pBuffer) {
  return static_cast<size_t>(std::to_chars(pBuffer, pBuffer + kIntegerTextSize, nValue).ptr -
                             pBuffer);
}

double ParseDecimalText(std::string_view strText) {
  double dValue = 0.0;
  const eDecimalShape eShape = ParseExactDecimal(strText, dValue);
  if (eShape == eDecimalShape::kExact ||
      (eShape == eDecimalShape::kPlain &&
       std::from_chars(strText.data(), strText.data() + strText.size(), dValue).ec ==
           std::errc{})) {
    return dValue;
  }
  // Everything else (blanks, "+", exponents, hexadecimal, inf, nan, out of range) as strtod
  // reads it, on a terminated copy, in the "C" locale.
  char szShort[64];
  std::string strLong;
  const char* szText = szShort;
  if (strText.size() < sizeof(szShort)) {
    std::copy(strText.begin(), strText.end(), szShort);
    szShort[strText.size()] = '\0';
  } else {
    strLong.assign(strText);
    szText = strLong.c_str();
  }
  const locale_t cLocale = GetCLocale();
  if (cLocale == locale_t{}) {
    return 0.0;
  }
  const int nSavedErrno = errno;
  dValue = strtod_l(szText, nullptr, cLocale);
  errno = nSavedErrno;
  return dValue;
}

int64_t ParseIntegerText(std::string_view strText) {
  size_t i = 0;
  while (i < strText.size() && IsCSpace(strText[i])) {
    ++i;
  }
  bool bNegative = false;
  if (i < strText.size() && (strText[i] == '+' || strText[i] == '-')) {
    bNegative = strText[i] == '-';
    ++i;
  }
  const uint64_t nLimit = bNegative ? uint64_t{1} << 63 : (uint64_t{1} << 63) - 1;
  uint64_t nMagnitude = 0;
  for (; i < strText.size() && IsDigit(strText[i]); ++i) {
    const uint64_t nDigit = static_cast<uint64_t>(strText[i] - '0');
    if (nMagnitude > (nLimit - nDigit) / 10) {
      nMagnitude = nLimit;
      break;
    }
    nMagnitude = nMagnitude * 10 + nDigit;
  }
  return bNegative ? static_cast<int64_t>(0 - nMagnitude) : static_cast<int64_t>(nMagnitude);
}

bool ClassifyText(std::string_view strText, sCharClasses& classes) {
  if (strText.size() > sCharClasses::kMaxLength) return false;
  char arrText[sCharClasses::kMaxLength] = {};
  if (!strText.empty()) std::memcpy(arrText, strText.data(), strText.size());
  ClassifyLoadedText(arrText, strText.size(), classes);
  return true;
}

void ClassifyLoadedText(const char* pText, size_t nLength, sCharClasses& classes) {
  const __m128i text = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pText));
  const __m128i digit = _mm_sub_epi8(text, _mm_set1_epi8('0'));
  const uint32_t nWanted = (1u << nLength) - 1;
  const auto GetMask = [nWanted](__m128i lanes) { return static_cast<uint32_t>(_mm_movemask_epi8(lanes)) & nWanted; };
  classes.nDigits = GetMask(_mm_cmpeq_epi8(_mm_min_epu8(digit, _mm_set1_epi8(9)), digit));
  classes.nZeros = GetMask(_mm_cmpeq_epi8(text, _mm_set1_epi8('0')));
  classes.nNines = GetMask(_mm_cmpeq_epi8(text, _mm_set1_epi8('9')));
  classes.nPoints = GetMask(_mm_cmpeq_epi8(text, _mm_set1_epi8('.')));
  classes.nMinus = GetMask(_mm_cmpeq_epi8(text, _mm_set1_epi8('-')));
  classes.nLength = static_cast<uint32_t>(nLength);
}
