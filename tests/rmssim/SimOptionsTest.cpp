// rms-sim's command line.
#include <gtest/gtest.h>

#include <functional>

#include "rmssim/SimOptions.h"

namespace {

std::optional<sSimOptions> Parse(const std::vector<std::string>& arrArguments, std::string& strMessage,
                                 bool& bHelpAsked) {
  return ParseSimOptions(arrArguments, strMessage, bHelpAsked);
}

TEST(SimOptionsTest, ValuesAreTaken) {
  struct sRow {
    std::vector<std::string> arrArguments;
    std::function<bool(const sSimOptions&)> fnCheck;
  };
  const std::vector<sRow> arrRows = {
      {{},
       [](const sSimOptions& o) {
         return o.strRequests == "tcp://127.0.0.1:5555" && o.strPublications.empty() &&
                o.tree.nAccounts == 1000 && o.tree.nBranches == 4 && o.dRate == 100 && o.nCount == 0 &&
                o.nSeed == 1 && o.dDurationSeconds == 0 && o.nTreeStatus == 5 && !o.bLogRequests;
       }},
      {{"--requests", "tcp://127.0.0.1:*", "--publications=tcp://127.0.0.1:*"},
       [](const sSimOptions& o) {
         return o.strRequests == "tcp://127.0.0.1:*" && o.strPublications == "tcp://127.0.0.1:*";
       }},
      {{"--brokers", "2", "--branches", "8", "--dealers", "50", "--groups=12", "--accounts", "10000"},
       [](const sSimOptions& o) {
         return o.tree.nBrokers == 2 && o.tree.nBranches == 8 && o.tree.nDealers == 50 &&
                o.tree.nGroups == 12 && o.tree.nAccounts == 10000;
       }},
      {{"--rate", "0", "--count", "200000", "--seed", "42", "--delete-every", "0"},
       [](const sSimOptions& o) {
         return o.dRate == 0 && o.nCount == 200000 && o.nSeed == 42 && o.nDeleteEvery == 0;
       }},
      {{"--rate=2500.5", "--duration", "1.5", "--hwm", "500"},
       [](const sSimOptions& o) {
         return o.dRate == 2500.5 && o.dDurationSeconds == 1.5 && o.nHighWaterMark == 500;
       }},
      {{"--record", "/tmp/a.feed"}, [](const sSimOptions& o) { return o.strRecordPath == "/tmp/a.feed"; }},
      {{"--tree-status", "7", "--log-requests", "--seed", "3"},
       [](const sSimOptions& o) { return o.nTreeStatus == 7 && o.bLogRequests && o.nSeed == 3; }},
      {{"--replay", "/tmp/a.feed", "--record", "/tmp/b.feed"},
       [](const sSimOptions& o) {
         return o.strReplayPath == "/tmp/a.feed" && o.strRecordPath == "/tmp/b.feed";
       }},
  };
  for (const sRow& row : arrRows) {
    std::string strMessage;
    bool bHelpAsked = true;
    const std::optional<sSimOptions> options = Parse(row.arrArguments, strMessage, bHelpAsked);
    const std::string strCase = row.arrArguments.empty() ? "defaults" : row.arrArguments.front();
    ASSERT_TRUE(options.has_value()) << strCase << ": " << strMessage;
    EXPECT_TRUE(row.fnCheck(*options)) << strCase;
    EXPECT_FALSE(bHelpAsked);
  }
}

TEST(SimOptionsTest, MistakesAreNamed) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> arrRows = {
      {{"--no-such"}, "unknown option --no-such"},
      {{"stray"}, "unexpected argument stray"},
      {{"--rate"}, "--rate needs a value"},
      {{"--rate", "-5"}, "bad value for --rate: -5"},
      {{"--rate", "fast"}, "bad value for --rate: fast"},
      {{"--accounts", "1e3"}, "bad value for --accounts: 1e3"},
      {{"--count", "-1"}, "bad value for --count: -1"},
      {{"--duration=nan"}, "bad value for --duration: nan"},
      {{"--hwm", "0"}, "bad value for --hwm: 0"},
      {{"--tree-status", "-7"}, "bad value for --tree-status: -7"},
      {{"--tree-status=3000000000"}, "bad value for --tree-status: 3000000000"},
      {{"--log-requests=yes"}, "--log-requests takes no value"},
      {{"--requests="}, "bad value for --requests: "},
      {{"--record", "f", "--replay", "f"}, "--record and --replay name the same file"},
  };
  for (const auto& [arrArguments, strError] : arrRows) {
    std::string strMessage;
    bool bHelpAsked = true;
    EXPECT_FALSE(Parse(arrArguments, strMessage, bHelpAsked).has_value()) << strError;
    EXPECT_FALSE(bHelpAsked) << strError;
    EXPECT_NE(strMessage.find("rms-sim: " + strError + "\n"), std::string::npos) << strMessage;
    EXPECT_NE(strMessage.find("Usage: rms-sim"), std::string::npos) << strError;
  }
}

TEST(SimOptionsTest, HelpListsEveryOption) {
  std::string strMessage;
  bool bHelpAsked = false;
  EXPECT_FALSE(Parse({"--seed", "3", "--help"}, strMessage, bHelpAsked).has_value());
  EXPECT_TRUE(bHelpAsked);
  for (const char* szOption :
       {"--requests", "--publications", "--brokers", "--branches", "--dealers", "--groups", "--accounts",
        "--rate", "--count", "--delete-every", "--seed", "--record", "--replay", "--duration", "--hwm",
        "--tree-status N", "--log-requests", "--help"})
    EXPECT_NE(strMessage.find(szOption), std::string::npos) << szOption;
}

}  // namespace
