// The host side of the message library, for the terminal's transport and the risk server:
// received bytes into message handles, the bytes of a composed message, framing a stream of
// messages, and a builder that composes without handles. The free functions never throw.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "connect/include/connecthalvo.h"

// A received message made from a copy of nLength bytes, which must be exactly one message.
// Null on failure, with OTP_ERR_MALFORMED (anything but one well-formed message),
// OTP_ERR_ARGUMENT (null bytes) or OTP_ERR_NO_MEMORY in *pnErr. Released with otp_dtor_primecb.
OTP_API OTP_MSG ParseOtpMessage(const void* pBytes, size_t nLength, int32_t* pnErr);

// The encoded bytes of the message a handle holds: the one it is composing (they live in its
// scratch buffer and last until it changes) or the received one. False when there is none.
OTP_API bool GetComposedBytes(OTP_MSG hMsg, const uint8_t** ppBytes, size_t* pnLength);

// A hint that a received message is read soon: its bytes and index are loaded into the calling
// processor's cache. Nothing else changes; any other handle is ignored.
OTP_API void PrefetchOtpMessage(OTP_MSG hMsg);

// The bytes a received message holds in memory, its index included; 0 for any other handle.
OTP_API size_t GetOtpMessageFootprint(OTP_MSG hMsg);

// The encoded message in a scratch buffer; false when none was started since it was emptied.
OTP_API bool GetScratchBytes(OTP_SCRATCH hScratch, const uint8_t** ppBytes, size_t* pnLength);

// For a stream of messages: the length of the whole message that starts at pBytes, 0 when more
// bytes are needed, -1 when the bytes there are not the start of a message (a length word
// below the header size or above OTP_MAX_MESSAGE_SIZE, a wrong magic or version, a field
// count the length cannot hold). A positive result says nothing about the fields yet.
OTP_API int64_t GetFrameLength(const void* pBytes, size_t nAvailable);

class CMessageWriter;

// Composes messages straight into a byte vector with the encoder behind otp_add_data.
// Unlike the C interface it throws std::bad_alloc when memory runs out.
class OTP_API CMessageBuilder {
 public:
  // Starts with an empty message.
  CMessageBuilder();
  ~CMessageBuilder();
  // A moved-from builder may only be assigned to or destroyed.
  CMessageBuilder(CMessageBuilder&& other) noexcept;
  CMessageBuilder& operator=(CMessageBuilder&& other) noexcept;

  // Starts an empty message; the buffer keeps its capacity.
  void Start();
  // Appends a field; the codes and rules of otp_add_data.
  int32_t AddField(uint32_t nFieldId, const void* pValue, uint64_t nLength);
  int32_t AddText(uint32_t nFieldId, std::string_view strValue) {
    return AddField(nFieldId, strValue.data(), strValue.size());
  }
  // The encoded message; valid until the next Start or AddField.
  const std::vector<uint8_t>& GetBytes() const;

 private:
  std::unique_ptr<CMessageWriter> m_pWriter;
};
