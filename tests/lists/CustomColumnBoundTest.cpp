// The bound of custom columns' texts: which stored expressions it covers.
#include <gtest/gtest.h>

#include "lists/CustomColumnBound.h"

namespace {

constexpr int32_t kStandardCount = 3;

TEST(CustomColumnBoundTest, CoversPlainArithmeticOnly) {
  const std::tuple<const char*, const char*, bool> arrCases[] = {
      {"difference", " \"0\" - \"1\"", true},
      {"constants, signs and parentheses", " ( \"0\" + 2.5 ) * -3 / (\"2\")", true},
      {"minus after an opening parenthesis", " (-2 * \"0\")", true},
      {"operator touching a reference", " \"0\" -\"1\"", false},
      {"sign before a reference", " - \"0\"", false},
      {"no operator between", " \"0\" 5", false},
      {"comparison", " \"0\" > 5", false},
      {"a custom column", " \"3\" * 2", false},
      {"divisor part alone unbalanced", " (\"0\" / \"1\")", false},
      {"divisor of constants that is zero", " \"0\" / (2 - 2)", false},
      {"reference that is no index", " \"x\" + 1", false},
  };
  for (const auto& [szName, szFormula, bCovered] : arrCases)
    EXPECT_EQ(CCustomColumnBound(szFormula, kStandardCount).IsCovered(), bCovered) << szName;
}

}  // namespace
