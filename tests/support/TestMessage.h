// Messages made of (field id, text) pairs: composed to bytes, read back field by field, or
// parsed into a received message that is released when it goes out of scope.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "connect/include/HalvoCodec.h"
#include "connect/include/connecthalvo.h"
#include "tests/support/WireFields.h"

using FieldList = std::vector<std::pair<uint32_t, std::string>>;

inline std::vector<uint8_t> ComposeMessage(const FieldList& arrFields) {
  CMessageBuilder builder;
  for (const auto& [nId, strValue] : arrFields) builder.AddText(nId, strValue);
  return builder.GetBytes();
}

// The fields in the order they were added, read apart from the library's parser; none for bytes
// that are not a message.
inline FieldList ListFields(const uint8_t* pBytes, size_t nLength) {
  FieldList arrList;
  for (const sWireField& field : ReadWireFields(pBytes, nLength).value_or(std::vector<sWireField>{}))
    arrList.emplace_back(field.nId, std::string(reinterpret_cast<const char*>(field.pValue), field.nLength));
  return arrList;
}
inline FieldList ListFields(const std::vector<uint8_t>& arrBytes) { return ListFields(arrBytes.data(), arrBytes.size()); }

class CTestMessage {
 public:
  explicit CTestMessage(const FieldList& arrFields) : CTestMessage(ComposeMessage(arrFields)) {}
  explicit CTestMessage(const std::vector<uint8_t>& arrBytes)
      : m_hMsg(ParseOtpMessage(arrBytes.data(), arrBytes.size(), nullptr)) {}
  ~CTestMessage() { otp_dtor_primecb(m_hMsg, nullptr); }
  CTestMessage(const CTestMessage&) = delete;
  CTestMessage& operator=(const CTestMessage&) = delete;

  OTP_MSG Get() const { return m_hMsg; }

 private:
  OTP_MSG m_hMsg = nullptr;
};

// The value of a field of composed bytes, nullopt when the message has no such field.
inline std::optional<std::string> ReadField(const std::vector<uint8_t>& arrBytes, uint32_t nFieldId) {
  const CTestMessage message(arrBytes);
  const void* pValue = nullptr;
  uint64_t nLength = 0;
  if (message.Get() == nullptr || !otp_get_data(message.Get(), nFieldId, 0, &pValue, &nLength, nullptr))
    return std::nullopt;
  return std::string(static_cast<const char*>(pValue), static_cast<size_t>(nLength));
}
