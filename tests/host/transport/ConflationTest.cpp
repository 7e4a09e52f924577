// The hand-over under a backlog: a newer value of an entity replaces the one still waiting, in
// its place; anything else about the entity (a delete mark, a call status, an answer, a value
// the plug-in would screen or file apart) stops that, so each entity's messages keep their
// order and nothing but a superseded value is ever dropped. The queued bytes are bounded.
#include "host/transport/DeliveryQueue.h"
#include "protocol/RmsProtocol.h"
#include "tests/host/transport/TransportTestSupport.h"

namespace {

using namespace transporttest;

// One message as the server would send it, named by its label (field 1).
struct sSent {
  std::string strLabel{};
  std::string strEntity = "account-A1";
  const char* szName = rmsproto::kValuesTopic;
  bool bPublication = true;
  bool bDeleted = false;
  std::string strPeer{};
  uint64_t nControl = 1;
};

sDelivery MakeDelivery(const sSent& sent) {
  FieldList arrFields = {
      {sent.bPublication ? rmsproto::kPublicationNameField : rmsproto::kResponseNameField, sent.szName},
      {rmsproto::kEntityTextField, sent.strEntity},
      {rmsproto::kLevelTextField, "CM-NSE-NRML"}};
  if (!sent.strPeer.empty()) arrFields.emplace_back(rmsproto::kPeerValueField, sent.strPeer);
  if (sent.bDeleted) arrFields.emplace_back(rmsproto::kDeleteMarkField, "1");
  arrFields.emplace_back(1, sent.strLabel);
  const std::vector<uint8_t> arrBytes = ComposeMessage(arrFields);
  OTP_MSG hMsg = ParseOtpMessage(arrBytes.data(), arrBytes.size(), nullptr);
  return {sent.nControl, sent.bPublication, hMsg, 0, GetDeliveryKey(hMsg, sent.bPublication),
          GetOtpMessageFootprint(hMsg)};
}

// Queues the messages at once, as a backlog, and delivers them: the labels control 1 got.
std::vector<std::string> Deliver(bool bConflation, const std::vector<sSent>& arrSent) {
  CKeepingReceiver receiver, other;
  CDeliveryQueue queue;
  queue.SetConflation(bConflation);
  queue.AddReceiver(1, &receiver);
  queue.AddReceiver(2, &other);
  std::vector<sDelivery> arrBatch;
  for (const sSent& sent : arrSent) arrBatch.push_back(MakeDelivery(sent));
  queue.Append(arrBatch);
  EXPECT_TRUE(RunEventsUntil([&] { return queue.GetQueuedCount() == 0; }));
  EXPECT_EQ(queue.GetConflatedCount() + receiver.m_arrReceived.size() + other.m_arrReceived.size(),
            arrSent.size());
  EXPECT_EQ(queue.GetQueuedBytes(), 0u);
  return receiver.GetFields(1);
}

TEST(Conflation, DeliversTheNewestValueInOrderPerEntity) {
  const sSent tree = {.strLabel = "tree", .szName = rmsproto::kTreeRequest, .bPublication = false};
  const struct {
    const char* szCase;
    bool bConflation;
    std::vector<sSent> arrSent;
    std::vector<std::string> arrDelivered;
  } arrRows[] = {
      {"newest in place", true, {{"a1"}, {.strLabel = "b1", .strEntity = "account-B1"}, {"a2"}, {"a3"}},
       {"a3", "b1"}},
      {"switched off", false, {{"a1"}, {"a2"}}, {"a1", "a2"}},
      {"delete mark", true, {{"a1"}, {.strLabel = "del", .bDeleted = true}, {"a2"}}, {"a1", "del", "a2"}},
      {"tree answer", true, {{"a1"}, tree, {"a2"}}, {"a1", "tree", "a2"}},
      // Both texts name the plug-in's record of A1, so neither may pass the other.
      {"same id", true, {{"a1"}, {.strLabel = "x", .strEntity = "xaccount-A1"}, {"a2"}}, {"a1", "x", "a2"}},
      {"other peer", true, {{.strLabel = "a1", .strPeer = "BR1"}, {.strLabel = "a2", .strPeer = "BR2"}},
       {"a1", "a2"}},
      {"controls apart", true, {{"a1"}, {.strLabel = "o1", .nControl = 2}, {"a2"}}, {"a2"}},
  };
  for (const auto& row : arrRows) {
    SCOPED_TRACE(row.szCase);
    EXPECT_EQ(Deliver(row.bConflation, row.arrSent), row.arrDelivered);
  }
}

TEST(ConflationBound, FullAtTheBoundAndFreeOnceDelivered) {
  CDeliveryQueue queue;
  CKeepingReceiver receiver;
  queue.AddReceiver(1, &receiver);
  std::vector<sDelivery> arrBatch = {MakeDelivery({"a1"})};
  const uint64_t nOneMessage = arrBatch.front().nBytes;
  queue.SetByteBound(2 * nOneMessage);
  queue.Append(arrBatch);
  // A newer value of the same entity takes no more room; another entity's does.
  for (const sSent& sent : std::vector<sSent>{{"a2"}, {.strLabel = "b1", .strEntity = "account-B1"}}) {
    EXPECT_FALSE(queue.IsFull()) << sent.strLabel;
    arrBatch = {MakeDelivery(sent)};
    queue.Append(arrBatch);
  }
  EXPECT_TRUE(queue.IsFull());
  EXPECT_EQ(queue.GetPeakQueuedBytes(), 2 * nOneMessage);
  ASSERT_TRUE(RunEventsUntil([&] { return queue.GetQueuedCount() == 0; }));
  EXPECT_FALSE(queue.IsFull());
}

}  // namespace
