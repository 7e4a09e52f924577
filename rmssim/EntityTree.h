// The entities the server reports on and their records: brokers, branches, dealers, groups
// and accounts, each at one or more level texts. Made up from a seed, the same every time.
#pragma once

#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "rmssim/SimRecord.h"

struct sTreeSize {
  uint32_t nBrokers = 1;
  uint32_t nBranches = 4;
  uint32_t nDealers = 20;
  uint32_t nGroups = 10;
  uint32_t nAccounts = 1000;
};

// The level texts records are kept at; every entity has the first.
std::span<const char* const> GetSimLevelTexts();

class CEntityTree {
 public:
  CEntityTree(const sTreeSize& size, uint64_t nSeed);
  CEntityTree(const CEntityTree&) = delete;
  CEntityTree& operator=(const CEntityTree&) = delete;

  const std::deque<sSimEntity>& GetEntities() const { return m_arrEntities; }
  std::vector<CSimRecord>& GetRecords() { return m_arrRecords; }
  const std::vector<CSimRecord>& GetRecords() const { return m_arrRecords; }

  // The record of an entity id ("A10023") or entity text ("account-A10023") at a level text;
  // null when there is none.
  CSimRecord* FindById(std::string_view strEntityId, std::string_view strLevelText);
  CSimRecord* FindByText(std::string_view strEntityText, std::string_view strLevelText);

  // The peer value of a user: the branch of the dealer or branch with the user's id, else the
  // first branch.
  std::string GetUserPeerValue(std::string_view strUserId) const;

 private:
  void AddRecords(CSimRandom& random);
  static std::string MakeKey(std::string_view strEntityId, std::string_view strLevelText);

  std::deque<sSimEntity> m_arrEntities;  // a deque: records point at its elements
  std::vector<CSimRecord> m_arrRecords;
  std::unordered_map<std::string, size_t> m_mapById;    // "id|level text" to record index
  std::unordered_map<std::string, size_t> m_mapByText;  // "entity text|level text"
};
