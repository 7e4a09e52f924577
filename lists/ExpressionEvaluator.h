// Evaluation of postfix text on a stack of doubles: the second pass of the expression engine.
#pragma once

#include <cstddef>
#include <cstdint>

class CPostfixEvaluator {
 public:
  // pValues must hold as many doubles as the texts fed in have characters: every value
  // pushed comes from at least one character of its own.
  explicit CPostfixEvaluator(double* pValues) noexcept : m_pValues(pValues) {}

  // Scans a piece of postfix text: blanks and parentheses are skipped, an operator (not
  // right after '(') is applied, anything else is an operand. bAfterParen tells whether
  // the character before the piece is '('.
  void ScanText(const char* pText, size_t nLength, bool bAfterParen) noexcept;
  void PushValue(double dValue) noexcept;
  void ApplyOperator(int32_t nIndex) noexcept;

  // The code of the whole evaluation. The top value is written to dResult only when no
  // failure stopped the evaluation and there is at least one value.
  int32_t Finish(double& dResult) noexcept;

 private:
  double* m_pValues;
  size_t m_nCount = 0;
  int32_t m_nError = 0;  // the first failure; the evaluation stops there
};
