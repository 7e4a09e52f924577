#include "lists/RecordSlots.h"

#include <algorithm>
#include <bit>

void CRecordSlots::Clear() {
  m_arrEntries.clear();
  m_nMask = 0;
  m_nCount = 0;
}

size_t CRecordSlots::GetHome(const void* pRecord) const {
  // Records are aligned blocks: the multiplication spreads the bits above the alignment.
  const auto nBits = reinterpret_cast<uintptr_t>(pRecord);
  return static_cast<size_t>((nBits * 0x9E3779B97F4A7C15ull) >> 32) & m_nMask;
}

void CRecordSlots::Reserve(size_t nCount) {
  if (nCount * 2 > m_arrEntries.size()) Grow(std::bit_ceil(nCount * 2));
}

void CRecordSlots::Grow(size_t nCapacity) {
  std::vector<sEntry> arrOld = std::move(m_arrEntries);
  m_arrEntries.assign(nCapacity, sEntry{});
  m_nMask = nCapacity - 1;
  m_nCount = 0;
  for (const sEntry& entry : arrOld)
    if (entry.pRecord != nullptr) Add(entry.pRecord, entry.nSlot);
}

void CRecordSlots::Add(const void* pRecord, int32_t nSlot) {
  if ((m_nCount + 1) * 2 > m_arrEntries.size()) Grow(std::max<size_t>(16, m_arrEntries.size() * 2));
  size_t nAt = GetHome(pRecord);
  while (m_arrEntries[nAt].pRecord != nullptr) nAt = (nAt + 1) & m_nMask;
  m_arrEntries[nAt] = {pRecord, nSlot};
  ++m_nCount;
}

void CRecordSlots::Remove(const void* pRecord, int32_t nSlot) {
  if (m_arrEntries.empty()) return;
  size_t nAt = GetHome(pRecord);
  for (;; nAt = (nAt + 1) & m_nMask) {
    const sEntry& entry = m_arrEntries[nAt];
    if (entry.pRecord == nullptr) return;
    if (entry.pRecord == pRecord && entry.nSlot == nSlot) break;
  }
  // Backward shift: each entry after the hole that may move into it does, so probes that
  // passed the hole's place still find what lies beyond, without markers left behind.
  size_t nHole = nAt;
  for (size_t nNext = (nHole + 1) & m_nMask; m_arrEntries[nNext].pRecord != nullptr; nNext = (nNext + 1) & m_nMask) {
    const size_t nHome = GetHome(m_arrEntries[nNext].pRecord);
    // The entry may fill the hole when its home is not cyclically within (hole, next].
    const bool bStays = nHole <= nNext ? (nHome > nHole && nHome <= nNext) : (nHome > nHole || nHome <= nNext);
    if (bStays) continue;
    m_arrEntries[nHole] = m_arrEntries[nNext];
    nHole = nNext;
  }
  m_arrEntries[nHole] = sEntry{};
  --m_nCount;
}
