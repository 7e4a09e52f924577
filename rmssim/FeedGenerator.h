// The server's feed of value changes: each message is a full record of one entity at one level
// text, a few of whose amounts moved. Every nDeleteEvery messages one record is deleted (a
// delete mark) and the record deleted the time before comes back with the next message.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "rmssim/SimRandom.h"

class CEntityTree;
class CMessageBuilder;

class CFeedGenerator {
 public:
  // nDeleteEvery 0: no deletes.
  CFeedGenerator(CEntityTree& tree, uint64_t nSeed, uint32_t nDeleteEvery);

  // Composes the next message of the feed, publication name "rms prsnt value publish". False,
  // composing nothing, when the tree has no records.
  bool ComposeNext(CMessageBuilder& builder);

 private:
  size_t PickLiveRecord();
  void ComposeRecord(size_t nRecord, CMessageBuilder& builder) const;
  void ComposeDeleteMark(size_t nRecord, CMessageBuilder& builder) const;

  CEntityTree& m_tree;
  CSimRandom m_random;
  uint32_t m_nDeleteEvery;
  uint64_t m_nComposed = 0;
  std::optional<size_t> m_nDeleted;     // the record deleted last
  std::optional<size_t> m_nComingBack;  // sent again, whole, with the next message
};
