#include "model/FieldReaders.h"

#include <algorithm>
#include <limits>

#include "model/NumberFormat.h"

namespace {

// The field's bytes; absence and a failed read are the same to every reader.
bool GetFieldBytes(OTP_MSG hMsg, uint32_t nFieldId, std::string_view& strBytes) {
  const void* pValue = nullptr;
  uint64_t nLength = 0;
  if (otp_get_data(hMsg, nFieldId, 0, &pValue, &nLength, nullptr) == 0) {
    return false;
  }
  strBytes = nLength == 0 ? std::string_view() :
                            std::string_view(static_cast<const char*>(pValue), nLength);
  return true;
}

// The bytes up to the first NUL, as a C string of them holds. (The number parsers stop at a
// NUL by themselves.)
std::string_view CutAtNul(std::string_view strBytes) {
  const size_t nNul = strBytes.find('\0');
  return nNul == std::string_view::npos ? strBytes : strBytes.substr(0, nNul);
}

}  // namespace

bool ReadFieldTextView(OTP_MSG hMsg, uint32_t nFieldId, std::string_view& strText) {
  std::string_view strBytes;
  if (!GetFieldBytes(hMsg, nFieldId, strBytes)) {
    strText = {};
    return false;
  }
  strText = CutAtNul(strBytes);
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
  nValue = ParseIntegerText(strBytes.substr(0, kIntegerFieldChars));
  return true;
}

bool ReadFieldInt(OTP_MSG hMsg, uint32_t nFieldId, int32_t& nValue) {
  int64_t nWide = 0;
  if (!ReadFieldInt(hMsg, nFieldId, nWide)) {
    return false;
  }
  nValue = static_cast<int32_t>(std::clamp<int64_t>(nWide, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
  return true;
}

bool ReadFieldDecimalText(OTP_MSG hMsg, uint32_t nFieldId, std::string_view& strNumber) {
  std::string_view strBytes;
  if (!GetFieldBytes(hMsg, nFieldId, strBytes)) {
    return false;
  }
  strNumber = strBytes.substr(0, kDecimalFieldChars);
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
