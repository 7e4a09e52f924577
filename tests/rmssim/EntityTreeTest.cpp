// The entity tree: who is in it, at which level texts, full records, and how a record moves.
#include <gtest/gtest.h>

#include <charconv>
#include <map>
#include <set>

#include "model/RmsDetails.h"
#include "model/RmsValueParser.h"
#include "model/RmsWireTable.h"
#include "rmssim/EntityTree.h"
#include "rmssim/SimFields.h"
#include "rmssim/SimRandom.h"
#include "tests/support/TestMessage.h"

namespace {

std::vector<uint8_t> ComposeRecord(const CSimRecord& record) {
  CMessageBuilder builder;
  record.AppendFields(builder);
  return builder.GetBytes();
}

TEST(EntityTreeTest, EntitiesOfEveryLevelWithTheirTexts) {
  const CEntityTree tree(sTreeSize{}, 1);
  std::map<uint32_t, int> mapCounts;
  std::set<std::string> setBranches;
  for (const sSimEntity& entity : tree.GetEntities()) {
    ++mapCounts[entity.nLevel];
    if (entity.nLevel == 2) setBranches.insert(entity.strId);
  }
  EXPECT_EQ(mapCounts, (std::map<uint32_t, int>{{1, 1}, {2, 4}, {3, 20}, {4, 10}, {5, 1000}}));
  EXPECT_EQ(setBranches, (std::set<std::string>{"MUMBAI1", "DELHI1", "CHENNAI1", "KOLKATA1"}));
  const std::tuple<size_t, const char*, const char*> arrRows[] = {{0, "broker-BRK01", "brk01@example.in"},
      {11, "dealer-D07", "d07@example.in"}, {35 + 22, "account-A10023", "a10023@example.in"}};
  for (const auto& [nIndex, szEntityText, szEmail] : arrRows)
    EXPECT_EQ(tree.GetEntities()[nIndex].strEntityText + " " + tree.GetEntities()[nIndex].strEmail,
              std::string(szEntityText) + " " + szEmail);
  const std::set<std::string> setCategories = {"RETAIL", "HNI", "CORPORATE", "NRI", "PRO"};
  for (const sSimEntity& entity : tree.GetEntities()) {
    if (entity.nLevel == 1) { EXPECT_EQ(entity.strBranch, "HO"); }
    if (entity.nLevel >= 2) { EXPECT_TRUE(setBranches.contains(entity.strBranch)) << entity.strEntityText; }
    if (entity.nLevel == 5) { EXPECT_TRUE(setCategories.contains(entity.strCategory)) << entity.strEntityText; }
  }
}

TEST(EntityTreeTest, LevelTextsByEntityLevel) {
  CEntityTree tree(sTreeSize{1, 2, 3, 2, 200}, 5);
  std::map<std::string, std::set<std::string>> mapLevels;
  for (const CSimRecord& record : tree.GetRecords())
    mapLevels[record.GetEntity().strEntityText].insert(record.GetLevelText());
  const std::set<std::string> setAll(GetSimLevelTexts().begin(), GetSimLevelTexts().end());
  EXPECT_EQ(mapLevels["broker-BRK01"], setAll);
  EXPECT_EQ(mapLevels["branch-DELHI1"], setAll);
  EXPECT_EQ(mapLevels["dealer-D03"], (std::set<std::string>{"ALL-ALL-ALL-ALL", "CM-NSE-NRML", "FO-NFO-NRML"}));
  EXPECT_EQ(mapLevels["group-G02"], mapLevels["dealer-D03"]);
  size_t nAccountsAtMore = 0;
  for (const sSimEntity& entity : tree.GetEntities()) {
    if (entity.nLevel != 5) continue;
    EXPECT_TRUE(mapLevels[entity.strEntityText].contains("ALL-ALL-ALL-ALL")) << entity.strEntityText;
    nAccountsAtMore += mapLevels[entity.strEntityText].size() > 1 ? 1 : 0;
  }
  EXPECT_TRUE(nAccountsAtMore > 50u && nAccountsAtMore < 200u) << nAccountsAtMore;

  CSimRecord* pRecord = tree.FindById("A10002", "ALL-ALL-ALL-ALL");
  ASSERT_NE(pRecord, nullptr);
  EXPECT_EQ(tree.FindByText("account-A10002", "ALL-ALL-ALL-ALL"), pRecord);
  EXPECT_EQ(tree.FindById("account-A10002", "ALL-ALL-ALL-ALL"), nullptr);
  EXPECT_EQ(tree.FindById("D01", "CD-NSE-MIS"), nullptr);
  // The segment, exchange and product fields follow the level text.
  for (const auto& [szLevelText, szParts] :
       {std::pair{"ALL-ALL-ALL-ALL", "All All All"}, {"CD-NSE-MIS", "CD NSE MIS"}}) {
    const std::vector<uint8_t> arrBytes = ComposeRecord(*tree.FindById("BRK01", szLevelText));
    EXPECT_EQ(
        *ReadField(arrBytes, 63002) + " " + *ReadField(arrBytes, 10101) + " " + *ReadField(arrBytes, 64030),
        szParts);
  }
}

// Every field of the model's wire table is there and reads as its rule says; the data model
// parses the record with no slot left at its text for an absent field.
TEST(EntityTreeTest, RecordsAreFullRecords) {
  const CEntityTree tree(sTreeSize{1, 2, 3, 2, 30}, 3);
  for (const CSimRecord& record : tree.GetRecords()) {
    SCOPED_TRACE(record.GetEntity().strEntityText + " " + record.GetLevelText());
    const std::vector<uint8_t> arrBytes = ComposeRecord(record);
    for (const sWireRule& rule : rmswire::kRules) {
      if (rule.eRule == eValueRule::kReceiver) continue;
      const std::optional<std::string> strValue = ReadField(arrBytes, rule.nField);
      ASSERT_TRUE(strValue.has_value()) << rule.nField;
      SCOPED_TRACE(std::to_string(rule.nField) + " " + *strValue);
      const char* pEnd = strValue->data() + strValue->size();
      int64_t nValue = 0;
      double dValue = 0;
      if (rule.eRule == eValueRule::kInt32 || rule.eRule == eValueRule::kInt64) {
        EXPECT_EQ(std::from_chars(strValue->data(), pEnd, nValue).ptr, pEnd);
      } else if (rule.eRule != eValueRule::kText) {
        EXPECT_EQ(std::from_chars(strValue->data(), pEnd, dValue).ptr, pEnd);
        const size_t nDecimals = strValue->size() - strValue->find('.') - 1;
        EXPECT_TRUE(nDecimals == 2 || nDecimals == 4);
      }
    }
    const sSimEntity& entity = record.GetEntity();
    const FieldList arrExpected = {{64050, entity.strEntityText}, {54244, record.GetLevelText()},
        {54002, entity.strName}, {41234, entity.strEmail}, {64053, entity.strBranch}, {64056, entity.strBranch},
        {64037, entity.bGroupwiseValidation ? "yes" : "no"}};
    for (const auto& [nField, strValue] : arrExpected)
      EXPECT_EQ(ReadField(arrBytes, nField), strValue) << nField;

    CRmsDetails details;
    details.nLevel = entity.nLevel;
    ParseRmsValues(CTestMessage(arrBytes).Get(), details);
    for (const sWireRule& rule : rmswire::kRules) {
      const bool bFromMessage = rule.eRule != eValueRule::kReceiver &&
                                (rule.eRule != eValueRule::kBranchDecimal2 || details.nLevel == 2);
      if (bFromMessage && rule.slot.nColumn >= 0) {
        EXPECT_NE(details.GetColumnSlotText(rule.slot.nColumn), rule.szAbsent) << "column " << rule.slot.nColumn;
      }
    }
  }
}

// A move changes one to five moving amounts; amounts stay at or above zero, losses go below it.
TEST(EntityTreeTest, AMoveChangesAFewAmounts) {
  CEntityTree tree(sTreeSize{1, 1, 1, 1, 5}, 1);
  CSimRandom random(4);
  std::map<uint32_t, eSimShape> mapShapes;
  for (const sSimField& field : GetSimFields()) mapShapes[field.nField] = field.eShape;
  bool bSawNegative = false;
  for (int nMove = 0; nMove < 500; ++nMove) {
    CSimRecord& record = tree.GetRecords()[static_cast<size_t>(nMove) % tree.GetRecords().size()];
    const FieldList arrBefore = ListFields(ComposeRecord(record));
    record.Move(random);
    const FieldList arrAfter = ListFields(ComposeRecord(record));
    ASSERT_EQ(arrBefore.size(), arrAfter.size());
    int nChanged = 0;
    for (size_t n = 0; n < arrBefore.size(); ++n) {
      if (arrBefore[n] == arrAfter[n]) continue;
      ++nChanged;
      const eSimShape eShape = mapShapes.at(arrAfter[n].first);
      ASSERT_TRUE(IsMovingShape(eShape)) << arrAfter[n].first;
      if (eShape == eSimShape::kAmount) { EXPECT_NE(arrAfter[n].second[0], '-') << arrAfter[n].first; }
      bSawNegative |= arrAfter[n].second[0] == '-';
    }
    EXPECT_TRUE(nChanged >= 1 && nChanged <= 5) << nChanged;
  }
  EXPECT_TRUE(bSawNegative);
}

}  // namespace
