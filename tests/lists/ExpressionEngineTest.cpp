// Evaluation of infix texts: each row runs both through EvaluateExpression and through
// ConvertToPostfix followed by EvaluatePostfix, which must agree on the code and the result.
#include <gtest/gtest.h>

#include <cmath>

#include "lists/ExpressionEngine.h"

namespace {

// What the result variable holds before each call; rows expect it when it must stay untouched.
constexpr double UNTOUCHED = -777.25;
constexpr double INF = std::numeric_limits<double>::infinity();
constexpr double NOT_A_NUMBER = std::numeric_limits<double>::quiet_NaN();

struct sEvalRow {
  const char* szName;
  std::string_view strText;
  int32_t nCode;
  double dResult;
};

bool IsSameDouble(double dActual, double dExpected) {
  if (std::isnan(dExpected)) return std::isnan(dActual);
  return dActual == dExpected && std::signbit(dActual) == std::signbit(dExpected);
}

template <size_t N>
void ExpectRows(const sEvalRow (&arrRows)[N]) {
  for (const sEvalRow& row : arrRows) {
    SCOPED_TRACE(testing::Message() << row.szName << ": \"" << row.strText << '"');
    double dResult = UNTOUCHED;
    EXPECT_EQ(EvaluateExpression(row.strText, dResult), row.nCode);
    EXPECT_TRUE(IsSameDouble(dResult, row.dResult)) << dResult;

    std::string strPostfix;
    double dTwoPass = UNTOUCHED;
    int32_t nCode = ConvertToPostfix(row.strText, strPostfix);
    if (nCode == EXPR_OK) nCode = EvaluatePostfix(strPostfix, dTwoPass);
    EXPECT_EQ(nCode, row.nCode) << "postfix \"" << strPostfix << '"';
    EXPECT_TRUE(IsSameDouble(dTwoPass, row.dResult)) << dTwoPass;
  }
}

}  // namespace

TEST(ExpressionEngine, PrecedenceSignsAndOperatorRuns) {
  const sEvalRow arrRows[] = {
      {"product before sum", "2+3*4", EXPR_OK, 14},
      {"parentheses first", "(2+3)*4", EXPR_OK, 20},
      {"minus left-associative", "10-4-3", EXPR_OK, 3},
      {"remainder looser than product", "7%4*2", EXPR_OK, 7},
      {"shift tighter than sum", "1+2<<3", EXPR_OK, 17},
      {"xor looser than minus", "6-2^1", EXPR_OK, 5},
      {"comparison looser than logic", "1==1&&0", EXPR_OK, 0},
      {"logic before comparison", "0&&1==0", EXPR_OK, 1},
      {"white space of every kind", "\t2\n+\r3\v*\f2 ", EXPR_OK, 8},
      {"and and or share a level", "1||1&&0", EXPR_OK, 0},
      {"sign at the start", "-5+3", EXPR_OK, -2},
      {"sign after a blank", "2 - -3", EXPR_OK, 5},
      {"sign after a comparison", "3 < -5", EXPR_OK, 0},
      {"negative zero", "-0", EXPR_OK, -0.0},
      {"no sign after ==", "0 == -0", EXPR_SYNTAX_ERROR, UNTOUCHED},
      {"sign before a parenthesis", "-(3)", EXPR_BAD_OPERAND, UNTOUCHED},
      {"times minus is no operator", "2*-3", EXPR_SYNTAX_ERROR, UNTOUCHED},
      {"not in the table", "1<>2", EXPR_SYNTAX_ERROR, UNTOUCHED},
      {"single equals", "1 = 1", EXPR_BAD_OPERAND, UNTOUCHED},
      {"two-character operators", "4>=4 && 4 <= 5 && 4!=5", EXPR_OK, 1},
  };
  ExpectRows(arrRows);
}

TEST(ExpressionEngine, IntegerOperators) {
  const sEvalRow arrRows[] = {
      {"integer division toward zero", "-7\\2", EXPR_OK, -3},
      {"integer division by zero", "1\\0", EXPR_OK, -2147483648.0},
      {"remainder truncates", "7.9%2.5", EXPR_OK, 1},
      {"remainder has dividend sign", "-7%3", EXPR_OK, -1},
      {"nand", "6!&3", EXPR_OK, -3},
      {"nor", "6!|3", EXPR_OK, -8},
      {"shift right keeps sign", "-16>>2", EXPR_OK, -4},
      {"shift count masked", "1<<33", EXPR_OK, 2},
      {"negative shift count", "1 << -1", EXPR_OK, -2147483648.0},
      {"largest fitting value", "2147483647.9|0", EXPR_OK, 2147483647},
      {"just too large", "2147483648|0", EXPR_OK, -2147483648.0},
      {"not-a-number", "nan|0", EXPR_OK, -2147483648.0},
      {"remainder by zero", "1%0", EXPR_FAILED, UNTOUCHED},
      {"smallest by minus one", "-2147483648 % -1", EXPR_FAILED, UNTOUCHED},
  };
  ExpectRows(arrRows);
}

TEST(ExpressionEngine, NumbersErrorsAndLongTexts) {
  std::string strSum = "1";
  for (int n = 0; n < 2000; ++n) strSum += " + 1";
  const std::string strDeep = std::string(5000, '(') + "7" + std::string(5000, ')');
  const sEvalRow arrRows[] = {
      {"exponent", "1e5+1", EXPR_OK, 100001},
      {"not-a-number", "nan", EXPR_OK, NOT_A_NUMBER},
      {"division by zero", "1/0", EXPR_OK, INF},
      {"decimal comma", "1,5", EXPR_BAD_OPERAND, UNTOUCHED},
      {"signed exponent is split", "1e-5", EXPR_BAD_OPERAND, UNTOUCHED},
      {"parenthesis never closed", "(2+3", EXPR_SYNTAX_ERROR, UNTOUCHED},
      {"closing without opening", "2+3)", EXPR_SYNTAX_ERROR, UNTOUCHED},
      {"conversion error before evaluation", "1%0)", EXPR_SYNTAX_ERROR, UNTOUCHED},
      {"empty", "", EXPR_FAILED, UNTOUCHED},
      {"parentheses without a value", "()", 4, UNTOUCHED},
      {"values left over keep the last", "2 3", EXPR_FAILED, 3},
      {"first failure wins: remainder", "1%0 + abc", EXPR_FAILED, UNTOUCHED},
      {"first failure wins: operand", "abc + 1%0", EXPR_BAD_OPERAND, UNTOUCHED},
      {"long sum", strSum, EXPR_OK, 2001},
      {"deep parentheses", strDeep, EXPR_OK, 7},
  };
  ExpectRows(arrRows);
}
