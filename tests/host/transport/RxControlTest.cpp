// Receive controls against a real risk server on loopback: requests and their responses,
// subscriptions that match whole names, and what a control refuses.
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
  // Publishes until the receiver got something: a subscription travels on its own.
  void PublishUntilReceived(CPyxoRxControl& control, const FieldList& arrFields,
                            const CKeepingReceiver& receiver) {
    ASSERT_TRUE(RunEventsUntil([&] {
      if (receiver.m_arrReceived.empty()) Publish(control, m_composer, arrFields);
      return !receiver.m_arrReceived.empty();
    }));
  }

  std::unique_ptr<CRmsServer> m_pServer;
  CKeepingReceiver m_first, m_second, m_third;
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
  EXPECT_EQ(m_first.m_arrReceived[0].GetFields({32767, 64056}), "om_get_user_peer_data|DELHI1");
  EXPECT_EQ(m_first.m_arrReceived[1].GetFields({32767, 64050}), "rms_get_prsnt_values_rst|account-A10001");
  EXPECT_EQ(m_second.m_arrReceived[0].GetFields({32767, 32766}), "no_such_request|2");
  EXPECT_FALSE(m_first.m_arrReceived[0].bPublication);
}

// A subscription to a name reaches publications of that name, never those of a longer name that
// starts with it.
TEST_F(RxControlTest, SubscriptionsMatchTheWholeName) {
  CPyxoRxControl& valuesControl = Open(m_first);
  CPyxoRxControl& callsControl = Open(m_second);
  ASSERT_EQ(Subscribe(valuesControl, "rms prsnt value publish"), 1);
  ASSERT_EQ(Subscribe(callsControl, "rms prsnt value publish ZEL"), 1);
  // Both subscriptions are in place once the feed reaches the first; the second travels with it.
  ASSERT_TRUE(RunEventsUntil([&] { return m_first.CountPublications() > 0; }));
  PublishUntilReceived(Open(m_third),
                       {{54211, "rms prsnt value publish ZEL"},
                        {64050, "account-A10003"},
                        {54244, "ALL-ALL-ALL-ALL"},
                        {49302, "LEVEL 1"},
                        {12030, "06/12/2024 10:15:00 AM"},
                        {54247, "RISK01"}},
                       m_second);
  // Feed messages published after the call status show the call status had its chance.
  const size_t nSeen = m_first.CountPublications();
  ASSERT_TRUE(RunEventsUntil([&] { return m_first.CountPublications() > nSeen + 5; }));
  for (const sReceived& received : m_first.m_arrReceived)
    EXPECT_EQ(received.GetField(54211), "rms prsnt value publish");
  EXPECT_EQ(m_second.m_arrReceived[0].GetField(49302), "LEVEL 1");
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
