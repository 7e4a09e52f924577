// Any text, of any length: the engine must neither crash, hang, leak nor read out of bounds,
// and evaluating in one pass must give exactly what the two passes give through the postfix
// text, including leaving the result untouched.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "lists/ExpressionEngine.h"

namespace {

// A not-a-number with a payload no input can produce, so "untouched" cannot be faked.
constexpr uint64_t UNTOUCHED_BITS = 0x7ff80000deadbeefULL;

double MakeUntouched() {
  double dValue;
  std::memcpy(&dValue, &UNTOUCHED_BITS, sizeof dValue);
  return dValue;
}

bool IsSame(double dFirst, double dSecond) { return std::memcmp(&dFirst, &dSecond, sizeof dFirst) == 0; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  const std::string_view strText(reinterpret_cast<const char*>(pData), nSize);

  double dOnePass = MakeUntouched();
  const int32_t nOnePass = EvaluateExpression(strText, dOnePass);

  std::string strPostfix;
  double dTwoPass = MakeUntouched();
  int32_t nTwoPass = ConvertToPostfix(strText, strPostfix);
  if (nTwoPass == EXPR_OK) nTwoPass = EvaluatePostfix(strPostfix, dTwoPass);

  const bool bCodeKnown = nOnePass == EXPR_OK || nOnePass == EXPR_SYNTAX_ERROR ||
                          nOnePass == EXPR_BAD_OPERAND || nOnePass == EXPR_FAILED;
  const bool bUntouched = IsSame(dOnePass, MakeUntouched());
  // Written with 0, kept with 1 and 3; with 4 written only when values were left over.
  const bool bWriteRule = nOnePass == EXPR_FAILED || (nOnePass == EXPR_OK) != bUntouched;
  if (!bCodeKnown || !bWriteRule || nOnePass != nTwoPass || !IsSame(dOnePass, dTwoPass)) std::abort();

  // The postfix text is itself input that the evaluation must survive.
  double dDirect = MakeUntouched();
  EvaluatePostfix(strText, dDirect);
  return 0;
}
