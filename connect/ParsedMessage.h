// A received message: its own copy of the bytes, checked and indexed once when parsed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "connect/MessageIndex.h"

class CParsedMessage {
 public:
  // Copies, checks and indexes one whole message. Returns OTP_ERR_NONE, or OTP_ERR_MALFORMED
  // (and holds nothing) when the bytes are anything else. Throws std::bad_alloc.
  int32_t Parse(const uint8_t* pBytes, size_t nLength);
  // The value of a field; the pointer lasts as long as the message. Reading fields in the order
  // they were written costs no index look-up: the field after the last one found is tried first.
  bool FindField(uint32_t nFieldId, const uint8_t** ppValue, uint32_t* pnLength) const;
  const std::vector<uint8_t>& GetBytes() const { return m_arrBytes; }
  // Asks the processor to load the bytes and the index into its cache ahead of reading them.
  void Prefetch() const;
  // The bytes this message holds in memory.
  size_t GetFootprint() const { return sizeof *this + m_arrBytes.capacity() + m_index.GetFootprint(); }

  // For a stream: the length of the whole message starting at pBytes, 0 when more bytes are
  // needed to tell, -1 when the bytes there cannot start a message.
  static int64_t MeasureFrame(const uint8_t* pBytes, size_t nAvailable);

 private:
  bool IndexFields();

  std::vector<uint8_t> m_arrBytes;
  CMessageIndex m_index;
  // Offset of the field after the last one found; a read does not change what the message is.
  mutable uint32_t m_nNextOffset = 0;
};
