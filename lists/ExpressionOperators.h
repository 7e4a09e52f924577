// The operator table and the character rules that both passes of the expression engine share.
// Everything here is constant and built at compile time from the one table below, so the
// engine can be called from any thread.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

struct sOperatorInfo {
  const char* szText;
  int32_t nPrecedence;  // higher binds tighter
};

constexpr int32_t OPERATOR_COUNT = 21;

// Searched in this order; an operator's identity is its 1-based position.
inline constexpr sOperatorInfo g_arrOperators[OPERATOR_COUNT] = {
    {"*", 19},  {"/", 19},  {"\\", 19}, {"%", 18}, {"<<", 17}, {">>", 17}, {"-", 16},
    {"+", 16},  {"^", 15},  {"&", 15},  {"|", 15}, {"!|", 15}, {"&&", 14}, {"||", 14},
    {"!&", 15}, {"==", 13}, {"<", 13},  {">", 13}, {">=", 13}, {"!=", 13}, {"<=", 13},
};

// Table positions, for code that applies an operator.
enum EOperator : int32_t {
  OP_MULTIPLY = 1,
  OP_DIVIDE,
  OP_INT_DIVIDE,
  OP_REMAINDER,
  OP_SHIFT_LEFT,
  OP_SHIFT_RIGHT,
  OP_SUBTRACT,
  OP_ADD,
  OP_XOR,
  OP_AND,
  OP_OR,
  OP_NOR,
  OP_LOGICAL_AND,
  OP_LOGICAL_OR,
  OP_NAND,
  OP_EQUAL,
  OP_LESS,
  OP_GREATER,
  OP_GREATER_EQUAL,
  OP_NOT_EQUAL,
  OP_LESS_EQUAL,
};

constexpr bool IsOperatorText(int32_t nIndex, const char* szText) {
  const char* szEntry = g_arrOperators[nIndex - 1].szText;
  for (; *szEntry != '\0' && *szEntry == *szText; ++szEntry, ++szText) {
  }
  return *szEntry == *szText;
}

static_assert(IsOperatorText(OP_MULTIPLY, "*") && IsOperatorText(OP_INT_DIVIDE, "\\") &&
              IsOperatorText(OP_SHIFT_RIGHT, ">>") && IsOperatorText(OP_NOR, "!|") &&
              IsOperatorText(OP_NAND, "!&") && IsOperatorText(OP_LESS_EQUAL, "<=") &&
              OP_LESS_EQUAL == OPERATOR_COUNT);

// Character classes of the C locale, whatever locale the process runs in.
enum : uint8_t {
  CHAR_SPACE = 1,     // isspace
  CHAR_OPERAND = 2,   // isalnum or '.': continues an operand
  CHAR_OPERATOR = 4,  // one of the thirteen characters that can form an operator
};

constexpr std::array<uint8_t, 256> MakeCharClasses() {
  std::array<uint8_t, 256> arrClasses{};
  for (const char ch : {' ', '\t', '\n', '\v', '\f', '\r'})
    arrClasses[static_cast<unsigned char>(ch)] = CHAR_SPACE;
  for (int ch = '0'; ch <= '9'; ++ch) arrClasses[ch] = CHAR_OPERAND;
  for (int ch = 'a'; ch <= 'z'; ++ch) arrClasses[ch] = arrClasses[ch - 'a' + 'A'] = CHAR_OPERAND;
  arrClasses['.'] = CHAR_OPERAND;
  for (const char ch : {'<', '>', '=', '*', '/', '%', '+', '-', '^', '&', '|', '\\', '!'})
    arrClasses[static_cast<unsigned char>(ch)] = CHAR_OPERATOR;
  return arrClasses;
}

inline constexpr std::array<uint8_t, 256> g_arrCharClasses = MakeCharClasses();

inline bool HasCharClass(char ch, uint8_t nClass) noexcept {
  return (g_arrCharClasses[static_cast<unsigned char>(ch)] & nClass) != 0;
}

// Operator lookup by text, derived from the table: position of a one- or two-character run,
// 0 when the table has no such entry. No entry is longer than two characters. Pairs are
// indexed by the ordinal (1 to 13) of each operator character.
struct sOperatorLookup {
  std::array<uint8_t, 256> arrOrdinal{};
  std::array<uint8_t, 256> arrSingle{};
  std::array<std::array<uint8_t, 14>, 14> arrPair{};
};

constexpr sOperatorLookup MakeOperatorLookup() {
  sOperatorLookup lookup{};
  uint8_t nOrdinal = 0;
  for (int ch = 0; ch < 256; ++ch)
    if (g_arrCharClasses[ch] == CHAR_OPERATOR) lookup.arrOrdinal[ch] = ++nOrdinal;
  // Filled backwards so that the first matching entry wins, as a search in order would.
  for (int32_t nIndex = OPERATOR_COUNT; nIndex >= 1; --nIndex) {
    const char* szText = g_arrOperators[nIndex - 1].szText;
    const auto chFirst = static_cast<unsigned char>(szText[0]);
    if (szText[1] == '\0')
      lookup.arrSingle[chFirst] = static_cast<uint8_t>(nIndex);
    else
      lookup.arrPair[lookup.arrOrdinal[chFirst]][lookup.arrOrdinal[static_cast<unsigned char>(szText[1])]] =
          static_cast<uint8_t>(nIndex);
  }
  return lookup;
}

inline constexpr sOperatorLookup g_operatorLookup = MakeOperatorLookup();

struct sOperatorMatch {
  int32_t nIndex;  // 1 to OPERATOR_COUNT, or -1
  size_t nLength;  // characters of the operator when nIndex >= 1
};

// The operator formed by the whole run of operator characters at the start of the text. A run
// that is not a table entry is no operator: it is never split into shorter ones.
inline sOperatorMatch MatchOperator(const char* pText, size_t nLength) noexcept {
  if (nLength == 0 || !HasCharClass(pText[0], CHAR_OPERATOR)) return {-1, 0};
  if (nLength == 1 || !HasCharClass(pText[1], CHAR_OPERATOR)) {
    const uint8_t nIndex = g_operatorLookup.arrSingle[static_cast<unsigned char>(pText[0])];
    return {nIndex != 0 ? nIndex : -1, 1};
  }
  // A run of three or more is never an entry; no need to find where it ends.
  if (nLength > 2 && HasCharClass(pText[2], CHAR_OPERATOR)) return {-1, 0};
  const uint8_t nIndex =
      g_operatorLookup.arrPair[g_operatorLookup.arrOrdinal[static_cast<unsigned char>(pText[0])]]
                              [g_operatorLookup.arrOrdinal[static_cast<unsigned char>(pText[1])]];
  return {nIndex != 0 ? nIndex : -1, 2};
}

// True for a text of one character that is an operator on its own ("*", "-", but not "!").
inline bool IsOneCharOperator(const char* pText, size_t nLength) noexcept {
  return nLength == 1 && g_operatorLookup.arrSingle[static_cast<unsigned char>(pText[0])] != 0;
}

// The first character always belongs to the operand; letters, digits and '.' continue it.
inline size_t ScanOperandLength(const char* pText, size_t nLength) noexcept {
  if (nLength == 0) return 0;
  size_t nCount = 1;
  while (nCount < nLength && HasCharClass(pText[nCount], CHAR_OPERAND)) ++nCount;
  return nCount;
}

inline int32_t GetPrecedence(int32_t nIndex) noexcept { return g_arrOperators[nIndex - 1].nPrecedence; }
