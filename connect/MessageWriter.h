// The encoder: composes one message into a growing byte buffer, field after field. Behind both
// otp_add_data (a scratch buffer holds one) and CMessageBuilder.
#pragma once

#include <cstdint>
#include <vector>

#include "connect/MessageIndex.h"

class CMessageWriter {
 public:
  // Starts an empty message (a bare header), dropping what was composed.
  void Start();
  // Appends a field of nLength bytes (pValue may be null when nLength is 0). Returns
  // OTP_ERR_NONE, OTP_ERR_ARGUMENT for a null value with a length, OTP_ERR_NOT_STARTED before
  // Start, OTP_ERR_DUPLICATE for an id the message holds already, OTP_ERR_TOO_LARGE when the
  // message would pass the largest size. A failed call, a thrown std::bad_alloc included,
  // leaves the message as it was.
  int32_t Append(uint32_t nFieldId, const void* pValue, uint64_t nLength);
  // The value of a field composed so far; the pointer lasts until the next Start or Append.
  bool FindField(uint32_t nFieldId, const uint8_t** ppValue, uint32_t* pnLength) const;
  // Room for nSize bytes before the buffer grows.
  void Reserve(uint32_t nSize) { m_arrBytes.reserve(nSize); }

  bool IsStarted() const { return !m_arrBytes.empty(); }
  // The encoded message; empty before Start.
  const std::vector<uint8_t>& GetBytes() const { return m_arrBytes; }

 private:
  std::vector<uint8_t> m_arrBytes;
  CMessageIndex m_index;
};
