// Digit grouping of the numbers a list shows: none, international (1,234,567.89) or Indian
// (12,34,567.89: the last three digits of the whole part, then pairs). Only the painted text is
// grouped; export, the clipboard, filters and sorting read the plain text of a cell.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

enum class eDigitGrouping : uint8_t { kNone, kInternational, kIndian };

// A plain decimal number (an optional sign, digits, optionally a point and digits) with the
// digits of its whole part grouped by commas; any other text comes back unchanged.
std::string GroupDigits(std::string_view strText, eDigitGrouping eGrouping);
// Whether a text is a number as a list shows one, grouped or not: an optional sign, digits with
// single commas between them, optionally a point and digits.
bool IsNumberText(std::string_view strText);
