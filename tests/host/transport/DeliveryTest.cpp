// Hand-over to the user-interface thread: a backlog that built up while the thread was busy
// arrives whole and in order, in turns that let other events run; a closed or destroyed
// control gets nothing more, not even what was already queued for it.
#include <QCoreApplication>

#include "tests/host/transport/TransportTestSupport.h"

namespace {

using namespace transporttest;
using namespace std::chrono_literals;

constexpr const char* kTopic = "sequence";

class DeliveryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_pServer = StartServer(MakeServerOptions(0));
    ASSERT_NE(m_pServer, nullptr);
    m_pTransport = std::make_unique<CRmsTransport>(m_pServer->GetEndpoints());
    m_pSinkControl = m_pTransport->CreateControl(&m_sink);
    m_pPublisherControl = m_pTransport->CreateControl(&m_publisher);
    ASSERT_EQ(Subscribe(*m_pSinkControl, kTopic), 1);
    // Once a publication made after the subscription comes back, nothing earlier is in flight.
    ASSERT_TRUE(RunEventsUntil([&] {
      PublishNumber("probe");
      return !m_sink.m_arrReceived.empty();
    }));
    PublishNumber("last probe");
    ASSERT_TRUE(RunEventsUntil([&] { return m_sink.m_arrReceived.back().GetField(1) == "last probe"; }));
    m_sink.m_arrReceived.clear();
  }

  void PublishNumber(const std::string& strNumber) {
    ASSERT_EQ(Publish(*m_pPublisherControl, m_composer, {{54211, kTopic}, {1, strNumber}}), 1);
  }

  // Publishes nCount numbered messages and waits, without running events, until all are queued.
  void QueueWhileBusy(int nCount) {
    for (int n = 0; n < nCount; ++n) PublishNumber(std::to_string(n));
    ASSERT_TRUE(RunEventsUntil(
        [&] { return m_pTransport->GetStats().nQueued == static_cast<uint64_t>(nCount); }, false));
  }

  std::unique_ptr<CRmsServer> m_pServer;
  CKeepingReceiver m_sink, m_publisher;
  std::unique_ptr<CRmsTransport> m_pTransport;
  CPyxoRxControl *m_pSinkControl = nullptr, *m_pPublisherControl = nullptr;
  CTestComposer m_composer;
};

TEST_F(DeliveryTest, ABacklogArrivesWholeInOrderInTurns) {
  constexpr int kCount = 10000;
  // Budget, drain turns for the backlog, messages delivered when an event posted after it ran.
  const std::tuple<std::chrono::microseconds, uint64_t, size_t> arrRows[] = {
      {0us, kCount, 1}, {std::chrono::hours(1), 1, kCount}};
  for (const auto& [budget, nTurns, nDeliveredWhenOtherRuns] : arrRows) {
    SCOPED_TRACE(nTurns);
    m_sink.m_arrReceived.clear();
    m_pTransport->SetDeliveryTurnBudget(budget);
    const sTransportStats before = m_pTransport->GetStats();
    QueueWhileBusy(kCount);
    // However long the thread was busy, one drain event waits for the whole backlog.
    EXPECT_EQ(m_pTransport->GetStats().nDrainPosts, before.nDrainPosts + 1);

    size_t nDeliveredWhenOtherRan = 0;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [&] { nDeliveredWhenOtherRan = m_sink.m_arrReceived.size(); },
        Qt::QueuedConnection);
    ASSERT_TRUE(
        RunEventsUntil([&] { return m_pTransport->GetStats().nQueued == 0 && nDeliveredWhenOtherRan > 0; }));
    std::vector<std::string> arrNumbers;
    for (int n = 0; n < kCount; ++n) arrNumbers.push_back(std::to_string(n));
    ASSERT_EQ(m_sink.GetFields(1), arrNumbers);
    const sTransportStats after = m_pTransport->GetStats();
    EXPECT_EQ(after.nDrainTurns - before.nDrainTurns, nTurns);
    EXPECT_EQ(nDeliveredWhenOtherRan, nDeliveredWhenOtherRuns);
    EXPECT_EQ(after.nDelivered - before.nDelivered, static_cast<uint64_t>(kCount));
  }
}

TEST_F(DeliveryTest, NothingReachesAClosedOrDestroyedControl) {
  const std::tuple<const char*, std::function<void()>, size_t> arrRows[] = {
      {"destroyed",
       [this] {
         m_pTransport->DestroyControl(m_pSinkControl);
         m_pSinkControl = nullptr;
       },
       0},
      {"closed by its receiver at the tenth message",
       [this] {
         m_sink.m_fnAfterEach = [this](const sReceived&) {
           if (m_sink.m_arrReceived.size() == 10) m_pSinkControl->Close(0);
         };
       },
       10},
  };
  for (const auto& [szCase, fnStop, nDelivered] : arrRows) {
    SCOPED_TRACE(szCase);
    SetUp();
    QueueWhileBusy(100);
    fnStop();
    ASSERT_TRUE(RunEventsUntil([&] { return m_pTransport->GetStats().nQueued == 0; }));
    EXPECT_EQ(m_sink.m_arrReceived.size(), nDelivered);
    if (m_pSinkControl == nullptr) continue;
    EXPECT_EQ(
        SendRequest(*m_pSinkControl, m_composer, {{0, "roth_rst"}}) + Subscribe(*m_pSinkControl, kTopic), 0);
  }
}

}  // namespace
