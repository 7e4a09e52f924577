// Reading messages: the field readers' presence, byte limits and NUL bytes, what a failed read
// leaves behind, and entity levels and level texts from a message.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "model/EntityLevel.h"
#include "model/FieldReaders.h"
#include "model/RmsDetails.h"
#include "tests/support/TestMessage.h"

namespace {

// Every reader on every field: a text ends at its first NUL, an integer is read from the first
// 31 bytes (the "1" of field 5 is its 31st) and a decimal from the first 63 (field 12 loses its
// "5", and the "5" of field 13 is its 64th byte). A missing field empties the text and leaves
// the numbers as they were.
TEST(FieldReadersTest, EachReaderOnEachField) {
  const std::string strTiny = "0." + std::string(60, '0') + "1", strZeros = std::string(30, '0') + "12";
  const struct { std::string strValue, strText; int32_t nInt; int64_t nLong; double dValue; } arrRows[] = {
      {"CM-NSE-NRML", "CM-NSE-NRML", 0, 0, 0.0}, {"", "", 0, 0, 0.0}, {std::string("ab\0cd", 5), "ab", 0, 0, 0.0},
      {"  -42x", "  -42x", -42, -42, -42.0}, {strZeros, strZeros, 1, 1, 12.0},
      {"3000000000", "3000000000", 2147483647, 3000000000, 3e9},
      {"-3000000000", "-3000000000", -2147483647 - 1, -3000000000, -3e9}, {"none", "none", 0, 0, 0.0},
      {std::string("7\0" "8", 3), "7", 7, 7, 7.0}, {std::string("2.5\0" "9", 5), "2.5", 2, 2, 2.5},
      {"-1e-2", "-1e-2", -1, -1, -0.01}, {strTiny + "5", strTiny + "5", 0, 0, 1e-61},
      {"0." + std::string(61, '0') + "5", "0." + std::string(61, '0') + "5", 0, 0, 0.0},
      {"", "", -99, -99, -99.0}};  // not in the message: the text is emptied, numbers kept
  FieldList arrFields;
  for (uint32_t nField = 1; nField < std::size(arrRows); ++nField)
    arrFields.emplace_back(nField, arrRows[nField - 1].strValue);
  const CTestMessage message(arrFields);
  const OTP_MSG hMsg = message.Get();
  for (uint32_t nField = 1; nField <= std::size(arrRows); ++nField) {
    SCOPED_TRACE(nField);
    const auto& row = arrRows[nField - 1];
    std::string strText = "stale";
    int32_t nInt = -99;
    int64_t nLong = -99;
    double dValue = -99.0;
    EXPECT_EQ((std::vector<bool>{ReadFieldText(hMsg, nField, strText), ReadFieldInt(hMsg, nField, nInt),
                                 ReadFieldInt(hMsg, nField, nLong), ReadFieldDouble(hMsg, nField, dValue)}),
              std::vector<bool>(4, nField < std::size(arrRows)));
    EXPECT_EQ(std::tuple(strText, nInt, nLong, dValue), std::tuple(row.strText, row.nInt, row.nLong, row.dValue));
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
      {"accountABC", 5, "accountABC"}, {"", 0, ""}};
  for (const auto& row : arrCases) {
    CRmsDetails record;
    EXPECT_TRUE(ReadEntityLevel(CTestMessage({{rmsproto::kEntityTextField, row.strText}}).Get(), record));
    EXPECT_EQ(std::pair(record.nLevel, std::string(record.GetEntityId())), std::pair(row.nLevel, row.strId))
        << row.strText;
  }
  CRmsDetails record;
  record.nLevel = 3;
  record.SetEntityId("KEPT");
  EXPECT_FALSE(ReadEntityLevel(CTestMessage({{1, "account-X"}}).Get(), record));
  EXPECT_EQ(std::pair(record.nLevel, std::string(record.GetEntityId())), std::pair(3u, std::string("KEPT")));
}

TEST(EntityLevelTest, LevelTextPrefers54244Over32760) {
  const struct { const char* szName; FieldList arrFields; bool bFound; std::string strLevelText; } arrCases[] = {
      {"both", {{54244, "CM-NSE-NRML"}, {32760, "FO-NSE-MIS"}}, true, "CM-NSE-NRML"},
      {"fallback", {{32760, "FO-NSE-MIS"}}, true, "FO-NSE-MIS"},
      {"empty first", {{54244, ""}, {32760, "FO-NSE-MIS"}}, true, ""}, {"neither", {{1, "x"}}, false, ""}};
  for (const auto& row : arrCases) {
    CRmsDetails record;
    const bool bFound = ReadLevelText(CTestMessage(row.arrFields).Get(), record);
    EXPECT_EQ(std::pair(bFound, std::string(record.GetLevelText())), std::pair(row.bFound, row.strLevelText))
        << row.szName;
  }
}

}  // namespace
