// Expression engine: turns an arithmetic or logical expression written as text, for example
// " ( 12.50 + 7.25 ) * 3 - 0.50", into one double. Callers replace column references by
// numbers first; the engine knows nothing of columns or rows.
//
// Operators, loosest first, all binary and left-associative (there are no functions, names or
// power operator):
//   13  ==  <  >  >=  !=  <=          comparisons, 1 or 0; not-a-number compares false
//   14  &&  ||                        logic, 1 or 0; not-a-number counts as non-zero
//   15  ^  &  |  !|  !&               bitwise xor, and, or, nor, nand on 32-bit integers
//   16  -  +
//   17  <<  >>                        shifts of 32-bit integers by (b AND 31)
//   18  %                             32-bit integer remainder, sign of the left operand
//   19  *  /  \                       \ divides, then truncates to a 32-bit integer
// A 32-bit integer operand is the value truncated toward zero; out of range, an infinity or a
// not-a-number gives -2147483648. A run of operator characters is one operator or none ("*-"
// is none; write "* -5"). An operator with nothing or an operator before it is a sign, and the
// signed number is one operand. Numbers are what strtod reads in the C locale, within the run
// of letters, digits and '.' that makes up the operand ("1e5" is a number, "1e-5" is not).
//
// Two passes: the infix text is converted to a postfix (reverse Polish) text, which is
// evaluated on a stack. EvaluateExpression runs both in one scan without building the text;
// ConvertToPostfix followed by EvaluatePostfix gives exactly the same code and result.
//
// Nothing here throws or depends on the process locale, texts shorter than 256 characters are
// evaluated without heap allocation, and any thread may call in at any time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Result codes; callers compare them numerically. 2 is never produced.
constexpr int32_t EXPR_OK = 0;
// A ')' without '(', a '(' never closed, or an operator that finds fewer than two values.
constexpr int32_t EXPR_SYNTAX_ERROR = 1;
// An operand that is not entirely a number.
constexpr int32_t EXPR_BAD_OPERAND = 3;
// Values left over, no value at all, a remainder by zero or of -2147483648 by -1, or no memory.
constexpr int32_t EXPR_FAILED = 4;

// Evaluates the infix text. dResult is written only when the evaluation reaches the end of the
// expression with a value: with EXPR_OK, or with EXPR_FAILED when values are left over (then it
// is the last value computed). Otherwise it keeps what the caller put there.
int32_t EvaluateExpression(std::string_view strText, double& dResult) noexcept;

// Fills strPostfix (emptied first) with the postfix text: every token preceded by one blank,
// signed operands in parentheses (" 3 (-5) *"), and "0" before a binary operator that has no
// value before it (" 0 5 -" for "(-5)"). Returns EXPR_OK or EXPR_SYNTAX_ERROR, or EXPR_FAILED
// when there is no memory for the text.
int32_t ConvertToPostfix(std::string_view strInfix, std::string& strPostfix) noexcept;

// Evaluates a postfix text; writes dResult under the same rule as EvaluateExpression.
int32_t EvaluatePostfix(std::string_view strPostfix, double& dResult) noexcept;

// The position (1 to 21) in the operator table of the operator that starts the text, or -1.
int32_t FindOperator(std::string_view strText) noexcept;

// The number of characters of the operand that starts the text: the first character, then
// every letter, digit or '.' that follows.
size_t OperandLength(std::string_view strText) noexcept;
