// Runs a command line in the shell and keeps what it wrote, for tests that start the
// programs of the build as a user would.
#pragma once

#include <string>
#include <vector>

struct sProcessRun {
  int nExitCode = -1;  // -1 when the command could not start or ended by a signal
  std::string strOutput;
};

// Runs strCommand with /bin/sh and waits for it to end. Only standard output is kept; a
// command that wants its errors kept ends in "2>&1".
sProcessRun RunProcess(const std::string& strCommand);

// The lines of strText without their line ends; a last line without one counts too.
std::vector<std::string> SplitLines(const std::string& strText);
