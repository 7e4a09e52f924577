#include "lists/ExpressionOperand.h"

#include <locale.h>
#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>

#include "lists/ExpressionBuffer.h"
#include "lists/ExpressionEngine.h"

namespace {

constexpr double g_arrPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                       1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int g_nMaxExactPower = 22;
constexpr uint64_t g_nMaxExactMantissa = uint64_t{1} << 53;
constexpr int64_t g_nMaxCountedExponent = int64_t{1} << 40;

bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }

// The usual operand, plain decimal digits with an optional point and exponent, converted
// without strtod. Applies only when the digits and the power of ten are both exact doubles,
// so one IEEE multiplication or division gives the correctly rounded value strtod gives.
// Returns false for anything else, which strtod then decides.
bool ParseExactDecimal(const char* pToken, size_t nLength, double& dValue) {
  size_t i = 0;
  bool bNegative = false;
  if (pToken[0] == '+' || pToken[0] == '-') {
    bNegative = pToken[0] == '-';
    i = 1;
  }
  uint64_t nMantissa = 0;
  int64_t nScale = 0;
  bool bHasDigit = false;
  bool bInexact = false;
  auto addDigit = [&](char ch) {
    bHasDigit = true;
    if (nMantissa > (g_nMaxExactMantissa - 9) / 10)
      bInexact = true;
    else
      nMantissa = nMantissa * 10 + static_cast<uint64_t>(ch - '0');
  };
  for (; i < nLength && IsDigit(pToken[i]); ++i) addDigit(pToken[i]);
  if (i < nLength && pToken[i] == '.') {
    for (++i; i < nLength && IsDigit(pToken[i]); ++i) {
      addDigit(pToken[i]);
      --nScale;
    }
  }
  if (!bHasDigit || bInexact) return false;
  if (i < nLength && (pToken[i] == 'e' || pToken[i] == 'E')) {
    if (++i == nLength) return false;
    int64_t nExponent = 0;
    for (; i < nLength && IsDigit(pToken[i]); ++i) {
      // Leading zeros after the point lower the scale by one each, so any exponent may
      // bring the value back into range; one too large to count exactly goes to strtod.
      nExponent = nExponent * 10 + (pToken[i] - '0');
      if (nExponent > g_nMaxCountedExponent) return false;
    }
    nScale += nExponent;
  }
  if (i != nLength) return false;
  double dMagnitude = 0.0;
  if (nMantissa != 0) {
    if (nScale < -g_nMaxExactPower || nScale > g_nMaxExactPower) return false;
    dMagnitude = static_cast<double>(nMantissa);
    dMagnitude = nScale < 0 ? dMagnitude / g_arrPowersOfTen[-nScale] : dMagnitude * g_arrPowersOfTen[nScale];
  }
  dValue = bNegative ? -dMagnitude : dMagnitude;
  return true;
}

// The C locale object; glibc hands out a static one for "C", so this never allocates.
locale_t GetCLocale() {
  static const locale_t s_locale = newlocale(LC_ALL_MASK, "C", locale_t{});
  return s_locale;
}

}  // namespace

int32_t ParseOperand(const char* pToken, size_t nLength, double& dValue) noexcept {
  if (nLength == 0) return EXPR_BAD_OPERAND;
  if (ParseExactDecimal(pToken, nLength, dValue)) return EXPR_OK;

  const locale_t cLocale = GetCLocale();
  CExpressionBuffer<char> bufToken(nLength + 1);
  char* pCopy = bufToken.GetData();
  if (cLocale == locale_t{} || pCopy == nullptr) return EXPR_FAILED;
  // A copy, so strtod cannot read past the token (as in "1e-5", where the operand is "1e").
  std::memcpy(pCopy, pToken, nLength);
  pCopy[nLength] = '\0';
  const int nSavedErrno = errno;
  char* pEnd = nullptr;
  const double dParsed = strtod_l(pCopy, &pEnd, cLocale);
  errno = nSavedErrno;
  if (pEnd != pCopy + nLength) return EXPR_BAD_OPERAND;
  dValue = dParsed;
  return EXPR_OK;
}
