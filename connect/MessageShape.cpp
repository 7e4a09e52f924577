#include "connect/MessageShape.h"

#include <algorithm>

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

uint64_t CShapeCache::HashIds(std::span<const uint32_t> arrIds) {
  uint64_t nHash = 0xCBF29CE484222325ull ^ arrIds.size();
  for (const uint32_t nId : arrIds) nHash = (nHash ^ nId) * 0x100000001B3ull;
  return nHash;
}

std::shared_ptr<const CMessageShape> CShapeCache::Find(std::span<const uint32_t> arrIds, uint64_t nHash) {
  for (const sEntry& entry : m_arrEntries) {
    if (entry.pShape != nullptr && entry.nHash == nHash && std::ranges::equal(entry.pShape->GetIds(), arrIds))
      return entry.pShape;
  }
  std::shared_ptr<const CMessageShape> pShape = CMessageShape::Create({arrIds.begin(), arrIds.end()});
  if (pShape == nullptr) return nullptr;
  m_arrEntries[m_nNext] = {nHash, pShape};
  m_nNext = (m_nNext + 1) % kEntries;
  return pShape;
}
