// rms-sim's command line: every option's value, and the mistakes it names.
#include <gtest/gtest.h>

#include <sstream>

#include "rmssim/SimOptions.h"

namespace {

TEST(SimOptionsTest, ValuesAreTakenInBothForms) {
  std::vector<std::string> arrArguments;
  std::istringstream arguments(
      "--requests tcp://127.0.0.1:* --publications=tcp://127.0.0.1:* --brokers 2 --branches 8 --dealers 50 "
      "--groups=12 --accounts 10000 --rate=2500.5 --count 200000 --seed 42 --delete-every 0 --duration 1.5 "
      "--hwm 500 --feed-delay 2.5 --tree-status 7 --log-requests --replay /tmp/a.feed --record /tmp/b.feed "
      "--schedule 100:6,50000:30.5,0:10 --events-every 500 --ledger /tmp/c.ledger --garbage 20000 "
      "--oversize-mb 64");
  for (std::string strArgument; arguments >> strArgument;) arrArguments.push_back(strArgument);
  std::string strMessage;
  bool bHelpAsked = true;
  const std::optional<sSimOptions> options = ParseSimOptions(arrArguments, strMessage, bHelpAsked);
  ASSERT_TRUE(options.has_value()) << strMessage;
  EXPECT_FALSE(bHelpAsked);
  const sSimOptions& o = *options;
  std::ostringstream values;
  values << o.strRequests << ' ' << o.strPublications << ' ' << o.tree.nBrokers << ' ' << o.tree.nBranches
         << ' ' << o.tree.nDealers << ' ' << o.tree.nGroups << ' ' << o.tree.nAccounts << ' ' << o.dRate
         << ' ' << o.nCount << ' ' << o.nSeed << ' ' << o.nDeleteEvery << ' ' << o.dDurationSeconds << ' '
         << o.nHighWaterMark << ' ' << o.dFeedDelaySeconds << ' ' << o.nTreeStatus << ' ' << o.bLogRequests
         << ' ' << o.strReplayPath << ' ' << o.strRecordPath << ' ' << o.nEventsEvery << ' '
         << o.strLedgerPath << ' ' << o.nGarbage << ' ' << o.nOversizeMiB << " schedule";
  for (const sFeedPhase& phase : o.arrSchedule) values << ' ' << phase.dRate << ':' << phase.dSeconds;
  EXPECT_EQ(
      values.str(),
      "tcp://127.0.0.1:* tcp://127.0.0.1:* 2 8 50 12 10000 2500.5 200000 42 0 1.5 500 2.5 7 1 /tmp/a.feed "
      "/tmp/b.feed 500 /tmp/c.ledger 20000 64 schedule 100:6 50000:30.5 0:10");
}

TEST(SimOptionsTest, MistakesAreNamedAndHelpWins) {
  const std::pair<std::vector<std::string>, std::string> arrRows[] = {{{"--no-such"}, "unknown option --no-such"},
      {{"stray"}, "unexpected argument stray"}, {{"--rate"}, "--rate needs a value"},
      {{"--rate", "-5"}, "bad value for --rate: -5"}, {{"--hwm", "0"}, "bad value for --hwm: 0"},
      {{"--accounts", "1e3"}, "bad value for --accounts: 1e3"},
      {{"--duration=nan"}, "bad value for --duration: nan"},
      {{"--tree-status=3000000000"}, "bad value for --tree-status: 3000000000"},
      {{"--log-requests=yes"}, "--log-requests takes no value"}, {{"--requests="}, "bad value for --requests: "},
      {{"--record", "f", "--replay", "f"}, "--record and --replay name the same file"},
      {{"--schedule", "5000:0"}, "bad value for --schedule: 5000:0"},
      {{"--schedule", "100:5,"}, "bad value for --schedule: 100:5,"},
      {{"--oversize-mb", "4097"}, "bad value for --oversize-mb: 4097"},
      {{"--key-file", "server.key"}, "--key-file and --allow-list go together"}};
  for (const auto& [arrArguments, strError] : arrRows) {
    std::string strMessage;
    bool bHelpAsked = true;
    EXPECT_FALSE(ParseSimOptions(arrArguments, strMessage, bHelpAsked).has_value()) << strError;
    EXPECT_FALSE(bHelpAsked) << strError;
    EXPECT_NE(strMessage.find("rms-sim: " + strError + "\n"), std::string::npos) << strMessage;
    EXPECT_NE(strMessage.find("Usage: rms-sim"), std::string::npos) << strError;
  }
  std::string strMessage;
  bool bHelpAsked = false;
  EXPECT_FALSE(
      ParseSimOptions(std::vector<std::string>{"--seed", "3", "--help"}, strMessage, bHelpAsked).has_value());
  EXPECT_TRUE(bHelpAsked);
  EXPECT_NE(strMessage.find("--tree-status N"), std::string::npos) << strMessage;
}

}  // namespace
