// Receive controls against a real risk server on loopback: each gets the responses to its own
// requests, in the order it asked.
#include "tests/host/transport/TransportTestSupport.h"

namespace {

using namespace transporttest;

TEST(RxControlTest, EachResponseComesBackToTheControlThatAsked) {
  const std::unique_ptr<CRmsServer> pServer = StartServer(MakeServerOptions(200));
  ASSERT_NE(pServer, nullptr);
  CKeepingReceiver first, second;  // outlive the transport, which may call them until it closes
  CRmsTransport transport(pServer->GetEndpoints());
  CTestComposer composer;
  CPyxoRxControl& firstControl = *transport.CreateControl(&first);
  CPyxoRxControl& secondControl = *transport.CreateControl(&second);
  EXPECT_EQ(SendRequest(firstControl, composer, {{0, "om_get_user_peer_data"}, {31003, "D02"}}), 1);
  EXPECT_EQ(SendRequest(secondControl, composer, {{0, "no_such_request"}}), 1);
  EXPECT_EQ(SendRequest(firstControl, composer,
                        {{0, "rms_get_prsnt_values_rst"}, {54001, "A10001"}, {32760, "ALL-ALL-ALL-ALL"}}),
            1);
  ASSERT_TRUE(
      RunEventsUntil([&] { return first.m_arrReceived.size() == 2 && second.m_arrReceived.size() == 1; }));

  // In the order asked, and nothing for the other control.
  EXPECT_EQ(first.GetFields(32767),
            (std::vector<std::string>{"om_get_user_peer_data", "rms_get_prsnt_values_rst"}));
  EXPECT_EQ(second.GetFields(32767), std::vector<std::string>{"no_such_request"});
  EXPECT_EQ(first.CountPublications(), 0u);
}

}  // namespace
