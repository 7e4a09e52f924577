// rms-relay's command line: the server and listening addresses as a user gives them, and the
// mistakes it refuses.
#include <gtest/gtest.h>

#include "relay/RelayOptions.h"

namespace {

using halvowire::sServerEndpoints;

TEST(RelayOptionsTest, CommandLines) {
  struct sRow {
    std::vector<std::string> arrArguments;
    std::optional<std::pair<sServerEndpoints, sServerEndpoints>> addresses;  // server, listen
    const char* szMessage;
  };
  const std::vector<sRow> arrRows = {
      {{"--server", "tcp://10.0.0.5:5555"},
       std::pair{sServerEndpoints{"tcp://10.0.0.5:5555", "tcp://10.0.0.5:5556"},
                 sServerEndpoints{"tcp://*:5555", "tcp://*:5556"}},
       ""},
      {{"--listen=tcp://127.0.0.1:*", "--server=tcp://hub:7000,tcp://hub:7100"},
       std::pair{sServerEndpoints{"tcp://hub:7000", "tcp://hub:7100"},
                 sServerEndpoints{"tcp://127.0.0.1:*", "tcp://127.0.0.1:*"}},
       ""},
      {{"--server", "ipc:///run/rms/req,ipc:///run/rms/pub", "--listen", "tcp://*:6000,ipc:///run/relay/pub"},
       std::pair{sServerEndpoints{"ipc:///run/rms/req", "ipc:///run/rms/pub"},
                 sServerEndpoints{"tcp://*:6000", "ipc:///run/relay/pub"}},
       ""},
      {{}, std::nullopt, "--server is required"},
      {{"--server", "tcp://127.0.0.1:*"}, std::nullopt, "bad server address tcp://127.0.0.1:*"},
      {{"--server", "tcp://hub:7000", "--listen", "inproc://relay"}, std::nullopt, "bad listen address"},
      {{"--listen", "tcp://*:6000", "--server"}, std::nullopt, "--server needs a value"},
      {{"--port", "6000"}, std::nullopt, "unexpected argument --port"},
      {{"--server", "tcp://hub:7000", "--allow-list", "terminals"}, std::nullopt, "need --key-file"},
      {{"--server", "tcp://hub:7000", "--key-file", "relay.key"}, std::nullopt, "needs --allow-list or"},
  };
  for (const sRow& row : arrRows) {
    const std::string strCase = ::testing::PrintToString(row.arrArguments);
    std::string strMessage;
    bool bHelpAsked = true;
    const std::optional<sRelayOptions> options = ParseRelayOptions(row.arrArguments, strMessage, bHelpAsked);
    EXPECT_FALSE(bHelpAsked) << strCase;
    ASSERT_EQ(options.has_value(), row.addresses.has_value()) << strCase << ": " << strMessage;
    if (!options) {
      EXPECT_NE(strMessage.find(row.szMessage), std::string::npos) << strCase << ": " << strMessage;
      continue;
    }
    EXPECT_EQ(options->upstream.strRequests, row.addresses->first.strRequests) << strCase;
    EXPECT_EQ(options->upstream.strPublications, row.addresses->first.strPublications) << strCase;
    EXPECT_EQ(options->listen.strRequests, row.addresses->second.strRequests) << strCase;
    EXPECT_EQ(options->listen.strPublications, row.addresses->second.strPublications) << strCase;
  }

  std::string strMessage;
  bool bHelpAsked = false;
  const std::optional<sRelayOptions> keyed =
      ParseRelayOptions(std::vector<std::string>{"--server=tcp://hub:7000", "--key-file", "relay.key",
                                                 "--allow-list=terminals", "--server-key-file", "hub.pub"},
                        strMessage, bHelpAsked);
  ASSERT_TRUE(keyed.has_value()) << strMessage;
  EXPECT_EQ(keyed->strKeyFile, "relay.key");
  EXPECT_EQ(keyed->strAllowListPath, "terminals");
  EXPECT_EQ(keyed->strServerKeyFile, "hub.pub");
  EXPECT_FALSE(ParseRelayOptions(std::vector<std::string>{"--server", "tcp://hub:7000", "--help"}, strMessage,
                                 bHelpAsked));
  EXPECT_TRUE(bHelpAsked);
  EXPECT_TRUE(strMessage.starts_with("Usage: rms-relay")) << strMessage;
}

}  // namespace
