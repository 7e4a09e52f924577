#include "connect/MessageShape.h"

#include <cstring>

std::shared_ptr<const CMessageShape> CMessageShape::Create(std::vector<uint32_t> arrIds) {
  auto pShape = std::make_shared<CMessageShape>();
  pShape->m_index.Reset(static_cast<uint32_t>(arrIds.size()));
  for (uint32_t nPlace = 0; nPlace < arrIds.size(); ++nPlace) {
    if (!pShape->m_index.Insert(arrIds[nPlace], nPlace)) return nullptr;
  }
  pShape->m_index.Balance();
  pShape->m_arrIds = std::move(arrIds);
  return pShape;
}

std::shared_ptr<const CMessageShape> CShapeCache::Find(std::span<const uint32_t> arrIds) {
  // Kinds differ in their field count, so most comparisons stop there; the shape met last is
  // tried first, as messages of one kind come in runs.
  for (size_t n = 0; n < kEntries; ++n) {
    const std::shared_ptr<const CMessageShape>& entry = m_arrEntries[(m_nLast + n) % kEntries];
    if (entry != nullptr && entry->GetCount() == arrIds.size() &&
        std::memcmp(entry->GetIds().data(), arrIds.data(), arrIds.size_bytes()) == 0) {
      m_nLast = (m_nLast + n) % kEntries;
      return entry;
    }
  }
  std::shared_ptr<const CMessageShape> pShape = CMessageShape::Create({arrIds.begin(), arrIds.end()});
  if (pShape == nullptr) return nullptr;
  m_nLast = m_nNext;
  m_nNext = (m_nNext + 1) % kEntries;
  m_arrEntries[m_nLast] = pShape;
  return pShape;
}
