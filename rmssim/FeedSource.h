// Where the server's feed comes from: made up from the entity tree, or replayed from a recording.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "connect/include/HalvoCodec.h"
#include "rmssim/FeedFile.h"
#include "rmssim/FeedGenerator.h"

class CFeedSource {
 public:
  virtual ~CFeedSource() = default;
  // The next message and its publication name (the topic); both last until the next call.
  // False at the end of the feed.
  virtual bool Next(const std::vector<uint8_t>*& pBytes, std::string_view& strName) = 0;
};

class CGeneratedFeed final : public CFeedSource {
 public:
  CGeneratedFeed(CEntityTree& tree, uint64_t nSeed, uint32_t nDeleteEvery)
      : m_generator(tree, nSeed, nDeleteEvery) {}
  bool Next(const std::vector<uint8_t>*& pBytes, std::string_view& strName) override;

 private:
  CFeedGenerator m_generator;
  CMessageBuilder m_builder;
};

class CReplayedFeed final : public CFeedSource {
 public:
  // Opens the recording; false with the reason when it cannot be read.
  bool Open(const std::string& strPath, std::string& strError) { return m_reader.Open(strPath, strError); }
  bool Next(const std::vector<uint8_t>*& pBytes, std::string_view& strName) override;

 private:
  CFeedReader m_reader;
  std::vector<uint8_t> m_arrMessage;
  std::string m_strName;
};
