#include "model/RecordMemory.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

struct sBlock { unsigned char* pBytes; size_t nAsked; size_t nSize; unsigned char nMark; };

sBlock Fill(size_t nAsked, unsigned char nMark) {
  const size_t nSize = recordmemory::GetBlockSize(nAsked);
  EXPECT_GE(nSize, nAsked);
  auto* pBytes = static_cast<unsigned char*>(recordmemory::Allocate(nAsked));
  EXPECT_EQ(reinterpret_cast<uintptr_t>(pBytes) % alignof(std::max_align_t), 0u) << nAsked;
  std::memset(pBytes, nMark, nSize);
  return {pBytes, nAsked, nSize, nMark};
}

bool IsIntact(const sBlock& block) {
  for (size_t n = 0; n < block.nSize; ++n)
    if (block.pBytes[n] != block.nMark) return false;
  return true;
}

}  // namespace

TEST(RecordMemoryTest, BlocksStayApartThroughReuse) {
  const size_t nInUseBefore = recordmemory::GetBytesInUse();
  std::vector<sBlock> arrBlocks;
  size_t nTotal = 0;
  for (size_t n = 0; nTotal < (size_t{80} << 20); ++n) {
    const size_t nAsked = n % 9001;
    arrBlocks.push_back(Fill(nAsked, static_cast<unsigned char>(n * 7 + 1)));
    nTotal += arrBlocks.back().nSize;
  }
  EXPECT_EQ(recordmemory::GetBytesInUse(), nInUseBefore + nTotal);
  for (size_t n = 0; n < arrBlocks.size(); n += 2) {
    ASSERT_TRUE(IsIntact(arrBlocks[n])) << "block " << n;
    recordmemory::Release(arrBlocks[n].pBytes, arrBlocks[n].nSize);
    arrBlocks[n] = Fill(arrBlocks[n].nSize, static_cast<unsigned char>(arrBlocks[n].nMark + 1));
  }
  for (size_t n = 0; n < arrBlocks.size(); ++n) {
    ASSERT_TRUE(IsIntact(arrBlocks[n])) << "block " << n;
    // Given back with the size asked for, or with the size of the block.
    recordmemory::Release(arrBlocks[n].pBytes, n % 2 == 0 ? arrBlocks[n].nAsked : arrBlocks[n].nSize);
  }
  recordmemory::Release(nullptr, 16);
  EXPECT_EQ(recordmemory::GetBytesInUse(), nInUseBefore);
}
