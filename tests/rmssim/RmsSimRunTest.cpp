// rms-sim as a user starts it: its help, a mistake on the command line, a run that ends by
// itself and one that ends with a signal.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "tests/support/ProcessRun.h"

namespace {

sProcessRun RunSim(const std::string& strArguments) {
  return RunProcess(std::string(RMS_SIM) + " " + strArguments + " 2>&1");
}

TEST(RmsSimRunTest, CommandLineAnswers) {
  struct sRow {
    const char* szArguments;
    int nExitCode;
    const char* szOutput;
  };
  const sRow arrRows[] = {
      {"--help", 0, "--replay FILE"},
      {"--requests 'tcp://127.0.0.1:*' --duration 0.2", 0, "rms-sim: requests on tcp://127.0.0.1:"},
      {"--requests 'tcp://127.0.0.1:*' --replay /nonexistent/feed.bin", 1,
       "cannot open /nonexistent/feed.bin"},
  };
  for (const sRow& row : arrRows) {
    const sProcessRun run = RunSim(row.szArguments);
    EXPECT_EQ(run.nExitCode, row.nExitCode) << row.szArguments << "\n" << run.strOutput;
    EXPECT_NE(run.strOutput.find(row.szOutput), std::string::npos) << row.szArguments << "\n"
                                                                   << run.strOutput;
  }
}

TEST(RmsSimRunTest, ATerminationSignalStopsItCleanly) {
  int arrPipe[2];
  ASSERT_EQ(pipe(arrPipe), 0);
  const pid_t nChild = fork();
  ASSERT_GE(nChild, 0);
  if (nChild == 0) {
    dup2(arrPipe[1], STDOUT_FILENO);
    execl(RMS_SIM, RMS_SIM, "--requests", "tcp://127.0.0.1:*", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(arrPipe[1]);
  // The first line says it listens; the signal comes after that.
  std::string strOutput;
  char cNext = 0;
  while (read(arrPipe[0], &cNext, 1) == 1 && cNext != '\n') strOutput.push_back(cNext);
  EXPECT_NE(strOutput.find("requests on tcp://127.0.0.1:"), std::string::npos) << strOutput;
  kill(nChild, SIGTERM);
  int nStatus = 0;
  ASSERT_EQ(waitpid(nChild, &nStatus, 0), nChild);
  EXPECT_TRUE(WIFEXITED(nStatus));
  EXPECT_EQ(WEXITSTATUS(nStatus), 0);
  close(arrPipe[0]);
}

}  // namespace
