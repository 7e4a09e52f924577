#include "lists/CustomColumnBound.h"

#include <algorithm>
#include <cmath>

#include "lists/CustomColumnExpression.h"
#include "lists/ReferenceRule.h"
#include "model/NumberFormat.h"

namespace {

// Every step of the engine rounds once, by at most 2^-53 of its result; the intervals widen by
// far more, so that their own rounding cannot narrow them past the engine's values.
constexpr double kRelativeWidening = 1e-12;
constexpr double kAbsoluteWidening = 1e-300;
// Past this many whole digits the bound gives up: the cell is computed.
constexpr double kLargestBounded = 1e15;
// A value shown with two decimals moves by at most this much when rounded.
constexpr double kShownRounding = 0.005;

bool IsDigitOrPoint(char ch) { return (ch >= '0' && ch <= '9') || ch == '.'; }

bool IsArithmetic(char ch) { return ch == '+' || ch == '-' || ch == '*' || ch == '/'; }

int32_t GetPrecedence(char chOperator) { return chOperator == '*' || chOperator == '/' ? 2 : 1; }

// The whole digits a value of at most dMagnitude shows with two decimals.
uint16_t CountWholeDigits(double dMagnitude) {
  uint16_t nDigits = 1;
  for (double dPower = 10.0; dPower <= dMagnitude + kShownRounding; dPower *= 10.0) ++nDigits;
  return nDigits;
}

}  // namespace

CCustomColumnBound::CCustomColumnBound(std::string_view strFormula, int32_t nCatalogueCount) {
  m_bCovered = Compile(strFormula, nCatalogueCount);
}

bool CCustomColumnBound::Compile(std::string_view strFormula, int32_t nCatalogueCount) {
  bool bCovered = true;
  bool bExpectOperand = true;
  // The character before the current one in the evaluation text ('\0' at its start, 'r' after
  // a reference) and the last one that is not a blank.
  char chPrevious = '\0';
  char chLastSolid = '\0';
  size_t nFirstDivide = 0;
  const auto AddNumber = [&](std::string_view strNumber) {
    if (std::count(strNumber.begin(), strNumber.end(), '.') > 1 ||
        std::none_of(strNumber.begin(), strNumber.end(), [](char ch) { return ch >= '0' && ch <= '9'; })) {
      return false;
    }
    m_arrTokens.push_back({'n', 0, ParseDecimalText(strNumber)});
    return true;
  };
  ForEachReferencePiece(strFormula, [&](std::string_view strPiece, bool bReference) {
    if (!bCovered) return;
    if (bReference) {
      const int32_t nColumn = ReadColumnReference(strPiece);
      // The referenced text may start with '-': next to an operator character it would make a
      // run that is no operator, next to a number one operand of both.
      if (nColumn < 0 || nColumn >= nCatalogueCount || !bExpectOperand ||
          (chPrevious != '\0' && chPrevious != ' ' && chPrevious != '(')) {
        bCovered = false;
        return;
      }
      const auto nReference =
          static_cast<int32_t>(std::find(m_arrReferences.begin(), m_arrReferences.end(), nColumn) - m_arrReferences.begin());
      if (static_cast<size_t>(nReference) == m_arrReferences.size()) m_arrReferences.push_back(nColumn);
      m_arrTokens.push_back({'r', nReference, 0.0});
      bExpectOperand = false;
      chPrevious = chLastSolid = 'r';
      return;
    }
    for (size_t i = 0; i < strPiece.size() && bCovered; ++i) {
      const char ch = strPiece[i];
      if (chPrevious == 'r' && ch != ' ' && ch != ')' && !IsArithmetic(ch)) {
        bCovered = false;
      } else if (ch == ' ') {
        chPrevious = ch;
        continue;
      } else if (ch == '(' || ch == ')') {
        bCovered = bExpectOperand == (ch == '(');
        m_arrTokens.push_back({ch, 0, 0.0});
      } else if (IsDigitOrPoint(ch)) {
        size_t nEnd = i;
        while (nEnd < strPiece.size() && IsDigitOrPoint(strPiece[nEnd])) ++nEnd;
        bCovered = bExpectOperand && AddNumber(strPiece.substr(i, nEnd - i));
        bExpectOperand = false;
        i = nEnd - 1;
      } else if (!IsArithmetic(ch) || IsArithmetic(chPrevious)) {
        bCovered = false;  // another character, or a run of operator characters
      } else if (!bExpectOperand) {
        if (ch == '/' && nFirstDivide == 0) nFirstDivide = m_arrTokens.size() + 1;
        m_arrTokens.push_back({ch, 0, 0.0});
        bExpectOperand = true;
      } else if ((ch == '-' || ch == '+') && chLastSolid == '(') {
        // The engine puts a 0 before a minus right after '(': the same value.
        m_arrTokens.push_back({'n', 0, 0.0});
        m_arrTokens.push_back({ch, 0, 0.0});
      } else if (ch == '-' || ch == '+') {
        // A sign at the start or after an operator: one operand with the number it touches.
        size_t nEnd = i + 1;
        while (nEnd < strPiece.size() && IsDigitOrPoint(strPiece[nEnd])) ++nEnd;
        bCovered = nEnd > i + 1 && AddNumber(strPiece.substr(i + 1, nEnd - i - 1));
        if (bCovered && ch == '-') m_arrTokens.back().dValue = -m_arrTokens.back().dValue;
        bExpectOperand = false;
        i = nEnd - 1;
      } else {
        bCovered = false;
      }
      chPrevious = chLastSolid = strPiece[i];
    }
  });
  if (!bCovered || bExpectOperand || !BuildProgram(0, m_arrWhole)) return false;
  // The cell checks the part after the first '/' alone for a zero divisor. A part of constants
  // is checked here once: one that may be zero leaves the column to be computed.
  if (nFirstDivide == 0) return true;
  if (!BuildProgram(nFirstDivide, m_arrDivisor)) return false;
  if (std::any_of(m_arrDivisor.begin(), m_arrDivisor.end(), [](const sStep& step) { return step.eKind == eStep::kReference; }))
    return true;
  sInterval divisor{};
  const bool bNonZero = Evaluate(m_arrDivisor, {}, {}, divisor) && (divisor.dLow > 0.0 || divisor.dHigh < 0.0);
  m_arrDivisor.clear();
  return bNonZero;
}

bool CCustomColumnBound::BuildProgram(size_t nFirst, std::vector<sStep>& arrProgram) const {
  std::vector<char> arrOperators;
  const auto ToStep = [](char chOperator) {
    return sStep{chOperator == '+'   ? eStep::kAdd
                 : chOperator == '-' ? eStep::kSubtract
                 : chOperator == '*' ? eStep::kMultiply
                                     : eStep::kDivide};
  };
  for (size_t i = nFirst; i < m_arrTokens.size(); ++i) {
    const sToken& token = m_arrTokens[i];
    if (token.chKind == 'n') {
      arrProgram.push_back({eStep::kConstant, 0, token.dValue});
    } else if (token.chKind == 'r') {
      arrProgram.push_back({eStep::kReference, token.nReference});
    } else if (token.chKind == '(') {
      arrOperators.push_back('(');
    } else if (token.chKind == ')') {
      for (;;) {
        if (arrOperators.empty()) return false;
        const char chTop = arrOperators.back();
        arrOperators.pop_back();
        if (chTop == '(') break;
        arrProgram.push_back(ToStep(chTop));
      }
    } else {
      while (!arrOperators.empty() && arrOperators.back() != '(' &&
             GetPrecedence(arrOperators.back()) >= GetPrecedence(token.chKind)) {
        arrProgram.push_back(ToStep(arrOperators.back()));
        arrOperators.pop_back();
      }
      arrOperators.push_back(token.chKind);
    }
  }
  for (; !arrOperators.empty(); arrOperators.pop_back()) {
    if (arrOperators.back() == '(') return false;
    arrProgram.push_back(ToStep(arrOperators.back()));
  }
  return !arrProgram.empty();
}

bool CCustomColumnBound::Evaluate(const std::vector<sStep>& arrProgram, std::span<const double> arrLows,
                                  std::span<const double> arrHighs, sInterval& result) const {
  // Depth never exceeds the steps; formulas are short, so a fixed stack serves almost all.
  constexpr size_t kFixedDepth = 32;
  sInterval arrFixed[kFixedDepth];
  std::vector<sInterval> arrHeap;
  sInterval* pStack = arrFixed;
  if (arrProgram.size() > kFixedDepth) {
    arrHeap.resize(arrProgram.size());
    pStack = arrHeap.data();
  }
  size_t nDepth = 0;
  for (const sStep& step : arrProgram) {
    if (step.eKind == eStep::kConstant) {
      pStack[nDepth++] = {step.dConstant, step.dConstant};
      continue;
    }
    if (step.eKind == eStep::kReference) {
      const auto nReference = static_cast<size_t>(step.nReference);
      pStack[nDepth++] = {arrLows[nReference], arrHighs[nReference]};
      continue;
    }
    const sInterval right = pStack[--nDepth];
    sInterval& left = pStack[nDepth - 1];
    if (step.eKind == eStep::kAdd) {
      left = {left.dLow + right.dLow, left.dHigh + right.dHigh};
    } else if (step.eKind == eStep::kSubtract) {
      left = {left.dLow - right.dHigh, left.dHigh - right.dLow};
    } else {
      if (step.eKind == eStep::kDivide && right.dLow <= 0.0 && right.dHigh >= 0.0) return false;
      const auto Apply = [&step](double a, double b) { return step.eKind == eStep::kMultiply ? a * b : a / b; };
      const double arrCorners[] = {Apply(left.dLow, right.dLow), Apply(left.dLow, right.dHigh),
                                   Apply(left.dHigh, right.dLow), Apply(left.dHigh, right.dHigh)};
      left = {*std::min_element(std::begin(arrCorners), std::end(arrCorners)),
              *std::max_element(std::begin(arrCorners), std::end(arrCorners))};
    }
    left.dLow -= std::fabs(left.dLow) * kRelativeWidening + kAbsoluteWidening;
    left.dHigh += std::fabs(left.dHigh) * kRelativeWidening + kAbsoluteWidening;
    if (!std::isfinite(left.dLow) || !std::isfinite(left.dHigh)) return false;
  }
  result = pStack[0];
  return true;
}

sTextShape CCustomColumnBound::GetShape(std::span<const double> arrLows, std::span<const double> arrHighs) const {
  sTextShape shape;
  sInterval value{};
  if (!m_bCovered || arrLows.size() < m_arrReferences.size() || arrHighs.size() < m_arrReferences.size()) return shape;
  if (!m_arrDivisor.empty() &&
      (!Evaluate(m_arrDivisor, arrLows, arrHighs, value) || (value.dLow <= 0.0 && value.dHigh >= 0.0))) {
    return shape;
  }
  if (!Evaluate(m_arrWhole, arrLows, arrHighs, value) || std::max(-value.dLow, value.dHigh) >= kLargestBounded) {
    return shape;
  }
  // The value with two decimals: a '-' when it may be below zero (or -0), whole digits as the
  // larger side needs.
  shape.eKind = eShapeKind::kNumber;
  shape.nMinus = value.dLow <= 0.0 ? 1 : 0;
  shape.nDigits = static_cast<uint16_t>(CountWholeDigits(std::max(std::fabs(value.dLow), std::fabs(value.dHigh))) + 2);
  shape.nPoints = 1;
  return shape;
}
