// Receive controls against a real risk server on loopback: requests and their responses,
// subscriptions, client publications, and the answers a plug-in gets at start-up.
#include <gtest/gtest.h>

#include "host/transport/RmsTransport.h"
#include "protocol/RmsProtocol.h"
#include "tests/host/transport/TransportTestSupport.h"

namespace {

using namespace transporttest;

class RxControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    GetApplication();
    m_pServer = StartServer(MakeServerOptions(200));
    ASSERT_NE(m_pServer, nullptr);
    m_pTransport = std::make_unique<CRmsTransport>(m_pServer->GetEndpoints());
  }

  CPyxoRxControl& Open(CKeepingReceiver& receiver) {
    CPyxoRxControl* pControl = m_pTransport->CreateControl(&receiver);
    EXPECT_NE(pControl, nullptr);
    return *pControl;
  }

  std::unique_ptr<CRmsServer> m_pServer;
  std::unique_ptr<CRmsTransport> m_pTransport;
  CTestComposer m_composer;
};

TEST_F(RxControlTest, EachResponseComesBackToTheControlThatAsked) {
  CKeepingReceiver first;
  CKeepingReceiver second;
  CPyxoRxControl& firstControl = Open(first);
  CPyxoRxControl& secondControl = Open(second);

  EXPECT_EQ(SendRequest(firstControl, m_composer, {{0, "om_get_user_peer_data"}, {31003, "D02"}}), 1);
  EXPECT_EQ(SendRequest(secondControl, m_composer, {{0, "no_such_request"}}), 1);
  EXPECT_EQ(SendRequest(firstControl, m_composer,
                        {{0, "rms_get_prsnt_values_rst"}, {54001, "A10001"}, {32760, "ALL-ALL-ALL-ALL"}}),
            1);
  ASSERT_TRUE(
      RunEventsUntil([&] { return first.m_arrReceived.size() == 2 && second.m_arrReceived.size() == 1; }));

  // In the order asked, and nothing for the other control.
  EXPECT_EQ(first.m_arrReceived[0].GetField(32767), "om_get_user_peer_data");
  EXPECT_EQ(first.m_arrReceived[0].GetField(64056), "DELHI1");  // dealer D02 works at the second branch
  EXPECT_EQ(first.m_arrReceived[1].GetField(32767), "rms_get_prsnt_values_rst");
  EXPECT_EQ(first.m_arrReceived[1].GetField(64050), "account-A10001");
  EXPECT_EQ(second.m_arrReceived[0].GetField(32767), "no_such_request");
  EXPECT_EQ(second.m_arrReceived[0].GetField(32766), "2");
  EXPECT_FALSE(first.m_arrReceived[0].bPublication);
}

TEST_F(RxControlTest, StartUpListsArriveWholeAndInOrder) {
  CKeepingReceiver receiver;
  CPyxoRxControl& control = Open(receiver);
  for (const char* szRequest :
       {"om_get_user_peer_data", "mrv_rst_show_tree_all", "roth_rst", "mrv_surv_alert_show_tree_all"})
    ASSERT_EQ(SendRequest(control, m_composer, {{0, szRequest}, {31003, "RISK01"}}), 1);
  // Peer data, the records and an end, three calls and an end, three alerts and an end.
  const CEntityTree tree(MakeServerOptions(0).tree, 1);
  const size_t nExpected = 1 + tree.GetRecords().size() + 1 + 3 + 1 + 3 + 1;
  ASSERT_TRUE(RunEventsUntil([&] { return receiver.m_arrReceived.size() == nExpected; }));

  // Each response as its name and status; runs of equal ones fold into one. The fields of each
  // answer are the server's own tests' business.
  std::vector<std::string> arrShapes;
  for (const sReceived& received : receiver.m_arrReceived) {
    const std::string strShape = received.GetField(32767) + " " + received.GetField(32766);
    if (arrShapes.empty() || arrShapes.back() != strShape) arrShapes.push_back(strShape);
  }
  const std::vector<std::string> arrExpected = {"om_get_user_peer_data 5",
                                                "mrv_rst_show_tree_all 5",
                                                "mrv_rst_show_tree_all 7",
                                                "roth_rst 5",
                                                "roth_rst 7",
                                                "mrv_surv_alert_show_tree_all 5",
                                                "mrv_surv_alert_show_tree_all 7"};
  EXPECT_EQ(arrShapes, arrExpected);
  EXPECT_EQ(receiver.m_arrReceived[0].GetField(64056), "MUMBAI1");
}

TEST_F(RxControlTest, ClientPublicationsAreFannedOutToTheirSubscribersOnly) {
  CRmsTransport otherTerminal(m_pServer->GetEndpoints());
  CKeepingReceiver alerts;
  CKeepingReceiver publisher;
  CPyxoRxControl* pAlerts = otherTerminal.CreateControl(&alerts);
  CPyxoRxControl& publisherControl = Open(publisher);
  ASSERT_EQ(Subscribe(*pAlerts, "manual sms alert"), 1);

  // The subscription travels on its own; publish until the first copy comes back.
  const std::vector<std::pair<uint32_t, std::string>> arrAlert = {
      {54211, "manual sms alert"}, {54001, "A10007"}, {54247, "RISK01"}, {63447, "1234.50"}, {63059, "2"}};
  ASSERT_TRUE(RunEventsUntil([&] {
    if (alerts.m_arrReceived.empty()) Publish(publisherControl, m_composer, arrAlert);
    return !alerts.m_arrReceived.empty();
  }));
  m_composer.Compose(arrAlert);
  const uint8_t* pSent = nullptr;
  size_t nSent = 0;
  ASSERT_TRUE(GetComposedBytes(m_composer.GetMessage(), &pSent, &nSent));
  EXPECT_TRUE(alerts.m_arrReceived[0].bPublication);
  EXPECT_EQ(alerts.m_arrReceived[0].arrBytes, std::vector<uint8_t>(pSent, pSent + nSent));
  EXPECT_TRUE(publisher.m_arrReceived.empty());

  // The server keeps the alert: it is listed to the next terminal that asks.
  CKeepingReceiver asker;
  ASSERT_EQ(SendRequest(Open(asker), m_composer, {{0, "mrv_surv_alert_show_tree_all"}}), 1);
  ASSERT_TRUE(RunEventsUntil(
      [&] { return !asker.m_arrReceived.empty() && asker.m_arrReceived.back().GetField(32766) == "7"; }));
  bool bListed = false;
  for (const sReceived& received : asker.m_arrReceived) bListed |= received.GetField(54001) == "A10007";
  EXPECT_TRUE(bListed);
  otherTerminal.DestroyControl(pAlerts);
}

// A subscription to a name reaches publications of that name, never those of a longer name that
// starts with it.
TEST_F(RxControlTest, SubscriptionsMatchTheWholeName) {
  CKeepingReceiver values;
  CKeepingReceiver calls;
  CKeepingReceiver publisher;
  CPyxoRxControl& valuesControl = Open(values);
  CPyxoRxControl& callsControl = Open(calls);
  CPyxoRxControl& publisherControl = Open(publisher);
  ASSERT_EQ(Subscribe(valuesControl, "rms prsnt value publish"), 1);
  ASSERT_EQ(Subscribe(callsControl, "rms prsnt value publish ZEL"), 1);
  // Both subscriptions are in place once the feed reaches the first; the second travels with it.
  ASSERT_TRUE(RunEventsUntil([&] { return values.CountPublications() > 0; }));

  const std::vector<std::pair<uint32_t, std::string>> arrCall = {{54211, "rms prsnt value publish ZEL"},
                                                                 {64050, "account-A10003"},
                                                                 {54244, "ALL-ALL-ALL-ALL"},
                                                                 {49302, "LEVEL 1"},
                                                                 {12030, "06/12/2024 10:15:00 AM"},
                                                                 {54247, "RISK01"}};
  ASSERT_TRUE(RunEventsUntil([&] {
    if (calls.m_arrReceived.empty()) Publish(publisherControl, m_composer, arrCall);
    return !calls.m_arrReceived.empty();
  }));
  // Feed messages published after the call status show the call status had its chance.
  const size_t nSeen = values.CountPublications();
  ASSERT_TRUE(RunEventsUntil([&] { return values.CountPublications() > nSeen + 5; }));
  for (const sReceived& received : values.m_arrReceived)
    EXPECT_EQ(received.GetField(54211), "rms prsnt value publish");
  EXPECT_EQ(calls.m_arrReceived[0].GetField(49302), "LEVEL 1");
}

TEST_F(RxControlTest, OnlyTopicSubscriptionsOnThePublicationNameAreTaken) {
  CKeepingReceiver receiver;
  CPyxoRxControl& control = Open(receiver);
  uint64_t nOut = 7;
  int32_t nErr = 0;
  EXPECT_EQ(control.Subscribe(&nOut, 54001, "A10001", 6, 1, 0, 0, 0, 1, &nErr), 0);
  EXPECT_NE(nErr, 0);
  EXPECT_EQ(control.Subscribe(&nOut, 54211, nullptr, 3, 1, 0, 0, 0, 1, &nErr), 0);
  EXPECT_EQ(control.Subscribe(&nOut, 54211, "manual sms alert", 16, 1, 0, 0, 0, 1, &nErr), 1);
  EXPECT_EQ(nErr, 0);
  EXPECT_EQ(nOut, 0u);
  // Nothing composed: nothing to send.
  CTestComposer empty;
  EXPECT_EQ(control.SendRequest(&nOut, empty.GetMessage(), 0, &nErr), 0);
  EXPECT_EQ(control.Publish(empty.GetScratch(), &nErr), 0);
  EXPECT_EQ(m_pTransport->CreateControl(nullptr), nullptr);
}

}  // namespace
