// Receive controls against a real risk server on loopback: requests and their responses,
// subscriptions, client publications, and the answers a plug-in gets at start-up.
#include <gtest/gtest.h>

#include <optional>
#include <zmq.hpp>

#include "host/transport/RmsTransport.h"
#include "host/transport/TransportWire.h"
#include "link/RmsProtocol.h"
#include "tests/transport/TransportTestSupport.h"

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

TEST_F(RxControlTest, StartUpRequestsAreAnsweredInTheShapeTheReceiverExpects) {
  CKeepingReceiver receiver;
  CPyxoRxControl& control = Open(receiver);
  for (const char* szRequest :
       {"om_get_user_peer_data", "mrv_rst_show_tree_all", "roth_rst", "mrv_surv_alert_show_tree_all"})
    ASSERT_EQ(SendRequest(control, m_composer, {{0, szRequest}, {31003, "RISK01"}}), 1);
  // Peer data, the records and an end, three calls and an end, three alerts and an end.
  const CEntityTree tree(MakeServerOptions(0).tree, 1);
  const size_t nExpected = 1 + tree.GetRecords().size() + 1 + 3 + 1 + 3 + 1;
  ASSERT_TRUE(RunEventsUntil([&] { return receiver.m_arrReceived.size() == nExpected; }));

  // Each response reduced to what the receiver looks at; runs of equal shapes fold into one.
  const auto Has = [](const sReceived& received, uint32_t nField) {
    return ReadField(received.arrBytes, nField).has_value();
  };
  std::vector<std::string> arrShapes;
  for (const sReceived& received : receiver.m_arrReceived) {
    const std::string strName = received.GetField(32767);
    const std::string strStatus = received.GetField(32766);
    std::string strShape = strName + " " + strStatus;
    if (strStatus == "5" && strName == "mrv_rst_show_tree_all" && Has(received, 64050) &&
        Has(received, 54244))
      strShape += " record, " + received.GetField(54211);
    if (strStatus == "5" && strName == "roth_rst" && Has(received, 64050) && Has(received, 54244) &&
        Has(received, 54247) &&
        (Has(received, 49288) && Has(received, 10615)) != (Has(received, 49302) && Has(received, 12030)))
      strShape += " one call";
    if (strStatus == "5" && strName == "mrv_surv_alert_show_tree_all" && Has(received, 54001) &&
        Has(received, 54247))
      strShape += " alert, " + received.GetField(54211);
    if (arrShapes.empty() || arrShapes.back() != strShape) arrShapes.push_back(strShape);
  }
  const std::vector<std::string> arrExpected = {
      "om_get_user_peer_data 5",
      "mrv_rst_show_tree_all 5 record, rms prsnt value publish",
      "mrv_rst_show_tree_all 7",
      "roth_rst 5 one call",
      "roth_rst 7",
      "mrv_surv_alert_show_tree_all 5 alert, manual sms alert",
      "mrv_surv_alert_show_tree_all 7",
  };
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

struct sRawMessage {
  std::string strTopic;
  std::string strBody;
};

// The next publication on a bare ZeroMQ subscriber (its receive time-out set), or nullopt:
// topic, message and send time.
std::optional<sRawMessage> ReceiveRaw(zmq::socket_t& socket) {
  zmq::message_t topic;
  zmq::message_t body;
  zmq::message_t sendTime;
  if (!socket.recv(topic) || !topic.more() || !socket.recv(body) || !body.more() || !socket.recv(sendTime) ||
      sendTime.more())
    return std::nullopt;
  return sRawMessage{topic.to_string(), body.to_string()};
}

// A subscription to a name reaches publications of that name, never those of a longer name that
// starts with it. Bare ZeroMQ subscribers show what the framing prevents.
TEST_F(RxControlTest, SubscriptionsMatchTheWholeName) {
  CKeepingReceiver values;
  CKeepingReceiver calls;
  CKeepingReceiver publisher;
  CPyxoRxControl& valuesControl = Open(values);
  CPyxoRxControl& callsControl = Open(calls);
  CPyxoRxControl& publisherControl = Open(publisher);
  ASSERT_EQ(Subscribe(valuesControl, "rms prsnt value publish"), 1);
  ASSERT_EQ(Subscribe(callsControl, "rms prsnt value publish ZEL"), 1);

  zmq::context_t context;
  const auto OpenRaw = [&](const std::string& strSubscription) {
    zmq::socket_t raw(context, zmq::socket_type::sub);
    raw.set(zmq::sockopt::linger, 0);
    raw.set(zmq::sockopt::rcvtimeo, static_cast<int>(kPatience.count() * 1000));
    raw.set(zmq::sockopt::subscribe, strSubscription);
    raw.connect(m_pServer->GetEndpoints().strPublications);
    return raw;
  };
  zmq::socket_t framed = OpenRaw(halvowire::MakeTopicFrame("rms prsnt value publish"));
  zmq::socket_t bare = OpenRaw("rms prsnt value publish");
  // Every subscriber is in place once it has had a feed message.
  ASSERT_TRUE(RunEventsUntil([&] { return values.CountPublications() > 0; }));
  ASSERT_TRUE(ReceiveRaw(framed).has_value());
  ASSERT_TRUE(ReceiveRaw(bare).has_value());

  const std::vector<std::pair<uint32_t, std::string>> arrCall = {{54211, "rms prsnt value publish ZEL"},
                                                                 {64050, "account-A10003"},
                                                                 {54244, "ALL-ALL-ALL-ALL"},
                                                                 {49302, "LEVEL 1"},
                                                                 {12030, "06/12/2024 10:15:00 AM"},
                                                                 {54247, "RISK01"}};
  ASSERT_EQ(Publish(publisherControl, m_composer, arrCall), 1);
  ASSERT_TRUE(RunEventsUntil([&] { return !calls.m_arrReceived.empty(); }));

  // The bare name takes the call status too; note the first feed message after it.
  std::optional<std::string> strFeedAfterCall;
  bool bBareGotCall = false;
  while (!strFeedAfterCall) {
    const std::optional<sRawMessage> message = ReceiveRaw(bare);
    ASSERT_TRUE(message.has_value());
    if (message->strTopic.starts_with("rms prsnt value publish ZEL"))
      bBareGotCall = true;
    else if (bBareGotCall)
      strFeedAfterCall = message->strBody;
  }
  // The framed name gets that feed message without the call status before it.
  for (;;) {
    const std::optional<sRawMessage> message = ReceiveRaw(framed);
    ASSERT_TRUE(message.has_value());
    ASSERT_EQ(message->strTopic, halvowire::MakeTopicFrame("rms prsnt value publish"));
    if (message->strBody == *strFeedAfterCall) break;
  }

  ASSERT_TRUE(RunEventsUntil([&] { return values.CountPublications() > 5; }));
  for (const sReceived& received : values.m_arrReceived)
    EXPECT_EQ(received.GetField(54211), "rms prsnt value publish");
  ASSERT_EQ(calls.m_arrReceived.size(), 1u);
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
