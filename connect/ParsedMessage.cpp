#include "connect/ParsedMessage.h"

#include <cstring>
#include <type_traits>
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
  m_pShape = s_shapes.Find(s_arrIds, m_bCompact);
  return m_pShape != nullptr;
}

bool CParsedMessage::PlaceCompactFields(uint32_t* pSteps) {
  // Locals rather than members: the stores below could otherwise be the members.
  const uint8_t* pBytes = GetByteStart();
  const size_t nLength = m_nLength;
  uint32_t* pOffsets = m_pBlock.get();
  const uint32_t nCount = m_nCount;
  uint32_t nField = 0;
  size_t nOffset = wire::kHeaderSize;
  // A short header (two varints of one or two bytes) takes at most four bytes. While one fits
  // before the end, it is read without a check per byte, and one check a field covers both its
  // value and the next field's header. Which forms the varints take are branches the processor
  // predicts, as the fields of one kind repeat their forms: the walk waits on the load of
  // each value length and little else.
  constexpr size_t kShortHeader = 4;
  const size_t nShortEnd = nLength - kShortHeader;  // a message holds its 12-byte header
  while (nField < nCount) {
    // Each field read here leaves room for the next one's short header.
    for (; nOffset <= nShortEnd && nField < nCount; ++nField) {
      uint32_t nStep = pBytes[nOffset];
      size_t nLengthAt = nOffset + 1;
      if (nStep >= 0x80) {
        const uint32_t nSecond = pBytes[nOffset + 1];
        if (!wire::IsSecondOfTwo(nSecond)) break;
        nStep = (nStep & 0x7F) | (nSecond << 7);
        nLengthAt = nOffset + 2;
      }
      uint32_t nValueLength = pBytes[nLengthAt];
      size_t nValueAt = nLengthAt + 1;
      if (nValueLength >= 0x80) {
        const uint32_t nSecond = pBytes[nLengthAt + 1];
        if (!wire::IsSecondOfTwo(nSecond)) break;
        nValueLength = (nValueLength & 0x7F) | (nSecond << 7);
        nValueAt = nLengthAt + 2;
      }
      // The value must end where the next short header still fits; a value that ends nearer
      // the end is read again below.
      const size_t nNext = nValueAt + nValueLength;
      if (nNext > nShortEnd) break;
      pSteps[nField] = nStep;
      pOffsets[nField] = static_cast<uint32_t>(nLengthAt);
      nOffset = nNext;
    }
    if (nField == nCount) break;
    // Any other field (a long header, or one near the end), byte by byte.
    uint32_t nStep = 0;
    uint32_t nValueLength = 0;
    const uint8_t* pEnd = pBytes + nLength;
    const uint8_t* pLength = wire::ReadVarint(pBytes + nOffset, pEnd, &nStep);
    const uint8_t* pValue = pLength == nullptr ? nullptr : wire::ReadVarint(pLength, pEnd, &nValueLength);
    if (pValue == nullptr || nValueLength > static_cast<size_t>(pEnd - pValue)) return false;
    pSteps[nField] = nStep;
    pOffsets[nField] = static_cast<uint32_t>(pLength - pBytes);
    nOffset = static_cast<size_t>(pValue - pBytes) + nValueLength;
    ++nField;
  }
  return nOffset == nLength;
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

void CParsedMessage::FindFields(const uint32_t* arrIds, uint32_t nCount, OTP_FIELD_DATA* arrData) const {
  // Short lists are looked up field by field; the plan is kept for the one long list a
  // thread reads record after record, and holds its shape so no other shape takes its address.
  constexpr uint32_t kPlannedCount = 16;
  struct sPlan {
    std::shared_ptr<const CMessageShape> pShape;
    std::vector<uint32_t> arrIds;
    std::vector<uint32_t> arrPlaces;
  };
  static thread_local sPlan s_plan;
  if (nCount < kPlannedCount || m_pShape == nullptr) {
    for (uint32_t n = 0; n < nCount; ++n) {
      const uint8_t* pValue = nullptr;
      uint32_t nLength = 0;
      const bool bFound = FindField(arrIds[n], &pValue, &nLength);
      arrData[n] = {bFound ? pValue : nullptr, bFound ? nLength : 0u};
    }
    return;
  }
  if (s_plan.pShape != m_pShape || s_plan.arrIds.size() != nCount ||
      std::memcmp(s_plan.arrIds.data(), arrIds, nCount * sizeof(uint32_t)) != 0) {
    s_plan.pShape = m_pShape;
    s_plan.arrIds.assign(arrIds, arrIds + nCount);
    s_plan.arrPlaces.resize(nCount);
    for (uint32_t n = 0; n < nCount; ++n) s_plan.arrPlaces[n] = m_pShape->FindPlace(arrIds[n]);
  }
  // Locals, as the stores into arrData could otherwise be the members.
  const uint8_t* const pStart = GetByteStart();
  const uint32_t* const pOffsets = m_pBlock.get();
  const uint32_t* const arrPlaces = s_plan.arrPlaces.data();
  const auto fnRead = [&](auto bCompact) {
    for (uint32_t n = 0; n < nCount; ++n) {
      const uint32_t nPlace = arrPlaces[n];
      if (nPlace == CMessageShape::kAbsent) {
        arrData[n] = {nullptr, 0};
        continue;
      }
      uint32_t nLength = 0;
      const uint8_t* pValue = wire::ReadCheckedValue(pStart + pOffsets[nPlace], bCompact, &nLength);
      arrData[n] = {pValue, nLength};
    }
  };
  if (m_bCompact)
    fnRead(std::true_type());
  else
    fnRead(std::false_type());
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
