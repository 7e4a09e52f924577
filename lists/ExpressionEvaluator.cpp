#include "lists/ExpressionEvaluator.h"

#include "lists/ExpressionEngine.h"
#include "lists/ExpressionOperand.h"
#include "lists/ExpressionOperators.h"

namespace {

// Truncation toward zero; what does not fit, infinities and not-a-numbers give INT32_MIN.
int32_t TruncateToInt32(double dValue) {
  if (dValue > -2147483649.0 && dValue < 2147483648.0) return static_cast<int32_t>(dValue);
  return INT32_MIN;
}

// Shifts work on the bit pattern, so negative values shift as two's complement.
int32_t ShiftLeft(int32_t nValue, int32_t nCount) {
  return static_cast<int32_t>(static_cast<uint32_t>(nValue) << (nCount & 31));
}

// Returns false for the remainders that have no value: by zero, and INT32_MIN by -1.
bool Compute(int32_t nIndex, double a, double b, double& dOut) {
  const auto intA = [a] { return TruncateToInt32(a); };
  const auto intB = [b] { return TruncateToInt32(b); };
  switch (nIndex) {
    case OP_MULTIPLY:
      dOut = a * b;
      return true;
    case OP_DIVIDE:
      dOut = a / b;
      return true;
    case OP_INT_DIVIDE:
      dOut = TruncateToInt32(a / b);
      return true;
    case OP_REMAINDER: {
      const int32_t nA = intA();
      const int32_t nB = intB();
      if (nB == 0 || (nA == INT32_MIN && nB == -1)) return false;
      dOut = nA % nB;
      return true;
    }
    case OP_SHIFT_LEFT:
      dOut = ShiftLeft(intA(), intB());
      return true;
    case OP_SHIFT_RIGHT:
      dOut = intA() >> (intB() & 31);
      return true;
    case OP_SUBTRACT:
      dOut = a - b;
      return true;
    case OP_ADD:
      dOut = a + b;
      return true;
    case OP_XOR:
      dOut = intA() ^ intB();
      return true;
    case OP_AND:
      dOut = intA() & intB();
      return true;
    case OP_OR:
      dOut = intA() | intB();
      return true;
    case OP_NOR:
      dOut = ~(intA() | intB());
      return true;
    // A not-a-number counts as non-zero here, and makes every comparison but != false.
    case OP_LOGICAL_AND:
      dOut = (a != 0.0 && b != 0.0) ? 1.0 : 0.0;
      return true;
    case OP_LOGICAL_OR:
      dOut = (a != 0.0 || b != 0.0) ? 1.0 : 0.0;
      return true;
    case OP_NAND:
      dOut = ~(intA() & intB());
      return true;
    case OP_EQUAL:
      dOut = a == b ? 1.0 : 0.0;
      return true;
    case OP_LESS:
      dOut = a < b ? 1.0 : 0.0;
      return true;
    case OP_GREATER:
      dOut = a > b ? 1.0 : 0.0;
      return true;
    case OP_GREATER_EQUAL:
      dOut = a >= b ? 1.0 : 0.0;
      return true;
    case OP_NOT_EQUAL:
      dOut = a == b ? 0.0 : 1.0;
      return true;
    case OP_LESS_EQUAL:
      dOut = a <= b ? 1.0 : 0.0;
      return true;
  }
  return false;
}

}  // namespace

void CPostfixEvaluator::ScanText(const char* pText, size_t nLength, bool bAfterParen) noexcept {
  size_t i = 0;
  while (i < nLength && m_nError == EXPR_OK) {
    const char ch = pText[i];
    if (ch == ' ' || ch == '(' || ch == ')') {
      ++i;
      continue;
    }
    // After '(' an operator character opens a signed operand such as "(-5)".
    const bool bOpensOperand = i > 0 ? pText[i - 1] == '(' : bAfterParen;
    const sOperatorMatch match = MatchOperator(pText + i, nLength - i);
    if (match.nIndex >= 1 && !bOpensOperand) {
      ApplyOperator(match.nIndex);
      i += match.nLength;
      continue;
    }
    const size_t nTokenLength = ScanOperandLength(pText + i, nLength - i);
    double dValue = 0.0;
    m_nError = ParseOperand(pText + i, nTokenLength, dValue);
    if (m_nError == EXPR_OK) PushValue(dValue);
    i += nTokenLength;
  }
}

void CPostfixEvaluator::PushValue(double dValue) noexcept {
  if (m_nError == EXPR_OK) m_pValues[m_nCount++] = dValue;
}

void CPostfixEvaluator::ApplyOperator(int32_t nIndex) noexcept {
  if (m_nError != EXPR_OK) return;
  if (m_nCount < 2) {
    m_nError = EXPR_SYNTAX_ERROR;
    return;
  }
  const double b = m_pValues[--m_nCount];
  const double a = m_pValues[m_nCount - 1];
  if (!Compute(nIndex, a, b, m_pValues[m_nCount - 1])) m_nError = EXPR_FAILED;
}

int32_t CPostfixEvaluator::Finish(double& dResult) noexcept {
  if (m_nError != EXPR_OK) return m_nError;
  if (m_nCount == 0) return EXPR_FAILED;
  dResult = m_pValues[--m_nCount];
  return m_nCount == 0 ? EXPR_OK : EXPR_FAILED;
}
