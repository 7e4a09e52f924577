// Frames from the wire that are not what the server sends are counted and dropped; the
// well-formed messages around them still arrive. The server here is bare ZeroMQ sockets.
#include <gtest/gtest.h>

#include <zmq.hpp>

#include "host/transport/DeliveryMeter.h"
#include "host/transport/RmsTransport.h"
#include "host/transport/TransportWire.h"
#include "host/transport/ZmqLinkSettings.h"
#include "tests/host/transport/TransportTestSupport.h"

namespace {

using namespace transporttest;

using MalformedFrameTest = CRawServerTest;

TEST_F(MalformedFrameTest, BadResponsesAreDropped) {
  CTestComposer composer;
  ASSERT_EQ(SendRequest(*m_pControl, composer, {{0, "roth_rst"}}), 1);
  // What the control sends: its identity, the request marker, the message.
  zmq::message_t identity;
  zmq::message_t marker;
  zmq::message_t request;
  ASSERT_TRUE(m_router.recv(identity));
  ASSERT_TRUE(m_router.recv(marker));
  ASSERT_TRUE(m_router.recv(request));
  EXPECT_EQ(marker.to_string(), std::string(1, halvowire::kRequestMarker));
  EXPECT_EQ(
      ReadField(std::vector<uint8_t>(request.data<uint8_t>(), request.data<uint8_t>() + request.size()), 0),
      "roth_rst");

  const std::string strIdentity = identity.to_string();
  const std::vector<std::vector<std::string>> arrResponses = {
      {strIdentity, ComposeBytes("first")},
      {strIdentity, "not a message"},
      {strIdentity, ComposeBytes("extra frame"), ComposeBytes("extra frame")},
      {strIdentity, ComposeBytes("first").substr(0, 10)},
      {strIdentity, ComposeBytes("last")},
  };
  for (const std::vector<std::string>& arrFrames : arrResponses) SendFrames(m_router, arrFrames);

  ASSERT_TRUE(RunEventsUntil([&] { return m_receiver.m_arrReceived.size() == 2; }));
  EXPECT_EQ(m_receiver.m_arrReceived[0].GetField(32767), "first");
  EXPECT_EQ(m_receiver.m_arrReceived[1].GetField(32767), "last");
  EXPECT_EQ(m_pTransport->GetStats().nMalformed, 3u);
}

TEST_F(MalformedFrameTest, BadPublicationsAreDropped) {
  ASSERT_EQ(Subscribe(*m_pControl, "alerts"), 1);
  // The terminal takes the server's heartbeats by itself, before anything a control asks for.
  for (const char* szTopic : {halvowire::kHeartbeatTopic, "alerts"}) {
    zmq::message_t subscription;
    ASSERT_TRUE(m_publisher.recv(subscription));
    std::string strSubscribe(1, '\x01');
    strSubscribe.append(halvowire::MakeTopicFrame(szTopic));
    EXPECT_EQ(subscription.to_string(), strSubscribe);
  }

  const std::string strTopic = halvowire::MakeTopicFrame("alerts");
  std::string strTopicAndMore = strTopic;
  strTopicAndMore.push_back('x');
  const std::string strSendTime = halvowire::MakeSendTimeFrame(1);
  const std::vector<std::vector<std::string>> arrPublications = {
      {strTopic, ComposeBytes("first")},
      {strTopic, "garbage"},
      {strTopic},
      {strTopic, ComposeBytes("short send time"), "more"},
      {strTopic, ComposeBytes("with its send time"), strSendTime},
      {strTopic, ComposeBytes("four frames"), strSendTime, "more"},
      {strTopic, ComposeBytes("long send time"), strSendTime + "x"},
      {strTopicAndMore, ComposeBytes("bytes after the NUL")},
      {strTopic, ComposeBytes("last")},
  };
  for (const std::vector<std::string>& arrFrames : arrPublications) SendFrames(m_publisher, arrFrames);

  ASSERT_TRUE(RunEventsUntil([&] { return m_receiver.m_arrReceived.size() == 3; }));
  EXPECT_EQ(m_receiver.m_arrReceived[0].GetField(32767), "first");
  EXPECT_TRUE(m_receiver.m_arrReceived[0].bPublication);
  EXPECT_EQ(m_receiver.m_arrReceived[1].GetField(32767), "with its send time");
  EXPECT_EQ(m_receiver.m_arrReceived[2].GetField(32767), "last");
  EXPECT_EQ(m_pTransport->GetStats().nMalformed, 6u);
}

// The send time a publication carries reaches the delivery observer; a two-frame publication
// from an older server arrives without one.
TEST_F(MalformedFrameTest, TheSendTimeTravelsWithThePublication) {
  constexpr int64_t kNowNs = 9'000'000'000;
  CDeliveryMeter meter([] { return kNowNs; });
  m_pTransport->SetDeliveryObserver(&meter);
  meter.StartMeasuring();
  ASSERT_EQ(Subscribe(*m_pControl, "values"), 1);
  // The terminal's own heartbeat subscription may come first: publications go out only once
  // the subscription to theirs has arrived.
  const std::string strTopic = halvowire::MakeTopicFrame("values");
  const std::string strSubscribe = '\x01' + strTopic;
  for (zmq::message_t subscription; subscription.to_string() != strSubscribe;)
    ASSERT_TRUE(m_publisher.recv(subscription));

  SendFrames(m_publisher,
             {strTopic, ComposeBytes("sent 25 ms ago"), halvowire::MakeSendTimeFrame(kNowNs - 25'000'000)});
  SendFrames(m_publisher, {strTopic, ComposeBytes("no send time")});
  ASSERT_TRUE(RunEventsUntil([&] { return m_receiver.m_arrReceived.size() == 2; }));
  m_pTransport->SetDeliveryObserver(nullptr);

  EXPECT_EQ(m_receiver.m_arrReceived[1].GetField(32767), "no send time");
  EXPECT_EQ(meter.GetMeasuredCount(), 2u);
  ASSERT_EQ(meter.GetDelays().GetCount(), 1u);
  EXPECT_EQ(meter.GetDelays().GetPercentile(100), 25'000'000);
}

}  // namespace
