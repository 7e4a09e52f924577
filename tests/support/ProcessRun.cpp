#include "tests/support/ProcessRun.h"

#include <sys/wait.h>

#include <algorithm>
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
  for (size_t nStart = 0, nEnd = 0; nStart < strText.size(); nStart = nEnd + 1) {
    nEnd = std::min(strText.find('\n', nStart), strText.size());
    arrLines.push_back(strText.substr(nStart, nEnd - nStart));
  }
  return arrLines;
}
