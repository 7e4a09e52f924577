// The field index on its own: duplicates, growth, reuse, and ids chosen to collide.
#include <gtest/gtest.h>

#include <vector>

#include "connect/MessageIndex.h"

namespace {

// The first nCount ids whose probes start in slot nSlot of a table of nCapacity slots.
std::vector<uint32_t> FindCollidingIds(uint32_t nCapacity, uint32_t nSlot, size_t nCount) {
  std::vector<uint32_t> arrIds;
  for (uint32_t nId = 0; arrIds.size() < nCount; ++nId)
    if (CMessageIndex::GetHomeSlot(nId, 0, nCapacity - 1) == nSlot) arrIds.push_back(nId);
  return arrIds;
}

TEST(MessageIndexTest, GrowsFromEmptyAndRefusesDuplicatesAtEverySize) {
  CMessageIndex index;
  EXPECT_EQ(index.Find(0), CMessageIndex::kAbsent);  // never reset
  index.Reset(0);
  for (uint32_t nId = 0; nId < 1000; ++nId) {
    ASSERT_TRUE(index.Insert(nId * 65, nId));
    ASSERT_FALSE(index.Insert(nId * 65, 7)) << nId;  // also when the table is about to grow
  }
  EXPECT_EQ(index.GetCount(), 1000u);
  EXPECT_GT(index.GetCapacity(), 1000u);
  for (uint32_t nId = 0; nId < 1000; ++nId) {
    EXPECT_EQ(index.Find(nId * 65), nId);
    EXPECT_EQ(index.Find(nId * 65 + 1), CMessageIndex::kAbsent);
  }
}

TEST(MessageIndexTest, ResetForgetsEveryIdButKeepsTheTable) {
  CMessageIndex index;
  index.Reset(300);
  const uint32_t nCapacity = index.GetCapacity();
  for (uint32_t nId = 0; nId < 300; ++nId) index.Insert(nId, nId);
  index.Reset(2);
  EXPECT_EQ(index.GetCapacity(), nCapacity);
  EXPECT_EQ(index.GetCount(), 0u);
  for (uint32_t nId = 0; nId < 300; ++nId) EXPECT_EQ(index.Find(nId), CMessageIndex::kAbsent);
  EXPECT_TRUE(index.Insert(5, 1));  // an id present before the reset is new again
}

TEST(MessageIndexTest, BalanceShortensProbesOfCollidingIds) {
  CMessageIndex index;
  index.Reset(200);
  const std::vector<uint32_t> arrIds = FindCollidingIds(index.GetCapacity(), 17, 220);
  for (uint32_t n = 0; n < 200; ++n) ASSERT_TRUE(index.Insert(arrIds[n], n));
  EXPECT_EQ(index.GetLongestProbe(), 199u);
  index.Balance();
  EXPECT_NE(index.GetSeed(), 0u);
  EXPECT_LE(index.GetLongestProbe(), CMessageIndex::GetProbeLimit(index.GetCapacity()));
  for (uint32_t n = 0; n < arrIds.size(); ++n)
    EXPECT_EQ(index.Find(arrIds[n]), n < 200 ? n : CMessageIndex::kAbsent) << arrIds[n];
}

}  // namespace
