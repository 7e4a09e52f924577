// Entity levels: codes and ids from entity texts, the level text and its parts.
#include <gtest/gtest.h>

#include <string>

#include "model/EntityLevel.h"
#include "model/RmsDetails.h"
#include "tests/support/TestMessage.h"

namespace {

TEST(EntityLevelTest, CodeAndIdFromTheEntityText) {
  const struct { std::string strText; uint32_t nLevel; std::string strId; } arrCases[] = {
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
  for (const auto& row : arrCases) {
    CRmsDetails record;
    EXPECT_TRUE(ReadEntityLevel(CTestMessage({{rmsproto::kEntityTextField, row.strText}}).Get(), record));
    EXPECT_EQ(record.nLevel, row.nLevel) << row.strText;
    EXPECT_EQ(record.GetEntityId(), row.strId) << row.strText;
  }
  CRmsDetails record;
  record.nLevel = 3;
  record.SetEntityId("KEPT");
  EXPECT_FALSE(ReadEntityLevel(CTestMessage({{1, "account-X"}}).Get(), record));
  EXPECT_EQ(record.nLevel, 3u);
  EXPECT_EQ(record.GetEntityId(), "KEPT");
}

TEST(EntityLevelTest, LevelTextPrefers54244Over32760) {
  const struct { const char* szName; FieldList arrFields; bool bFound; std::string strLevelText; } arrCases[] = {
      {"both", {{54244, "CM-NSE-NRML"}, {32760, "FO-NSE-MIS"}}, true, "CM-NSE-NRML"},
      {"fallback", {{32760, "FO-NSE-MIS"}}, true, "FO-NSE-MIS"},
      {"empty first", {{54244, ""}, {32760, "FO-NSE-MIS"}}, true, ""},
      {"neither", {{1, "x"}}, false, ""},
  };
  for (const auto& row : arrCases) {
    CRmsDetails record;
    EXPECT_EQ(ReadLevelText(CTestMessage(row.arrFields).Get(), record), row.bFound) << row.szName;
    EXPECT_EQ(record.GetLevelText(), row.strLevelText) << row.szName;
  }
}

TEST(EntityLevelTest, SplittingALevelText) {
  const struct { std::string strText, strSegment, strExchange, strProduct; int nCount; } arrCases[] = {
      {"CM-NSE-NRML", "CM", "NSE", "NRML", 3},
      {"ALL-ALL-ALL-ALL", "ALL", "ALL", "ALL", 4},
      {"CM--NRML", "CM", "NRML", "", 2},  // a run of "-" separates like one
      {"CM", "CM", "", "", 1},
      {"", "", "", "", 0},
      {"A-B-C-D-E", "A", "B", "C", 5},
  };
  for (const auto& row : arrCases) {
    const sLevelTextParts parts = SplitLevelText(row.strText);
    EXPECT_EQ((std::tuple{parts.strSegment, parts.strExchange, parts.strProduct, parts.nCount}),
              (std::tuple{row.strSegment, row.strExchange, row.strProduct, row.nCount})) << row.strText;
  }
}

}  // namespace
