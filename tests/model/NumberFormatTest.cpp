// Number texts byte for byte as snprintf, strtod and strtol give them, whatever the locale.
#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <clocale>
#include <cmath>
#include <random>

#include "model/NumberFormat.h"

namespace {

std::string Formatted(double dValue, int nPrecision) {
  char szText[kFixedTextSize];
  return std::string(szText, FormatFixed(dValue, nPrecision, szText));
}

std::string Printed(double dValue, int nPrecision) {
  char szText[400];
  std::snprintf(szText, sizeof(szText), nPrecision == 2 ? "%0.2lf" : "%0.3lf", dValue);
  return szText;
}

// Reports the first few mismatches, and how many there were.
class CMismatches {
 public:
  void Check(bool bSame, const std::string& strWhat) {
    if (!bSame && m_nCount++ < 10) ADD_FAILURE() << strWhat;
  }
  ~CMismatches() { EXPECT_EQ(m_nCount, 0); }

 private:
  int m_nCount = 0;
};

void CheckFormat(CMismatches& mismatches, double dValue) {
  for (int nPrecision : {2, 3}) {
    const std::string strOurs = Formatted(dValue, nPrecision), strTheirs = Printed(dValue, nPrecision);
    char szValue[32];
    std::snprintf(szValue, sizeof(szValue), "%.17g", dValue);
    mismatches.Check(strOurs == strTheirs, std::string(szValue) + " @" + std::to_string(nPrecision) + ": " +
                                               strOurs + " vs " + strTheirs);
  }
}

// A decimal text as the risk server writes amounts: optional sign, digits, maybe decimals (now
// and then more than a double holds exactly).
std::string MakeServerText(std::mt19937_64& random) {
  std::string strText = random() % 4 == 0 ? "-" : "";
  for (int i = 1 + static_cast<int>(random() % 12); i > 0; --i) strText += static_cast<char>('0' + random() % 10);
  const int nDecimals = static_cast<int>(random() % 10 == 0 ? 8 + random() % 8 : random() % 7);
  if (nDecimals > 0) strText += '.';
  for (int i = 0; i < nDecimals; ++i) strText += static_cast<char>('0' + random() % 10);
  return strText;
}

std::string MakeNoiseText(std::mt19937_64& random, std::string_view strAlphabet) {
  std::string strText;
  for (size_t i = random() % 16; i > 0; --i) strText += strAlphabet[random() % strAlphabet.size()];
  return strText;
}

TEST(NumberFormatTest, FormatsHardAndRandomValuesAsPrintf) {
  const double dInf = std::numeric_limits<double>::infinity(), dNan = std::numeric_limits<double>::quiet_NaN();
  // Ties and near-ties at the last decimal, the limits of exact integers, the extremes.
  const double arrValues[] = {-0.0, 2.675, 1.005, 1.0005, -1e-9, 0.004999999, 0.005, 0.0049999999999999, 9.995,
      99.9995, 4503599627370495.5, 9007199254740993.0, DBL_MAX, -DBL_MAX, DBL_TRUE_MIN, dInf, -dInf, dNan, -dNan,
      std::nextafter(0.125, 1.0), std::nextafter(0.125, 0.0)};
  CMismatches mismatches;
  for (double dValue : arrValues) CheckFormat(mismatches, dValue);
  // Every exact tie at the third and fourth decimals: k/8 and k/16.
  for (int k = -20000; k <= 20000; ++k) {
    CheckFormat(mismatches, k / 8.0);
    CheckFormat(mismatches, k / 16.0);
  }
  std::mt19937_64 random(20240611);
  std::uniform_real_distribution<double> mantissa(1.0, 10.0);
  for (int i = 0; i < 200000; ++i) {
    double dValue = 0.0;
    if (i % 4 == 0) {  // any bit pattern: subnormals, huge values, NaN payloads
      dValue = std::bit_cast<double>(random());
    } else if (i % 4 == 1) {  // amounts to a few decimals, where rounding ties are close
      dValue = static_cast<double>(static_cast<int64_t>(random() % 2000000001) - 1000000000) /
               std::pow(10.0, static_cast<double>(random() % 5));
    } else {  // magnitudes from 1e-12 to 1e22
      dValue = mantissa(random) * std::pow(10.0, static_cast<double>(random() % 35) - 12.0);
      if (random() % 2 == 0) dValue = -dValue;
    }
    CheckFormat(mismatches, dValue);
  }
}

// Every text reads as strtod's value, and formatting straight from the text (negated or not)
// gives printf's text of that value.
void CheckText(CMismatches& mismatches, const std::string& strText) {
  const double dValue = std::strtod(strText.c_str(), nullptr);
  mismatches.Check(std::bit_cast<uint64_t>(ParseDecimalText(strText)) == std::bit_cast<uint64_t>(dValue),
                   "text '" + strText + "'");
  for (int nPrecision : {2, 3}) {
    for (bool bNegate : {false, true}) {
      char szOurs[kFixedTextSize];
      const std::string strOurs(szOurs, FormatDecimalText(strText, nPrecision, bNegate, szOurs));
      const std::string strTheirs = Printed(bNegate ? dValue * -1.0 : dValue, nPrecision);
      mismatches.Check(strOurs == strTheirs, "text '" + strText + "' @" + std::to_string(nPrecision) +
                                                 (bNegate ? " negated: " : ": ") + strOurs + " vs " + strTheirs);
    }
  }
}

TEST(NumberFormatTest, ReadsTextsAsStrtodAndFormatsThemAsPrintf) {
  const char* arrTexts[] = {
      "-0.00", "007.5", "-20", "0.125", "2.675", "9999999999999.99", "99999999999999.9", "999999999999999",
      "0.0005", "-0.0049", "12345678901234567", "", "-", "+", ".", "-.", "abc", "1e5", "1E-5", "1e", "1e+",
      "1e-400", "1e400", "-1e400", "0x10", "0X1p-2", "0x", "-0x1.8p1", " 12.5", "\t\n-7", "+3.25", "inf",
      "-INF", "infinity", "infinit", "nan", "-nan", "nan(123)", "NaN(", ".5", "5.", "-0", "1.2.3", "12abc",
      "1,5", "00012.50", "1e5x", "4e-324", "2.4703282292062327e-324"};
  CMismatches mismatches;
  for (const char* szText : arrTexts) CheckText(mismatches, szText);
  // The largest double's every digit, and a digit far past the point.
  CheckText(mismatches, Printed(DBL_MAX, 2).substr(0, 309));
  CheckText(mismatches, "0." + std::string(77, '0') + "1");
  // Reading stops at a NUL byte, as it does in a C string.
  EXPECT_EQ(ParseDecimalText(std::string_view("12\00034", 5)), 12.0);
  std::mt19937_64 random(7);
  for (int i = 0; i < 100000; ++i) {
    CheckText(mismatches, MakeServerText(random));
    if (i % 3 == 0) CheckText(mismatches, MakeNoiseText(random, "0123456789.-+eExXpPinfaINFA \t"));
  }
}

TEST(NumberFormatTest, ReadsIntegersAsStrtol) {
  // The random texts below are short: the limits are tried here.
  const char* arrTexts[] = {"9223372036854775807", "9223372036854775808", "-9223372036854775808",
                            "-9223372036854775809", "99999999999999999999999999", "\v\f\r 5", "0x10"};
  for (const char* szText : arrTexts) EXPECT_EQ(ParseIntegerText(szText), std::strtol(szText, nullptr, 10)) << szText;
  for (int64_t nValue : {int64_t{-1}, std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max()}) {
    char szOurs[24];
    EXPECT_EQ(std::string(szOurs, FormatInteger(nValue, szOurs)), std::to_string(nValue));
  }
  std::mt19937_64 random(5);
  CMismatches mismatches;
  for (int i = 0; i < 200000; ++i) {
    const std::string strText = MakeNoiseText(random, "0123456789999+- \tab");
    mismatches.Check(ParseIntegerText(strText) == std::strtol(strText.c_str(), nullptr, 10), "'" + strText + "'");
  }
}

#ifdef ORVANE_TEST_LOCPATH
// A process locale with a decimal comma changes nothing: "." stays the decimal point.
TEST(NumberFormatTest, IgnoresTheProcessLocale) {
  setenv("LOCPATH", ORVANE_TEST_LOCPATH, 1);
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "no de_DE locale";
  char szLocal[16];
  std::snprintf(szLocal, sizeof(szLocal), "%.2f", 1.5);
  const double arrRead[] = {ParseDecimalText("1523467.25"), ParseDecimalText(" +1.5e1"), ParseDecimalText("1,5")};
  const std::string strFormatted = Formatted(-1234.5, 2);
  std::setlocale(LC_ALL, "C");
  ASSERT_STREQ(szLocal, "1,50");
  EXPECT_EQ(std::vector<double>(std::begin(arrRead), std::end(arrRead)), (std::vector<double>{1523467.25, 15.0, 1.0}));
  EXPECT_EQ(strFormatted, "-1234.50");
}
#endif

}  // namespace
