#include "lists/ExpressionEngine.h"

#include "lists/ExpressionBuffer.h"
#include "lists/ExpressionEvaluator.h"
#include "lists/ExpressionOperators.h"

namespace {

// Marks a '(' on the operator stack; operators are stored by table position.
constexpr uint8_t OPEN_PAREN = 0;

// Converts infix to postfix, handing every token to the sink in output order:
//   AppendOperator(nIndex)        a binary operator
//   AppendZero()                  the "0" put before an operator that has no value before it
//   AppendSigned(pToken, nLength) a signed operand, written " (-5)"
//   AppendOperand(pToken, nLength) any other operand
// pOperators must hold as many entries as the text has characters. Stops at the first
// unbalanced parenthesis with EXPR_SYNTAX_ERROR.
template <class TSink>
int32_t ConvertInfix(std::string_view strInfix, uint8_t* pOperators, TSink& sink) {
  const char* pText = strInfix.data();
  const size_t nLength = strInfix.size();
  size_t nDepth = 0;
  bool bOutputEmpty = true;
  bool bLastIsOneCharOperator = false;
  size_t i = 0;
  while (i < nLength) {
    const char ch = pText[i];
    if (HasCharClass(ch, CHAR_SPACE)) {
      ++i;
      continue;
    }
    if (ch == '(') {
      pOperators[nDepth++] = OPEN_PAREN;
      ++i;
      continue;
    }
    if (ch == ')') {
      for (;;) {
        if (nDepth == 0) return EXPR_SYNTAX_ERROR;
        const uint8_t nTop = pOperators[--nDepth];
        if (nTop == OPEN_PAREN) break;
        sink.AppendOperator(nTop);
        bOutputEmpty = false;
      }
      ++i;
      continue;
    }

    const sOperatorMatch match = MatchOperator(pText + i, nLength - i);
    bool bSign = false;
    if (match.nIndex >= 1) {
      // A sign follows nothing or an operator; after '(', ')', a digit, a letter, or a
      // comparison ending in '=' (a lone '=' being no operator) it is a binary operator.
      // The look-back passes over ' ' only, not over the other white space.
      size_t nPrevious = i;
      while (nPrevious > 0 && pText[nPrevious - 1] == ' ') --nPrevious;
      bSign = nPrevious == 0 || MatchOperator(pText + nPrevious - 1, nLength - nPrevious + 1).nIndex >= 1;
    }

    if (match.nIndex < 1 || bSign) {
      const size_t nTokenLength = ScanOperandLength(pText + i, nLength - i);
      if (bSign)
        sink.AppendSigned(pText + i, nTokenLength);
      else
        sink.AppendOperand(pText + i, nTokenLength);
      bOutputEmpty = false;
      bLastIsOneCharOperator = IsOneCharOperator(pText + i, nTokenLength);
      i += nTokenLength;
      continue;
    }

    // Turns "(-5)" into 0 - 5.
    if (bOutputEmpty || bLastIsOneCharOperator) {
      sink.AppendZero();
      bOutputEmpty = false;
    }
    bLastIsOneCharOperator = match.nLength == 1;
    i += match.nLength;
    const int32_t nPrecedence = GetPrecedence(match.nIndex);
    while (nDepth > 0 && pOperators[nDepth - 1] != OPEN_PAREN &&
           GetPrecedence(pOperators[nDepth - 1]) >= nPrecedence) {
      sink.AppendOperator(pOperators[--nDepth]);
    }
    pOperators[nDepth++] = static_cast<uint8_t>(match.nIndex);
  }

  while (nDepth > 0) {
    const uint8_t nTop = pOperators[--nDepth];
    if (nTop == OPEN_PAREN) return EXPR_SYNTAX_ERROR;
    sink.AppendOperator(nTop);
  }
  return EXPR_OK;
}

// Writes the postfix text.
class CPostfixTextSink {
 public:
  explicit CPostfixTextSink(std::string& strPostfix) : m_strPostfix(strPostfix) {}

  void AppendOperator(int32_t nIndex) {
    m_strPostfix += ' ';
    m_strPostfix += g_arrOperators[nIndex - 1].szText;
  }
  void AppendZero() { m_strPostfix += " 0"; }
  void AppendSigned(const char* pToken, size_t nLength) {
    m_strPostfix += " (";
    m_strPostfix.append(pToken, nLength);
    m_strPostfix += ')';
  }
  void AppendOperand(const char* pToken, size_t nLength) {
    m_strPostfix += ' ';
    m_strPostfix.append(pToken, nLength);
  }

 private:
  std::string& m_strPostfix;
};

// Evaluates each token as the evaluation pass would read it in the postfix text, without
// writing the text. An operand token is scanned again rather than taken as one number:
// the evaluation reads " *" as an operator even where the conversion took the "*" of "*-"
// for an operand.
class CEvaluatingSink {
 public:
  explicit CEvaluatingSink(CPostfixEvaluator& evaluator) : m_evaluator(evaluator) {}

  void AppendOperator(int32_t nIndex) { m_evaluator.ApplyOperator(nIndex); }
  void AppendZero() { m_evaluator.PushValue(0.0); }
  void AppendSigned(const char* pToken, size_t nLength) { m_evaluator.ScanText(pToken, nLength, true); }
  void AppendOperand(const char* pToken, size_t nLength) { m_evaluator.ScanText(pToken, nLength, false); }

 private:
  CPostfixEvaluator& m_evaluator;
};

}  // namespace

int32_t EvaluateExpression(std::string_view strText, double& dResult) noexcept {
  CExpressionBuffer<uint8_t> bufOperators(strText.size());
  CExpressionBuffer<double> bufValues(strText.size());
  if (bufOperators.GetData() == nullptr || bufValues.GetData() == nullptr) return EXPR_FAILED;
  CPostfixEvaluator evaluator(bufValues.GetData());
  CEvaluatingSink sink(evaluator);
  const int32_t nCode = ConvertInfix(strText, bufOperators.GetData(), sink);
  if (nCode != EXPR_OK) return nCode;
  return evaluator.Finish(dResult);
}

int32_t ConvertToPostfix(std::string_view strInfix, std::string& strPostfix) noexcept {
  strPostfix.clear();
  CExpressionBuffer<uint8_t> bufOperators(strInfix.size());
  if (bufOperators.GetData() == nullptr) return EXPR_FAILED;
  try {
    CPostfixTextSink sink(strPostfix);
    return ConvertInfix(strInfix, bufOperators.GetData(), sink);
  } catch (...) {
    return EXPR_FAILED;
  }
}

int32_t EvaluatePostfix(std::string_view strPostfix, double& dResult) noexcept {
  CExpressionBuffer<double> bufValues(strPostfix.size());
  if (bufValues.GetData() == nullptr) return EXPR_FAILED;
  CPostfixEvaluator evaluator(bufValues.GetData());
  evaluator.ScanText(strPostfix.data(), strPostfix.size(), false);
  return evaluator.Finish(dResult);
}

int32_t FindOperator(std::string_view strText) noexcept {
  return MatchOperator(strText.data(), strText.size()).nIndex;
}

size_t OperandLength(std::string_view strText) noexcept {
  return ScanOperandLength(strText.data(), strText.size());
}
