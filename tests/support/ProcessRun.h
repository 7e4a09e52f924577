// Runs a command line in the shell and keeps what it wrote, for tests that start the
// programs of the build as a user would.
#pragma once

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

struct sProcessRun {
  int nExitCode = -1;  // -1 when the command could not start or ended by a signal
  std::string strOutput;
};

// Runs strCommand with /bin/sh and waits for it to end. Only standard output is kept; a
// command that wants its errors kept ends in "2>&1".
inline sProcessRun RunProcess(const std::string& strCommand) {
  sProcessRun run;
  FILE* pPipe = popen(strCommand.c_str(), "r");
  if (pPipe == nullptr) return run;
  char szBuffer[4096];
  for (size_t nRead; (nRead = std::fread(szBuffer, 1, sizeof szBuffer, pPipe)) > 0;)
    run.strOutput.append(szBuffer, nRead);
  const int nStatus = pclose(pPipe);
  run.nExitCode = WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
  return run;
}

// The lines of strText without their line ends; a last line without one counts too.
inline std::vector<std::string> SplitLines(const std::string& strText) {
  std::vector<std::string> arrLines;
  for (size_t nStart = 0, nEnd = 0; nStart < strText.size(); nStart = nEnd + 1) {
    nEnd = std::min(strText.find('\n', nStart), strText.size());
    arrLines.push_back(strText.substr(nStart, nEnd - nStart));
  }
  return arrLines;
}
