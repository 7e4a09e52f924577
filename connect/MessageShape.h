// The field ids of a message in written order, and the look-up from an id to its place. Senders
// write every message of one kind with the same fields in the same order, so a parsing thread
// keeps the few shapes it met last and a message of a known shape only notes where each of its
// fields starts: no look-up table of its own to clear and fill. A shape is found by the ids as
// a message writes them: the ids themselves in format version 1, their steps in version 2,
// which the walk of a message then need not add up.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "connect/MessageIndex.h"

class CMessageShape {
 public:
  static constexpr uint32_t kAbsent = CMessageIndex::kAbsent;

  // Null when an id repeats. Throws std::bad_alloc.
  static std::shared_ptr<const CMessageShape> Create(std::vector<uint32_t> arrIds);

  uint32_t GetCount() const { return static_cast<uint32_t>(m_arrIds.size()); }
  uint32_t GetId(uint32_t nPlace) const { return m_arrIds[nPlace]; }
  // The place of an id among the fields, or kAbsent.
  uint32_t FindPlace(uint32_t nFieldId) const { return m_index.Find(nFieldId); }
  std::span<const uint32_t> GetIds() const { return m_arrIds; }
  // The id steps of version 2 that write these ids.
  std::span<const uint32_t> GetSteps() const { return m_arrSteps; }

 private:
  std::vector<uint32_t> m_arrIds;
  std::vector<uint32_t> m_arrSteps;
  CMessageIndex m_index;  // id -> place
};

// The shapes one thread met last.
class CShapeCache {
 public:
  // The shape of the fields written in this order, as ids or (bSteps) as id steps; made when
  // none is kept. Null when an id repeats. Throws std::bad_alloc.
  std::shared_ptr<const CMessageShape> Find(std::span<const uint32_t> arrWritten, bool bSteps);

 private:
  // Risk values, call statuses, alerts, answers and heartbeats: a handful of kinds.
  static constexpr size_t kEntries = 8;
  std::array<std::shared_ptr<const CMessageShape>, kEntries> m_arrEntries;
  size_t m_nLast = 0;  // the entry met last
  size_t m_nNext = 0;  // the entry a new shape takes, in turn
};
