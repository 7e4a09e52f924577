// Record to the slots of its rows in a live view: a multimap kept in one flat table (open
// addressing, linear probing, at most half full), so finding a record's rows costs one or two
// cache lines instead of a bucket and a node apiece.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class CRecordSlots {
 public:
  void Clear();
  void Reserve(size_t nCount);
  void Add(const void* pRecord, int32_t nSlot);
  // Takes one entry of the record with the slot out; nothing when there is none.
  void Remove(const void* pRecord, int32_t nSlot);
  // Calls fnSlot(slot) for every entry of the record.
  template <class TSlotFn>
  void ForEachSlot(const void* pRecord, const TSlotFn& fnSlot) const {
    if (m_arrEntries.empty()) return;
    for (size_t nAt = GetHome(pRecord);; nAt = (nAt + 1) & m_nMask) {
      const sEntry& entry = m_arrEntries[nAt];
      if (entry.pRecord == nullptr) return;
      if (entry.pRecord == pRecord) fnSlot(entry.nSlot);
    }
  }
  size_t GetCount() const { return m_nCount; }

 private:
  struct sEntry {
    const void* pRecord = nullptr;
    int32_t nSlot = 0;
  };

  size_t GetHome(const void* pRecord) const;
  void Grow(size_t nCapacity);

  std::vector<sEntry> m_arrEntries;
  size_t m_nMask = 0;
  size_t m_nCount = 0;
};
