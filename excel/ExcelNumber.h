// Which cell texts become numbers in the workbook, and how they are shown.
//
// A column is numeric when the value type of its header is 1 (integer), 2, 5, 7, 9 (decimal)
// or 4 (long integer). In a numeric column a text is a number when the whole of it, apart from
// blanks around it, is a decimal number as strtod reads it in the "C" locale (optional sign,
// digits with at most one '.', optional exponent). "-", "NA", the empty text, hexadecimal,
// "nan", "inf" and anything out of the range of a double stay text. So does a text with more
// than 15 significant digits, which a spreadsheet could not show as the list did.
#pragma once

#include <optional>
#include <string>
#include <string_view>

struct sExcelNumber {
  double dValue;
  // Digits after the decimal point, or -1 for the general format (an exponent, or more
  // decimals than a number format can show).
  int nDecimals;
};

// True for the value types whose cells may be numbers.
bool IsNumericExportType(int nValueType);

// The number a cell text stands for, or nullopt when the text stays text.
std::optional<sExcelNumber> ParseExcelNumber(std::string_view strText);

// The number format that shows nDecimals digits after the point: "0", "0.0", "0.00", ...
std::string GetNumberFormat(int nDecimals);
