#include "connect/ParsedMessage.h"

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
  m_arrBytes.clear();
  m_index.Reset(0);
  m_nNextOffset = wire::kHeaderSize;
  // Zero bytes measure as "need more", not as a message of length 0.
  if (pBytes == nullptr || nLength == 0 || MeasureFrame(pBytes, nLength) != static_cast<int64_t>(nLength)) {
    return OTP_ERR_MALFORMED;
  }
  // Walk the copy, not the caller's bytes: what was checked is what is read later.
  m_arrBytes.assign(pBytes, pBytes + nLength);
  if (!IndexFields()) {
    m_arrBytes.clear();
    m_index.Reset(0);
    return OTP_ERR_MALFORMED;
  }
  return OTP_ERR_NONE;
}

bool CParsedMessage::IndexFields() {
  const uint32_t nLength = static_cast<uint32_t>(m_arrBytes.size());
  const uint32_t nCount = wire::ReadU32(&m_arrBytes[wire::kCountOffset]);
  m_index.Reset(nCount);
  uint32_t nOffset = wire::kHeaderSize;
  for (uint32_t nField = 0; nField < nCount; ++nField) {
    if (nLength - nOffset < wire::kFieldHeaderSize) {
      return false;
    }
    const uint32_t nFieldId = wire::ReadU32(&m_arrBytes[nOffset]);
    const uint32_t nValueLength = wire::ReadU32(&m_arrBytes[nOffset + 4]);
    if (nValueLength > nLength - nOffset - wire::kFieldHeaderSize || !m_index.Insert(nFieldId, nOffset)) {
      return false;
    }
    nOffset += wire::kFieldHeaderSize + nValueLength;
  }
  if (nOffset != nLength) {
    return false;
  }
  m_index.Balance();
  return true;
}

namespace {

void PrefetchBytes(const void* pStart, size_t nBytes) {
  constexpr size_t kCacheLine = 64;
  const auto* pBytes = static_cast<const char*>(pStart);
  for (size_t n = 0; n < nBytes; n += kCacheLine) __builtin_prefetch(pBytes + n);
}

}  // namespace

void CParsedMessage::Prefetch() const {
  PrefetchBytes(m_arrBytes.data(), m_arrBytes.size());
  PrefetchBytes(m_index.GetTable(), m_index.GetTableBytes());
}

bool CParsedMessage::FindField(uint32_t nFieldId, const uint8_t** ppValue, uint32_t* pnLength) const {
  // Every field was checked to fit when indexed, and ids are unique, so a field header found at
  // the next offset is the field itself.
  uint32_t nOffset = m_nNextOffset;
  if (nOffset + wire::kFieldHeaderSize > m_arrBytes.size() ||
      wire::ReadU32(&m_arrBytes[nOffset]) != nFieldId) {
    nOffset = m_index.Find(nFieldId);
    if (nOffset == CMessageIndex::kAbsent) {
      return false;
    }
  }
  *pnLength = wire::ReadU32(&m_arrBytes[nOffset + 4]);
  *ppValue = m_arrBytes.data() + nOffset + wire::kFieldHeaderSize;
  m_nNextOffset = nOffset + wire::kFieldHeaderSize + *pnLength;
  return true;
}
