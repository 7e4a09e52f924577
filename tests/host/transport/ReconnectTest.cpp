// A server that goes away and comes back on the same ports: the link shows it, reconnects by
// itself, and subscriptions and requests work again without the plug-in doing anything.
#include <gtest/gtest.h>

#include <algorithm>

#include "host/transport/RmsTransport.h"
#include "tests/host/transport/TransportTestSupport.h"

namespace {

using namespace transporttest;

TEST(ReconnectTest, TheLinkComesBackWithItsSubscriptions) {
  GetApplication();
  std::unique_ptr<CRmsServer> pServer = StartServer(MakeServerOptions(500));
  ASSERT_NE(pServer, nullptr);
  const halvowire::sServerEndpoints endpoints = pServer->GetEndpoints();

  CRmsTransport transport(endpoints);
  std::vector<eLinkState> arrStates;
  QObject::connect(&transport, &CRmsTransport::LinkStateChanged,
                   [&arrStates](eLinkState eState) { arrStates.push_back(eState); });
  CKeepingReceiver receiver;
  CPyxoRxControl* pControl = transport.CreateControl(&receiver);
  ASSERT_EQ(Subscribe(*pControl, "rms prsnt value publish"), 1);
  ASSERT_TRUE(RunEventsUntil([&] { return receiver.CountPublications() > 0; }));
  ASSERT_TRUE(RunEventsUntil([&] { return transport.GetLinkState() == eLinkState::kConnected; }));

  // The server goes: the link is down and ZeroMQ keeps trying.
  pServer.reset();
  ASSERT_TRUE(RunEventsUntil([&] { return transport.GetLinkState() == eLinkState::kDisconnected; }));
  const size_t nBefore = receiver.m_arrReceived.size();

  // A new server on the same ports: a fresh feed (it starts only for a subscriber, so its
  // messages prove the subscription was made again) and answers to new requests.
  sSimOptions options = MakeServerOptions(500);
  options.strRequests = endpoints.strRequests;
  options.strPublications = endpoints.strPublications;
  pServer = StartServer(options);
  ASSERT_NE(pServer, nullptr);
  ASSERT_TRUE(RunEventsUntil([&] { return transport.GetLinkState() == eLinkState::kConnected; }));
  ASSERT_TRUE(RunEventsUntil([&] { return receiver.CountPublications() > nBefore; }));
  EXPECT_GT(pServer->GetStats().nFeedMessages, 0u);

  CTestComposer composer;
  ASSERT_EQ(SendRequest(*pControl, composer, {{0, "om_get_user_peer_data"}, {31003, "RISK01"}}), 1);
  ASSERT_TRUE(RunEventsUntil([&] {
    return std::any_of(receiver.m_arrReceived.begin(), receiver.m_arrReceived.end(),
                       [](const sReceived& received) {
                         return !received.bPublication && received.GetField(32767) == "om_get_user_peer_data";
                       });
  }));

  // What the status bar showed: up, down (possibly through a reconnect attempt), up again.
  ASSERT_GE(arrStates.size(), 3u);
  EXPECT_EQ(arrStates.front(), eLinkState::kConnected);
  EXPECT_EQ(arrStates.back(), eLinkState::kConnected);
  EXPECT_NE(std::find(arrStates.begin(), arrStates.end(), eLinkState::kDisconnected), arrStates.end());
  transport.DestroyControl(pControl);
}

TEST(ReconnectTest, NoServerShowsDisconnected) {
  GetApplication();
  // A port just bound and released again: nothing listens there.
  std::string strEndpoint;
  {
    std::unique_ptr<CRmsServer> pServer = StartServer(MakeServerOptions(0));
    ASSERT_NE(pServer, nullptr);
    strEndpoint = pServer->GetEndpoints().strRequests;
  }
  CRmsTransport transport({strEndpoint, strEndpoint});
  EXPECT_EQ(transport.GetLinkState(), eLinkState::kConnecting);
  ASSERT_TRUE(RunEventsUntil([&] { return transport.GetLinkState() == eLinkState::kDisconnected; }));
}

}  // namespace
