// The field look-up of one message: field id to the offset of the field in the message's
// bytes. Open addressing with linear probing over a power-of-two table kept at most 3/4 full,
// so a look-up costs a hash and a few adjacent slots, and allocates nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class CMessageIndex {
 public:
  static constexpr uint32_t kAbsent = UINT32_MAX;

  // Empties the index with room for nCount ids before it grows. Keeps a larger table it has.
  void Reset(uint32_t nCount);
  // Adds an id; false when the id is present already. Grows past three quarters full.
  bool Insert(uint32_t nFieldId, uint32_t nOffset);
  // The offset stored for the id, or kAbsent. Looks at no more slots than the longest probe
  // an insertion needed.
  uint32_t Find(uint32_t nFieldId) const;
  // Once all ids are in: rehashes with other seeds while the longest probe is long, so ids that
  // cluster under one hash (by chance or by choice of a sender) still give short look-ups.
  void Balance();

  uint32_t GetCount() const { return m_nCount; }
  uint32_t GetCapacity() const { return static_cast<uint32_t>(m_arrSlots.size()); }
  size_t GetFootprint() const { return m_arrSlots.capacity() * sizeof(sSlot); }
  const void* GetTable() const { return m_arrSlots.data(); }
  size_t GetTableBytes() const { return m_arrSlots.size() * sizeof(sSlot); }
  uint32_t GetLongestProbe() const { return m_nLongestProbe; }
  uint32_t GetSeed() const { return m_nSeed; }

  // The slot where a probe for the id starts.
  static uint32_t GetHomeSlot(uint32_t nFieldId, uint32_t nSeed, uint32_t nMask) {
    uint32_t nHash = nFieldId ^ nSeed;
    nHash ^= nHash >> 16;
    nHash *= 0x85EBCA6Bu;
    nHash ^= nHash >> 13;
    nHash *= 0xC2B2AE35u;
    nHash ^= nHash >> 16;
    return nHash & nMask;
  }
  // The longest probe Balance accepts for a table of nCapacity slots.
  static uint32_t GetProbeLimit(uint32_t nCapacity);

 private:
  struct sSlot {
    uint32_t nFieldId;
    uint32_t nOffset;  // kAbsent marks a free slot
  };

  bool Probe(uint32_t nFieldId, uint32_t nOffset);
  void Rehash(uint32_t nCapacity, uint32_t nSeed);

  std::vector<sSlot> m_arrSlots;
  uint32_t m_nSeed = 0;
  uint32_t m_nCount = 0;
  uint32_t m_nLongestProbe = 0;
};
