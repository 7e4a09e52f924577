// The terminal on a risk desk: rms-sim holds 100,000 accounts (about 220,000 records with the
// broker, branch, dealer and group tree) and halvo-host runs the plug-in with four watch lists,
// each with two custom columns and two custom alert rules, painted off screen; one list is kept
// filtered and one sorted, both with live filter and sort, so every record that arrives or
// changes goes to its place in them at once (DeskSettings.h). Start-up ends with the last
// answer delivered: by then every record is in every list, shown in the filtered one only when
// it matches. Each run starts the server, waits until it is ready, then starts the terminal
// with a fresh settings folder.
//
//  - Desk run: the terminal starts (start-up time and memory after a few seconds of a slow
//    feed), then a storm: 50,000 full-record updates a second for 30 s, then as fast as the
//    terminal takes them for 10 s, with delete marks, call statuses and manual alerts among
//    them. Staleness of what the records hold, UI turns, the hand-over's peak, and whether the
//    records end as the server left them and every event arrived in order (ledgers of both).
//  - Capacity runs, without conflation: 10 s at each offered rate, lowest first, until the
//    delay's 99th percentile passes 100 ms.
// With --all-options every list has every view option on.
// Usage: bench_desk [--all-options] [--accounts N] [--storm-seconds S] [--burst-seconds S]
//                   [--rates R,R,...]
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/BenchCpu.h"
#include "bench/BenchProcess.h"
#include "bench/DeskSettings.h"
#include "bench/LedgerCompare.h"

using namespace benchprocess;

namespace {

constexpr const char* kUser = "RISK01";
// While the terminal starts and settles: a slow feed, then memory is read and measuring starts.
constexpr double kSlowRate = 100;
constexpr double kSettleSeconds = 5;
constexpr double kCapacitySettleSeconds = 2;
constexpr double kStormRate = 50000;
constexpr const char* kDeleteEvery = "1000";
constexpr const char* kEventsEvery = "1000";
constexpr double kCapacityDelayLimitMs = 100;
constexpr int kHostLimitSeconds = 300;

struct sDeskOptions {
  uint32_t nAccounts = 100000;
  double dStormSeconds = 30;
  double dBurstSeconds = 10;
  double dCapacitySeconds = 10;
  std::vector<double> arrRates = {20000, 30000, 40000, 50000};
  bool bAllOptions = false;
};

// One phase of the feed as rms-sim reports it when the phase ends.
struct sPhase {
  double dRate = 0;
  double dSeconds = 0;
  int64_t nFromNs = 0;
  uint64_t nSent = 0;
};

struct sDeskRun {
  int nHostExit = -1;
  std::vector<std::string> arrHostLines;
  std::vector<sPhase> arrPhases;
  std::optional<benchcpu::sCoreShares> measuredShares;  // over the phases measured
  std::optional<benchcpu::sCoreShares> startShares;     // from the terminal's start to its last response
  std::optional<ledgercompare::sComparison> comparison;

  std::optional<double> Find(const char* szName) const {
    return FindReportValue(arrHostLines, "report:", szName);
  }
};

std::optional<sDeskOptions> ParseArguments(int argc, char* argv[]) {
  sDeskOptions options;
  int nFirst = 1;
  if (argc > 1 && std::strcmp(argv[1], "--all-options") == 0) {
    options.bAllOptions = true;
    nFirst = 2;
  }
  for (int n = nFirst; n + 1 < argc; n += 2) {
    const std::string strName = argv[n];
    const char* szValue = argv[n + 1];
    const double dValue = std::strtod(szValue, nullptr);
    if (strName == "--rates") {
      options.arrRates.clear();
      for (const char* p = szValue; *p != '\0';) {
        char* pEnd = nullptr;
        const double dRate = std::strtod(p, &pEnd);
        if (pEnd == p || !(dRate > 0)) return std::nullopt;
        options.arrRates.push_back(dRate);
        p = *pEnd == ',' ? pEnd + 1 : pEnd;
      }
    } else if (!(dValue > 0)) {
      return std::nullopt;
    } else if (strName == "--accounts") {
      options.nAccounts = static_cast<uint32_t>(dValue);
    } else if (strName == "--storm-seconds") {
      options.dStormSeconds = dValue;
    } else if (strName == "--burst-seconds") {
      options.dBurstSeconds = dValue;
    } else {
      return std::nullopt;
    }
  }
  if ((argc - nFirst) % 2 != 0 || options.arrRates.empty()) return std::nullopt;
  return options;
}

std::string FormatNumber(double dValue) {
  char szText[32];
  std::snprintf(szText, sizeof szText, "%g", dValue);
  return szText;
}

// "rms-sim: phase N: RATE msg/s for S s from START ns, COUNT feed messages"
std::vector<sPhase> ReadPhases(const std::vector<std::string>& arrLines) {
  std::vector<sPhase> arrPhases;
  for (const std::string& strLine : arrLines) {
    int nNumber = 0;
    sPhase phase;
    if (std::sscanf(strLine.c_str(), "rms-sim: phase %d: %lf msg/s for %lf s from %" SCNd64 " ns, %" SCNu64,
                    &nNumber, &phase.dRate, &phase.dSeconds, &phase.nFromNs, &phase.nSent) == 5)
      arrPhases.push_back(phase);
  }
  return arrPhases;
}

// Runs rms-sim with the schedule and the terminal with the desk's settings, measuring from the
// phase nMeasuredFrom (counted from 0) to the end of the schedule. With bLedgers both write
// their ledgers, compared from that phase on.
bool RunDesk(const sDeskOptions& options, const std::vector<sPhase>& arrSchedule, size_t nMeasuredFrom,
             const std::vector<std::string>& arrHostExtra, bool bLedgers, sDeskRun& run) {
  const CScratchFolder folder("bench_desk");
  if (folder.GetPath().empty() ||
      !desksettings::WriteDeskSettings(desksettings::GetSettingsFolder(folder.GetPath() / "data", kUser),
                                       options.bAllOptions)) {
    std::fprintf(stderr, "bench_desk: cannot prepare the settings folder\n");
    return false;
  }
  std::string strSchedule;
  double dMeasureSeconds = 0;
  double dSettleSeconds = 0;
  for (size_t n = 0; n < arrSchedule.size(); ++n) {
    strSchedule += (n == 0 ? "" : ",") + FormatNumber(arrSchedule[n].dRate) + ":" +
                   FormatNumber(arrSchedule[n].dSeconds);
    (n < nMeasuredFrom ? dSettleSeconds : dMeasureSeconds) += arrSchedule[n].dSeconds;
  }
  const std::string strServerLedger = (folder.GetPath() / "server.ledger").string();
  const std::string strTerminalLedger = (folder.GetPath() / "terminal.ledger").string();

  CChildProcess server;
  std::vector<std::string> arrServer = {"--accounts",     std::to_string(options.nAccounts),
                                        "--delete-every", kDeleteEvery,
                                        "--events-every", kEventsEvery,
                                        "--schedule",     strSchedule};
  if (bLedgers) arrServer.insert(arrServer.end(), {"--ledger", strServerLedger});
  const std::optional<std::string> strAddress = StartRiskServer(server, arrServer);
  if (!strAddress) {
    std::fprintf(stderr, "bench_desk: rms-sim did not start\n");
    return false;
  }

  std::vector<std::string> arrHost = {(GetProgramFolder() / "halvo-host").string(),
                                      "--server",
                                      *strAddress,
                                      "--user",
                                      kUser,
                                      "--report-deliveries",
                                      "--measure-after",
                                      FormatNumber(dSettleSeconds),
                                      "--measure",
                                      FormatNumber(dMeasureSeconds),
                                      "--quit-after",
                                      std::to_string(kHostLimitSeconds)};
  arrHost.insert(arrHost.end(), arrHostExtra.begin(), arrHostExtra.end());
  if (bLedgers) arrHost.insert(arrHost.end(), {"--ledger", strTerminalLedger});
  CChildProcess host;
  const int64_t nHostStartNs = benchcpu::GetMonotonicNs();
  if (!host.Start(arrHost, MakeHostEnvironment(folder.GetPath()))) {
    std::fprintf(stderr, "bench_desk: halvo-host did not start\n");
    return false;
  }
  benchcpu::CCpuSampler sampler(server.GetPid(), host.GetPid());
  run.nHostExit = host.Wait(std::chrono::seconds(kHostLimitSeconds + 60), run.arrHostLines);
  sampler.Stop();
  server.Signal(SIGTERM);
  std::vector<std::string> arrServerLines;
  const int nServerExit = server.Wait(std::chrono::seconds(30), arrServerLines);
  run.arrPhases = ReadPhases(arrServerLines);
  if (run.nHostExit != 0 || nServerExit != 0 || run.arrPhases.size() != arrSchedule.size()) {
    for (const std::string& strLine : run.arrHostLines) std::printf("halvo-host: %s\n", strLine.c_str());
    for (const std::string& strLine : arrServerLines) std::printf("%s\n", strLine.c_str());
    std::fprintf(stderr, "bench_desk: the run did not finish (halvo-host exit %d, rms-sim exit %d)\n",
                 run.nHostExit, nServerExit);
    return false;
  }

  const sPhase& last = run.arrPhases.back();
  run.measuredShares = sampler.GetShares(run.arrPhases[nMeasuredFrom].nFromNs,
                                         last.nFromNs + static_cast<int64_t>(last.dSeconds * 1e9));
  if (const std::optional<double> dStartMs = run.Find("last_response_after_start_ms"))
    run.startShares = sampler.GetShares(nHostStartNs, nHostStartNs + static_cast<int64_t>(*dStartMs * 1e6));
  if (bLedgers) {
    const std::optional<ledgercompare::sLedger> serverLedger = ledgercompare::ReadLedger(strServerLedger);
    const std::optional<ledgercompare::sLedger> terminalLedger = ledgercompare::ReadLedger(strTerminalLedger);
    if (!serverLedger || !terminalLedger) {
      std::fprintf(stderr, "bench_desk: a ledger is missing or unreadable\n");
      return false;
    }
    run.comparison =
        ledgercompare::CompareLedgers(*serverLedger, *terminalLedger, run.arrPhases[nMeasuredFrom].nFromNs);
  }
  return true;
}

void PrintShares(const char* szWhat, const std::optional<benchcpu::sCoreShares>& shares) {
  if (!shares) return;
  std::printf(
      "%s: terminal %.2f cores (its user-interface thread %.2f, which waited %.0f and was preempted %.0f "
      "times "
      "a second), rms-sim %.2f, other programs %.2f; machine busy %.2f of %ld cores\n",
      szWhat, shares->dTerminal, shares->dTerminalMain, shares->dMainWaitsPerSecond,
      shares->dMainPreemptionsPerSecond, shares->dServer, shares->dOthers, shares->dMachine,
      sysconf(_SC_NPROCESSORS_ONLN));
}

void AppendLimit(std::string& strLimits, const std::string& strLimit) {
  strLimits += (strLimits.empty() ? "" : "; ") + strLimit;
}

// What ran out while the terminal worked: the processors when the machine was at least 85%
// busy; the user-interface thread, which does the plug-in's work, when it handled events 85% of
// the time (from the terminal's report, when given) or, at start-up, whenever it did the work;
// and the hand-over's bound when it was reached (the user-interface thread fell behind, the I/O
// thread stopped reading and the server waited).
std::string DescribeLimits(const std::optional<benchcpu::sCoreShares>& shares, const sDeskRun* pMeasured) {
  std::string strLimits;
  char szText[300];
  const double dCores = static_cast<double>(sysconf(_SC_NPROCESSORS_ONLN));
  if (shares && shares->dMachine >= 0.85 * dCores) {
    std::snprintf(
        szText, sizeof szText,
        "the processors (busy %.2f of %.0f cores: terminal %.2f, rms-sim %.2f, other programs %.2f)",
        shares->dMachine, dCores, shares->dTerminal, shares->dServer, shares->dOthers);
    AppendLimit(strLimits, szText);
  }
  const double dMain = shares ? shares->dTerminalMain : 0.0;
  const double dPreempted = shares ? shares->dMainPreemptionsPerSecond : 0.0;
  if (pMeasured == nullptr) {
    std::snprintf(szText, sizeof szText,
                  "the user-interface thread, which does the start-up's work (it got %.2f of a core, "
                  "preempted %.0f times a second)",
                  dMain, dPreempted);
    AppendLimit(strLimits, szText);
    return strLimits;
  }
  const double dBusy = pMeasured->Find("ui_busy_share").value_or(0);
  if (dBusy >= 0.85) {
    std::snprintf(
        szText, sizeof szText,
        "the user-interface thread (handling events %.2f of the time: delivery %.2f, painting %.2f; "
        "on a processor %.2f of it, preempted %.0f times a second)",
        dBusy, pMeasured->Find("ui_busy_share_MetaCall").value_or(0),
        pMeasured->Find("ui_busy_share_UpdateRequest").value_or(0),
        pMeasured->Find("ui_cpu_share").value_or(0), dPreempted);
    AppendLimit(strLimits, szText);
  }
  if (pMeasured->Find("queue_peak_measured_mb").value_or(0) >= 31)
    AppendLimit(strLimits,
                "the hand-over's 16 MiB bound (the user-interface thread fell behind, reading stopped)");
  return strLimits.empty() ? "none at its limit" : strLimits;
}

struct sGoal {
  const char* szName;
  double dValue;
  const char* szUnit;
  bool bAtMost;
  double dGoal;
  std::string strLimits;  // what ran out, shown when the goal is missed
};

}  // namespace

int main(int argc, char* argv[]) {
  const std::optional<sDeskOptions> options = ParseArguments(argc, argv);
  if (!options) {
    std::fprintf(
        stderr,
        "usage: bench_desk [--all-options] [--accounts N] [--storm-seconds S] [--burst-seconds S] "
        "[--rates R,R,...]\n");
    return 2;
  }
  double arrLoad[3] = {};
  if (getloadavg(arrLoad, 3) == 3)
    std::printf("load average at the start: %.2f %.2f %.2f (1, 5, 15 min)\n", arrLoad[0], arrLoad[1],
                arrLoad[2]);

  // Desk run: start-up under a slow feed, then the storm.
  const std::vector<sPhase> arrStorm = {{kSlowRate, kSettleSeconds, 0, 0},
                                        {kStormRate, options->dStormSeconds, 0, 0},
                                        {0, options->dBurstSeconds, 0, 0}};
  sDeskRun desk;
  if (!RunDesk(*options, arrStorm, 1, {}, true, desk)) return 1;
  for (const std::string& strLine : desk.arrHostLines)
    if (strLine.starts_with("report:")) std::printf("halvo-host: %s\n", strLine.c_str());
  for (size_t n = 1; n < desk.arrPhases.size(); ++n) {
    const sPhase& phase = desk.arrPhases[n];
    const std::string strOffered =
        phase.dRate > 0 ? FormatNumber(phase.dRate) + " msg/s" : std::string("as fast as taken");
    std::printf("storm phase %zu: offered %s for %g s, rms-sim sent %.0f msg/s\n", n, strOffered.c_str(),
                phase.dSeconds, static_cast<double>(phase.nSent) / phase.dSeconds);
  }
  PrintShares("start-up", desk.startShares);
  PrintShares("storm", desk.measuredShares);
  const ledgercompare::sComparison& comparison = *desk.comparison;
  std::printf("ledgers: %" PRIu64 " records published in the storm, %" PRIu64
              " ending otherwise at the terminal; %" PRIu64 " events sent, %" PRIu64 " lost, %" PRIu64
              " out of order\n",
              comparison.nRecords, comparison.nMismatches, comparison.nEvents, comparison.nLost,
              comparison.nOutOfOrder);

  // Capacity: each rate after start-up, until the delay passes its limit.
  double dCapacity = 0;
  std::string strCapacityLimits;
  for (const double dRate : options->arrRates) {
    sDeskRun capacity;
    const std::vector<sPhase> arrSchedule = {{kSlowRate, kCapacitySettleSeconds, 0, 0},
                                             {dRate, options->dCapacitySeconds, 0, 0}};
    if (!RunDesk(*options, arrSchedule, 1, {"--no-conflation"}, false, capacity)) return 1;
    const double dDelayP99 = capacity.Find("delay_p99_ms").value_or(1e9);
    std::printf(
        "capacity at %.0f msg/s offered: rms-sim sent %.0f msg/s, delivered %.0f msg/s, delay p99 %.1f ms, "
        "ui busy %.2f\n",
        dRate, static_cast<double>(capacity.arrPhases[1].nSent) / options->dCapacitySeconds,
        capacity.Find("measured_msgs_per_s").value_or(0), dDelayP99,
        capacity.Find("ui_busy_share").value_or(0));
    PrintShares("  processors", capacity.measuredShares);
    if (dDelayP99 > kCapacityDelayLimitMs) {
      strCapacityLimits = DescribeLimits(capacity.measuredShares, &capacity);
      break;
    }
    dCapacity = dRate;
  }

  const std::string strStormLimits = DescribeLimits(desk.measuredShares, &desk);
  const std::string strStartLimits = DescribeLimits(desk.startShares, nullptr);
  char szMemory[200];
  std::snprintf(
      szMemory, sizeof szMemory,
      "memory, held by the records and the lists (the hand-over's peak since the start was %.1f MiB)",
      desk.Find("queue_peak_mb").value_or(0));
  const std::string strMemoryLimits = szMemory;
  const std::vector<sGoal> arrGoals = {
      {"startup_100k_ms", desk.Find("last_response_after_start_ms").value_or(-1), "ms", true, 3000,
       strStartLimits},
      {"rss_100k_mb", desk.Find("rss_at_measure_start_mb").value_or(-1), "MiB", true, 700, strMemoryLimits},
      {"desk_staleness_p99_ms", desk.Find("delay_p99_ms").value_or(-1), "ms", true, 250, strStormLimits},
      {"desk_ui_frame_p99_ms", desk.Find("ui_turn_p99_ms").value_or(-1), "ms", true, 50, strStormLimits},
      {"desk_final_mismatches", static_cast<double>(comparison.nMismatches), "count", true, 0,
       "no resource, a fault of delivery"},
      {"desk_lost_events", static_cast<double>(comparison.nLost + comparison.nOutOfOrder), "count", true, 0,
       "no resource, a fault of delivery"},
      {"desk_queue_peak_mb", desk.Find("queue_peak_measured_mb").value_or(-1), "MiB", true, 64,
       strStormLimits},
      {"desk_capacity_msgs_per_s", dCapacity, "msg/s", false, 40000, strCapacityLimits},
  };
  if (getloadavg(arrLoad, 3) == 3)
    std::printf("load average at the end: %.2f %.2f %.2f (1, 5, 15 min)\n", arrLoad[0], arrLoad[1],
                arrLoad[2]);
  for (const sGoal& goal : arrGoals) {
    const bool bMet =
        goal.dValue >= 0 && (goal.bAtMost ? goal.dValue <= goal.dGoal : goal.dValue >= goal.dGoal);
    std::printf("goal %s %s %g %s: %s%s\n", goal.szName, goal.bAtMost ? "<=" : ">=", goal.dGoal, goal.szUnit,
                bMet ? "met" : "missed", bMet ? "" : (", ran out: " + goal.strLimits).c_str());
  }
  // Whole numbers for counts and rates, tenths for times and sizes.
  for (const sGoal& goal : arrGoals) {
    const bool bWhole = std::strcmp(goal.szUnit, "count") == 0 || std::strcmp(goal.szUnit, "msg/s") == 0;
    std::printf("figure: %s = %.*f %s\n", goal.szName, bWhole ? 0 : 1, goal.dValue, goal.szUnit);
  }
  return 0;
}
