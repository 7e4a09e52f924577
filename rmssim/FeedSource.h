// Where the server's feed comes from: made up from the entity tree, or replayed from a recording.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "connect/include/HalvoCodec.h"
#include "rmssim/FeedFile.h"
#include "rmssim/FeedGenerator.h"
#include "rmssim/FeedLedger.h"

class CCallBook;

class CFeedSource {
 public:
  virtual ~CFeedSource() = default;
  // The next message and its publication name (the topic); both last until the next call.
  // False at the end of the feed.
  virtual bool Next(const std::vector<uint8_t>*& pBytes, std::string_view& strName) = 0;
  // Notes the message Next gave last, sent at nSentNs.
  virtual void NoteLast(CFeedLedger& ledger, int64_t nSentNs) = 0;
};

class CGeneratedFeed final : public CFeedSource {
 public:
  // The call statuses and manual alerts of the feed are kept in calls like a client's.
  CGeneratedFeed(CEntityTree& tree, CCallBook& calls, uint64_t nSeed, uint32_t nDeleteEvery,
                 uint32_t nEventsEvery)
      : m_tree(tree), m_calls(calls), m_generator(tree, nSeed, nDeleteEvery, nEventsEvery) {}
  bool Next(const std::vector<uint8_t>*& pBytes, std::string_view& strName) override;
  void NoteLast(CFeedLedger& ledger, int64_t nSentNs) override;

 private:
  CEntityTree& m_tree;
  CCallBook& m_calls;
  CFeedGenerator m_generator;
  CMessageBuilder m_builder;
};

class CReplayedFeed final : public CFeedSource {
 public:
  // Opens the recording; false with the reason when it cannot be read.
  bool Open(const std::string& strPath, std::string& strError) { return m_reader.Open(strPath, strError); }
  bool Next(const std::vector<uint8_t>*& pBytes, std::string_view& strName) override;
  void NoteLast(CFeedLedger& ledger, int64_t nSentNs) override;

 private:
  CFeedReader m_reader;
  std::vector<uint8_t> m_arrMessage;
  std::string m_strName;
};
