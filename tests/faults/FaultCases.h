// The fault cases: each starts rms-sim and the terminal as processes of their own, harms the
// server, its traffic or the settings folder, and checks that the terminal neither crashed nor
// hung (it closes by itself with exit code 0), showed the link's state truthfully within the
// stated time, ended with every record equal to the server's last values, kept its memory
// bounded, and kept every line of its settings file. The test suite and bench_faults run them.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tests/faults/FaultRun.h"

namespace faultsuite {

// Both tree requests answered with status 0: the plug-in's fatal-error boxes, each answered
// after dBoxSeconds, while the feed runs at dRate. Figure: queue_peak_mb, the hand-over's peak.
sFaultVerdict RunFatalStatus(double dBoxSeconds, double dRate);
// The plug-in's settings folder read-only while it saves at close; a settings file of garbage.
sFaultVerdict RunReadOnlySettings();
sFaultVerdict RunGarbageSettings();

struct sFaultCase {
  std::string strName;
  std::function<sFaultVerdict()> fnRun;
};

// Every case; figures of the others: frozen_server_shown_ms, reconnect_recovery_ms.
const std::vector<sFaultCase>& GetFaultCases();

}  // namespace faultsuite
