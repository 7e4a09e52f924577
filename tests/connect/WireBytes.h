// Message bytes written by hand, apart from the library's encoder: the expected encodings of
// the round trips and the raw material of the malformed cases.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "connect/include/HalvoCodec.h"
#include "connect/include/connecthalvo.h"

struct sTestField { uint32_t nId; std::string strValue; };

inline void PutU32(std::string& strOut, uint32_t nValue) {
  for (int nShift = 0; nShift < 32; nShift += 8) strOut.push_back(static_cast<char>((nValue >> nShift) & 0xFF));
}

inline void SetU32(std::string& strBytes, size_t nOffset, uint32_t nValue) {
  std::string strWord;
  PutU32(strWord, nValue);
  strBytes.replace(nOffset, 4, strWord);
}

inline void PutVarint(std::string& strOut, uint32_t nValue) {
  for (; nValue >= 0x80; nValue >>= 7) strOut.push_back(static_cast<char>(0x80 | (nValue & 0x7F)));
  strOut.push_back(static_cast<char>(nValue));
}

inline std::string AddHeader(const std::string& strBody, uint16_t nVersion, size_t nCount) {
  std::string strOut;
  PutU32(strOut, static_cast<uint32_t>(12 + strBody.size()));
  strOut += "HO";
  strOut.push_back(static_cast<char>(nVersion));
  strOut.push_back('\0');
  PutU32(strOut, static_cast<uint32_t>(nCount));
  return strOut + strBody;
}

// Header: length, magic "HO", version 2, field count; then per field the id's step from the
// previous id (zigzag varint), the length (varint) and the value.
inline std::string EncodeMessage(const std::vector<sTestField>& arrFields) {
  std::string strBody;
  uint32_t nPreviousId = 0;
  for (const sTestField& field : arrFields) {
    const int32_t nStep = static_cast<int32_t>(field.nId - nPreviousId);
    PutVarint(strBody, nStep < 0 ? 2 * static_cast<uint32_t>(-(nStep + 1)) + 1 : 2 * static_cast<uint32_t>(nStep));
    PutVarint(strBody, static_cast<uint32_t>(field.strValue.size()));
    strBody += field.strValue;
    nPreviousId = field.nId;
  }
  return AddHeader(strBody, 2, arrFields.size());
}

// The same fields in version 1: u32 id, u32 length and the value per field.
inline std::string EncodeFixedMessage(const std::vector<sTestField>& arrFields) {
  std::string strBody;
  for (const sTestField& field : arrFields) {
    PutU32(strBody, field.nId);
    PutU32(strBody, static_cast<uint32_t>(field.strValue.size()));
    strBody += field.strValue;
  }
  return AddHeader(strBody, 1, arrFields.size());
}

// A record-sized message: nCount fields with ids spread over 0..65535 and number-like values.
inline std::vector<sTestField> MakeRecordFields(uint32_t nCount) {
  std::vector<sTestField> arrFields;
  for (uint32_t n = 0; n < nCount; ++n) {
    arrFields.push_back({(n * 211 + 7) % 65536, std::to_string(n * 1234.5)});
  }
  return arrFields;
}

// A received message that is released at the end of its scope.
struct sReleaseMessage { void operator()(OTP_MSG hMsg) const { otp_dtor_primecb(hMsg, nullptr); } };
using ParsedMessage = std::unique_ptr<sOtpMessage, sReleaseMessage>;
inline ParsedMessage Parse(const std::string& strBytes, int32_t* pnErr = nullptr) {
  return ParsedMessage(ParseOtpMessage(strBytes.data(), strBytes.size(), pnErr));
}

// The value of a field, nullopt when absent.
inline std::optional<std::string> Value(OTP_MSG hMsg, uint32_t nId) {
  const void* pValue = nullptr;
  uint64_t nLength = 0;
  if (!otp_get_data(hMsg, nId, 0, &pValue, &nLength, nullptr)) return std::nullopt;
  return std::string(static_cast<const char*>(pValue), nLength);
}
