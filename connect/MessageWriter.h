// The encoder: composes one message into a growing byte buffer, field after field. Behind both
// otp_add_data (a scratch buffer holds one) and CMessageBuilder.
#pragma once

#include <array>
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
  // Walks the fields: reading back a message being composed is rare.
  bool FindField(uint32_t nFieldId, const uint8_t** ppValue, uint32_t* pnLength) const;
  // Room for nSize bytes before the buffer grows.
  void Reserve(uint32_t nSize) { m_arrBytes.reserve(nSize); }

  bool IsStarted() const { return !m_arrBytes.empty(); }
  // The encoded message; empty before Start.
  const std::vector<uint8_t>& GetBytes() const { return m_arrBytes; }

 private:
  // Ids below this are marked in a bitmap, the rest kept in an index: a duplicate check then
  // costs a bit test for the ids messages use.
  static constexpr uint32_t kMarkedIds = 65536;

  bool HasField(uint32_t nFieldId) const;
  void NoteField(uint32_t nFieldId, uint32_t nOffset);
  // Calls fnVisit(id, value, length) for each field composed so far, in order.
  template <typename Visit>
  void VisitFields(Visit fnVisit) const;

  std::vector<uint8_t> m_arrBytes;
  std::array<uint64_t, kMarkedIds / 64> m_arrMarked{};
  CMessageIndex m_largeIds;
  uint32_t m_nCount = 0;
  // The id of the last field appended, which the next field's id step starts from.
  uint32_t m_nLastId = 0;
};
