// Encrypted, authenticated links on loopback: who is let in, who is refused, what the wire shows.
#include "keys/LinkSecurity.h"
#include "relay/RmsRelay.h"
#include "tests/host/transport/TransportTestSupport.h"
#include "tests/security/TcpTap.h"
#include "tests/support/ScratchFolder.h"

namespace {

using namespace transporttest;

const std::string kValuesTopic = "rms prsnt value publish";

// A terminal's transport with one receive control, subscribed to the values feed.
class CTestTerminal {
 public:
  CTestTerminal(const halvowire::sServerEndpoints& endpoints, const sLinkSecurity& security)
      : m_pTransport(std::make_unique<CRmsTransport>(endpoints, security)),
        m_pControl(m_pTransport->CreateControl(&m_receiver)) {
    Subscribe(*m_pControl, kValuesTopic);
  }

  void Ask(const char* szRequest) { SendRequest(*m_pControl, m_composer, {{0, szRequest}, {31003, "D01"}}); }
  eLinkState GetState() const { return m_pTransport->GetLinkState(); }
  size_t CountAnswers() const { return m_receiver.m_arrReceived.size() - m_receiver.CountPublications(); }
  size_t CountPublications() const { return m_receiver.CountPublications(); }
  bool HasAnswer(const char* szRequest, const char* szStatus) const {
    return std::any_of(m_receiver.m_arrReceived.begin(), m_receiver.m_arrReceived.end(), [&](const sReceived& r) {
      return !r.bPublication && r.GetField(32767) == szRequest && r.GetField(32766) == szStatus;
    });
  }

 private:
  CKeepingReceiver m_receiver;  // outlives the transport, which may call it until it closes
  std::unique_ptr<CRmsTransport> m_pTransport;
  CPyxoRxControl* m_pControl;
  CTestComposer m_composer;
};

class LinkSecurityTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string strError;
    ASSERT_TRUE(WriteKeyFiles(m_folder.GetPath("server"), m_server, strError)) << strError;
    WriteAllowList({m_client.strPublic});
  }

  // Puts a new allow-list in place, as an editor saves a file.
  void WriteAllowList(const std::vector<std::string>& arrKeys) {
    std::string strText = "# the desk's terminals\n";
    for (const std::string& strKey : arrKeys) strText += strKey + "\n";
    m_folder.WriteFile("allow-list.new", strText);
    std::filesystem::rename(m_folder.GetPath("allow-list.new"), m_folder.GetPath("allow-list"));
  }

  // A risk server on free loopback ports, with the server's keys and the allow-list unless plain.
  std::unique_ptr<CRmsServer> StartServer(bool bCurve = true) {
    sSimOptions options = MakeServerOptions(200);
    if (bCurve) {
      options.strKeyFile = m_folder.GetPath("server.key");
      options.strAllowListPath = m_folder.GetPath("allow-list");
    }
    auto pServer = std::make_unique<CRmsServer>(options);
    std::string strError;
    const bool bStarted = pServer->Start(strError);
    EXPECT_TRUE(bStarted) << strError;
    return bStarted ? std::move(pServer) : nullptr;
  }

  static sLinkSecurity MakeSecurity(const sCurveKeyPair& own, const std::string& strServerKey) {
    return sLinkSecurity{sCurveClientKeys{own, strServerKey}, ""};
  }

  CScratchFolder m_folder;
  const sCurveKeyPair m_server = MakeCurveKeyPair().value();
  const sCurveKeyPair m_client = MakeCurveKeyPair().value();    // on the allow-list
  const sCurveKeyPair m_stranger = MakeCurveKeyPair().value();  // on no list
};

// Refused terminals get no answer and no publication while an allowed one gets both; a key put
// on the allow-list while the server runs is let in, one taken off is refused again.
TEST_F(LinkSecurityTest, RefusedTerminalsGetNothingAndAllowListChangesTakeEffect) {
  const std::unique_ptr<CRmsServer> pServer = StartServer();
  ASSERT_TRUE(pServer);
  const std::pair<const char*, sLinkSecurity> arrRows[] = {{"plain", {}},
      {"a key not on the allow-list", MakeSecurity(m_stranger, m_server.strPublic)},
      {"another server's key pinned", MakeSecurity(m_client, m_stranger.strPublic)}};
  std::vector<std::unique_ptr<CTestTerminal>> arrRefused;
  for (const auto& [szName, security] : arrRows) {
    SCOPED_TRACE(szName);
    arrRefused.push_back(std::make_unique<CTestTerminal>(pServer->GetEndpoints(), security));
    arrRefused.back()->Ask("om_get_user_peer_data");
    EXPECT_TRUE(RunEventsUntil([&] { return arrRefused.back()->GetState() == eLinkState::kRefused; }));
  }

  CTestTerminal allowed(pServer->GetEndpoints(), MakeSecurity(m_client, m_server.strPublic));
  allowed.Ask("om_get_user_peer_data");
  // Its link state follows the socket monitor, which may be read a moment after the data.
  ASSERT_TRUE(RunEventsUntil([&] {
    return allowed.CountAnswers() == 1 && allowed.CountPublications() >= 20 &&
           allowed.GetState() == eLinkState::kConnected;
  }));
  for (size_t n = 0; n < arrRefused.size(); ++n) {
    SCOPED_TRACE(arrRows[n].first);
    EXPECT_EQ(arrRefused[n]->CountAnswers() + arrRefused[n]->CountPublications(), 0u);
    EXPECT_EQ(arrRefused[n]->GetState(), eLinkState::kRefused);
  }
  EXPECT_EQ(pServer->GetStats().nRequests, 1u) << "the server read the allowed terminal's request alone";

  // The refused terminal tries its handshake again by itself; what it asked before is gone with
  // the refused connection, as after any lost link, and is asked again in the new session.
  WriteAllowList({m_client.strPublic, m_stranger.strPublic});
  CTestTerminal& newcomer = *arrRefused[1];
  ASSERT_TRUE(RunEventsUntil([&] { return newcomer.GetState() == eLinkState::kConnected; }));
  newcomer.Ask("om_get_user_peer_data");
  EXPECT_TRUE(RunEventsUntil([&] { return newcomer.CountAnswers() == 1; }));
  WriteAllowList({m_client.strPublic});
  CTestTerminal removed(pServer->GetEndpoints(), MakeSecurity(m_stranger, m_server.strPublic));
  EXPECT_TRUE(RunEventsUntil([&] { return removed.GetState() == eLinkState::kRefused; }));
}

TEST_F(LinkSecurityTest, AForgedPublisherNeverReachesTheTerminal) {
  const std::unique_ptr<CRmsServer> pServer = StartServer();
  ASSERT_TRUE(pServer);
  // Where the terminal expects the server's publications, a publisher with keys of its own publishes.
  zmq::context_t context;
  zmq::socket_t forger(context, zmq::socket_type::xpub);
  forger.set(zmq::sockopt::linger, 0);
  MakeCurveServer(forger, m_stranger);
  forger.bind("tcp://127.0.0.1:*");
  const halvowire::sServerEndpoints endpoints{pServer->GetEndpoints().strRequests,
                                              forger.get(zmq::sockopt::last_endpoint)};
  CTestTerminal terminal(endpoints, MakeSecurity(m_client, m_server.strPublic));
  terminal.Ask("om_get_user_peer_data");
  ASSERT_TRUE(RunEventsUntil(
      [&] { return terminal.CountAnswers() == 1 && terminal.GetState() == eLinkState::kRefused; }));

  for (int n = 0; n < 100; ++n)
    SendFrames(forger, {halvowire::MakeTopicFrame(kValuesTopic), ComposeBytes("forged"),
                        halvowire::MakeSendTimeFrame(halvowire::GetSendClockNs())});
  // A subscription comes to a publisher only over a finished handshake: none ever did.
  zmq::message_t subscription;
  EXPECT_FALSE(forger.recv(subscription, zmq::recv_flags::dontwait));
  terminal.Ask("om_get_user_peer_data");
  ASSERT_TRUE(RunEventsUntil([&] { return terminal.CountAnswers() == 2; }));
  EXPECT_EQ(terminal.CountPublications(), 0u);
}

TEST_F(LinkSecurityTest, TheWireShowsNoFieldTextOfAnEncryptedLink) {
  const char* arrTexts[] = {"mrv_rst_show_tree_all", "account-A10001", kValuesTopic.c_str()};
  for (const bool bCurve : {false, true}) {
    SCOPED_TRACE(bCurve ? "encrypted" : "plain, where the capture must find the texts");
    const std::unique_ptr<CRmsServer> pServer = StartServer(bCurve);
    ASSERT_TRUE(pServer);
    const CTcpTap requestTap(pServer->GetEndpoints().strRequests), publicationTap(pServer->GetEndpoints().strPublications);
    ASSERT_FALSE(requestTap.GetEndpoint().empty());
    ASSERT_FALSE(publicationTap.GetEndpoint().empty());
    CTestTerminal terminal({requestTap.GetEndpoint(), publicationTap.GetEndpoint()},
                           bCurve ? MakeSecurity(m_client, m_server.strPublic) : sLinkSecurity{});
    terminal.Ask("mrv_rst_show_tree_all");
    ASSERT_TRUE(RunEventsUntil(
        [&] { return terminal.HasAnswer("mrv_rst_show_tree_all", "7") && terminal.CountPublications() >= 20; }));
    const std::string strCaptured = requestTap.GetCaptured() + publicationTap.GetCaptured();
    for (const char* szText : arrTexts)
      EXPECT_EQ(strCaptured.find(szText) != std::string::npos, !bCurve) << szText;
  }
}

TEST_F(LinkSecurityTest, ARelayServesItsListedTerminalsOverItsListedKeyAtTheServer) {
  std::string strError;
  const sCurveKeyPair relayKeys = MakeCurveKeyPair().value();
  ASSERT_TRUE(WriteKeyFiles(m_folder.GetPath("relay"), relayKeys, strError)) << strError;
  m_folder.WriteFile("relay-allow-list", m_client.strPublic + "\n");
  WriteAllowList({relayKeys.strPublic});
  const std::unique_ptr<CRmsServer> pServer = StartServer();
  ASSERT_TRUE(pServer);

  CRmsRelay relay(sRelayOptions{pServer->GetEndpoints(), {"tcp://127.0.0.1:*", "tcp://127.0.0.1:*"},
                                m_folder.GetPath("relay.key"), m_folder.GetPath("relay-allow-list"),
                                m_folder.GetPath("server.pub")});
  ASSERT_TRUE(relay.Start(strError)) << strError;
  CTestTerminal listed(relay.GetEndpoints(), MakeSecurity(m_client, relayKeys.strPublic));
  CTestTerminal unlisted(relay.GetEndpoints(), MakeSecurity(m_stranger, relayKeys.strPublic));
  listed.Ask("om_get_user_peer_data");
  ASSERT_TRUE(RunEventsUntil([&] { return listed.CountAnswers() == 1 && listed.CountPublications() >= 20; }));
  ASSERT_TRUE(RunEventsUntil([&] { return unlisted.GetState() == eLinkState::kRefused; }));
}

TEST_F(LinkSecurityTest, KeyProblemsAndUnprotectedEndpointsStopTheServerAndTheTerminal) {
  // A server off loopback without keys, or with an allow-list it cannot read, does not start.
  sSimOptions open = MakeServerOptions(0), unlisted = MakeServerOptions(0);
  open.strRequests = open.strPublications = "tcp://0.0.0.0:*";
  unlisted.strKeyFile = m_folder.GetPath("server.key");
  unlisted.strAllowListPath = m_folder.GetPath("gone");
  const std::pair<sSimOptions, const char*> arrServers[] = {{open, "can be reached from other machines"},
                                                            {unlisted, "cannot use the allow-list"}};
  for (const auto& [options, szError] : arrServers) {
    SCOPED_TRACE(szError);
    CRmsServer server(options);
    std::string strError;
    EXPECT_FALSE(server.Start(strError));
    EXPECT_NE(strError.find(szError), std::string::npos) << strError;
  }

  // A terminal with a key problem connects nothing: a plain server sees no one.
  const std::unique_ptr<CRmsServer> pPlain = StartServer(false);
  ASSERT_TRUE(pPlain);
  CTestTerminal terminal(pPlain->GetEndpoints(), sLinkSecurity{std::nullopt, "the key file is gone"});
  terminal.Ask("om_get_user_peer_data");
  EXPECT_TRUE(RunEventsUntil([&] { return terminal.GetState() == eLinkState::kKeyProblem; }));
  CTestTerminal witness(pPlain->GetEndpoints(), {});
  witness.Ask("om_get_user_peer_data");
  ASSERT_TRUE(RunEventsUntil([&] { return witness.CountAnswers() == 1; }));
  EXPECT_EQ(pPlain->GetStats().nRequests, 1u);
  EXPECT_EQ(terminal.CountAnswers(), 0u);
}

}  // namespace
