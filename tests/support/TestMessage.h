// A received message made from (field id, value) pairs, released when it goes out of scope.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "connect/include/HalvoCodec.h"
#include "connect/include/connecthalvo.h"

class CTestMessage {
 public:
  explicit CTestMessage(const std::vector<std::pair<uint32_t, std::string>>& arrFields) {
    CMessageBuilder builder;
    for (const auto& [nId, strValue] : arrFields) {
      builder.AddText(nId, strValue);
    }
    m_hMsg = ParseOtpMessage(builder.GetBytes().data(), builder.GetBytes().size(), nullptr);
  }
  ~CTestMessage() { otp_dtor_primecb(m_hMsg, nullptr); }
  CTestMessage(const CTestMessage&) = delete;
  CTestMessage& operator=(const CTestMessage&) = delete;

  OTP_MSG Get() const { return m_hMsg; }

 private:
  OTP_MSG m_hMsg = nullptr;
};
