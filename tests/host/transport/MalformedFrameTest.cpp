// Frames from the wire that are not what the server sends are counted and dropped; the
// well-formed messages around them still arrive, a publication's send time with it.
#include "host/transport/DeliveryMeter.h"
#include "tests/host/transport/TransportTestSupport.h"

namespace {

using namespace transporttest;

using MalformedFrameTest = CRawServerTest;
using FrameList = std::vector<std::vector<std::string>>;

TEST_F(MalformedFrameTest, BadResponsesAreDropped) {
  CTestComposer composer;
  ASSERT_EQ(SendRequest(*m_pControl, composer, {{0, "roth_rst"}}), 1);
  // What the control sends: its identity, the request marker, the message.
  zmq::message_t identity, marker, request;
  ASSERT_TRUE(m_router.recv(identity) && m_router.recv(marker) && m_router.recv(request));

  const std::string strId = identity.to_string();
  for (const std::vector<std::string>& arrFrames :
       FrameList{{strId, ComposeBytes("first")}, {strId, "not a message"},
                 {strId, ComposeBytes("extra frame"), ComposeBytes("extra frame")},
                 {strId, ComposeBytes("first").substr(0, 10)}, {strId, ComposeBytes("last")}})
    SendFrames(m_router, arrFrames);

  ASSERT_TRUE(RunEventsUntil([&] { return m_receiver.m_arrReceived.size() == 2; }));
  EXPECT_EQ(m_receiver.GetFields(32767), (std::vector<std::string>{"first", "last"}));
  EXPECT_EQ(std::pair(m_receiver.CountPublications(), m_pTransport->GetStats().nMalformed),
            std::pair(size_t{0}, uint64_t{3}));
}

// The send time a publication carries reaches the delivery observer; a two-frame publication
// from an older server arrives without one.
TEST_F(MalformedFrameTest, BadPublicationsAreDroppedAndTheSendTimeTravelsWithTheRest) {
  constexpr int64_t kNowNs = 9'000'000'000;
  CDeliveryMeter meter([] { return kNowNs; });
  m_pTransport->SetDeliveryObserver(&meter);
  meter.StartMeasuring();
  SubscribeAndAwait("alerts");

  const std::string strTopic = halvowire::MakeTopicFrame("alerts");
  const std::string strSendTime = halvowire::MakeSendTimeFrame(kNowNs - 25'000'000);
  for (const std::vector<std::string>& arrFrames :
       FrameList{{strTopic, ComposeBytes("no send time")}, {strTopic, "garbage"}, {strTopic},
                 {strTopic, ComposeBytes("short send time"), "more"},
                 {strTopic, ComposeBytes("sent 25 ms ago"), strSendTime},
                 {strTopic, ComposeBytes("four frames"), strSendTime, "more"},
                 {strTopic, ComposeBytes("long send time"), strSendTime + "x"},
                 {strTopic + "x", ComposeBytes("bytes after the NUL")}, {strTopic, ComposeBytes("last")}})
    SendFrames(m_publisher, arrFrames);

  ASSERT_TRUE(RunEventsUntil([&] { return m_receiver.m_arrReceived.size() == 3; }));
  m_pTransport->SetDeliveryObserver(nullptr);
  EXPECT_EQ(m_receiver.GetFields(32767), (std::vector<std::string>{"no send time", "sent 25 ms ago", "last"}));
  EXPECT_EQ(std::tuple(m_receiver.CountPublications(), m_pTransport->GetStats().nMalformed, meter.GetMeasuredCount()),
            std::tuple(size_t{3}, uint64_t{6}, uint64_t{3}));
  ASSERT_EQ(meter.GetDelays().GetCount(), 1u);
  EXPECT_EQ(meter.GetDelays().GetPercentile(100), 25'000'000);
}

}  // namespace
