// The server's feed of value changes: each message is a full record of one entity at one level
// text, a few of whose amounts moved. Every nDeleteEvery messages one record is deleted (a
// delete mark) and the record deleted the time before comes back with the next message. Every
// nEventsEvery messages a live record gets a call status or a manual alert, in turn, as a user
// of another terminal would publish them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "rmssim/FeedLedger.h"
#include "rmssim/SimRandom.h"

class CEntityTree;
class CMessageBuilder;

class CFeedGenerator {
 public:
  // nDeleteEvery and nEventsEvery 0: none of them.
  CFeedGenerator(CEntityTree& tree, uint64_t nSeed, uint32_t nDeleteEvery, uint32_t nEventsEvery = 0);

  // Composes the next message of the feed. False, composing nothing, when the tree has no
  // records.
  bool ComposeNext(CMessageBuilder& builder);

  // What the last message composed was: its publication name, its kind and its record.
  std::string_view GetLastTopic() const;
  eLedgerKind GetLastKind() const { return m_eLastKind; }
  size_t GetLastRecord() const { return m_nLastRecord; }

 private:
  size_t PickLiveRecord();
  void ComposeRecord(size_t nRecord, CMessageBuilder& builder);
  void ComposeDeleteMark(size_t nRecord, CMessageBuilder& builder);
  void ComposeCallStatus(size_t nRecord, CMessageBuilder& builder);
  void ComposeManualAlert(size_t nRecord, CMessageBuilder& builder);

  CEntityTree& m_tree;
  CSimRandom m_random;
  uint32_t m_nDeleteEvery;
  uint32_t m_nEventsEvery;
  uint64_t m_nComposed = 0;
  uint64_t m_nEvents = 0;
  eLedgerKind m_eLastKind = eLedgerKind::kValue;
  size_t m_nLastRecord = 0;
  std::optional<size_t> m_nDeleted;     // the record deleted last
  std::optional<size_t> m_nComingBack;  // sent again, whole, with the next message
};
