#include "connect/ParsedMessage.h"

#include <cstring>
#include <vector>

#include "connect/WireFormat.h"
#include "connect/include/connecthalvo.h"

int64_t CParsedMessage::MeasureFrame(const uint8_t* pBytes, size_t nAvailable) {
  if (nAvailable < sizeof(uint32_t)) {
    return 0;
  }
  const uint32_t nLength = wire::ReadU32(pBytes + wire::kLengthOffset);
  if (nLength < wire::kHeaderSize || nLength > wire::kMaxMessageSize) {
    return -1;
  }
  // Check as much of the header as has arrived, so garbage is refused early.
  if (nAvailable >= wire::kVersionOffset + 2 &&
      (wire::ReadU16(pBytes + wire::kMagicOffset) != wire::kMagic ||
       !wire::IsKnownVersion(wire::ReadU16(pBytes + wire::kVersionOffset)))) {
    return -1;
  }
  if (nAvailable >= wire::kHeaderSize &&
      wire::ReadU32(pBytes + wire::kCountOffset) >
          wire::GetMostFields(nLength, wire::ReadU16(pBytes + wire::kVersionOffset))) {
    return -1;
  }
  return nAvailable < nLength ? 0 : static_cast<int64_t>(nLength);
}

int32_t CParsedMessage::Parse(const uint8_t* pBytes, size_t nLength) {
  m_pBlock.reset();
  m_pShape.reset();
  m_nCount = 0;
  m_nLength = 0;
  m_nNextPlace = 0;
  m_bCompact = true;
  // Zero bytes measure as "need more", not as a message of length 0.
  if (pBytes == nullptr || nLength == 0 || MeasureFrame(pBytes, nLength) != static_cast<int64_t>(nLength)) {
    return OTP_ERR_MALFORMED;
  }
  // Walk the copy, not the caller's bytes: what was checked is what is read later.
  m_nCount = wire::ReadU32(pBytes + wire::kCountOffset);
  m_nLength = static_cast<uint32_t>(nLength);
  m_bCompact = wire::ReadU16(pBytes + wire::kVersionOffset) == wire::kCompactVersion;
  m_pBlock = std::make_unique_for_overwrite<uint32_t[]>(GetBlockWords());
  std::memcpy(m_pBlock.get() + m_nCount, pBytes, nLength);
  if (!PlaceFields()) {
    m_pBlock.reset();
    m_nCount = 0;
    m_nLength = 0;
    return OTP_ERR_MALFORMED;
  }
  return OTP_ERR_NONE;
}

bool CParsedMessage::PlaceFields() {
  static thread_local CShapeCache s_shapes;
  static thread_local std::vector<uint32_t> s_arrIds;
  s_arrIds.resize(m_nCount);
  if (!(m_bCompact ? PlaceCompactFields(s_arrIds.data()) : PlaceFixedFields(s_arrIds.data()))) {
    return false;
  }
  // A repeated id makes no shape.
  m_pShape = s_shapes.Find(s_arrIds);
  return m_pShape != nullptr;
}

bool CParsedMessage::PlaceCompactFields(uint32_t* pIds) {
  const uint8_t* pBytes = GetByteStart();
  const uint8_t* pEnd = pBytes + m_nLength;
  const uint8_t* pField = pBytes + wire::kHeaderSize;
  uint32_t* pOffsets = m_pBlock.get();
  uint32_t nFieldId = 0;
  for (uint32_t nField = 0; nField < m_nCount; ++nField) {
    uint32_t nStep = 0;
    uint32_t nValueLength = 0;
    const uint8_t* pLength = wire::ReadVarint(pField, pEnd, &nStep);
    const uint8_t* pValue = pLength == nullptr ? nullptr : wire::ReadVarint(pLength, pEnd, &nValueLength);
    if (pValue == nullptr || nValueLength > static_cast<size_t>(pEnd - pValue)) {
      return false;
    }
    nFieldId = wire::TakeIdStep(nFieldId, nStep);
    pIds[nField] = nFieldId;
    pOffsets[nField] = static_cast<uint32_t>(pLength - pBytes);
    pField = pValue + nValueLength;
  }
  return pField == pEnd;
}

bool CParsedMessage::PlaceFixedFields(uint32_t* pIds) {
  const uint8_t* pBytes = GetByteStart();
  uint32_t* pOffsets = m_pBlock.get();
  uint32_t nOffset = wire::kHeaderSize;
  for (uint32_t nField = 0; nField < m_nCount; ++nField) {
    if (m_nLength - nOffset < wire::kFixedFieldHeaderSize) {
      return false;
    }
    const uint32_t nValueLength = wire::ReadU32(pBytes + nOffset + 4);
    if (nValueLength > m_nLength - nOffset - wire::kFixedFieldHeaderSize) {
      return false;
    }
    pIds[nField] = wire::ReadU32(pBytes + nOffset);
    pOffsets[nField] = nOffset + 4;
    nOffset += wire::kFixedFieldHeaderSize + nValueLength;
  }
  return nOffset == m_nLength;
}

namespace {

void PrefetchBytes(const void* pStart, size_t nBytes) {
  constexpr size_t kCacheLine = 64;
  const auto* pBytes = static_cast<const char*>(pStart);
  for (size_t n = 0; n < nBytes; n += kCacheLine) __builtin_prefetch(pBytes + n);
}

}  // namespace

void CParsedMessage::Prefetch() const {
  PrefetchBytes(m_pBlock.get(), GetBlockWords() * sizeof(uint32_t));
}
