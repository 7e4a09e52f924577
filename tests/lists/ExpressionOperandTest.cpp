// Operand conversion must match strtod in the C locale exactly, whatever the process locale.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstring>
#include <random>

#include "lists/ExpressionEngine.h"
#include "lists/ExpressionOperand.h"

namespace {

// A random operand of the usual shapes: digits, a point, more digits, an exponent.
std::string MakeDecimal(std::mt19937& random) {
  std::uniform_int_distribution<int> digitCount(0, 20);
  std::uniform_int_distribution<int> digit(0, 9);
  std::uniform_int_distribution<int> choice(0, 5);
  std::string strText;
  if (choice(random) == 0) strText += choice(random) < 3 ? '-' : '+';
  for (int n = digitCount(random); n > 0; --n) strText += static_cast<char>('0' + digit(random));
  if (choice(random) < 4) {
    strText += '.';
    for (int n = digitCount(random); n > 0; --n) strText += static_cast<char>('0' + digit(random));
  }
  if (choice(random) == 0) {
    strText += choice(random) < 3 ? 'e' : 'E';
    for (int n = choice(random); n > 0; --n) strText += static_cast<char>('0' + digit(random));
  }
  return strText;
}

}  // namespace

// Random tokens, and long ones whose leading zeros after the point and long exponent count in full.
TEST(ExpressionOperand, AgreesWithStrtod) {
  ASSERT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
  std::mt19937 random(20240611);
  const std::string strZeros = "." + std::string(100, '0') + "1e";
  std::vector<std::string> arrTokens{strZeros + "1230", strZeros + "123", strZeros + "2000000000000", "0x1A",
                                     "0x1.8p1"};
  for (int n = 0; n < 200000; ++n) arrTokens.push_back(MakeDecimal(random));
  for (const std::string& strToken : arrTokens) {
    if (strToken.empty()) continue;
    char* pEnd = nullptr;
    const double dExpected = std::strtod(strToken.c_str(), &pEnd);
    const bool bWhole = pEnd == strToken.c_str() + strToken.size();
    double dValue = -1.0;
    const int32_t nCode = ParseOperand(strToken.data(), strToken.size(), dValue);
    ASSERT_EQ(nCode, bWhole ? EXPR_OK : EXPR_BAD_OPERAND) << strToken;
    if (bWhole) {
      ASSERT_EQ(std::memcmp(&dValue, &dExpected, sizeof dValue), 0) << strToken;
    }
  }
}

// Switches the process to a German locale (decimal comma) for one test, then back to "C".
// LOCPATH names the folder where the build generates that locale.
class CCommaLocale {
 public:
  CCommaLocale() {
#ifdef ORVANE_TEST_LOCPATH
    setenv("LOCPATH", ORVANE_TEST_LOCPATH, 1);
#endif
    m_bActive = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
  }
  ~CCommaLocale() {
    std::setlocale(LC_ALL, "C");
    unsetenv("LOCPATH");
  }
  bool m_bActive = false;
};

TEST(ExpressionOperand, PointWhateverTheLocale) {
  const CCommaLocale locale;
  if (!locale.m_bActive) GTEST_SKIP() << "no locale with a decimal comma";
  // The locale is in force: plain strtod stops at the point.
  char* pEnd = nullptr;
  std::strtod("1.5", &pEnd);
  ASSERT_EQ(*pEnd, '.');

  const std::tuple<const char*, int32_t, double> arrRows[] = {{"1.5 + 1", EXPR_OK, 2.5},
                                                              {"0x1.8p1", EXPR_OK, 3.0},
                                                              {"1.5e300 > 1", EXPR_OK, 1.0},
                                                              {"1,5", EXPR_BAD_OPERAND, 0.0}};
  for (const auto& [szText, nCode, dExpected] : arrRows) {
    double dResult = 0.0;
    EXPECT_EQ(EvaluateExpression(szText, dResult), nCode) << szText;
    EXPECT_EQ(dResult, dExpected) << szText;
  }
}
