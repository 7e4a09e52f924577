#include "model/RecordMemory.h"

#include <sys/mman.h>

#include <array>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <utility>

namespace {

constexpr size_t kGranule = 16;
// A record's texts take about 2 KiB; longer blocks are rare and come from the general heap.
constexpr size_t kLargestPooled = 8192;
constexpr size_t kClassCount = kLargestPooled / kGranule;
// About 15,000 records; touching one takes the background thread tens of milliseconds.
constexpr size_t kRegionSize = size_t{32} << 20;

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer checks the bounds of blocks it hands out itself.
constexpr bool kPooled = false;
#else
constexpr bool kPooled = true;
#endif

std::atomic<size_t> g_nBytesInUse{0};

bool IsPooled(size_t nSize) { return kPooled && nSize <= kLargestPooled; }
size_t GetClass(size_t nSize) { return nSize == 0 ? 0 : (nSize - 1) / kGranule; }

// A fresh region; null when the system has no memory.
char* MapRegion() {
  void* pRegion = mmap(nullptr, kRegionSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  return pRegion == MAP_FAILED ? nullptr : static_cast<char*>(pRegion);
}

// Faults the pages in a chunk at a time: populating the whole region in one call would hold
// the address space lock long enough to stall every thread that allocates meanwhile, and one
// fault per page costs several times more.
void TouchRegion(char* pRegion) {
  constexpr size_t kChunk = size_t{256} << 10;
  constexpr size_t kPage = 4096;
  for (size_t nOffset = 0; nOffset < kRegionSize; nOffset += kChunk) {
    if (madvise(pRegion + nOffset, kChunk, MADV_POPULATE_WRITE) == 0) continue;
    // Kernels without the call: one page at a time.
    for (size_t nPage = nOffset; nPage < nOffset + kChunk; nPage += kPage)
      static_cast<volatile char*>(pRegion)[nPage] = 0;
  }
}

class CRecordPool {
 public:
  CRecordPool() {
    try {
      std::thread(&CRecordPool::PrepareRegions, this).detach();
    } catch (const std::system_error&) {
      // Without the thread every region is mapped when it is needed.
    }
  }

  void* Allocate(size_t nClass) {
    std::lock_guard lock(m_mutex);
    if (sFreeBlock* pFree = m_arrFree[nClass]) {
      m_arrFree[nClass] = pFree->pNext;
      return pFree;
    }
    const size_t nSize = (nClass + 1) * kGranule;
    if (m_nLeft < nSize) TakeRegion();
    void* pBlock = m_pNext;
    m_pNext += nSize;
    m_nLeft -= nSize;
    return pBlock;
  }

  void Release(void* pBlock, size_t nClass) {
    std::lock_guard lock(m_mutex);
    m_arrFree[nClass] = new (pBlock) sFreeBlock{m_arrFree[nClass]};
  }

 private:
  struct sFreeBlock {
    sFreeBlock* pNext;
  };

  // The rest of the current region, shorter than the block asked for, stays unused.
  void TakeRegion() {
    char* pRegion = std::exchange(m_pReady, nullptr);
    if (pRegion == nullptr) pRegion = MapRegion();
    if (pRegion == nullptr) throw std::bad_alloc();
    m_pNext = pRegion;
    m_nLeft = kRegionSize;
    m_cvTaken.notify_one();
  }

  // Keeps one touched region ready while the pool is in use.
  void PrepareRegions() {
    std::unique_lock lock(m_mutex);
    for (;;) {
      m_cvTaken.wait(lock, [this] { return m_pReady == nullptr; });
      lock.unlock();
      char* pRegion = MapRegion();
      if (pRegion != nullptr) TouchRegion(pRegion);
      lock.lock();
      if (pRegion == nullptr) return;
      m_pReady = pRegion;
    }
  }

  std::mutex m_mutex;
  std::condition_variable m_cvTaken;
  std::array<sFreeBlock*, kClassCount> m_arrFree{};
  char* m_pNext = nullptr;
  size_t m_nLeft = 0;
  char* m_pReady = nullptr;
};

// Never destroyed: records may outlive every other static, and the thread uses it.
CRecordPool& GetPool() {
  static CRecordPool& s_pool = *new CRecordPool;
  return s_pool;
}

}  // namespace

namespace recordmemory {

void* Allocate(size_t nSize) {
  void* pBlock = IsPooled(nSize) ? GetPool().Allocate(GetClass(nSize)) : ::operator new(nSize);
  g_nBytesInUse.fetch_add(GetBlockSize(nSize), std::memory_order_relaxed);
  return pBlock;
}

void Release(void* pBlock, size_t nSize) noexcept {
  if (pBlock == nullptr) return;
  g_nBytesInUse.fetch_sub(GetBlockSize(nSize), std::memory_order_relaxed);
  if (!IsPooled(nSize)) {
    ::operator delete(pBlock);
    return;
  }
  GetPool().Release(pBlock, GetClass(nSize));
}

size_t GetBlockSize(size_t nSize) {
  return IsPooled(nSize) ? (GetClass(nSize) + 1) * kGranule : nSize;
}

size_t GetBytesInUse() { return g_nBytesInUse.load(std::memory_order_relaxed); }

}  // namespace recordmemory
