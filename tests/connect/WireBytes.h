// Message bytes written by hand, apart from the library's encoder: the expected encodings of
// the round trips and the raw material of the malformed cases.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct sTestField {
  uint32_t nId;
  std::string strValue;
};

inline void PutU32(std::string& strOut, uint32_t nValue) {
  for (int nShift = 0; nShift < 32; nShift += 8) {
    strOut.push_back(static_cast<char>((nValue >> nShift) & 0xFF));
  }
}

inline void SetU32(std::string& strBytes, size_t nOffset, uint32_t nValue) {
  std::string strWord;
  PutU32(strWord, nValue);
  strBytes.replace(nOffset, 4, strWord);
}

// Header: length, magic "HO", version 1, field count; then id, length, value per field.
inline std::string EncodeMessage(const std::vector<sTestField>& arrFields) {
  std::string strBody;
  for (const sTestField& field : arrFields) {
    PutU32(strBody, field.nId);
    PutU32(strBody, static_cast<uint32_t>(field.strValue.size()));
    strBody += field.strValue;
  }
  std::string strOut;
  PutU32(strOut, static_cast<uint32_t>(12 + strBody.size()));
  strOut += "HO";
  strOut += std::string("\x01\x00", 2);
  PutU32(strOut, static_cast<uint32_t>(arrFields.size()));
  return strOut + strBody;
}

// A record-sized message: nCount fields with ids spread over 0..65535 and number-like values.
inline std::vector<sTestField> MakeRecordFields(uint32_t nCount) {
  std::vector<sTestField> arrFields;
  for (uint32_t n = 0; n < nCount; ++n) {
    arrFields.push_back({(n * 211 + 7) % 65536, std::to_string(n * 1234.5)});
  }
  return arrFields;
}
