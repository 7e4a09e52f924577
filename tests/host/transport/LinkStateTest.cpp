// What the link's state says: judged by the data the server sends, not by TCP alone; the age of
// the newest data; deliveries held by a receiver that shows a box; frames past the limit.
#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTimer>

#include "host/transport/LinkState.h"
#include "host/transport/ZmqLinkSettings.h"
#include "tests/host/transport/TransportTestSupport.h"

namespace {

using namespace transporttest;

constexpr int64_t kSecondNs = 1'000'000'000;

TEST(LinkWatchTest, ConnectedOnlyWhileTheServerSendsData) {
  struct sStep {
    const char* szWhat;
    eLinkState eSockets;
    int64_t nSocketsUpNs;
    int64_t nLastDataNs;
    int64_t nNowNs;
    uint64_t nLost;  // connections lost so far
    eLinkState eShown;
    uint32_t nSession;
  };
  using enum eLinkState;
  constexpr int64_t S = kSecondNs;
  const sStep arrSteps[] = {
      {"nothing yet", kConnecting, 0, 0, 1 * S, 0, kConnecting, 0},
      {"TCP and handshakes, no data", kConnected, 2 * S, 0, 2 * S, 0, kConnecting, 0},
      {"data from before the sockets were up does not count", kConnected, 2 * S, S, 3 * S, 0, kConnecting, 0},
      {"a heartbeat", kConnected, 2 * S, 3 * S, 3 * S + 1, 0, kConnected, 1},
      {"a control's new socket still connecting", kConnecting, 2 * S, 3 * S, 3 * S + 2, 0, kConnected, 1},
      {"it connected, no data since: the same session", kConnected, 3 * S + 3, 3 * S, 3 * S + 5, 0, kConnected, 1},
      {"data again", kConnected, 3 * S + 3, 3 * S + 4, 3 * S + 6, 0, kConnected, 1},
      {"quiet but within the liveness", kConnected, 3 * S + 3, 3 * S + 4, 6 * S, 0, kConnected, 1},
      {"frozen: sockets up, no data", kConnected, 3 * S + 3, 3 * S + 4, 6 * S + 5, 0, kNotResponding, 1},
      {"frozen: the heartbeat timeout dropped the sockets", kConnecting, 3 * S, 3 * S, 10 * S, 2, kNotResponding, 1},
      {"frozen: the system accepts a connection", kConnecting, 3 * S, 3 * S, 11 * S, 2, kNotResponding, 1},
      {"back: handshakes", kConnected, 12 * S, 3 * S, 12 * S, 2, kConnecting, 1},
      {"back: data on the new connection is a new session", kConnected, 12 * S, 12 * S + 5, 12 * S + 9, 2, kConnected, 2},
      {"a short freeze keeps the session", kConnected, 12 * S, 12 * S + 5, 16 * S, 2, kNotResponding, 2},
      {"data again", kConnected, 12 * S, 16 * S + 1, 16 * S + 2, 2, kConnected, 2},
      {"killed: connections gone", kConnecting, 12 * S, 16 * S + 1, 17 * S, 4, kConnecting, 2},
      {"killed: refused", kDisconnected, 12 * S, 16 * S + 1, 17 * S + 1, 4, kDisconnected, 2},
      {"refused for long", kDisconnected, 12 * S, 16 * S + 1, 60 * S, 4, kDisconnected, 2},
      {"restarted", kConnected, 61 * S, 16 * S + 1, 61 * S, 4, kConnecting, 2},
      {"restarted but silent", kConnected, 61 * S, 16 * S + 1, 64 * S + 1, 4, kNotResponding, 2},
      {"restarted: its first heartbeat", kConnected, 61 * S, 64 * S + 2, 64 * S + 3, 4, kConnected, 3},
      {"dropped, its handshake refused since", kRefused, 61 * S, 64 * S + 2, 64 * S + 4, 5, kRefused, 3},
      {"the key let in: handshakes and data", kConnected, 70 * S, 70 * S + 1, 70 * S + 2, 5, kConnected, 4},
  };
  CLinkWatch watch(3 * kSecondNs);
  for (const sStep& step : arrSteps) {
    SCOPED_TRACE(step.szWhat);
    const sLinkStatus status =
        watch.Update(step.eSockets, step.nSocketsUpNs, step.nLastDataNs, step.nNowNs, step.nLost);
    EXPECT_EQ(status.eState, step.eShown);
    EXPECT_EQ(status.nSession, step.nSession);
    EXPECT_EQ(status.nDataAgeMs, step.nLastDataNs == 0 ? -1 : (step.nNowNs - step.nLastDataNs) / 1'000'000);
  }
}

TEST(LinkWatchTest, AConnectionLostBeforeTheLinkWasShownConnectedBeginsALaterSession) {
  // A publication connection dropped (a frame past the limit) while the answers already came.
  CLinkWatch watch(3 * kSecondNs);
  EXPECT_EQ(watch.Update(eLinkState::kConnecting, 0, kSecondNs, kSecondNs, 1).nSession, 0u);
  const sLinkStatus status = watch.Update(eLinkState::kConnected, 2 * kSecondNs, 2 * kSecondNs + 1, 2 * kSecondNs + 2, 1);
  EXPECT_EQ(status.eState, eLinkState::kConnected);
  EXPECT_EQ(status.nSession, 2u);
}

TEST(LinkWatchTest, DataAgeReadsAsAPersonSaysIt) {
  const std::pair<int64_t, const char*> arrRows[] = {
      {-1, "no data yet"},
      {0, "newest data 0.0 s ago"},
      {449, "newest data 0.4 s ago"},
      {9'999, "newest data 9.9 s ago"},
      {10'000, "newest data 10 s ago"},
      {119'999, "newest data 119 s ago"},
      {120'000, "newest data 2 min ago"},
      {7'260'000, "newest data 121 min ago"},
  };
  for (const auto& [nAgeMs, szText] : arrRows) EXPECT_EQ(DescribeDataAge(nAgeMs), szText) << nAgeMs;
}

using LinkLivenessTest = CRawServerTest;

TEST_F(LinkLivenessTest, AServerThatHandshakesButSendsNothingIsNotConnected) {
  const std::string strHeartbeat = halvowire::MakeTopicFrame(halvowire::kHeartbeatTopic);
  zmq::message_t subscription;
  ASSERT_TRUE(m_publisher.recv(subscription));  // the terminal's own heartbeat subscription
  // The sockets are up (the subscription came over one) and the status was judged again
  // since, yet no data: still connecting.
  const auto waitUntil = std::chrono::steady_clock::now() + std::chrono::milliseconds(1500);
  RunEventsUntil([&] { return std::chrono::steady_clock::now() >= waitUntil; });
  EXPECT_EQ(m_pTransport->GetLinkState(), eLinkState::kConnecting);
  EXPECT_EQ(m_pTransport->GetLinkStatus().nDataAgeMs, -1);

  SendFrames(m_publisher, {strHeartbeat, ComposeBytes("beat")});
  ASSERT_TRUE(RunEventsUntil([&] { return m_pTransport->GetLinkState() == eLinkState::kConnected; }));
  EXPECT_EQ(m_pTransport->GetLinkStatus().nSession, 1u);
  EXPECT_TRUE(m_receiver.m_arrReceived.empty());  // a heartbeat is not delivered

  // Silence, with every connection up: not responding after the liveness span.
  ASSERT_TRUE(RunEventsUntil([&] { return m_pTransport->GetLinkState() == eLinkState::kNotResponding; }));
  EXPECT_GE(m_pTransport->GetLinkStatus().nDataAgeMs, halvowire::kLivenessMs);
  EXPECT_EQ(m_pTransport->GetStats().nDropped, 0u);
}

TEST_F(LinkLivenessTest, AReceiverHoldingDeliveriesShowsAsPaused) {
  ASSERT_EQ(Subscribe(*m_pControl, "alerts"), 1);
  zmq::message_t subscription;
  for (int n = 0; n < 2; ++n) ASSERT_TRUE(m_publisher.recv(subscription));
  std::vector<sLinkDetails> arrShown;
  QObject::connect(m_pTransport.get(), &CRmsTransport::LinkDetailsChanged,
                   [&arrShown](const sLinkDetails& details) { arrShown.push_back(details); });
  // The first message opens a "box": a nested event loop of 2.5 s.
  m_receiver.m_fnAfterEach = [&](const sReceived&) {
    if (m_receiver.m_arrReceived.size() != 1) return;
    QEventLoop box;
    QTimer::singleShot(2500, &box, &QEventLoop::quit);
    box.exec();
  };
  const std::string strTopic = halvowire::MakeTopicFrame("alerts");
  const auto before = std::chrono::system_clock::now();
  SendFrames(m_publisher, {strTopic, ComposeBytes("first")});
  SendFrames(m_publisher, {strTopic, ComposeBytes("second")});
  ASSERT_TRUE(RunEventsUntil([&] { return m_receiver.m_arrReceived.size() == 2; }));
  const size_t nWhileOpen = arrShown.size();
  ASSERT_TRUE(RunEventsUntil([&] { return arrShown.size() > nWhileOpen; }));

  const auto itPaused = std::find_if(arrShown.begin(), arrShown.end(),
                                     [](const sLinkDetails& details) { return details.pausedSince.has_value(); });
  ASSERT_NE(itPaused, arrShown.end());
  EXPECT_GE(*itPaused->pausedSince, before - std::chrono::milliseconds(50));
  EXPECT_LE(*itPaused->pausedSince, before + std::chrono::seconds(2));
  EXPECT_FALSE(arrShown.back().pausedSince.has_value());
}

TEST_F(LinkLivenessTest, AFramePastTheLimitCostsTheConnectionNotTheMemory) {
  ASSERT_EQ(Subscribe(*m_pControl, "alerts"), 1);
  zmq::message_t subscription;
  for (int n = 0; n < 2; ++n) ASSERT_TRUE(m_publisher.recv(subscription));
  const std::string strTopic = halvowire::MakeTopicFrame("alerts");
  SendFrames(m_publisher, {strTopic, std::string(halvowire::kMaxFrameBytes + 1, 'x')});
  ASSERT_TRUE(RunEventsUntil([&] { return m_pTransport->GetStats().nDropped >= 1; }));
  // The terminal connects again and subscribes again; what comes then arrives.
  std::string strAlerts(1, '\x01');
  strAlerts.append(strTopic);
  do {
    ASSERT_TRUE(m_publisher.recv(subscription));
  } while (subscription.to_string() != strAlerts);
  SendFrames(m_publisher, {strTopic, ComposeBytes("after")});
  ASSERT_TRUE(RunEventsUntil([&] { return m_receiver.m_arrReceived.size() == 1; }));
  EXPECT_EQ(m_receiver.m_arrReceived[0].GetField(32767), "after");
}

}  // namespace
