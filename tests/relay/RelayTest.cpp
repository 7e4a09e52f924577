// rms-relay between rms-sim and clients made of bare sockets, as a desk runs them: through one
// relay and through a chain of two, each client gets the answers to its own requests and the
// publications it subscribed to, a client's publication reaches the server, a client that
// leaves does not stop the feed for one still subscribed, and the relays stop cleanly on
// SIGTERM while traffic flows.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <functional>
#include <memory>

#include "rmssim/EntityTree.h"
#include "tests/support/SimProcess.h"
#include "tests/support/SimTestSupport.h"

namespace {

using namespace simtest;

const sTreeSize kTree{1, 2, 3, 2, 20};
const QStringList kServerOptions = {"--brokers", "1",   "--branches",     "2",  "--dealers", "3",
                                    "--groups",  "2",   "--accounts",     "20", "--seed",    "7",
                                    "--rate",    "200", "--delete-every", "0"};
const std::string kValuesTopic = "rms prsnt value publish";
const std::string kAlertTopic = "manual sms alert";
// A relay that passed a leaving client's unsubscription on would stop the feed within a few
// milliseconds; publications sent this long after the client left prove it did not.
constexpr int64_t kAfterLeavingNs = 1'000'000'000;

// QProcess needs an application object.
QCoreApplication& GetApplication() {
  static int s_nArgc = 1;
  static char s_szName[] = "test_relay";
  static char* s_arrArgv[] = {s_szName, nullptr};
  static QCoreApplication s_app(s_nArgc, s_arrArgv);
  return s_app;
}

QString FormatAddress(const halvowire::sServerEndpoints& endpoints) {
  return QString::fromStdString(endpoints.strRequests + "," + endpoints.strPublications);
}

void RequestStartUp(CRawClient& client, const std::string& strUserId) {
  client.Request({{0, "om_get_user_peer_data"}, {31003, strUserId}});
  for (const char* szName : {"mrv_rst_show_tree_all", "roth_rst", "mrv_surv_alert_show_tree_all"})
    client.Request({{0, szName}});
}

// The answers to RequestStartUp, in order, each naming its request: the user's peer value, then
// three lists, the tree with every record.
void ExpectStartUpAnswers(CRawClient& client, const std::string& strPeer, size_t nTreeRecords) {
  const std::optional<std::vector<uint8_t>> arrPeer = client.ReceiveResponse();
  ASSERT_TRUE(arrPeer.has_value());
  EXPECT_EQ(ReadField(*arrPeer, 32767), "om_get_user_peer_data");
  EXPECT_EQ(ReadField(*arrPeer, 64056), strPeer);
  std::vector<size_t> arrListSizes;
  for (const char* szName : {"mrv_rst_show_tree_all", "roth_rst", "mrv_surv_alert_show_tree_all"}) {
    const std::vector<std::vector<uint8_t>> arrList = client.ReceiveList();
    ASSERT_FALSE(arrList.empty()) << szName;
    EXPECT_EQ(ReadField(arrList.back(), 32766), "7") << szName;
    for (const std::vector<uint8_t>& arrResponse : arrList) EXPECT_EQ(ReadField(arrResponse, 32767), szName);
    arrListSizes.push_back(arrList.size());
  }
  EXPECT_EQ(arrListSizes.front(), nTreeRecords + 1);
}

// Reads publications until one satisfies fnWanted; false when they stop coming first.
bool ReceiveUntil(CRawClient& client,
                  const std::function<bool(const std::string&, const std::vector<uint8_t>&)>& fnWanted) {
  while (const auto publication = client.ReceivePublication()) {
    if (fnWanted(publication->first, publication->second)) return true;
  }
  return false;
}

// Clients reach the server through as many relays as the parameter says, chained.
class RelayChainTest : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    GetApplication();
    ASSERT_TRUE(m_sim.Start(kServerOptions));
    m_endpoints = m_sim.GetEndpoints();
    for (int n = 0; n < GetParam(); ++n) {
      auto& pRelay = m_arrRelays.emplace_back(std::make_unique<CSimProcess>());
      ASSERT_TRUE(pRelay->StartProgram(
          QStringLiteral(RMS_RELAY),
          {"--server", FormatAddress(m_endpoints), "--listen", "tcp://127.0.0.1:*,tcp://127.0.0.1:*"}));
      m_endpoints = pRelay->GetEndpoints();
    }
  }

  CSimProcess m_sim;
  std::vector<std::unique_ptr<CSimProcess>> m_arrRelays;  // the server's first
  halvowire::sServerEndpoints m_endpoints;                // where the clients connect
};

TEST_P(RelayChainTest, ClientsGetTheirOwnAnswersAndThePublicationsBothWays) {
  const CEntityTree tree(kTree, 7);
  const std::string strFirstPeer = tree.GetUserPeerValue("D01");
  const std::string strSecondPeer = tree.GetUserPeerValue("D02");
  ASSERT_NE(strFirstPeer, strSecondPeer);
  auto pFirst = std::make_unique<CRawClient>(m_endpoints);
  CRawClient second(m_endpoints);

  RequestStartUp(*pFirst, "D01");
  RequestStartUp(second, "D02");
  ASSERT_NO_FATAL_FAILURE(ExpectStartUpAnswers(*pFirst, strFirstPeer, tree.GetRecords().size()));
  ASSERT_NO_FATAL_FAILURE(ExpectStartUpAnswers(second, strSecondPeer, tree.GetRecords().size()));
  // Nothing else waits for either: the next answer each gets is to its next request.
  pFirst->Request({{0, "om_get_user_peer_data"}, {31003, "D01"}});
  second.Request({{0, "om_get_user_peer_data"}, {31003, "D02"}});
  EXPECT_EQ(ReadField(pFirst->ReceiveResponse().value_or(std::vector<uint8_t>{}), 64056), strFirstPeer);
  EXPECT_EQ(ReadField(second.ReceiveResponse().value_or(std::vector<uint8_t>{}), 64056), strSecondPeer);

  const auto fnIsValue = [](const std::string& strTopic, const std::vector<uint8_t>& arrBytes) {
    return strTopic == halvowire::MakeTopicFrame(kValuesTopic) && ReadField(arrBytes, 54211) == kValuesTopic;
  };
  pFirst->Subscribe(kValuesTopic);
  second.Subscribe(kValuesTopic);
  second.Subscribe(kAlertTopic);
  ASSERT_TRUE(ReceiveUntil(*pFirst, fnIsValue));
  ASSERT_TRUE(ReceiveUntil(second, fnIsValue));

  // A manual alert the first client publishes comes back from the server to the second.
  const std::vector<uint8_t> arrAlert = Compose({{54211, kAlertTopic}, {54001, "A10007"}, {54247, "D01"}});
  pFirst->SendFrames(
      {std::string(1, halvowire::kPublicationMarker), std::string(arrAlert.begin(), arrAlert.end())});
  EXPECT_TRUE(ReceiveUntil(second, [&](const std::string& strTopic, const std::vector<uint8_t>& arrBytes) {
    return strTopic == halvowire::MakeTopicFrame(kAlertTopic) && arrBytes == arrAlert;
  }));

  // Both subscribed to the feed; one leaving keeps it running for the other.
  pFirst.reset();
  const int64_t nLeftNs = halvowire::GetSendClockNs();
  EXPECT_TRUE(ReceiveUntil(second, [&](const std::string& strTopic, const std::vector<uint8_t>& arrBytes) {
    return fnIsValue(strTopic, arrBytes) && second.m_nLastSendNs > nLeftNs + kAfterLeavingNs;
  }));

  for (auto it = m_arrRelays.rbegin(); it != m_arrRelays.rend(); ++it) EXPECT_EQ((*it)->Terminate(), 0);
}

INSTANTIATE_TEST_SUITE_P(OneRelayAndAChainOfTwo, RelayChainTest, ::testing::Values(1, 2));

}  // namespace
