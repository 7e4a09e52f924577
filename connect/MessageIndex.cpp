#include "connect/MessageIndex.h"

#include <bit>

namespace {

constexpr uint32_t kSmallestTable = 8;
// Seeds Balance tries after the first; each rehash costs as much as building the index.
constexpr uint32_t kBalanceSeeds = 3;
constexpr uint32_t kSeedStep = 0x9E3779B9u;

// A table is at most three quarters full: a 300-field record takes 512 slots, and a probe
// still meets a free slot within a few steps.
bool IsPastLoad(uint64_t nCount, uint64_t nSize) { return nCount * 4 > nSize * 3; }

uint32_t GetTableSize(uint32_t nCount) {
  const uint64_t nWanted = (static_cast<uint64_t>(nCount) * 4 + 2) / 3;
  return nWanted <= kSmallestTable ? kSmallestTable : static_cast<uint32_t>(std::bit_ceil(nWanted));
}

}  // namespace

uint32_t CMessageIndex::GetProbeLimit(uint32_t nCapacity) {
  return 4 * static_cast<uint32_t>(std::bit_width(nCapacity));
}

void CMessageIndex::Reset(uint32_t nCount) {
  const uint32_t nSize = GetTableSize(nCount);
  if (m_arrSlots.size() < nSize) {
    m_arrSlots.resize(nSize);
  }
  for (sSlot& slot : m_arrSlots) {
    slot.nOffset = kAbsent;
  }
  m_nSeed = 0;
  m_nCount = 0;
  m_nLongestProbe = 0;
}

bool CMessageIndex::Insert(uint32_t nFieldId, uint32_t nOffset) {
  if (m_arrSlots.empty()) {
    Reset(0);
  }
  if (IsPastLoad(static_cast<uint64_t>(m_nCount) + 1, m_arrSlots.size())) {
    // Probe first: a duplicate must not grow the table.
    if (Find(nFieldId) != kAbsent) {
      return false;
    }
    Rehash(static_cast<uint32_t>(m_arrSlots.size() * 2), m_nSeed);
  }
  return Probe(nFieldId, nOffset);
}

uint32_t CMessageIndex::Find(uint32_t nFieldId) const {
  if (m_arrSlots.empty()) {
    return kAbsent;
  }
  const uint32_t nMask = GetCapacity() - 1;
  uint32_t nSlot = GetHomeSlot(nFieldId, m_nSeed, nMask);
  for (uint32_t nStep = 0; nStep <= m_nLongestProbe; ++nStep) {
    const sSlot& slot = m_arrSlots[nSlot];
    if (slot.nOffset == kAbsent) {
      return kAbsent;
    }
    if (slot.nFieldId == nFieldId) {
      return slot.nOffset;
    }
    nSlot = (nSlot + 1) & nMask;
  }
  return kAbsent;
}

void CMessageIndex::Balance() {
  const uint32_t nLimit = GetProbeLimit(GetCapacity());
  uint32_t nSeed = m_nSeed;
  for (uint32_t nTry = 0; nTry < kBalanceSeeds && m_nLongestProbe > nLimit; ++nTry) {
    nSeed += kSeedStep;
    Rehash(GetCapacity(), nSeed);
  }
}

bool CMessageIndex::Probe(uint32_t nFieldId, uint32_t nOffset) {
  // The table is at most three quarters full, so the walk meets a free slot.
  const uint32_t nMask = GetCapacity() - 1;
  uint32_t nSlot = GetHomeSlot(nFieldId, m_nSeed, nMask);
  for (uint32_t nStep = 0;; ++nStep) {
    sSlot& slot = m_arrSlots[nSlot];
    if (slot.nOffset == kAbsent) {
      slot = {nFieldId, nOffset};
      ++m_nCount;
      if (nStep > m_nLongestProbe) {
        m_nLongestProbe = nStep;
      }
      return true;
    }
    if (slot.nFieldId == nFieldId) {
      return false;
    }
    nSlot = (nSlot + 1) & nMask;
  }
}

void CMessageIndex::Rehash(uint32_t nCapacity, uint32_t nSeed) {
  // Allocate before touching anything, so a failed allocation leaves the index as it was.
  std::vector<sSlot> arrOld(nCapacity, sSlot{0, kAbsent});
  arrOld.swap(m_arrSlots);
  m_nSeed = nSeed;
  m_nCount = 0;
  m_nLongestProbe = 0;
  for (const sSlot& slot : arrOld) {
    if (slot.nOffset != kAbsent) {
      Probe(slot.nFieldId, slot.nOffset);
    }
  }
}
