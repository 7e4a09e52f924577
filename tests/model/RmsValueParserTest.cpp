// Filling a record from a risk message: absent texts, formatting rules and their exceptions.
#include <cstdlib>
#include <cstdio>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/NumberFormat.h"
#include "model/RmsDetails.h"
#include "model/RmsValueParser.h"
#include "tests/support/TestMessage.h"

namespace {

CRmsDetails Parse(const FieldList& arrFields, uint32_t nLevel = 5) {
  const CTestMessage message(arrFields);
  CRmsDetails record;
  record.nLevel = nLevel;
  EXPECT_EQ(ParseRmsValues(message.Get(), record), 1);
  return record;
}

std::string Cell(const CRmsDetails& record, int nColumn) {
  std::string strText;
  GetColumnText(&record, nColumn, strText);
  return strText;
}

std::vector<std::string> Cells(const CRmsDetails& record, std::initializer_list<int> arrColumns) {
  std::vector<std::string> arrCells;
  for (int nColumn : arrColumns) arrCells.push_back(Cell(record, nColumn));
  return arrCells;
}

// The slots no column shows: segment, exchange, product, peer value and four more.
std::vector<std::string_view> Slots(const CRmsDetails& record) {
  return {record.GetSegment(), record.GetExchange(), record.GetProduct(), record.GetPeerValue(),
          record.GetSlotText(FindFieldSlot(10100)), record.GetSlotText(FindFieldSlot(64210)),
          record.GetSlotText(FindFieldSlot(41141)), record.GetSlotText(FindFieldSlot(41144))};
}

TEST(RmsValueParserTest, AbsentFieldsShowTheAbsentTextsAndSlotsNoColumnShowsAreKept) {
  const CRmsDetails record = Parse({}, 0);
  for (int nColumn = 0; nColumn < 289; ++nColumn)
    EXPECT_EQ(Cell(record, nColumn), nColumn == 7 ? "--NA--" : nColumn == 107 ? "0.00" : nColumn == 19 ? "no" : "-")
        << nColumn;
  EXPECT_EQ(Slots(record), (std::vector<std::string_view>{"All", "All", "All", "NA", "All", "NA", "NA", "NA"}));
  EXPECT_EQ(Slots(Parse({{63002, "CM"}, {10101, "NSE"}, {64030, "NRML"}, {64056, "PEER1"}, {10100, "x"},
                         {64210, "12"}, {41141, "-0.5"}})),
            (std::vector<std::string_view>{"CM", "NSE", "NRML", "PEER1", "x", "12", "-0.50", "NA"}));
}

TEST(RmsValueParserTest, OneFieldOneColumn) {
  const struct { const char* szName; uint32_t nLevel, nField; std::string strValue; int nColumn; std::string strExpected; }
  arrCases[] = {
      {"plain amount", 5, 64031, "1523467.25", 1, "1523467.25"}, {"empty value", 5, 64031, "", 1, "0.00"},
      {"sign reversed", 5, 64116, "1500.5", 70, "-1500.50"}, {"sign reversed zero", 5, 64116, "0", 70, "-0.00"},
      {"three decimals", 5, 64298, "0.1234", 86, "0.123"}, {"150 keeps two", 5, 41049, "0.1234", 150, "0.12"},
      {"149 has three", 5, 41048, "0.1234", 149, "0.123"}, {"branch adhoc for a branch", 2, 64256, "5", 74, "5.00"},
      {"branch adhoc for an account", 5, 64256, "5", 74, "-"},
      {"137 from the shared field", 5, 64443, "2.5", 137, "2.50"},
      {"170 from the shared field", 5, 64443, "2.5", 170, "2.50"},
      {"130 from field 56", 5, 56, "3.14159", 130, "3.14"}, {"remarks value", 5, 64313, "7", 107, "7.00"},
      {"int leading digits", 5, 10105, "42abc", 3, "42"},
      {"int past 32 bits", 5, 10105, "99999999999", 3, "2147483647"},
      {"long past 32 bits", 5, 64257, "99999999999", 96, "99999999999"}, {"category", 5, 13034, "CASH", 7, "CASH"},
      {"entity name", 5, 54002, "Ramesh Traders", 201, "Ramesh Traders"}, {"text NA", 5, 54002, "NA", 201, "-"},
      {"groupwise yes", 5, 64037, "yes", 19, "yes"}, {"groupwise Yes", 5, 64037, "Yes", 19, "no"},
  };
  for (const auto& row : arrCases)
    EXPECT_EQ(Cell(Parse({{row.nField, row.strValue}}, row.nLevel), row.nColumn), row.strExpected) << row.szName;
}

TEST(RmsValueParserTest, ParsingKeepsWhatTheReceiverSetAndReplacesTheRest) {
  CRmsDetails record;
  record.nLevel = 2;
  record.SetEntityId("BR7");
  record.SetLevelText("CM-NSE-NRML");
  record.SetCallText(0, "Called");
  record.SetCallText(3, "02/06/2024");
  ParseRmsValues(CTestMessage({{64031, "10"}, {64256, "4"}, {64037, "yes"}}).Get(), record);
  EXPECT_EQ(Cells(record, {1, 74, 19}), (std::vector<std::string>{"10.00", "4.00", "yes"}));
  ParseRmsValues(CTestMessage(FieldList{}).Get(), record);
  EXPECT_EQ(record.nLevel, 2u);
  EXPECT_EQ(Cells(record, {1, 19, 0, 83, 281, 282, 284}),
            (std::vector<std::string>{"-", "no", "BR7", "CM-NSE-NRML", "Called", "-", "02/06/2024"}));
}

// Numbers are kept packed; what is read back, copied, overwritten or read many at a time is the
// formatted text.
TEST(RmsValueParserTest, NumbersReadBackAsFormattedThroughCopiesAndEdits) {
  const CRmsDetails parsed = Parse({{64031, "-1585860499.8"}, {64256, "7"}, {10105, "-42"}, {10430, "1e3"},
                                    {64033, "123456789012345678901.5"}, {64035, "-98765432109876543.21"}}, 2);
  CRmsDetails record = parsed;
  EXPECT_EQ(Cells(record, {1, 74, 3, 4, 5}), (std::vector<std::string>{"-1585860499.80", "7.00", "-42",
                                                                       "123456789012345683968.00",
                                                                       "-98765432109876544.00"}));
  record.SetColumnSlotText(74, "NA text");
  EXPECT_EQ(Cells(record, {74, 2}), (std::vector<std::string>{"NA text", "1000.00"}));
  EXPECT_EQ(Cell(parsed, 74), "7.00");
  // Views of more numbers than there are unpacking buffers: each is right while it is fresh.
  std::vector<std::string> arrTexts;
  for (int n = 0; n < 3 * CSlotTexts::kUnpackBuffers; ++n) arrTexts.emplace_back(parsed.GetCellText(1 + n % 2));
  for (size_t n = 0; n < arrTexts.size(); ++n) EXPECT_EQ(arrTexts[n], n % 2 == 0 ? "-1585860499.80" : "1000.00");
}

// Every length a number's bytes are read and packed in one block, and past it, with and without
// a character that cannot be packed, reads back as the C library formats it.
TEST(RmsValueParserTest, NumbersOfEveryShortLengthReadBack) {
  const std::string strDigits = "-9876543210.123456789";
  for (size_t nLength = 3; nLength <= 18; ++nLength) {
    for (const bool bExponent : {false, true}) {
      std::string strValue = strDigits.substr(0, nLength);
      if (bExponent) strValue[nLength - 2] = 'e';
      char szExpected[64];
      std::snprintf(szExpected, sizeof szExpected, "%0.2lf", std::strtod(strValue.c_str(), nullptr));
      EXPECT_EQ(Cell(Parse({{64031, strValue}}, 5), 1), szExpected) << strValue;
    }
  }
}

}  // namespace
