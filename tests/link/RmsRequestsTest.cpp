#include <gtest/gtest.h>

#include "LinkFixture.h"
#include "model/RmsDetails.h"
#include "model/RmsValueParser.h"
#include "platform/Clock.h"
#include "tests/support/TestMessage.h"

namespace {

using RmsRequestsTest = CLinkFixture;

TEST_F(RmsRequestsTest, StartUpRequestsAndSubscriptionsCarryTheirFieldsInOrder) {
  Note(m_requests.RequestUserPeerData());
  Note(m_requests.RequestRmsTree());
  Note(m_requests.RequestRoth());
  Note(m_requests.RequestAlertTree());
  EXPECT_EQ(m_control.m_arrRequests, (std::vector<FieldList>{{{0, "om_get_user_peer_data"}, {31003, "RISK07"}},
      {{0, "mrv_rst_show_tree_all"}}, {{0, "roth_rst"}}, {{0, "mrv_surv_alert_show_tree_all"}}}));
  EXPECT_TRUE(m_arrBoxes.empty());
  m_requests.SubscribePresentValues();
  m_requests.SubscribeManualAlerts();
  EXPECT_EQ(m_control.m_arrSubscriptions, (std::vector<std::string>{"54211:rms prsnt value publish:0:1,0,0,0,1",
      "54211:rms prsnt value publish ZEL:0:1,0,0,0,1", "54211:manual sms alert:0:1,0,0,0,1"}));
}

TEST_F(RmsRequestsTest, PresentValuesByLevelText) {
  const std::pair<const char*, FieldList> arrCases[] = {
      {"ALL-ALL-ALL-ALL", {}}, {"P-ALL-Q-R", {{63002, "P"}, {64030, "Q"}}},
      {"CM-NSE-NRML", {{63002, "CM"}, {10101, "NSE"}, {64030, "NRML"}}},
      {"CM--NSE", {{63002, "CM"}, {10101, "NSE"}, {64030, ""}}}, {"CM", {{63002, "CM"}, {64030, ""}}},
      {"---", {{64030, ""}}}};
  for (const auto& [szLevelText, arrParts] : arrCases) {
    m_control.m_arrRequests.clear();
    m_requests.RequestPresentValues("A1", szLevelText);
    FieldList arrExpected = {{0, "rms_get_prsnt_values_rst"}, {54001, "A1"}};
    arrExpected.insert(arrExpected.end(), arrParts.begin(), arrParts.end());
    arrExpected.emplace_back(32760, szLevelText);
    EXPECT_EQ(m_control.m_arrRequests, std::vector<FieldList>{arrExpected}) << szLevelText;
  }
}

TEST_F(RmsRequestsTest, NothingIsSentWithoutControlOrHandle) {
  m_pLink->pControl0 = nullptr;
  Note(m_requests.RequestRmsTree());
  m_requests.SubscribePresentValues();
  m_requests.SetLink(nullptr);
  Note(m_requests.RequestRoth());
  EXPECT_TRUE(m_control.m_arrRequests.empty() && m_control.m_arrSubscriptions.empty() && m_arrBoxes.empty());

  // A message that cannot be started is reported and not sent.
  m_requests.SetLink(m_pLink.get());
  m_pLink->pControl0 = &m_control;
  int32_t nErr = 0;
  otp_close_scratch(m_pLink->hScratch, &nErr);
  m_pLink->hScratch = nullptr;
  Note(m_requests.RequestRmsTree());
  EXPECT_EQ(std::pair(m_arrBoxes, m_control.m_arrRequests.size()),
            std::pair(std::vector<std::string>{" Request failure"}, size_t{0}));
}

TEST_F(RmsRequestsTest, ManualAlertFieldsAndResults) {
  CRmsDetails record;
  record.SetEntityId("A10023");
  ParseRmsValues(CTestMessage({{63002, "CM"}, {64030, "All"}}).Get(), record);
  SetFixedClock(int64_t{1700000000} * 1000000 + 250000);
  // Kind 7 is no kind of alert: no kind field, no result.
  const std::pair<int, const char*> arrCases[] = {{kAlertSms, "SMS Alert Sent Successfully..!!"},
      {kAlertMail, "Mail Alert Sent Successfully..!!"},
      {kAlertSmsAndMail, "SMS and Mail Alert Sent Successfully..!!"}, {7, "untouched"}};
  for (const auto& [nKind, szResult] : arrCases) {
    m_control.m_arrPublications.clear();
    std::string strResult = "untouched";
    m_requests.SendManualAlert(record, 1234.5, nKind, strResult);
    FieldList arrExpected = {{54211, "manual sms alert"}, {54001, "A10023"}, {54247, "RISK07"}, {63002, "CM"},
                             {63447, "1234.50"}, {50100, "1700000000"}, {50101, "250000"}};
    if (nKind != 7) arrExpected.emplace_back(63059, std::to_string(nKind));
    EXPECT_EQ(m_control.m_arrPublications, std::vector<FieldList>{arrExpected}) << nKind;
    EXPECT_EQ(strResult, szResult);
  }
  SetFixedClock(std::nullopt);
}

// The entity is named by its level; each kind of call has its own fields, an unknown kind none.
TEST_F(RmsRequestsTest, CallStatusNamesTheLevel) {
  CRmsDetails record;
  record.SetEntityId("D07");
  record.SetLevelText("FO-NFO-NRML");
  const struct { uint32_t nLevel; int nKind; const char* szEntity; FieldList arrCall; } arrCases[] = {
      {3, kCallObligation, "dealer-D07", {{49288, "Called"}, {10615, "t"}}},
      {5, kCallObligation, "account-D07", {{49288, "Called"}, {10615, "t"}}},
      {0, kCallMargin, "D07", {{49302, "Called"}, {12030, "t"}}}, {0, 9, "D07", {}}};
  for (const auto& row : arrCases) {
    record.nLevel = row.nLevel;
    m_control.m_arrPublications.clear();
    m_requests.PublishCallStatus(record, "Called", "t", row.nKind);
    FieldList arrExpected = {{54211, "rms prsnt value publish ZEL"}, {64050, row.szEntity}, {54244, "FO-NFO-NRML"}};
    arrExpected.insert(arrExpected.end(), row.arrCall.begin(), row.arrCall.end());
    arrExpected.emplace_back(54247, "RISK07");
    EXPECT_EQ(m_control.m_arrPublications, std::vector<FieldList>{arrExpected}) << row.szEntity << " " << row.nKind;
  }
}

}  // namespace
