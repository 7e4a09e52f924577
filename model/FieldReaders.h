// Reading one field of a received message as text, integer or decimal number. A field is
// present when the message library gives its bytes; the readers then return true. A failed
// number read leaves its target untouched.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "connect/include/connecthalvo.h"

// Bytes of a number field that take part in the conversion.
constexpr size_t kIntegerFieldChars = 31;
constexpr size_t kDecimalFieldChars = 63;

// The field's bytes; false when it is absent (absence and a failed read are the same to every
// reader). The readers below convert these bytes; a caller holding them converts them alike.
bool GetFieldBytes(OTP_MSG hMsg, uint32_t nFieldId, std::string_view& strBytes);
// The bytes up to the first NUL, as a C string of them holds.
std::string_view GetBytesText(std::string_view strBytes);
// The first 31 bytes as ReadFieldInt reads them.
int64_t GetBytesInteger(std::string_view strBytes);
int32_t ClampToInt32(int64_t nValue);
// The first 63 bytes, which ReadFieldDouble converts.
inline std::string_view GetBytesDecimalText(std::string_view strBytes) {
  return strBytes.substr(0, kDecimalFieldChars);
}

// The value as "%.*s" prints it (so up to its first NUL byte). Empties the text on failure.
bool ReadFieldText(OTP_MSG hMsg, uint32_t nFieldId, std::string& strText);
// The same text without a copy; it lasts as long as the message.
bool ReadFieldTextView(OTP_MSG hMsg, uint32_t nFieldId, std::string_view& strText);
// The first 31 bytes as a decimal integer (leading blanks, sign, leading digits; none gives 0),
// clamped to the target's range.
bool ReadFieldInt(OTP_MSG hMsg, uint32_t nFieldId, int32_t& nValue);
bool ReadFieldInt(OTP_MSG hMsg, uint32_t nFieldId, int64_t& nValue);
// The first 63 bytes as a decimal number (strtod's rules in the "C" locale; none gives 0).
bool ReadFieldDouble(OTP_MSG hMsg, uint32_t nFieldId, double& dValue);
// The bytes ReadFieldDouble converts (the first 63), for converting and formatting in one step.
bool ReadFieldDecimalText(OTP_MSG hMsg, uint32_t nFieldId, std::string_view& strNumber);
