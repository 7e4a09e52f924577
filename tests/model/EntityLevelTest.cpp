// Entity levels: codes and ids from entity texts, the level text and its fallback field,
// level names, and splitting a level text into its parts.
#include <gtest/gtest.h>

#include <string>

#include "model/EntityLevel.h"
#include "model/RmsDetails.h"
#include "tests/support/TestMessage.h"

namespace {

TEST(EntityLevelTest, CodeAndIdFromTheEntityText) {
  const struct {
    std::string strText;
    uint32_t nLevel;
    std::string strId;
  } arrCases[] = {
      {"account-ABC1", 5, "ABC1"},
      {"dealer-D01", 3, "D01"},
      {"group-G-7", 4, "G-7"},
      {"dealer_account-X9", 5, "X9"},   // "account" is looked for first
      {"group dealer-Z", 3, "Z"},       // then "dealer" before "group"
      {"Account-ABC1", 0, "ABC1"},      // case-sensitive
      {"accountABC", 5, "accountABC"},  // no "-": the whole text
      {"-", 0, ""},
      {"", 0, ""},
  };
  for (const auto& testCase : arrCases) {
    const CTestMessage message({{rmsproto::kEntityTextField, testCase.strText}});
    CRmsDetails record;
    EXPECT_TRUE(ReadEntityLevel(message.Get(), record));
    EXPECT_EQ(record.nLevel, testCase.nLevel) << testCase.strText;
    EXPECT_EQ(record.GetEntityId(), testCase.strId) << testCase.strText;
  }
  const CTestMessage noEntity({{1, "account-X"}});
  CRmsDetails record;
  record.nLevel = 3;
  record.SetEntityId("KEPT");
  EXPECT_FALSE(ReadEntityLevel(noEntity.Get(), record));
  EXPECT_EQ(record.nLevel, 3u);
  EXPECT_EQ(record.GetEntityId(), "KEPT");
}

TEST(EntityLevelTest, LevelTextPrefers54244Over32760) {
  const struct {
    const char* szName;
    CTestMessage message;
    bool bFound;
    std::string strLevelText;
  } arrCases[] = {
      {"both", CTestMessage({{54244, "CM-NSE-NRML"}, {32760, "FO-NSE-MIS"}}), true, "CM-NSE-NRML"},
      {"fallback", CTestMessage({{32760, "FO-NSE-MIS"}}), true, "FO-NSE-MIS"},
      {"empty first", CTestMessage({{54244, ""}, {32760, "FO-NSE-MIS"}}), true, ""},
      {"neither", CTestMessage({{1, "x"}}), false, ""},
  };
  for (const auto& testCase : arrCases) {
    CRmsDetails record;
    EXPECT_EQ(ReadLevelText(testCase.message.Get(), record), testCase.bFound);
    EXPECT_EQ(record.GetLevelText(), testCase.strLevelText) << testCase.szName;
  }
}

TEST(EntityLevelTest, SplittingALevelText) {
  const struct {
    std::string strText;
    std::string strSegment;
    std::string strExchange;
    std::string strProduct;
    int nCount;
  } arrCases[] = {
      {"CM-NSE-NRML", "CM", "NSE", "NRML", 3},
      {"ALL-ALL-ALL-ALL", "ALL", "ALL", "ALL", 4},
      {"CM--NRML", "CM", "NRML", "", 2},  // a run of "-" separates like one
      {"CM", "CM", "", "", 1},
      {"", "", "", "", 0},
      {"A-B-C-D-E", "A", "B", "C", 5},
  };
  for (const auto& testCase : arrCases) {
    const sLevelTextParts parts = SplitLevelText(testCase.strText);
    EXPECT_EQ(parts.strSegment, testCase.strSegment) << testCase.strText;
    EXPECT_EQ(parts.strExchange, testCase.strExchange) << testCase.strText;
    EXPECT_EQ(parts.strProduct, testCase.strProduct) << testCase.strText;
    EXPECT_EQ(parts.nCount, testCase.nCount) << testCase.strText;
  }
}

}  // namespace
