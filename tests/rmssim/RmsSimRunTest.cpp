// rms-sim as a user starts it: its help, a run that ends by itself, and a mistake.
#include <gtest/gtest.h>

#include "tests/support/ProcessRun.h"

namespace {

TEST(RmsSimRunTest, CommandLineAnswers) {
  const std::tuple<const char*, int, const char*> arrRows[] = {{"--help", 0, "--replay FILE"},
      {"--requests 'tcp://127.0.0.1:*' --duration 0.2", 0, "rms-sim: requests on tcp://127.0.0.1:"},
      {"--requests 'tcp://127.0.0.1:*' --replay /nonexistent/feed.bin", 1, "cannot open /nonexistent/feed.bin"}};
  for (const auto& [szArguments, nExitCode, szOutput] : arrRows) {
    const sProcessRun run = RunProcess(std::string(RMS_SIM) + " " + szArguments + " 2>&1");
    EXPECT_EQ(run.nExitCode, nExitCode) << szArguments << "\n" << run.strOutput;
    EXPECT_NE(run.strOutput.find(szOutput), std::string::npos) << szArguments << "\n" << run.strOutput;
  }
}

}  // namespace
