#include "model/FieldReaders.h"

#include <algorithm>
#include <limits>

#include "model/NumberFormat.h"

bool GetFieldBytes(OTP_MSG hMsg, uint32_t nFieldId, std::string_view& strBytes) {
  const void* pValue = nullptr;
  uint64_t nLength = 0;
  if (otp_get_data(hMsg, nFieldId, 0, &pValue, &nLength, nullptr) == 0) {
    return false;
  }
  strBytes = nLength == 0 ? std::string_view() : std::string_view(static_cast<const char*>(pValue), nLength);
  return true;
}

std::string_view GetBytesText(std::string_view strBytes) {
  const size_t nNul = strBytes.find('\0');
  return nNul == std::string_view::npos ? strBytes : strBytes.substr(0, nNul);
}

int64_t GetBytesInteger(std::string_view strBytes) {
  return ParseIntegerText(strBytes.substr(0, kIntegerFieldChars));
}

int32_t ClampToInt32(int64_t nValue) {
  return static_cast<int32_t>(
      std::clamp<int64_t>(nValue, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

bool ReadFieldTextView(OTP_MSG hMsg, uint32_t nFieldId, std::string_view& strText) {
  std::string_view strBytes;
  if (!GetFieldBytes(hMsg, nFieldId, strBytes)) {
    strText = {};
    return false;
  }
  strText = GetBytesText(strBytes);
  return true;
}

bool ReadFieldText(OTP_MSG hMsg, uint32_t nFieldId, std::string& strText) {
  std::string_view strView;
  const bool bPresent = ReadFieldTextView(hMsg, nFieldId, strView);
  strText.assign(strView);
  return bPresent;
}

bool ReadFieldInt(OTP_MSG hMsg, uint32_t nFieldId, int64_t& nValue) {
  std::string_view strBytes;
  if (!GetFieldBytes(hMsg, nFieldId, strBytes)) {
    return false;
  }
  nValue = GetBytesInteger(strBytes);
  return true;
}

bool ReadFieldInt(OTP_MSG hMsg, uint32_t nFieldId, int32_t& nValue) {
  int64_t nWide = 0;
  if (!ReadFieldInt(hMsg, nFieldId, nWide)) {
    return false;
  }
  nValue = ClampToInt32(nWide);
  return true;
}

bool ReadFieldDecimalText(OTP_MSG hMsg, uint32_t nFieldId, std::string_view& strNumber) {
  std::string_view strBytes;
  if (!GetFieldBytes(hMsg, nFieldId, strBytes)) {
    return false;
  }
  strNumber = GetBytesDecimalText(strBytes);
  return true;
}

bool ReadFieldDouble(OTP_MSG hMsg, uint32_t nFieldId, double& dValue) {
  std::string_view strNumber;
  if (!ReadFieldDecimalText(hMsg, nFieldId, strNumber)) {
    return false;
  }
  dValue = ParseDecimalText(strNumber);
  return true;
}
