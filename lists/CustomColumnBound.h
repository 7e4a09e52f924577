// A bound of a custom column's cell texts from the values of the cells it references, so that a
// pass ranking every row's text by width ("Fit to Data") computes only the cells that may be
// among the widest.
//
// It covers stored expressions of plain arithmetic: references to catalogue columns, plain
// decimal constants (a sign directly before one), + - * / and parentheses, separated by blanks
// (' '). Within that, the evaluation text CCustomColumnText builds is read by the expression
// engine as ordinary arithmetic on the referenced values, and the cell shows the value with two
// decimals, or "Divided by ZERO error" when the part after the first '/' is zero. The bound
// carries every value through the expression as an interval, widened for rounding, so it holds
// for any value within its interval. Any other expression (comparisons, other operators,
// references to custom columns, operator characters next to a reference, whose text may start
// with '-' and form a run that is no operator) is not covered: its cells are computed.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "model/TextShape.h"

class CCustomColumnBound {
 public:
  // nCatalogueCount: the list's first custom column; only columns below it may be referenced.
  CCustomColumnBound(std::string_view strFormula, int32_t nCatalogueCount);

  bool IsCovered() const { return m_bCovered; }
  // The referenced columns, each once; GetShape takes their values in this order.
  const std::vector<int32_t>& GetReferences() const { return m_arrReferences; }
  // A kNumber shape the cell's text fits in when each referenced cell reads as a value within
  // [arrLows[i], arrHighs[i]]; kUnknown when no such bound holds (a divisor that may be zero, a
  // value out of range).
  sTextShape GetShape(std::span<const double> arrLows, std::span<const double> arrHighs) const;

 private:
  enum class eStep : uint8_t { kConstant, kReference, kAdd, kSubtract, kMultiply, kDivide };
  struct sStep {
    eStep eKind;
    int32_t nReference = 0;  // index into m_arrReferences
    double dConstant = 0.0;
  };
  struct sInterval {
    double dLow;
    double dHigh;
  };

  bool Compile(std::string_view strFormula, int32_t nCatalogueCount);
  // The postfix program of the tokens from nFirst on, by precedence; false when they do not
  // form an expression.
  bool BuildProgram(size_t nFirst, std::vector<sStep>& arrProgram) const;
  // The interval of a program's value; false when it is unbounded.
  bool Evaluate(const std::vector<sStep>& arrProgram, std::span<const double> arrLows, std::span<const double> arrHighs,
                sInterval& result) const;

  struct sToken {
    char chKind;  // 'n' number, 'r' reference, '(' , ')' or an operator character
    int32_t nReference = 0;
    double dValue = 0.0;
  };

  bool m_bCovered = false;
  std::vector<int32_t> m_arrReferences;
  std::vector<sToken> m_arrTokens;
  std::vector<sStep> m_arrWhole;
  std::vector<sStep> m_arrDivisor;  // the part after the first '/' when it references cells
};
