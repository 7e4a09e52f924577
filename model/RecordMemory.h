// Memory for entity records and their texts. A desk's few hundred thousand records arrive
// within seconds of start-up, and the first touch of fresh memory (a page fault and a zeroed
// page each 4 KiB, far dearer under a hypervisor) was a third of that work. Records are taken
// from regions that a background thread maps and touches one region ahead, so the thread
// handling messages finds its memory ready. A freed block is kept for the next one of its size
// class, not given back.
#pragma once

#include <cstddef>

namespace recordmemory {

// A block of at least nSize bytes, aligned for any record member. Throws std::bad_alloc.
void* Allocate(size_t nSize);
// Gives back a block from Allocate (null is ignored); nSize is the size asked for then, or any
// size up to GetBlockSize of it.
void Release(void* pBlock, size_t nSize) noexcept;
// The size of the block Allocate gives for nSize, all of which the caller may use.
size_t GetBlockSize(size_t nSize);
// The bytes of the blocks given out and not given back, counted by GetBlockSize.
size_t GetBytesInUse();

}  // namespace recordmemory
