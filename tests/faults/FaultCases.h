// The fault cases: each starts rms-sim and the terminal as processes of their own, harms the
// server, its traffic or the settings folder, and checks that the terminal neither crashed nor
// hung (it closes by itself with exit code 0), showed the link's state truthfully within the
// stated time, ended with every record equal to the server's last values, kept its memory
// bounded, and kept every line of its settings file. The test suite and bench_faults run the
// same cases.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tests/faults/FaultRun.h"

namespace faultsuite {

// A frozen server (SIGSTOP for 15 s, then SIGCONT). Figure: frozen_server_shown_ms.
sFaultVerdict RunFrozenServer();
// The server killed (SIGKILL) and started again on the same ports, with the same entities or
// with others. Figure: reconnect_recovery_ms, from the restart until the answer to the
// terminal's new tree request was delivered.
sFaultVerdict RunRestartedServer(bool bSameEntities);
// Both tree requests answered with status 0: the plug-in's fatal-error boxes, each answered
// after dBoxSeconds, while the feed runs at dRate. Figure: queue_peak_mb, the hand-over's peak.
sFaultVerdict RunFatalStatus(double dBoxSeconds, double dRate);
// 20,000 malformed publications when the feed starts.
sFaultVerdict RunMalformedPublications();
// One 64 MiB frame when the feed starts, beside a run with a 17 MiB one to measure the memory
// against.
sFaultVerdict RunOversizeFrame();
// The plug-in's settings folder read-only while it saves at close.
sFaultVerdict RunReadOnlySettings();
// A settings file of garbage: binary bytes, NULs, very long lines, lines of no known form.
sFaultVerdict RunGarbageSettings();

struct sFaultCase {
  std::string strName;
  std::function<sFaultVerdict()> fnRun;
};

// Every case, as the issue lists them.
const std::vector<sFaultCase>& GetFaultCases();

}  // namespace faultsuite
