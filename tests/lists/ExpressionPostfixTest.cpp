// The two passes on their own: the postfix text the conversion writes, the evaluation of
// postfix text given directly, and the operator rule both passes share.
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "lists/ExpressionEngine.h"

TEST(ExpressionPostfix, ConversionText) {
  struct sRow {
    const char* szName;
    std::string_view strInfix;
    int32_t nCode;
    std::string_view strPostfix;
  };
  const sRow arrRows[] = {
      {"empty", "", EXPR_OK, ""},
      {"precedence", "2+3*4", EXPR_OK, " 2 3 4 * +"},
      {"zero before a leading minus", "(-5)", EXPR_OK, " 0 5 -"},
      {"zero after a one-character operator", "3*(-5)", EXPR_OK, " 3 0 5 - *"},
      {"sign at the start", "-5+3", EXPR_OK, " (-5) 3 +"},
      {"sign after an operator", "3 < -5", EXPR_OK, " 3 (-5) <"},
      {"no sign after a comparison", "3 <= -5", EXPR_OK, " 3 5 - <="},
      {"run taken as an operand", "2*-3", EXPR_OK, " 2 * 0 3 -"},
      {"lone sign", "-(3)", EXPR_OK, " (-) 3"},
      {"operands kept as written", " 1,5 + abc", EXPR_OK, " 1 ,5 abc +"},
      {"never closed", "(2+3", EXPR_SYNTAX_ERROR, " 2 3 +"},
  };
  for (const sRow& row : arrRows) {
    SCOPED_TRACE(row.szName);
    std::string strPostfix = "left from before";
    EXPECT_EQ(ConvertToPostfix(row.strInfix, strPostfix), row.nCode);
    EXPECT_EQ(strPostfix, row.strPostfix);
  }
}

TEST(ExpressionPostfix, EvaluationOfText) {
  constexpr double UNTOUCHED = -777.25;
  struct sRow {
    const char* szName;
    std::string_view strPostfix;
    int32_t nCode;
    double dResult;
  };
  const sRow arrRows[] = {
      {"sum", " 3 4 +", EXPR_OK, 7},
      {"signed operand", " (-5)", EXPR_OK, -5},
      {"operator after '(' is an operand", " (+5)", EXPR_OK, 5},
      {"tab is part of an operand", "\t5", EXPR_OK, 5},
      {"one value for an operator", " 1 +", EXPR_SYNTAX_ERROR, UNTOUCHED},
      {"sign alone", " (+)", EXPR_BAD_OPERAND, UNTOUCHED},
      {"unknown run", " 1 2 =", EXPR_BAD_OPERAND, UNTOUCHED},
      {"left over", " 2 3", EXPR_FAILED, 3},
  };
  for (const sRow& row : arrRows) {
    SCOPED_TRACE(row.szName);
    double dResult = UNTOUCHED;
    EXPECT_EQ(EvaluatePostfix(row.strPostfix, dResult), row.nCode);
    EXPECT_EQ(dResult, row.dResult);
  }
}

TEST(ExpressionPostfix, FindOperator) {
  const std::string_view arrTable[] = {"*",  "/",  "\\", "%",  "<<", ">>", "-", "+",  "^",  "&", "|",
                                       "!|", "&&", "||", "!&", "==", "<",  ">", ">=", "!=", "<="};
  for (int32_t nIndex = 1; nIndex <= 21; ++nIndex) {
    const std::string strText = std::string(arrTable[nIndex - 1]) + "5 + 1";
    EXPECT_EQ(FindOperator(strText), nIndex) << strText;
  }
  struct sRow {
    std::string_view strText;
    int32_t nIndex;
  };
  const sRow arrRows[] = {
      {"", -1},    {"5+", -1},   {"*-", -1}, {"<<<", -1}, {"=", -1},
      {"!==", -1}, {"<= 5", 21}, {"-(", 7},  {"<", 17},
  };
  for (const sRow& row : arrRows)
    EXPECT_EQ(FindOperator(row.strText), row.nIndex) << '"' << row.strText << '"';
}
