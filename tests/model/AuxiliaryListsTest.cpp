// The auxiliary lists: which entry text each column shows, the 63-byte cell limit, and call
// status entries built from server messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "model/AuxiliaryLists.h"
#include "model/CallStatusEntry.h"
#include "tests/support/TestMessage.h"

namespace {

TEST(AuxiliaryListsTest, CellsShowTheirEntryTexts) {
  const RaisedAlert alert{"Ratio", "Watch 1", "12.50", "ACC1", "01/06/2024 10:00:00", "CM-NSE-NRML"};
  const sMessageAlert messageAlert{"RISK01", "ACC1", "CM", "NRML", "01/06/2024 10:00:00", "2500.00", "MAIL"};
  const sCallStatusEntry callStatus{"account-ACC1", "NSE",    "CM",         "NRML",  "CM-NSE-NRML",
                                    "MARGIN",       "Called", "01/06/2024", "RISK01"};
  std::vector<std::string> arrAlert, arrMessage, arrCall;
  std::string strText;
  for (int nColumn = -1; nColumn <= 9; ++nColumn) {
    EXPECT_EQ(GetRaisedAlertCellText(&alert, nColumn, strText), 1);
    arrAlert.push_back(strText);
    EXPECT_EQ(GetMessageAlertCellText(&messageAlert, nColumn, strText), 1);
    arrMessage.push_back(strText);
    EXPECT_EQ(GetCallStatusCellText(&callStatus, nColumn, strText), 1);
    arrCall.push_back(strText);
  }
  EXPECT_EQ(arrAlert, (std::vector<std::string>{"", "Ratio", "Watch 1", "12.50", "ACC1",
                                                "01/06/2024 10:00:00", "CM-NSE-NRML", "", "", "", ""}));
  // "Value" (column 4) shows the sixth text and "Time Stamp" (column 5) the fifth.
  EXPECT_EQ(arrMessage, (std::vector<std::string>{"", "RISK01", "ACC1", "CM", "NRML", "2500.00",
                                                  "01/06/2024 10:00:00", "MAIL", "", "", ""}));
  EXPECT_EQ(arrCall, (std::vector<std::string>{"", "account-ACC1", "NSE", "CM", "NRML", "CM-NSE-NRML",
                                               "MARGIN", "Called", "01/06/2024", "RISK01", ""}));
  EXPECT_EQ(GetCallStatusCellText(nullptr, 0, strText), 1);
  EXPECT_EQ(strText, "");
}

TEST(AuxiliaryListsTest, CellsShowAtMost63Bytes) {
  for (size_t nLength : {63u, 64u}) {
    RaisedAlert alert;
    alert.strValue.assign(nLength, 'v');
    std::string strText;
    GetRaisedAlertCellText(&alert, 2, strText);
    EXPECT_EQ(strText.size(), std::min<size_t>(nLength, 63));
  }
}

class CRecordingSink : public CCallStatusSink {
 public:
  void InsertCallStatus(std::unique_ptr<sCallStatusEntry> pEntry) override {
    m_arrEntries.insert(m_arrEntries.begin(), *pEntry);
  }
  std::vector<sCallStatusEntry> m_arrEntries;
};

class CallStatusTest : public testing::Test {
 protected:
  void SetUp() override { SetCallStatusSink(&m_sink); }
  void TearDown() override { SetCallStatusSink(nullptr); }
  CRecordingSink m_sink;
};

TEST_F(CallStatusTest, EntriesFromMessages) {
  const FieldList arrBase = {{64050, "account-ACC1"}, {54244, "CM-NSE-NRML"}, {54247, "RISK01"}};
  auto with = [&](FieldList arrMore, std::vector<uint32_t> arrDrop = {}) {
    FieldList arrFields;
    for (const auto& field : arrBase) {
      if (std::find(arrDrop.begin(), arrDrop.end(), field.first) == arrDrop.end()) {
        arrFields.push_back(field);
      }
    }
    arrFields.insert(arrFields.end(), arrMore.begin(), arrMore.end());
    return arrFields;
  };
  const struct {
    const char* szName;
    FieldList arrFields;
    bool bAdded;
    std::vector<std::string> arrCells;  // Entity, Exchange, Segment, Product, Level, Call Type,
                                        // Status, Time Stamp, Modified By
  } arrCases[] = {
      {"margin call",
       with({{49302, "Called"}, {12030, "02/06/2024"}}),
       true,
       {"account-ACC1", "NSE", "CM", "NRML", "CM-NSE-NRML", "MARGIN", "Called", "02/06/2024", "RISK01"}},
      {"obligation wins over margin",
       with({{49288, "Paid"}, {10615, "01/06/2024"}, {49302, "Called"}, {12030, "x"}}),
       true,
       {"account-ACC1", "NSE", "CM", "NRML", "CM-NSE-NRML", "OBLIGATION", "Paid", "01/06/2024", "RISK01"}},
      {"short level text",
       with({{54244, "FO"}, {49302, "C"}, {12030, "t"}}, {54244}),
       true,
       {"account-ACC1", "", "FO", "", "FO", "MARGIN", "C", "t", "RISK01"}},
      {"obligation without its time", with({{49288, "Paid"}, {12030, "t"}, {49302, "C"}}), false, {}},
      {"margin without its time", with({{49302, "Called"}}), false, {}},
      {"no call at all", with({}), false, {}},
      {"no entity", with({{49302, "C"}, {12030, "t"}}, {64050}), false, {}},
      {"level only in 32760", with({{32760, "CM-NSE-NRML"}, {49302, "C"}, {12030, "t"}}, {54244}), false, {}},
      {"no modifier", with({{49302, "C"}, {12030, "t"}}, {54247}), false, {}},
  };
  for (const auto& testCase : arrCases) {
    m_sink.m_arrEntries.clear();
    const CTestMessage message(testCase.arrFields);
    EXPECT_EQ(AddCallStatusFromMessage(message.Get()), testCase.bAdded) << testCase.szName;
    ASSERT_EQ(m_sink.m_arrEntries.size(), testCase.bAdded ? 1u : 0u) << testCase.szName;
    if (testCase.bAdded) {
      std::vector<std::string> arrCells;
      std::string strText;
      for (int nColumn = 0; nColumn < 9; ++nColumn) {
        GetCallStatusCellText(&m_sink.m_arrEntries[0], nColumn, strText);
        arrCells.push_back(strText);
      }
      EXPECT_EQ(arrCells, testCase.arrCells) << testCase.szName;
    }
  }
}

TEST_F(CallStatusTest, WithoutASinkNothingIsHandedOver) {
  SetCallStatusSink(nullptr);
  const CTestMessage message(
      {{64050, "account-ACC1"}, {54244, "CM-NSE-NRML"}, {54247, "RISK01"}, {49302, "C"}, {12030, "t"}});
  EXPECT_FALSE(AddCallStatusFromMessage(message.Get()));
  EXPECT_TRUE(m_sink.m_arrEntries.empty());
}

}  // namespace
