// Server faults: every case of the fault suite (tests/faults/FaultCases.h), run as the tests run
// them, counted; then a box left open for 30 s while the server offers 20,000 updates a second.
// The terminal (halvo-host with the plug-in) and rms-sim are processes of their own, found next
// to this program. Figures: the cases passed, the time from a server's restart until every row
// is current again (the answer to the terminal's new tree request delivered; the slower of the
// two restarts), the time from a server's freeze until the terminal shows it, and the
// hand-over's peak while the box was open. A run takes about three minutes.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/faults/FaultCases.h"

using namespace faultsuite;

namespace {

constexpr double kBoxOpenSeconds = 30;
constexpr double kBoxOpenRate = 20000;

struct sGoal {
  const char* szName;
  double dValue;  // -1 when it was not measured
  const char* szUnit;
  bool bAtMost;
  double dGoal;
};

void PrintLoad(const char* szWhen) {
  double arrLoad[3] = {};
  if (getloadavg(arrLoad, 3) == 3)
    std::printf("load average at the %s: %.2f %.2f %.2f (1, 5, 15 min)\n", szWhen, arrLoad[0], arrLoad[1],
                arrLoad[2]);
}

void PrintVerdict(const std::string& strName, const sFaultVerdict& verdict) {
  std::printf("case %s: %s\n", strName.c_str(), verdict.arrFailures.empty() ? "passed" : "failed");
  for (const std::string& strFailure : verdict.arrFailures) std::printf("  failed: %s\n", strFailure.c_str());
  for (const auto& [strFigure, dValue] : verdict.mapFigures) std::printf("  %s = %.1f\n", strFigure.c_str(), dValue);
  if (verdict.arrFailures.empty()) return;
  for (const std::string& strLine : verdict.arrReports) std::printf("  halvo-host: %s\n", strLine.c_str());
}

// The largest value of a figure over the verdicts; -1 when none measured it.
double FindWorst(const std::vector<sFaultVerdict>& arrVerdicts, const std::string& strFigure) {
  double dWorst = -1;
  for (const sFaultVerdict& verdict : arrVerdicts)
    if (const auto it = verdict.mapFigures.find(strFigure); it != verdict.mapFigures.end())
      dWorst = std::max(dWorst, it->second);
  return dWorst;
}

}  // namespace

int main() {
  PrintLoad("start");
  std::vector<sFaultVerdict> arrVerdicts;
  int nPassed = 0;
  for (const sFaultCase& faultCase : GetFaultCases()) {
    arrVerdicts.push_back(faultCase.fnRun());
    PrintVerdict(faultCase.strName, arrVerdicts.back());
    if (arrVerdicts.back().arrFailures.empty()) ++nPassed;
  }
  const sFaultVerdict boxOpen = RunFatalStatus(kBoxOpenSeconds, kBoxOpenRate);
  PrintVerdict("box open for 30 s at 20,000 updates/s", boxOpen);
  const auto itQueuePeak = boxOpen.mapFigures.find("queue_peak_mb");
  PrintLoad("end");

  const std::vector<sGoal> arrGoals = {
      {"fault_cases_passed", static_cast<double>(nPassed), "count", false,
       static_cast<double>(GetFaultCases().size())},
      {"reconnect_recovery_ms", FindWorst(arrVerdicts, "reconnect_recovery_ms"), "ms", true, 2000},
      {"frozen_server_shown_ms", FindWorst(arrVerdicts, "frozen_server_shown_ms"), "ms", true, 6000},
      {"box_open_queue_peak_mb", itQueuePeak != boxOpen.mapFigures.end() ? itQueuePeak->second : -1, "MiB", true, 64},
  };
  bool bAllMet = true;
  for (const sGoal& goal : arrGoals) {
    const bool bMet = goal.dValue >= 0 && (goal.bAtMost ? goal.dValue <= goal.dGoal : goal.dValue >= goal.dGoal);
    bAllMet = bAllMet && bMet;
    std::printf("goal %s %s %g %s: %s\n", goal.szName, goal.bAtMost ? "<=" : ">=", goal.dGoal, goal.szUnit,
                bMet ? "met" : "missed");
  }
  for (const sGoal& goal : arrGoals)
    std::printf("figure: %s = %.*f %s\n", goal.szName, goal.dValue == static_cast<int>(goal.dValue) ? 0 : 1,
                goal.dValue, goal.szUnit);
  return bAllMet ? 0 : 1;
}
