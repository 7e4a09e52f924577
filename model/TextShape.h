// What a cell text is made of, told without making the text, for passes that rank many texts by
// their width: the text itself when it is stored as it is shown, the count of each character
// of a number text, or nothing known (the caller makes the text).
#pragma once

#include <cstdint>
#include <string_view>

enum class eShapeKind : uint8_t {
  kUnknown,  // make the text to know it
  kText,     // strText is the text
  kNumber,   // the text is made of nMinus '-', nDigits digits and nPoints '.', or of fewer
};

struct sTextShape {
  eShapeKind eKind = eShapeKind::kUnknown;
  uint8_t nMinus = 0;
  uint8_t nPoints = 0;
  uint16_t nDigits = 0;
  // When asked for: the value a number's text reads as lies within [dLow, dHigh].
  double dLow = 0.0;
  double dHigh = 0.0;
  std::string_view strText;  // kText only
};
