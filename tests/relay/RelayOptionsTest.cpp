// rms-relay's command line: the addresses a user gives, and the mistakes it refuses.
#include <gtest/gtest.h>

#include "relay/RelayOptions.h"

namespace {

TEST(RelayOptionsTest, CommandLines) {
  // The server's endpoints and the listening ones, or the start of the message of a mistake.
  const std::pair<std::vector<std::string>, const char*> arrRows[] = {{{"--server", "tcp://10.0.0.5:5555"},
      "tcp://10.0.0.5:5555 tcp://10.0.0.5:5556 tcp://*:5555 tcp://*:5556"},
      {{"--listen=tcp://127.0.0.1:*", "--server=tcp://hub:7000,tcp://hub:7100"},
      "tcp://hub:7000 tcp://hub:7100 tcp://127.0.0.1:* tcp://127.0.0.1:*"},
      {{"--server", "ipc:///run/rms/req,ipc:///run/rms/pub", "--listen", "tcp://*:6000,ipc:///run/relay/pub"},
      "ipc:///run/rms/req ipc:///run/rms/pub tcp://*:6000 ipc:///run/relay/pub"}, {{}, "--server is required"},
      {{"--server", "tcp://127.0.0.1:*"}, "bad server address tcp://127.0.0.1:*"},
      {{"--server", "tcp://hub:7000", "--listen", "inproc://relay"}, "bad listen address"},
      {{"--listen", "tcp://*:6000", "--server"}, "--server needs a value"}, {{"--port", "6000"},
      "unexpected argument --port"}, {{"--server", "tcp://hub:7000", "--allow-list", "terminals"},
      "need --key-file"}, {{"--server", "tcp://hub:7000", "--key-file", "relay.key"}, "needs --allow-list or"}};
  for (const auto& [arrArguments, szExpected] : arrRows) {
    std::string strMessage;
    bool bHelpAsked = true;
    const std::optional<sRelayOptions> options = ParseRelayOptions(arrArguments, strMessage, bHelpAsked);
    EXPECT_FALSE(bHelpAsked);
    const std::string strOutcome =
        options ? options->upstream.strRequests + " " + options->upstream.strPublications + " " +
                      options->listen.strRequests + " " + options->listen.strPublications
                : strMessage;
    EXPECT_NE(strOutcome.find(szExpected), std::string::npos)
        << ::testing::PrintToString(arrArguments) << ": " << strOutcome;
  }

  std::string strMessage;
  bool bHelpAsked = false;
  const std::optional<sRelayOptions> keyed =
      ParseRelayOptions(std::vector<std::string>{"--server=tcp://hub:7000", "--key-file", "relay.key",
                                                 "--allow-list=terminals", "--server-key-file", "hub.pub"},
                        strMessage, bHelpAsked);
  ASSERT_TRUE(keyed.has_value()) << strMessage;
  EXPECT_EQ(keyed->strKeyFile + " " + keyed->strAllowListPath + " " + keyed->strServerKeyFile,
            "relay.key terminals hub.pub");
}

}  // namespace
