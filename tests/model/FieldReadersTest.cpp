// Reading messages: the field readers' presence, byte limits and NUL bytes, what a failed read
// leaves behind, and entity levels from entity texts.
#include <gtest/gtest.h>

#include <string>

#include "model/EntityLevel.h"
#include "model/FieldReaders.h"
#include "model/RmsDetails.h"
#include "tests/support/TestMessage.h"

namespace {

TEST(FieldReadersTest, TextIsTheValueUpToItsFirstNul) {
  const CTestMessage message({{1, "CM-NSE-NRML"}, {2, ""}, {3, std::string("ab\0cd", 5)}});
  const struct { uint32_t nField; bool bPresent; std::string strText; } arrCases[] = {
      {1, true, "CM-NSE-NRML"}, {2, true, ""}, {3, true, "ab"}, {4, false, ""}};
  for (const auto& row : arrCases) {
    std::string strText = "stale";
    EXPECT_EQ(ReadFieldText(message.Get(), row.nField, strText), row.bPresent);
    EXPECT_EQ(strText, row.strText) << row.nField;
  }
}

TEST(FieldReadersTest, IntegersReadTheFirst31Bytes) {
  const CTestMessage message({{1, "  -42x"}, {2, std::string(30, '0') + "12"}, {3, "3000000000"},
                              {4, "-3000000000"}, {5, "none"}, {6, std::string("7\0" "8", 3)}});
  // Field 2's 31st byte is the "1"; absent field 9 leaves the values untouched.
  const struct { uint32_t nField; bool bPresent; int32_t nInt; int64_t nLong; } arrCases[] = {
      {1, true, -42, -42}, {2, true, 1, 1}, {3, true, 2147483647, 3000000000},
      {4, true, -2147483647 - 1, -3000000000}, {5, true, 0, 0}, {6, true, 7, 7}, {9, false, -99, -99}};
  for (const auto& row : arrCases) {
    int32_t nInt = -99;
    int64_t nLong = -99;
    EXPECT_EQ(ReadFieldInt(message.Get(), row.nField, nInt), row.bPresent);
    EXPECT_EQ(ReadFieldInt(message.Get(), row.nField, nLong), row.bPresent);
    EXPECT_EQ(nInt, row.nInt) << row.nField;
    EXPECT_EQ(nLong, row.nLong) << row.nField;
  }
}

TEST(FieldReadersTest, DecimalsReadTheFirst63Bytes) {
  const CTestMessage message({{1, "0." + std::string(60, '0') + "15"}, {2, "0." + std::string(61, '0') + "5"},
                              {3, "-1e-2"}, {4, "zz"}, {5, std::string("2.5\0" "9", 5)}});
  // Field 1 reads "...01" of 63 bytes, its "5" cut; field 2's "5" is the 64th byte.
  const struct { uint32_t nField; bool bPresent; double dValue; } arrCases[] = {
      {1, true, 1e-61}, {2, true, 0.0}, {3, true, -0.01}, {4, true, 0.0}, {5, true, 2.5}, {9, false, -99.0}};
  for (const auto& row : arrCases) {
    double dValue = -99.0;
    EXPECT_EQ(ReadFieldDouble(message.Get(), row.nField, dValue), row.bPresent);
    EXPECT_EQ(dValue, row.dValue) << row.nField;
  }
  double dValue = -99.0;
  EXPECT_FALSE(ReadFieldDouble(nullptr, 1, dValue));
  EXPECT_EQ(dValue, -99.0);
}


TEST(EntityLevelTest, CodeAndIdFromTheEntityText) {
  // "account" is looked for first, then "dealer" before "group", case-sensitive; without a "-"
  // the id is the whole text.
  const struct { std::string strText; uint32_t nLevel; std::string strId; } arrCases[] = {
      {"account-ABC1", 5, "ABC1"}, {"dealer-D01", 3, "D01"}, {"group-G-7", 4, "G-7"},
      {"dealer_account-X9", 5, "X9"}, {"group dealer-Z", 3, "Z"}, {"Account-ABC1", 0, "ABC1"},
      {"accountABC", 5, "accountABC"}, {"-", 0, ""}, {"", 0, ""}};
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
      {"empty first", {{54244, ""}, {32760, "FO-NSE-MIS"}}, true, ""}, {"neither", {{1, "x"}}, false, ""}};
  for (const auto& row : arrCases) {
    CRmsDetails record;
    EXPECT_EQ(ReadLevelText(CTestMessage(row.arrFields).Get(), record), row.bFound) << row.szName;
    EXPECT_EQ(record.GetLevelText(), row.strLevelText) << row.szName;
  }
}

TEST(EntityLevelTest, SplittingALevelText) {
  // A run of "-" separates like one.
  const struct { std::string strText, strSegment, strExchange, strProduct; int nCount; } arrCases[] = {
      {"CM-NSE-NRML", "CM", "NSE", "NRML", 3}, {"ALL-ALL-ALL-ALL", "ALL", "ALL", "ALL", 4},
      {"CM--NRML", "CM", "NRML", "", 2}, {"CM", "CM", "", "", 1}, {"", "", "", "", 0}, {"A-B-C-D-E", "A", "B", "C", 5}};
  for (const auto& row : arrCases) {
    const sLevelTextParts parts = SplitLevelText(row.strText);
    EXPECT_EQ((std::tuple{parts.strSegment, parts.strExchange, parts.strProduct, parts.nCount}),
              (std::tuple{row.strSegment, row.strExchange, row.strProduct, row.nCount})) << row.strText;
  }
}

}  // namespace
