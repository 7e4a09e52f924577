#include "connect/MessageWriter.h"

#include <algorithm>
#include <cstring>

#include "connect/WireFormat.h"
#include "connect/include/connecthalvo.h"

template <typename Visit>
void CMessageWriter::VisitFields(Visit fnVisit) const {
  // Every field was checked to fit when appended.
  const uint8_t* pBytes = m_arrBytes.data();
  uint32_t nFieldId = 0;
  for (size_t nOffset = wire::kHeaderSize; nOffset < m_arrBytes.size();) {
    uint32_t nStep = 0;
    uint32_t nLength = 0;
    const uint8_t* pLength = wire::ReadCheckedVarint(pBytes + nOffset, &nStep);
    nFieldId = wire::TakeIdStep(nFieldId, nStep);
    const uint8_t* pValue = wire::ReadCheckedVarint(pLength, &nLength);
    fnVisit(nFieldId, pValue, nLength);
    nOffset = static_cast<size_t>(pValue - pBytes) + nLength;
  }
}

bool CMessageWriter::HasField(uint32_t nFieldId) const {
  if (nFieldId < kMarkedIds) return (m_arrMarked[nFieldId / 64] >> (nFieldId % 64)) & 1;
  return m_largeIds.Find(nFieldId) != CMessageIndex::kAbsent;
}

void CMessageWriter::NoteField(uint32_t nFieldId, uint32_t nOffset) {
  if (nFieldId < kMarkedIds)
    m_arrMarked[nFieldId / 64] |= uint64_t{1} << (nFieldId % 64);
  else
    m_largeIds.Insert(nFieldId, nOffset);
  ++m_nCount;
}

void CMessageWriter::Start() {
  // Clearing only the marks of the fields composed keeps the start of a short message cheap;
  // for a long one clearing every mark is cheaper than walking its fields.
  constexpr uint32_t kWalkedFields = 64;
  if (m_nCount > kWalkedFields) {
    m_arrMarked.fill(0);
  } else {
    VisitFields([this](uint32_t nFieldId, const uint8_t*, uint32_t) {
      if (nFieldId < kMarkedIds) m_arrMarked[nFieldId / 64] = 0;
    });
  }
  m_arrBytes.assign(wire::kHeaderSize, 0);
  wire::WriteU32(&m_arrBytes[wire::kLengthOffset], wire::kHeaderSize);
  wire::WriteU16(&m_arrBytes[wire::kMagicOffset], wire::kMagic);
  wire::WriteU16(&m_arrBytes[wire::kVersionOffset], wire::kCompactVersion);
  m_largeIds.Reset(0);
  m_nCount = 0;
  m_nLastId = 0;
}

int32_t CMessageWriter::Append(uint32_t nFieldId, const void* pValue, uint64_t nLength) {
  if (pValue == nullptr && nLength > 0) {
    return OTP_ERR_ARGUMENT;
  }
  if (!IsStarted()) {
    return OTP_ERR_NOT_STARTED;
  }
  const size_t nOffset = m_arrBytes.size();
  const size_t nRoom = wire::kMaxMessageSize - nOffset;
  // The smallest field header first, so the length is known to fit 32 bits before it is encoded.
  if (nRoom < wire::kSmallestCompactFieldHeader || nLength > nRoom - wire::kSmallestCompactFieldHeader) {
    return OTP_ERR_TOO_LARGE;
  }
  std::array<uint8_t, 2 * wire::kLongestVarint> arrHeader;
  const uint8_t* pHeaderEnd =
      wire::WriteVarint(wire::WriteVarint(arrHeader.data(), wire::MakeIdStep(m_nLastId, nFieldId)),
                        static_cast<uint32_t>(nLength));
  const size_t nHeaderSize = static_cast<size_t>(pHeaderEnd - arrHeader.data());
  if (nLength > nRoom - nHeaderSize) {
    return OTP_ERR_TOO_LARGE;
  }
  if (HasField(nFieldId)) {
    return OTP_ERR_DUPLICATE;
  }
  const size_t nEnd = nOffset + nHeaderSize + static_cast<size_t>(nLength);
  if (m_arrBytes.capacity() < nEnd) {
    // Doubling keeps appends amortised constant; the reserve below never moves bytes again.
    m_arrBytes.reserve(std::max(nEnd, std::min<size_t>(m_arrBytes.capacity() * 2, wire::kMaxMessageSize)));
  }
  NoteField(nFieldId, static_cast<uint32_t>(nOffset));

  // Appended as copies into the room reserved, not by growing the size first, which would
  // clear the bytes before they are written.
  const auto* pBytes = static_cast<const uint8_t*>(pValue);
  m_arrBytes.insert(m_arrBytes.end(), arrHeader.cbegin(), arrHeader.cbegin() + nHeaderSize);
  m_arrBytes.insert(m_arrBytes.end(), pBytes, pBytes + nLength);
  m_nLastId = nFieldId;
  wire::WriteU32(&m_arrBytes[wire::kLengthOffset], static_cast<uint32_t>(nEnd));
  wire::WriteU32(&m_arrBytes[wire::kCountOffset], m_nCount);
  return OTP_ERR_NONE;
}

bool CMessageWriter::FindField(uint32_t nFieldId, const uint8_t** ppValue, uint32_t* pnLength) const {
  if (!IsStarted() || !HasField(nFieldId)) {
    return false;
  }
  VisitFields([&](uint32_t nId, const uint8_t* pValue, uint32_t nLength) {
    if (nId == nFieldId) {
      *ppValue = pValue;
      *pnLength = nLength;
    }
  });
  return true;
}
