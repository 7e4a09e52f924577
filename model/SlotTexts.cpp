#include "model/SlotTexts.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <utility>

CSlotTexts::CSlotTexts(const CSlotTexts& other) {
  *this = other;
}

CSlotTexts& CSlotTexts::operator=(const CSlotTexts& other) {
  if (this != &other) {
    Assign(other.m_pText.get(), other.m_nLength, other.m_arrGroupStart, other.m_arrStart);
  }
  return *this;
}

CSlotTexts::CSlotTexts(CSlotTexts&& other) noexcept { *this = std::move(other); }

CSlotTexts& CSlotTexts::operator=(CSlotTexts&& other) noexcept {
  if (this != &other) {
    m_pText = std::move(other.m_pText);
    m_nLength = std::exchange(other.m_nLength, 0);
    m_nCapacity = std::exchange(other.m_nCapacity, 0);
    std::copy_n(other.m_arrGroupStart, kGroupCount, m_arrGroupStart);
    std::copy_n(other.m_arrStart, kRmsSlotCount + 1, m_arrStart);
    std::fill_n(other.m_arrGroupStart, kGroupCount, 0u);
    std::fill_n(other.m_arrStart, kRmsSlotCount + 1, uint16_t{0});
  }
  return *this;
}

void CSlotTexts::Assign(const char* pText, uint32_t nLength, const uint32_t* pGroupStarts,
                        const uint16_t* pStarts) {
  if (m_nCapacity < nLength || m_nCapacity / 2 > nLength) {
    m_pText.reset(nLength == 0 ? nullptr : new char[nLength]);
    m_nCapacity = nLength;
  }
  if (nLength != 0) {
    std::memcpy(m_pText.get(), pText, nLength);
  }
  m_nLength = nLength;
  std::copy_n(pGroupStarts, kGroupCount, m_arrGroupStart);
  std::copy_n(pStarts, kRmsSlotCount + 1, m_arrStart);
}

void CSlotTexts::Set(int nSlot, std::string_view strText) {
  strText = strText.substr(0, kMaxTextLength);
  const size_t nStart = GetStart(nSlot);
  const size_t nEnd = GetStart(nSlot + 1);
  const size_t nTail = m_nLength - nEnd;
  const uint32_t nNewLength = static_cast<uint32_t>(m_nLength - (nEnd - nStart) + strText.size());
  if (nNewLength > m_nCapacity) {
    const uint32_t nCapacity = std::max(nNewLength, m_nCapacity + m_nCapacity / 2);
    std::unique_ptr<char[]> pText(new char[nCapacity]);
    if (nStart != 0) {
      std::memcpy(pText.get(), m_pText.get(), nStart);
    }
    if (nTail != 0) {
      std::memcpy(pText.get() + nStart + strText.size(), m_pText.get() + nEnd, nTail);
    }
    m_pText = std::move(pText);
    m_nCapacity = nCapacity;
  } else if (nTail != 0) {
    std::memmove(m_pText.get() + nStart + strText.size(), m_pText.get() + nEnd, nTail);
  }
  if (!strText.empty()) {
    std::memcpy(m_pText.get() + nStart, strText.data(), strText.size());
  }
  m_nLength = nNewLength;

  // Later starts of the slot's group move by the change; later groups move as a whole. The
  // first start of a group is 0 relative to the group and stays.
  const int nGroup = nSlot / kGroupSize;
  const int nGroupEnd = std::min((nGroup + 1) * kGroupSize, kRmsSlotCount + 1);
  const size_t nOldLength = nEnd - nStart;
  for (int i = nSlot + 1; i < nGroupEnd; ++i) {
    m_arrStart[i] = static_cast<uint16_t>(m_arrStart[i] - nOldLength + strText.size());
  }
  for (int i = nGroup + 1; i < kGroupCount; ++i) {
    m_arrGroupStart[i] = static_cast<uint32_t>(m_arrGroupStart[i] - nOldLength + strText.size());
  }
}

void CSlotTextsWriter::Append(std::string_view strText) {
  const size_t nLength = std::min(strText.size(), CSlotTexts::kMaxTextLength);
  if (nLength != 0) {
    std::memcpy(GetSlotBuffer(), strText.data(), nLength);
  }
  EndSlot(nLength);
}

void CSlotTextsWriter::EndSlot(size_t nLength) {
  assert(m_nSlot < kRmsSlotCount && nLength <= CSlotTexts::kMaxTextLength);
  const int nSlot = m_nSlot++;
  const int nGroup = nSlot / CSlotTexts::kGroupSize;
  if (nSlot % CSlotTexts::kGroupSize == 0) {
    m_arrGroupStart[nGroup] = m_nLength;
  }
  m_arrStart[nSlot] = static_cast<uint16_t>(m_nLength - m_arrGroupStart[nGroup]);
  m_nLength += static_cast<uint32_t>(nLength);
}

void CSlotTextsWriter::CommitTo(CSlotTexts& texts) {
  assert(m_nSlot == kRmsSlotCount);
  m_arrStart[kRmsSlotCount] = static_cast<uint16_t>(
      m_nLength - m_arrGroupStart[kRmsSlotCount / CSlotTexts::kGroupSize]);
  texts.Assign(m_pText.get(), m_nLength, m_arrGroupStart, m_arrStart);
}
