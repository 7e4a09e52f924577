// rms-sim's command line: values in both forms, and the mistakes it names.
#include <gtest/gtest.h>

#include <sstream>

#include "rmssim/SimOptions.h"

namespace {

// Every option's value is also taken by the fault, relay and integration runs of rms-sim; here
// the "=" form and the schedule's phases.
TEST(SimOptionsTest, ValuesAreTakenInBothForms) {
  std::string strMessage;
  bool bHelpAsked = true;
  const std::optional<sSimOptions> options = ParseSimOptions(
      std::vector<std::string>{"--rate=2500.5", "--groups", "12", "--schedule=100:6,50000:30.5,0:10"}, strMessage,
      bHelpAsked);
  ASSERT_TRUE(options.has_value()) << strMessage;
  std::ostringstream values;
  values << bHelpAsked << ' ' << options->dRate << ' ' << options->tree.nGroups;
  for (const sFeedPhase& phase : options->arrSchedule) values << ' ' << phase.dRate << ':' << phase.dSeconds;
  EXPECT_EQ(values.str(), "0 2500.5 12 100:6 50000:30.5 0:10");
}

TEST(SimOptionsTest, MistakesAreNamed) {
  const std::pair<std::vector<std::string>, std::string> arrRows[] = {{{"--no-such"}, "unknown option --no-such"},
      {{"stray"}, "unexpected argument stray"}, {{"--rate"}, "--rate needs a value"},
      {{"--rate", "-5"}, "bad value for --rate: -5"}, {{"--hwm", "0"}, "bad value for --hwm: 0"},
      {{"--log-requests=yes"}, "--log-requests takes no value"},
      {{"--record", "f", "--replay", "f"}, "--record and --replay name the same file"},
      {{"--schedule", "5000:0"}, "bad value for --schedule: 5000:0"},
      {{"--key-file", "server.key"}, "--key-file and --allow-list go together"}};
  for (const auto& [arrArguments, strError] : arrRows) {
    std::string strMessage;
    bool bHelpAsked = true;
    EXPECT_FALSE(ParseSimOptions(arrArguments, strMessage, bHelpAsked).has_value()) << strError;
    EXPECT_FALSE(bHelpAsked) << strError;
    EXPECT_NE(strMessage.find("rms-sim: " + strError + "\n"), std::string::npos) << strMessage;
    EXPECT_NE(strMessage.find("Usage: rms-sim"), std::string::npos) << strError;
  }
}

}  // namespace
