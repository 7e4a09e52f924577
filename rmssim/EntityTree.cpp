#include "rmssim/EntityTree.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>

#include "rmssim/SimRandom.h"

namespace {

constexpr std::array<const char*, 4> kLevelTexts = {"ALL-ALL-ALL-ALL", "CM-NSE-NRML", "FO-NFO-NRML",
                                                    "CD-NSE-MIS"};

constexpr std::array<const char*, 12> kCities = {"MUMBAI", "DELHI",     "CHENNAI", "KOLKATA",
                                                 "PUNE",   "AHMEDABAD", "JAIPUR",  "SURAT",
                                                 "INDORE", "NAGPUR",    "LUCKNOW", "KOCHI"};
constexpr std::array<const char*, 16> kFirstNames = {"Ravi",  "Anita", "Suresh", "Priya", "Vikram", "Meena",
                                                     "Arjun", "Kavya", "Rahul",  "Divya", "Sanjay", "Pooja",
                                                     "Amit",  "Neha",  "Kiran",  "Deepa"};
constexpr std::array<const char*, 12> kLastNames = {"Sharma", "Iyer",  "Patel", "Reddy",  "Nair",  "Gupta",
                                                    "Mehta",  "Joshi", "Rao",   "Kapoor", "Desai", "Menon"};
constexpr std::array<const char*, 4> kRemarks = {"Regular", "KYC verified", "Auto square-off",
                                                 "Margin shortfall watch"};

std::string FormatId(const char* szPrefix, uint32_t nNumber, int nWidth) {
  char szId[32];
  std::snprintf(szId, sizeof szId, "%s%0*u", szPrefix, nWidth, nNumber);
  return szId;
}

std::string ToLower(std::string strText) {
  std::transform(strText.begin(), strText.end(), strText.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return strText;
}

std::string MakePersonName(CSimRandom& random) {
  return std::string(kFirstNames[random.Index(kFirstNames.size())]) + " " +
         kLastNames[random.Index(kLastNames.size())];
}

const char* ChooseAccountCategory(CSimRandom& random) {
  const double dDraw = random.Unit();
  if (dDraw < 0.60) return "RETAIL";
  if (dDraw < 0.80) return "HNI";
  if (dDraw < 0.90) return "CORPORATE";
  if (dDraw < 0.95) return "NRI";
  return "PRO";
}

const char* GetLevelWord(uint32_t nLevel) {
  switch (nLevel) {
    case 1:
      return "broker";
    case 2:
      return "branch";
    case 3:
      return "dealer";
    case 4:
      return "group";
    default:
      return "account";
  }
}

sSimEntity MakeEntity(uint32_t nLevel, std::string strId, std::string strName, std::string strBranch,
                      double dScale) {
  sSimEntity entity;
  entity.nLevel = nLevel;
  entity.strEntityText = std::string(GetLevelWord(nLevel)) + "-" + strId;
  entity.strEmail = ToLower(strId) + "@example.in";
  entity.strId = std::move(strId);
  entity.strName = std::move(strName);
  entity.strBranch = std::move(strBranch);
  entity.strRemarks = kRemarks[0];
  entity.dScale = dScale;
  return entity;
}

// Brokers and branches are reported at every level text; dealers and groups at the first
// three; an account at "ALL-ALL-ALL-ALL" and at each other level text with odds of 0.4.
bool IsKeptAtLevel(uint32_t nEntityLevel, size_t nLevelText, CSimRandom& random) {
  if (nLevelText == 0 || nEntityLevel <= 2) return true;
  if (nEntityLevel == 3 || nEntityLevel == 4) return nLevelText < 3;
  return random.Chance(0.4);
}

}  // namespace

std::span<const char* const> GetSimLevelTexts() { return kLevelTexts; }

CEntityTree::CEntityTree(const sTreeSize& size, uint64_t nSeed) {
  CSimRandom random(nSeed);
  const double dAccounts = std::max(1.0, static_cast<double>(size.nAccounts));
  const auto ScaleFor = [dAccounts](uint32_t nCount) {
    return std::max(1.0, dAccounts / std::max(1u, nCount));
  };

  for (uint32_t n = 1; n <= size.nBrokers; ++n) {
    sSimEntity broker = MakeEntity(1, FormatId("BRK", n, 2), "Broker House " + std::to_string(n), "HO",
                                   ScaleFor(size.nBrokers));
    broker.strCategory = "BROKER";
    m_arrEntities.push_back(std::move(broker));
  }
  std::vector<std::string> arrBranches;
  for (uint32_t n = 0; n < size.nBranches; ++n) {
    const std::string strCity = kCities[n % kCities.size()];
    const std::string strNumber = std::to_string(n / kCities.size() + 1);
    arrBranches.push_back(strCity + strNumber);
    std::string strName = strCity.substr(0, 1) + ToLower(strCity.substr(1)) + " Branch " + strNumber;
    sSimEntity branch =
        MakeEntity(2, arrBranches.back(), std::move(strName), arrBranches.back(), ScaleFor(size.nBranches));
    branch.strCategory = "BRANCH";
    m_arrEntities.push_back(std::move(branch));
  }
  const auto BranchOf = [&arrBranches](uint32_t n) {
    return arrBranches.empty() ? std::string("HO") : arrBranches[n % arrBranches.size()];
  };
  std::vector<std::string> arrDealerBranches;
  for (uint32_t n = 1; n <= size.nDealers; ++n) {
    arrDealerBranches.push_back(BranchOf(n - 1));
    sSimEntity dealer =
        MakeEntity(3, FormatId("D", n, 2), MakePersonName(random), BranchOf(n - 1), ScaleFor(size.nDealers));
    dealer.strCategory = "DEALER";
    m_arrEntities.push_back(std::move(dealer));
  }
  for (uint32_t n = 1; n <= size.nGroups; ++n) {
    sSimEntity group = MakeEntity(4, FormatId("G", n, 2), "Group " + FormatId("", n, 2), BranchOf(n - 1),
                                  ScaleFor(size.nGroups));
    group.strCategory = "GROUP";
    m_arrEntities.push_back(std::move(group));
  }
  for (uint32_t n = 0; n < size.nAccounts; ++n) {
    // An account belongs to a dealer's branch.
    const std::string strBranch =
        arrDealerBranches.empty() ? BranchOf(n) : arrDealerBranches[random.Index(arrDealerBranches.size())];
    sSimEntity account = MakeEntity(5, FormatId("A", 10001 + n, 5), MakePersonName(random), strBranch, 1.0);
    account.strCategory = ChooseAccountCategory(random);
    account.strRemarks = kRemarks[random.Index(kRemarks.size())];
    account.bGroupwiseValidation = random.Chance(0.3);
    m_arrEntities.push_back(std::move(account));
  }
  AddRecords(random);
}

void CEntityTree::AddRecords(CSimRandom& random) {
  for (const sSimEntity& entity : m_arrEntities) {
    for (size_t nLevel = 0; nLevel < kLevelTexts.size(); ++nLevel) {
      if (!IsKeptAtLevel(entity.nLevel, nLevel, random)) continue;
      const size_t nIndex = m_arrRecords.size();
      m_arrRecords.emplace_back(entity, kLevelTexts[nLevel], random);
      m_mapById.emplace(MakeKey(entity.strId, kLevelTexts[nLevel]), nIndex);
      m_mapByText.emplace(MakeKey(entity.strEntityText, kLevelTexts[nLevel]), nIndex);
    }
  }
}

std::string CEntityTree::MakeKey(std::string_view strEntityId, std::string_view strLevelText) {
  std::string strKey(strEntityId);
  strKey += '|';
  strKey += strLevelText;
  return strKey;
}

CSimRecord* CEntityTree::FindById(std::string_view strEntityId, std::string_view strLevelText) {
  const auto it = m_mapById.find(MakeKey(strEntityId, strLevelText));
  return it == m_mapById.end() ? nullptr : &m_arrRecords[it->second];
}

CSimRecord* CEntityTree::FindByText(std::string_view strEntityText, std::string_view strLevelText) {
  const auto it = m_mapByText.find(MakeKey(strEntityText, strLevelText));
  return it == m_mapByText.end() ? nullptr : &m_arrRecords[it->second];
}

std::string CEntityTree::GetUserPeerValue(std::string_view strUserId) const {
  for (const sSimEntity& entity : m_arrEntities) {
    if (entity.strId == strUserId && (entity.nLevel == 2 || entity.nLevel == 3)) return entity.strBranch;
  }
  for (const sSimEntity& entity : m_arrEntities) {
    if (entity.nLevel == 2) return entity.strBranch;
  }
  return "HO";
}
