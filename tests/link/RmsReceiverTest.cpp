#include <gtest/gtest.h>

#include <strings.h>

#include <algorithm>
#include <map>

#include "LinkFixture.h"
#include "link/RmsReceiver.h"
#include "model/CallStatusEntry.h"
#include "tests/support/TestMessage.h"

namespace {

using Fields = FieldList;

// A watch list that keeps its rows and which of them are on screen.
class CFakeWatchList final : public CWatchListTarget {
 public:
  void AppendRecordRow(CRmsDetails* pRecord) override { m_arrRows.push_back(pRecord); }
  void DeleteRecordRow(const CRmsDetails* pRecord) override { std::erase(m_arrRows, pRecord); }
  bool RefreshVisibleRecordRow(const CRmsDetails* pRecord) override {
    const bool bVisible =
        m_bAllVisible && std::find(m_arrRows.begin(), m_arrRows.end(), pRecord) != m_arrRows.end();
    m_nRefreshes += bVisible ? 1 : 0;
    return bVisible;
  }

  std::vector<const CRmsDetails*> m_arrRows;
  bool m_bAllVisible = true;
  int m_nRefreshes = 0;
};

class CFakeReceiverHost final : public CRmsReceiverHost, public CCallStatusSink {
 public:
  CWatchListTarget* GetWatchList(int nWindow) override {
    auto it = m_mapLists.find(nWindow);
    return it != m_mapLists.end() ? &it->second : nullptr;
  }
  void CheckCustomAlerts(const CRmsDetails& record, const char* szListKey) override {
    m_arrAlertChecks.push_back(std::string(record.GetEntityId()) + "@" + szListKey);
  }
  bool IsDealerOrClientListed(std::string_view strId) const override {
    return std::any_of(m_arrDealers.begin(), m_arrDealers.end(), [&](const std::string& strEntry) {
      return strcasecmp(strEntry.c_str(), std::string(strId).c_str()) == 0;
    });
  }
  void AddMessageAlert(std::unique_ptr<sMessageAlert> pAlert) override { m_arrMessageAlerts.push_back(*pAlert); }
  void InsertCallStatus(std::unique_ptr<sCallStatusEntry> pEntry) override { m_arrCalls.push_back(*pEntry); }
  void ReportLinkFailure(eLinkFailure eFailure) override { m_arrFailures.push_back(FormatLinkFailure(eFailure)); }

  std::map<int, CFakeWatchList> m_mapLists;
  std::vector<std::string> m_arrDealers, m_arrAlertChecks, m_arrFailures;
  std::vector<sMessageAlert> m_arrMessageAlerts;
  std::vector<sCallStatusEntry> m_arrCalls;
};

// A record's sign-reversed amount (column 70) and its call texts.
std::string Shown(const CRmsDetails* pRecord) {
  return std::string(pRecord->GetCellText(70)) + " " + std::string(pRecord->GetCallText(0)) + "/" +
         std::string(pRecord->GetCallText(2));
}

// A value publication and a tree answer of an entity, with more fields.
Fields Published(const std::string& strEntity, const Fields& arrMore) {
  Fields arrFields = {{64050, strEntity}, {54244, "CM-NSE-NRML"}, {54211, "rms prsnt value publish"}};
  arrFields.insert(arrFields.end(), arrMore.begin(), arrMore.end());
  return arrFields;
}
Fields TreeResponse(const std::string& strEntity, Fields arrMore = {}) {
  arrMore.insert(arrMore.end(), {{64116, "1500.5"}, {32767, "mrv_rst_show_tree_all"}, {32766, "5"}});
  return Published(strEntity, arrMore);
}

class RmsReceiverTest : public CLinkFixture {
 protected:
  void SetUp() override {
    CLinkFixture::SetUp();
    g_mapRmsDetails.clear();
    m_host.m_mapLists[1];
    m_host.m_mapLists[3];
    SetCallStatusSink(&m_host);
  }
  void TearDown() override {
    SetCallStatusSink(nullptr);
    g_mapRmsDetails.clear();
    CLinkFixture::TearDown();
  }

  void Respond(const Fields& arrFields) { m_receiver.OnResponse(CTestMessage(arrFields).Get()); }
  void Publish(const Fields& arrFields) { m_receiver.OnPublish(CTestMessage(arrFields).Get()); }
  void EndList(const char* szList) { Respond({{32767, szList}, {32766, "7"}}); }
  std::vector<std::string> RequestNames() const {
    std::vector<std::string> arrNames;
    for (const auto& arrRequest : m_control.m_arrRequests) arrNames.push_back(arrRequest.front().second);
    return arrNames;
  }
  // The record of an account (or of another level's entity) with the usual level text.
  const CRmsDetails* Find(const std::string& strId, int nLevel = 5) const {
    auto it = g_mapRmsDetails.find(std::to_string(nLevel) + "|" + strId + "|CM-NSE-NRML");
    return it != g_mapRmsDetails.end() ? it->second.get() : nullptr;
  }
  // The rows of the two lists.
  std::pair<std::vector<const CRmsDetails*>, std::vector<const CRmsDetails*>> Rows() {
    return {m_host.m_mapLists[1].m_arrRows, m_host.m_mapLists[3].m_arrRows};
  }

  CFakeReceiverHost m_host;
  CRmsReceiver m_receiver{m_host, m_requests, g_mapRmsDetails};
};

TEST_F(RmsReceiverTest, TreeResponsesFillEveryListAndPublicationsUpdateInPlace) {
  Respond(TreeResponse("account-A1", {{49302, "Called"}}));
  const CRmsDetails* pRecord = Find("A1");
  ASSERT_NE(pRecord, nullptr);
  EXPECT_EQ(Shown(pRecord), "-1500.50 /Called");
  EXPECT_EQ(Rows(), std::pair(std::vector{pRecord}, std::vector{pRecord}));
  EXPECT_EQ(m_host.m_arrAlertChecks, (std::vector<std::string>{"A1@list1", "A1@list3"}));
  EXPECT_TRUE(m_control.m_arrSubscriptions.empty());

  // The end of the tree (a status other than success) subscribes to the publications.
  EndList("mrv_rst_show_tree_all");
  EXPECT_EQ(m_control.m_arrSubscriptions.size(), 2u);
  // A response for another publication name adds nothing.
  Respond({{32767, "mrv_rst_show_tree_all"}, {64050, "account-A2"}, {54211, "other"}});
  EXPECT_EQ(g_mapRmsDetails.size(), 1u);

  // A publication updates in place and repaints only visible rows.
  m_host.m_arrAlertChecks.clear();
  m_host.m_mapLists[3].m_bAllVisible = false;
  Publish(Published("account-A1", {{64116, "-20"}}));
  EXPECT_EQ(Find("A1"), pRecord);
  EXPECT_EQ(Shown(pRecord), "20.00 /Called");  // call texts kept from the stored record
  EXPECT_EQ(std::pair(m_host.m_mapLists[1].m_nRefreshes, m_host.m_mapLists[3].m_nRefreshes), std::pair(1, 0));
  EXPECT_EQ(m_host.m_arrAlertChecks, std::vector<std::string>{"A1@list1"});

  // A response with a delete mark is ignored; so is a delete of an unknown record.
  Respond(TreeResponse("account-A1", {{20008, ""}}));
  Publish(Published("account-ZZ", {{20008, ""}}));
  EXPECT_EQ(g_mapRmsDetails.size(), 1u);
  EXPECT_EQ(Rows(), std::pair(std::vector{pRecord}, std::vector{pRecord}));
  Publish(Published("account-A1", {{20008, ""}}));
  EXPECT_TRUE(g_mapRmsDetails.empty());
  EXPECT_EQ(Rows(), (std::pair<std::vector<const CRmsDetails*>, std::vector<const CRmsDetails*>>{}));
}

TEST_F(RmsReceiverTest, ANewSessionAsksForEveryRecordAndMarksWhatTheAnswerLeavesOut) {
  for (const char* szEntity : {"account-A1", "account-A2", "account-A3"}) Respond(TreeResponse(szEntity));
  // Every start-up list has ended.
  for (const char* szList : {"mrv_rst_show_tree_all", "roth_rst", "mrv_surv_alert_show_tree_all"}) EndList(szList);
  const CRmsDetails *pA1 = Find("A1"), *pA2 = Find("A2"), *pA3 = Find("A3");

  // The first session seen, and the same one again, ask for nothing.
  for (uint32_t nSession : {0u, 1u, 1u}) m_receiver.FollowLinkSession(nSession);
  EXPECT_TRUE(m_control.m_arrRequests.empty());

  // The link was lost: the tree is asked for again.
  m_receiver.FollowLinkSession(2);
  EXPECT_EQ(RequestNames(), std::vector<std::string>{"mrv_rst_show_tree_all"});

  // The new server knows A1 (answered) and A3 (published while its answer is under way).
  m_host.m_mapLists[1].m_nRefreshes = 0;
  Respond(TreeResponse("account-A1", {{64116, "7"}}));
  Publish(Published("account-A3", {{64116, "9"}}));
  EXPECT_FALSE(pA2->bStale);  // not before the answer is complete
  EndList("mrv_rst_show_tree_all");
  EXPECT_EQ((std::vector<bool>{pA1->bStale, pA2->bStale, pA3->bStale}), (std::vector<bool>{false, true, false}));
  EXPECT_EQ(Shown(pA1), "-7.00 /");
  EXPECT_EQ(m_host.m_mapLists[1].m_nRefreshes, 3);  // A1, A3, and A2 repainted as stale

  // A value brings a stale record back to life; a later end of the tree marks nothing.
  Publish(Published("account-A2", {{64116, "1"}}));
  EXPECT_FALSE(pA2->bStale);
  EndList("mrv_rst_show_tree_all");
  EXPECT_FALSE(pA2->bStale);
}

TEST_F(RmsReceiverTest, WhileTheTreeStreamsWhatWasPublishedMeanwhileIsNeverSetBack) {
  for (const char* szEntity : {"account-A1", "account-A2"}) Respond(TreeResponse(szEntity));
  EndList("mrv_rst_show_tree_all");
  m_receiver.FollowLinkSession(2);

  // Pieces of the answer composed before these publications arrive after them, on the other
  // socket or overtaken in the hand-over.
  Publish(Published("account-A1", {{64116, "9"}}));
  Publish(Published("account-A2", {{20008, ""}}));
  Publish(Published("account-A3", {{64116, "3"}}));
  Respond(TreeResponse("account-A1", {{64116, "7"}, {49302, "Called"}}));
  Respond(TreeResponse("account-A2", {{64116, "7"}}));
  Respond(TreeResponse("account-A3", {{64116, "7"}}));
  const CRmsDetails* pA1 = Find("A1");
  ASSERT_NE(pA1, nullptr);
  EXPECT_EQ(Shown(pA1), "-9.00 /Called");  // only an answer carries call texts
  EXPECT_EQ(Find("A2"), nullptr);
  EXPECT_EQ(Shown(Find("A3")), "-3.00 /");

  // Once the answer has ended, an answer sets values again.
  EndList("mrv_rst_show_tree_all");
  Respond({{32767, "rms_get_prsnt_values_rst"}, {64050, "account-A1"}, {54244, "CM-NSE-NRML"}, {64116, "5"}});
  EXPECT_EQ(Shown(pA1), "-5.00 /Called");
}

TEST_F(RmsReceiverTest, ALinkLostBeforeTheFirstLookStillAsksAgain) {
  // The start-up requests went over the first session; the first look already finds a later
  // one. The lists whose end never came are asked for again too.
  EndList("roth_rst");
  for (int n = 0; n < 2; ++n) {  // the same session again asks for nothing more
    m_receiver.FollowLinkSession(3);
    EXPECT_EQ(RequestNames(), (std::vector<std::string>{"mrv_rst_show_tree_all", "mrv_surv_alert_show_tree_all"}));
  }
  // Once the alert list has ended, a later loss asks for the tree alone.
  EndList("mrv_surv_alert_show_tree_all");
  m_receiver.FollowLinkSession(4);
  EXPECT_EQ(RequestNames(), (std::vector<std::string>{"mrv_rst_show_tree_all", "mrv_surv_alert_show_tree_all",
                                                      "mrv_rst_show_tree_all"}));
}

TEST_F(RmsReceiverTest, PresentValuesAndCallStatusPublications) {
  // A present-values response (named by field 32767 alone) for an entity never seen adds nothing.
  Respond({{32767, "rms_get_prsnt_values_rst"}, {64050, "account-A9"}, {54244, "CM-NSE-NRML"}});
  EXPECT_TRUE(g_mapRmsDetails.empty());

  Respond(TreeResponse("dealer-D7", {{49288, "Open"}, {10615, "t1"}}));
  const CRmsDetails* pRecord = Find("D7", 3);
  ASSERT_NE(pRecord, nullptr);
  Respond({{32767, "rms_get_prsnt_values_rst"}, {64050, "dealer-D7"}, {54244, "CM-NSE-NRML"}, {64116, "7"}});
  EXPECT_EQ(Shown(pRecord), "-7.00 Open/");

  // A call status publication keeps the values, takes the call texts and records the call.
  const auto callStatus = [](const char* szEntity, const char* szLevel) {
    return Fields{{54211, "rms prsnt value publish ZEL"}, {64050, szEntity}, {54244, szLevel}, {49302, "Called"},
                  {12030, "t2"}, {54247, "RISK09"}};
  };
  Publish(callStatus("dealer-D7", "CM-NSE-NRML"));
  EXPECT_EQ(Shown(pRecord), "-7.00 Open/Called");
  ASSERT_EQ(m_host.m_arrCalls.size(), 1u);
  EXPECT_EQ(m_host.m_arrCalls[0].strCallType, "MARGIN");
  // The same for an unknown entity changes nothing.
  Publish(callStatus("dealer-NEW", "X"));
  EXPECT_EQ(std::pair(g_mapRmsDetails.size(), m_host.m_arrCalls.size()), std::pair(size_t{1}, size_t{1}));
}

TEST_F(RmsReceiverTest, ScreeningByCategory) {
  g_pluginContext.userCategory = 1;
  Respond(TreeResponse("account-A1", {{64056, "PEER1"}}));
  Respond(TreeResponse("account-A2"));
  EXPECT_EQ(g_mapRmsDetails.size(), 1u);  // no peer answer yet: only an empty peer value passes
  Respond({{32767, "om_get_user_peer_data"}, {32766, "7"}, {64056, "PEER1"}});
  EXPECT_EQ(m_receiver.GetPeerData(), "") << "a failed peer answer is not taken";
  Respond({{32767, "om_get_user_peer_data"}, {64056, "PEER1"}});
  EXPECT_EQ(m_receiver.GetPeerData(), "PEER1");
  Respond(TreeResponse("account-A1", {{64056, "PEER1"}}));
  EXPECT_EQ(g_mapRmsDetails.size(), 2u);

  g_mapRmsDetails.clear();
  g_pluginContext.userCategory = 2;
  m_host.m_arrDealers = {"d07"};
  Respond(TreeResponse("dealer-D07"));
  Respond(TreeResponse("dealer-D08"));
  EXPECT_TRUE(g_mapRmsDetails.size() == 1 && Find("D07", 3) != nullptr);
}

TEST_F(RmsReceiverTest, MessageAlertsAndTheirScreeningByCategory) {
  Publish({{54211, "manual sms alert"}, {54247, "RISK07"}, {54001, "A1"}, {63447, "1234.50"}, {50100, "1700000000"},
           {63059, "2"}});
  Publish({{54211, "manual sms alert"}, {54247, "RISK07"}});  // no client: ignored
  Respond({{32767, "mrv_surv_alert_show_tree_all"}, {54211, "manual sms alert"}, {54247, "U2"}, {54001, "A2"},
           {63002, "FO"}, {64030, "MIS"}, {63059, "3"}});
  std::vector<std::string> arrSeen;
  for (const sMessageAlert& alert : m_host.m_arrMessageAlerts)
    arrSeen.push_back(alert.strSegment + "|" + alert.strProduct + "|" + alert.strValue + "|" + alert.strTimeStamp +
                      "|" + alert.strType);
  EXPECT_EQ(arrSeen, (std::vector<std::string>{"---|---|1234.50|15/11/2023 03:43:20|MAIL", "FO|MIS|||SMS+MAIL"}));
  EndList("mrv_surv_alert_show_tree_all");
  EXPECT_EQ(m_control.m_arrSubscriptions, std::vector<std::string>{"54211:manual sms alert:0:1,0,0,0,1"});

  // Which alerts are shown by the user's category, the sender and the client.
  m_host.m_arrDealers = {"a1"};
  const struct { int32_t nCategory; const char* szUser; const char* szClient; bool bShown; } arrRows[] = {
      {0, "OTHER", "ZZ", true}, {1, "RISK07", "ZZ", true}, {1, "risk07", "a1", false}, {2, "OTHER", "A1", true},
      {2, "RISK07", "A12", false}, {3, "OTHER", "ZZ", false}, {-1, "RISK07", "a1", true}, {-1, "OTHER", "B1", false}};
  for (const auto& row : arrRows) {
    SCOPED_TRACE(testing::Message() << row.nCategory << " " << row.szUser << " " << row.szClient);
    g_pluginContext.userCategory = row.nCategory;
    m_host.m_arrMessageAlerts.clear();
    Publish({{54211, "manual sms alert"}, {54247, row.szUser}, {54001, row.szClient}});
    EXPECT_EQ(m_host.m_arrMessageAlerts.size(), row.bShown ? 1u : 0u);
  }
}

}  // namespace
