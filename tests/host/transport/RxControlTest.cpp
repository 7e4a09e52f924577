// Receive controls against a real risk server on loopback: requests and their responses, and
// what a control refuses.
#include "tests/host/transport/TransportTestSupport.h"

namespace {

using namespace transporttest;

class RxControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_pServer = StartServer(MakeServerOptions(200));
    ASSERT_NE(m_pServer, nullptr);
    m_pTransport = std::make_unique<CRmsTransport>(m_pServer->GetEndpoints());
  }

  CPyxoRxControl& Open(CKeepingReceiver& receiver) { return *m_pTransport->CreateControl(&receiver); }

  std::unique_ptr<CRmsServer> m_pServer;
  CKeepingReceiver m_first, m_second;
  std::unique_ptr<CRmsTransport> m_pTransport;
  CTestComposer m_composer;
};

TEST_F(RxControlTest, EachResponseComesBackToTheControlThatAsked) {
  CPyxoRxControl& firstControl = Open(m_first);
  CPyxoRxControl& secondControl = Open(m_second);
  EXPECT_EQ(SendRequest(firstControl, m_composer, {{0, "om_get_user_peer_data"}, {31003, "D02"}}), 1);
  EXPECT_EQ(SendRequest(secondControl, m_composer, {{0, "no_such_request"}}), 1);
  EXPECT_EQ(SendRequest(firstControl, m_composer,
                        {{0, "rms_get_prsnt_values_rst"}, {54001, "A10001"}, {32760, "ALL-ALL-ALL-ALL"}}),
            1);
  ASSERT_TRUE(RunEventsUntil(
      [&] { return m_first.m_arrReceived.size() == 2 && m_second.m_arrReceived.size() == 1; }));

  // In the order asked, and nothing for the other control; dealer D02 works at the second branch.
  EXPECT_EQ(m_first.GetFields(32767),
            (std::vector<std::string>{"om_get_user_peer_data", "rms_get_prsnt_values_rst"}));
  EXPECT_EQ(m_first.m_arrReceived[0].GetField(64056) + " " + m_first.m_arrReceived[1].GetField(64050),
            "DELHI1 account-A10001");
  EXPECT_EQ(m_second.m_arrReceived[0].GetField(32767) + " " + m_second.m_arrReceived[0].GetField(32766),
            "no_such_request 2");
  EXPECT_EQ(m_first.CountPublications(), 0u);
}

TEST_F(RxControlTest, OnlyTopicSubscriptionsOnThePublicationNameAreTaken) {
  CPyxoRxControl& control = Open(m_first);
  uint64_t nOut = 7;
  int32_t nErr = 0;
  EXPECT_EQ(control.Subscribe(&nOut, 54001, "A10001", 6, 1, 0, 0, 0, 1, &nErr), 0);
  EXPECT_NE(nErr, 0);
  EXPECT_EQ(control.Subscribe(&nOut, 54211, nullptr, 3, 1, 0, 0, 0, 1, &nErr), 0);
  EXPECT_EQ(control.Subscribe(&nOut, 54211, "manual sms alert", 16, 1, 0, 0, 0, 1, &nErr), 1);
  EXPECT_EQ(std::pair(nErr, nOut), std::pair(0, uint64_t{0}));
  // Nothing composed: nothing to send.
  CTestComposer empty;
  EXPECT_EQ(
      control.SendRequest(&nOut, empty.GetMessage(), 0, &nErr) + control.Publish(empty.GetScratch(), &nErr),
      0);
  EXPECT_EQ(m_pTransport->CreateControl(nullptr), nullptr);
}

}  // namespace
