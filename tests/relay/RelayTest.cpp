// rms-relay between rms-sim and clients made of bare sockets, as a desk runs them: through one
// relay and through a chain of two, each client gets the answers to its own requests and the
// publications it subscribed to, a client's publication reaches the server, a client that
// leaves does not stop the feed for one still subscribed, and the relays stop cleanly on
// SIGTERM while traffic flows.
#include <gtest/gtest.h>

#include "bench/BenchProcess.h"
#include "rmssim/EntityTree.h"
#include "tests/support/SimTestSupport.h"

namespace {

using namespace simtest;

const std::string kValuesTopic = "rms prsnt value publish";
const std::string kAlertTopic = "manual sms alert";
const char* const kLists[] = {"mrv_rst_show_tree_all", "roth_rst", "mrv_surv_alert_show_tree_all"};

// The start-up requests and their answers, in order, each naming its request: the user's peer
// value, then three lists, the tree with every record.
void ExpectStartUpAnswers(CRawClient& client, const std::string& strPeer, size_t nTreeRecords) {
  const std::vector<uint8_t> arrPeer = client.ReceiveResponse().value_or(std::vector<uint8_t>{});
  EXPECT_EQ(ReadField(arrPeer, 32767).value_or("") + " " + ReadField(arrPeer, 64056).value_or(""),
            "om_get_user_peer_data " + strPeer);
  for (const char* szName : kLists) {
    const auto arrList = client.ReceiveList();
    ASSERT_FALSE(arrList.empty()) << szName;
    EXPECT_EQ(ReadField(arrList.back(), 32766), "7") << szName;
    for (const std::vector<uint8_t>& arrResponse : arrList) EXPECT_EQ(ReadField(arrResponse, 32767), szName);
    if (szName == kLists[0]) { EXPECT_EQ(arrList.size(), nTreeRecords + 1); }
  }
}

// Reads publications until one satisfies fnWanted; false when they stop coming first.
bool ReceiveUntil(CRawClient& client,
                  const std::function<bool(const std::string&, const std::vector<uint8_t>&)>& fnWanted) {
  while (const auto publication = client.ReceivePublication())
    if (fnWanted(publication->first, publication->second)) return true;
  return false;
}

void RunThroughRelays(int nRelays) {
  benchprocess::CChildProcess sim;
  std::optional<std::string> strAddress = benchprocess::StartRiskServer(
      sim, {"--brokers", "1", "--branches", "2", "--dealers", "3", "--groups", "2", "--accounts", "20",
            "--seed", "7", "--rate", "200", "--delete-every", "0"});
  std::vector<std::unique_ptr<benchprocess::CChildProcess>> arrRelays;  // the server's first
  for (int n = 0; n < nRelays && strAddress; ++n)
    strAddress = benchprocess::StartRelay(
        *arrRelays.emplace_back(std::make_unique<benchprocess::CChildProcess>()), *strAddress);
  ASSERT_TRUE(strAddress.has_value());
  const halvowire::sServerEndpoints endpoints = halvowire::ParseServerAddress(*strAddress).value();
  const CEntityTree tree(sTreeSize{1, 2, 3, 2, 20}, 7);
  const std::string arrPeers[] = {tree.GetUserPeerValue("D01"), tree.GetUserPeerValue("D02")};
  ASSERT_NE(arrPeers[0], arrPeers[1]);
  auto pFirst = std::make_unique<CRawClient>(endpoints);
  CRawClient second(endpoints);
  CRawClient* arrClients[] = {pFirst.get(), &second};
  for (int n = 0; n < 2; ++n) {
    arrClients[n]->Request({{0, "om_get_user_peer_data"}, {31003, n == 0 ? "D01" : "D02"}});
    for (const char* szName : kLists) arrClients[n]->Request({{0, szName}});
  }
  for (int n = 0; n < 2; ++n)
    ASSERT_NO_FATAL_FAILURE(ExpectStartUpAnswers(*arrClients[n], arrPeers[n], tree.GetRecords().size()));
  // Nothing else waits for either: the next answer each gets is to its next request.
  for (int n = 0; n < 2; ++n)
    arrClients[n]->Request({{0, "om_get_user_peer_data"}, {31003, n == 0 ? "D01" : "D02"}});
  for (int n = 0; n < 2; ++n)
    EXPECT_EQ(ReadField(arrClients[n]->ReceiveResponse().value_or(std::vector<uint8_t>{}), 64056), arrPeers[n]);

  const auto fnIsValue = [](const std::string& strTopic, const std::vector<uint8_t>& arrBytes) {
    return strTopic == halvowire::MakeTopicFrame(kValuesTopic) && ReadField(arrBytes, 54211) == kValuesTopic;
  };
  pFirst->Subscribe(kValuesTopic);
  second.Subscribe(kValuesTopic);
  second.Subscribe(kAlertTopic);
  ASSERT_TRUE(ReceiveUntil(*pFirst, fnIsValue));
  ASSERT_TRUE(ReceiveUntil(second, fnIsValue));

  // A manual alert the first client publishes comes back from the server to the second.
  const std::vector<uint8_t> arrAlert =
      ComposeMessage({{54211, kAlertTopic}, {54001, "A10007"}, {54247, "D01"}});
  pFirst->SendFrames(
      {std::string(1, halvowire::kPublicationMarker), std::string(arrAlert.begin(), arrAlert.end())});
  EXPECT_TRUE(ReceiveUntil(second, [&](const std::string& strTopic, const std::vector<uint8_t>& arrBytes) {
    return strTopic == halvowire::MakeTopicFrame(kAlertTopic) && arrBytes == arrAlert;
  }));

  // Both subscribed to the feed; one leaving keeps it running for the other. A relay that passed
  // the leaving client's unsubscription on would stop the feed within milliseconds.
  pFirst.reset();
  const int64_t nLeftNs = halvowire::GetSendClockNs();
  EXPECT_TRUE(ReceiveUntil(second, [&](const std::string& strTopic, const std::vector<uint8_t>& arrBytes) {
    return fnIsValue(strTopic, arrBytes) && second.m_nLastSendNs > nLeftNs + 1'000'000'000;
  }));
  for (auto it = arrRelays.rbegin(); it != arrRelays.rend(); ++it) {
    (*it)->Signal(SIGTERM);
    std::vector<std::string> arrLines;
    EXPECT_EQ((*it)->Wait(std::chrono::seconds(30), arrLines), 0);
  }
}

TEST(RelayTest, ClientsGetTheirOwnAnswersAndThePublicationsBothWaysThroughOneRelayAndAChainOfTwo) {
  for (const int nRelays : {1, 2}) {
    SCOPED_TRACE(std::to_string(nRelays) + " relays");
    RunThroughRelays(nRelays);
  }
}

}  // namespace
