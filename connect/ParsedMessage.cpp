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
       wire::ReadU16(pBytes + wire::kVersionOffset) != wire::kVersion)) {
    return -1;
  }
  if (nAvailable >= wire::kHeaderSize &&
      wire::ReadU32(pBytes + wire::kCountOffset) > wire::GetMostFields(nLength)) {
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
  // Zero bytes measure as "need more", not as a message of length 0.
  if (pBytes == nullptr || nLength == 0 || MeasureFrame(pBytes, nLength) != static_cast<int64_t>(nLength)) {
    return OTP_ERR_MALFORMED;
  }
  // Walk the copy, not the caller's bytes: what was checked is what is read later.
  m_nCount = wire::ReadU32(pBytes + wire::kCountOffset);
  m_nLength = static_cast<uint32_t>(nLength);
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
  const uint8_t* pBytes = GetByteStart();
  uint32_t* pOffsets = m_pBlock.get();
  s_arrIds.resize(m_nCount);
  uint32_t nOffset = wire::kHeaderSize;
  for (uint32_t nField = 0; nField < m_nCount; ++nField) {
    if (m_nLength - nOffset < wire::kFieldHeaderSize) {
      return false;
    }
    const uint32_t nValueLength = wire::ReadU32(pBytes + nOffset + 4);
    if (nValueLength > m_nLength - nOffset - wire::kFieldHeaderSize) {
      return false;
    }
    s_arrIds[nField] = wire::ReadU32(pBytes + nOffset);
    pOffsets[nField] = nOffset;
    nOffset += wire::kFieldHeaderSize + nValueLength;
  }
  if (nOffset != m_nLength) {
    return false;
  }
  // A repeated id makes no shape.
  m_pShape = s_shapes.Find(s_arrIds);
  return m_pShape != nullptr;
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
