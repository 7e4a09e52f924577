#include "connect/MessageShape.h"

#include <algorithm>

#include "connect/WireFormat.h"

std::shared_ptr<const CMessageShape> CMessageShape::Create(std::vector<uint32_t> arrIds) {
  auto pShape = std::make_shared<CMessageShape>();
  pShape->m_index.Reset(static_cast<uint32_t>(arrIds.size()));
  pShape->m_arrSteps.resize(arrIds.size());
  uint32_t nPreviousId = 0;
  for (uint32_t nPlace = 0; nPlace < arrIds.size(); ++nPlace) {
    if (!pShape->m_index.Insert(arrIds[nPlace], nPlace)) return nullptr;
    pShape->m_arrSteps[nPlace] = wire::MakeIdStep(nPreviousId, arrIds[nPlace]);
    nPreviousId = arrIds[nPlace];
  }
  pShape->m_index.Balance();
  pShape->m_arrIds = std::move(arrIds);
  return pShape;
}

std::shared_ptr<const CMessageShape> CShapeCache::Find(std::span<const uint32_t> arrWritten, bool bSteps) {
  // Kinds differ in their field count, so most comparisons stop there; the shape met last is
  // tried first, as messages of one kind come in runs.
  for (size_t n = 0; n < kEntries; ++n) {
    const std::shared_ptr<const CMessageShape>& entry = m_arrEntries[(m_nLast + n) % kEntries];
    if (entry == nullptr || entry->GetCount() != arrWritten.size()) continue;
    const std::span<const uint32_t> arrKept = bSteps ? entry->GetSteps() : entry->GetIds();
    if (std::equal(arrKept.begin(), arrKept.end(), arrWritten.begin())) {
      m_nLast = (m_nLast + n) % kEntries;
      return entry;
    }
  }
  std::vector<uint32_t> arrIds(arrWritten.begin(), arrWritten.end());
  if (bSteps) {
    uint32_t nFieldId = 0;
    for (uint32_t& nId : arrIds) nId = nFieldId = wire::TakeIdStep(nFieldId, nId);
  }
  std::shared_ptr<const CMessageShape> pShape = CMessageShape::Create(std::move(arrIds));
  if (pShape == nullptr) return nullptr;
  m_nLast = m_nNext;
  m_nNext = (m_nNext + 1) % kEntries;
  m_arrEntries[m_nLast] = pShape;
  return pShape;
}
