// The hand-over under a backlog: a newer value of an entity replaces the one still waiting, in
// its place; anything else about the entity (a delete mark, a call status, an answer, a value
// the plug-in would screen or file apart) stops that, so each entity's messages keep their
// order and nothing but a superseded value is ever dropped. The queued bytes are bounded.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/transport/DeliveryQueue.h"
#include "protocol/RmsProtocol.h"
#include "tests/host/transport/TransportTestSupport.h"

namespace {

using namespace transporttest;

constexpr uint32_t kLabelField = 1;

// One message as the server would send it, named by its label.
struct sSent {
  std::string strLabel;
  std::string strEntity = "account-A1";
  const char* szName = rmsproto::kValuesTopic;
  bool bPublication = true;
  bool bDeleted = false;
  std::string strPeer;
  uint64_t nControl = 1;
};

sDelivery MakeDelivery(const sSent& sent) {
  CMessageBuilder builder;
  builder.AddText(sent.bPublication ? rmsproto::kPublicationNameField : rmsproto::kResponseNameField,
                  sent.szName);
  builder.AddText(rmsproto::kEntityTextField, sent.strEntity);
  builder.AddText(rmsproto::kLevelTextField, "CM-NSE-NRML");
  if (!sent.strPeer.empty()) builder.AddText(rmsproto::kPeerValueField, sent.strPeer);
  if (sent.bDeleted) builder.AddText(rmsproto::kDeleteMarkField, "1");
  builder.AddText(kLabelField, sent.strLabel);
  const std::vector<uint8_t>& arrBytes = builder.GetBytes();
  OTP_MSG hMsg = ParseOtpMessage(arrBytes.data(), arrBytes.size(), nullptr);
  return {sent.nControl,
          sent.bPublication,
          hMsg,
          0,
          GetDeliveryKey(hMsg, sent.bPublication),
          GetOtpMessageFootprint(hMsg)};
}

struct sConflationRow {
  const char* szCase;
  std::vector<sSent> arrSent;
  std::vector<std::string> arrDelivered;  // labels, in delivery order, of control 1
};

sSent Value(const char* szLabel, const char* szEntity = "account-A1") {
  sSent sent;
  sent.strLabel = szLabel;
  sent.strEntity = szEntity;
  return sent;
}

sSent Other(const char* szLabel, const char* szName, bool bPublication = true) {
  sSent sent = Value(szLabel);
  sent.szName = szName;
  sent.bPublication = bPublication;
  return sent;
}

sSent Deleted(const char* szLabel) {
  sSent sent = Value(szLabel);
  sent.bDeleted = true;
  return sent;
}

sSent WithPeer(const char* szLabel, const char* szPeer) {
  sSent sent = Value(szLabel);
  sent.strPeer = szPeer;
  return sent;
}

sSent ForControl(const char* szLabel, uint64_t nControl) {
  sSent sent = Value(szLabel);
  sent.nControl = nControl;
  return sent;
}

// Each row's messages are queued at once, as a backlog, then delivered.
TEST(Conflation, DeliversTheNewestValueInOrderPerEntity) {
  GetApplication();
  const sConflationRow arrRows[] = {
      {"NewestValueTakesThePlaceOfTheWaitingOne",
       {Value("a1"), Value("b1", "account-B1"), Value("a2"), Value("a3")},
       {"a3", "b1"}},
      {"DeleteMarkIsNeverOvertaken", {Value("a1"), Deleted("del"), Value("a2")}, {"a1", "del", "a2"}},
      {"CallStatusKeepsItsPlace",
       {Value("a1"), Other("call", rmsproto::kCallStatusTopic), Value("a2")},
       {"a1", "call", "a2"}},
      {"TreeAnswerOfTheEntityKeepsItsPlace",
       {Value("a1"), Other("tree", rmsproto::kTreeRequest, false), Value("a2")},
       {"a1", "tree", "a2"}},
      // Both texts name the plug-in's record of A1, so neither may pass the other.
      {"OtherTextOfTheSameIdKeepsItsPlace",
       {Value("a1"), Value("x", "xaccount-A1"), Value("a2")},
       {"a1", "x", "a2"}},
      {"OtherPeerValueIsNotSuperseded", {WithPeer("a1", "BR1"), WithPeer("a2", "BR2")}, {"a1", "a2"}},
      {"ControlsAreApart", {ForControl("a1", 1), ForControl("o1", 2), ForControl("a2", 1)}, {"a2"}}};
  for (const sConflationRow& row : arrRows) {
    SCOPED_TRACE(row.szCase);
    CDeliveryQueue queue;
    CKeepingReceiver receiver;
    CKeepingReceiver other;
    queue.AddReceiver(1, &receiver);
    queue.AddReceiver(2, &other);
    std::vector<sDelivery> arrBatch;
    for (const sSent& sent : row.arrSent) arrBatch.push_back(MakeDelivery(sent));
    queue.Append(arrBatch);
    ASSERT_TRUE(RunEventsUntil([&] { return queue.GetQueuedCount() == 0; }));
    std::vector<std::string> arrLabels;
    for (const sReceived& received : receiver.m_arrReceived)
      arrLabels.push_back(received.GetField(kLabelField));
    EXPECT_EQ(arrLabels, row.arrDelivered);
    EXPECT_EQ(queue.GetConflatedCount() + receiver.m_arrReceived.size() + other.m_arrReceived.size(),
              row.arrSent.size());
    EXPECT_EQ(queue.GetQueuedBytes(), 0u);
  }
}

TEST(ConflationSwitch, OffDeliversEveryValue) {
  GetApplication();
  CDeliveryQueue queue;
  queue.SetConflation(false);
  CKeepingReceiver receiver;
  queue.AddReceiver(1, &receiver);
  std::vector<sDelivery> arrBatch = {MakeDelivery(Value("a1")), MakeDelivery(Value("a2"))};
  queue.Append(arrBatch);
  ASSERT_TRUE(RunEventsUntil([&] { return queue.GetQueuedCount() == 0; }));
  EXPECT_EQ(receiver.m_arrReceived.size(), 2u);
  EXPECT_EQ(queue.GetConflatedCount(), 0u);
}

TEST(ConflationBound, FullAtTheBoundAndFreeOnceDelivered) {
  GetApplication();
  CDeliveryQueue queue;
  CKeepingReceiver receiver;
  queue.AddReceiver(1, &receiver);
  std::vector<sDelivery> arrBatch = {MakeDelivery(Value("a1"))};
  const uint64_t nOneMessage = arrBatch.front().nBytes;
  ASSERT_GT(nOneMessage, 0u);
  queue.SetByteBound(2 * nOneMessage);
  queue.Append(arrBatch);
  EXPECT_FALSE(queue.IsFull());
  // A newer value of the same entity takes no more room.
  arrBatch = {MakeDelivery(Value("a2"))};
  queue.Append(arrBatch);
  EXPECT_FALSE(queue.IsFull());
  arrBatch = {MakeDelivery(Value("b1", "account-B1"))};
  queue.Append(arrBatch);
  EXPECT_TRUE(queue.IsFull());
  EXPECT_EQ(queue.GetPeakQueuedBytes(), 2 * nOneMessage);
  ASSERT_TRUE(RunEventsUntil([&] { return queue.GetQueuedCount() == 0; }));
  EXPECT_FALSE(queue.IsFull());
}

}  // namespace
