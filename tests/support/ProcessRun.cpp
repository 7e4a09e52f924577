#include "tests/support/ProcessRun.h"

#include <sys/wait.h>

#include <cstdio>

sProcessRun RunProcess(const std::string& strCommand) {
  sProcessRun run;
  FILE* pPipe = popen(strCommand.c_str(), "r");
  if (pPipe == nullptr) return run;
  char szBuffer[4096];
  size_t nRead = 0;
  while ((nRead = std::fread(szBuffer, 1, sizeof szBuffer, pPipe)) > 0) run.strOutput.append(szBuffer, nRead);
  const int nStatus = pclose(pPipe);
  run.nExitCode = WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
  return run;
}

std::vector<std::string> SplitLines(const std::string& strText) {
  std::vector<std::string> arrLines;
  size_t nStart = 0;
  while (nStart < strText.size()) {
    size_t nEnd = strText.find('\n', nStart);
    if (nEnd == std::string::npos) nEnd = strText.size();
    arrLines.push_back(strText.substr(nStart, nEnd - nStart));
    nStart = nEnd + 1;
  }
  return arrLines;
}
