// A received message: its own copy of the bytes, checked once when parsed, with the place of
// each field in them and the shape (the ids in written order) it shares with its kind.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "connect/MessageShape.h"
#include "connect/WireFormat.h"

class CParsedMessage {
 public:
  // Copies and checks one whole message. Returns OTP_ERR_NONE, or OTP_ERR_MALFORMED (and holds
  // nothing) when the bytes are anything else. Throws std::bad_alloc.
  int32_t Parse(const uint8_t* pBytes, size_t nLength);
  // The value of a field; the pointer lasts as long as the message. Reading fields in the order
  // they were written costs no look-up: the field after the last one found is tried first.
  bool FindField(uint32_t nFieldId, const uint8_t** ppValue, uint32_t* pnLength) const {
    if (m_pShape == nullptr) {
      return false;
    }
    // Every field was checked to fit when parsed, and ids are unique, so the place found holds
    // the field itself.
    uint32_t nPlace = m_nNextPlace;
    if (nPlace >= m_nCount || m_pShape->GetId(nPlace) != nFieldId) {
      nPlace = m_pShape->FindPlace(nFieldId);
      if (nPlace == CMessageShape::kAbsent) {
        return false;
      }
    }
    *ppValue = wire::ReadCheckedValue(GetByteStart() + m_pBlock[nPlace], m_bCompact, pnLength);
    m_nNextPlace = nPlace + 1;
    return true;
  }
  // The values of many fields at once, null for an absent one. A list of ids asked for again
  // of a message of the same shape (every record of a feed) costs a load a field.
  void FindFields(const uint32_t* arrIds, uint32_t nCount, OTP_FIELD_DATA* arrData) const;
  std::span<const uint8_t> GetBytes() const { return {GetByteStart(), m_nLength}; }
  // Asks the processor to load the bytes and the field places into its cache ahead of reading them.
  void Prefetch() const;
  // The bytes this message holds in memory (its shape is shared, so not counted).
  size_t GetFootprint() const { return sizeof *this + GetBlockWords() * sizeof(uint32_t); }

  // For a stream: the length of the whole message starting at pBytes, 0 when more bytes are
  // needed to tell, -1 when the bytes there cannot start a message.
  static int64_t MeasureFrame(const uint8_t* pBytes, size_t nAvailable);

 private:
  // Walks the fields of the copy, noting where each starts and the message's shape; false when
  // they do not fill it exactly or an id repeats.
  bool PlaceFields();
  // The walks of each version: where each field's value length starts into m_pBlock, and its
  // id (version 1) or id step (version 2) into the array given.
  bool PlaceFixedFields(uint32_t* pIds);
  bool PlaceCompactFields(uint32_t* pSteps);
  size_t GetBlockWords() const { return m_nCount + (m_nLength + 3) / 4; }
  const uint8_t* GetByteStart() const { return reinterpret_cast<const uint8_t*>(m_pBlock.get() + m_nCount); }

  // One block: for each field the offset of its value length, then the message's bytes.
  std::unique_ptr<uint32_t[]> m_pBlock;
  uint32_t m_nCount = 0;
  uint32_t m_nLength = 0;
  std::shared_ptr<const CMessageShape> m_pShape;
  // Place of the field after the last one found; a read does not change what the message is.
  mutable uint32_t m_nNextPlace = 0;
  // Version 2 (varint field headers) rather than 1.
  bool m_bCompact = true;
};
