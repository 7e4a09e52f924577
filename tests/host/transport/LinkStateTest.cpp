// What the link's state says: as good as its worst socket, judged by the data the server sends,
// not by TCP alone; the age of the newest data; deliveries held by a receiver that shows a box.
#include <QEventLoop>
#include <QTimer>

#include "host/transport/LinkState.h"
#include "tests/host/transport/TransportTestSupport.h"

namespace {

using namespace transporttest;

constexpr int64_t S = 1'000'000'000;

TEST(LinkStateTest, TheLinkIsAsGoodAsItsWorstSocket) {
  using enum eLinkState;
  const std::pair<std::vector<eLinkState>, eLinkState> arrRows[] = {
      {{}, kConnecting},
      {{kConnected}, kConnected},
      {{kConnected, kConnecting}, kConnecting},
      {{kConnecting, kDisconnected, kConnected}, kDisconnected},
      {{kDisconnected, kRefused, kConnected}, kRefused},
      {{kRefused, kKeyProblem}, kKeyProblem},
  };
  for (const auto& [arrSockets, eLink] : arrRows) EXPECT_EQ(CombineLinkStates(arrSockets), eLink);
}

TEST(LinkWatchTest, ConnectedOnlyWhileTheServerSendsData) {
  using enum eLinkState;
  const struct {
    const char* szWhat;
    eLinkState eSockets;
    int64_t nSocketsUpNs, nLastDataNs, nNowNs;
    uint64_t nLost;  // connections lost so far
    eLinkState eShown;
    uint32_t nSession;
  } arrSteps[] = {
      {"nothing yet", kConnecting, 0, 0, 1 * S, 0, kConnecting, 0},
      {"TCP and handshakes, no data", kConnected, 2 * S, 0, 2 * S, 0, kConnecting, 0},
      {"data from before the sockets were up does not count", kConnected, 2 * S, S, 3 * S, 0, kConnecting, 0},
      {"a heartbeat", kConnected, 2 * S, 3 * S, 3 * S + 1, 0, kConnected, 1},
      {"a control's new socket still connecting", kConnecting, 2 * S, 3 * S, 3 * S + 2, 0, kConnected, 1},
      {"connected, no data since: same session", kConnected, 3 * S + 3, 3 * S, 3 * S + 5, 0, kConnected, 1},
      {"quiet but within the liveness", kConnected, 3 * S + 3, 3 * S + 4, 6 * S, 0, kConnected, 1},
      {"frozen: sockets up, no data", kConnected, 3 * S + 3, 3 * S + 4, 6 * S + 5, 0, kNotResponding, 1},
      {"frozen: heartbeat timeout dropped sockets", kConnecting, 3 * S, 3 * S, 10 * S, 2, kNotResponding, 1},
      {"back: handshakes", kConnected, 12 * S, 3 * S, 12 * S, 2, kConnecting, 1},
      {"back: new connection's data: new session", kConnected, 12 * S, 12 * S + 5, 12 * S + 9, 2, kConnected,
       2},
      {"a short freeze keeps the session", kConnected, 12 * S, 12 * S + 5, 16 * S, 2, kNotResponding, 2},
      {"data again", kConnected, 12 * S, 16 * S + 1, 16 * S + 2, 2, kConnected, 2},
      {"killed: connections gone", kConnecting, 12 * S, 16 * S + 1, 17 * S, 4, kConnecting, 2},
      {"killed: refused", kDisconnected, 12 * S, 16 * S + 1, 17 * S + 1, 4, kDisconnected, 2},
      {"restarted", kConnected, 61 * S, 16 * S + 1, 61 * S, 4, kConnecting, 2},
      {"restarted but silent", kConnected, 61 * S, 16 * S + 1, 64 * S + 1, 4, kNotResponding, 2},
      {"restarted: its first heartbeat", kConnected, 61 * S, 64 * S + 2, 64 * S + 3, 4, kConnected, 3},
      {"dropped, its handshake refused since", kRefused, 61 * S, 64 * S + 2, 64 * S + 4, 5, kRefused, 3},
      {"the key let in: handshakes and data", kConnected, 70 * S, 70 * S + 1, 70 * S + 2, 5, kConnected, 4},
  };
  CLinkWatch watch(3 * S);
  for (const auto& step : arrSteps) {
    SCOPED_TRACE(step.szWhat);
    const sLinkStatus status =
        watch.Update(step.eSockets, step.nSocketsUpNs, step.nLastDataNs, step.nNowNs, step.nLost);
    EXPECT_EQ(std::tuple(status.eState, status.nSession, status.nDataAgeMs),
              std::tuple(step.eShown, step.nSession,
                         step.nLastDataNs == 0 ? -1 : (step.nNowNs - step.nLastDataNs) / 1'000'000));
  }
  // A publication connection dropped (a frame past the limit) while the answers already came:
  // the session the link is first shown connected in is a later one.
  CLinkWatch early(3 * S);
  EXPECT_EQ(early.Update(eLinkState::kConnecting, 0, S, S, 1).nSession, 0u);
  EXPECT_EQ(early.Update(eLinkState::kConnected, 2 * S, 2 * S + 1, 2 * S + 2, 1).nSession, 2u);
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

TEST_F(LinkLivenessTest, AReceiverHoldingDeliveriesShowsAsPaused) {
  SubscribeAndAwait("alerts");
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
  const auto before = std::chrono::system_clock::now();
  for (const char* szMarker : {"first", "second"})
    SendFrames(m_publisher, {halvowire::MakeTopicFrame("alerts"), ComposeBytes(szMarker)});
  ASSERT_TRUE(RunEventsUntil([&] { return m_receiver.m_arrReceived.size() == 2; }));
  const size_t nWhileOpen = arrShown.size();
  ASSERT_TRUE(RunEventsUntil([&] { return arrShown.size() > nWhileOpen; }));

  const auto itPaused = std::find_if(arrShown.begin(), arrShown.end(), [](const sLinkDetails& details) {
    return details.pausedSince.has_value();
  });
  ASSERT_NE(itPaused, arrShown.end());
  EXPECT_TRUE(*itPaused->pausedSince >= before - std::chrono::milliseconds(50) &&
              *itPaused->pausedSince <= before + std::chrono::seconds(2));
  EXPECT_FALSE(arrShown.back().pausedSince.has_value());
}

}  // namespace
