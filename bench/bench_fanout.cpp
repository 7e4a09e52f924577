// Fan-out through a relay: rms-sim publishes value updates at a steady rate through rms-relay to
// several halvo-host terminals, each a process with the plug-in loaded, its windows shown but
// never painted, and a settings folder of its own. The feed is held until every terminal had
// time to start and subscribe, so all of them get it from its first message; each terminal
// closes once the plug-in was given every publication (conflation is off, so every value
// counts), or when its measuring time ran out.
// A terminal that subscribed late would count what it missed as lost: the loss is never
// under-reported. Lag is the delay from the server's send until the plug-in's receiver returned.
// Usage: bench_fanout [--seconds S] [--rate N] [--terminals N]  (defaults 30, 5000, 8)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchProcess.h"

using namespace benchprocess;

namespace {

struct sFanoutRun {
  double dSeconds = 30;
  double dRate = 5000;
  double dTerminals = 8;
};

// Room for the terminals to start, take their tree and subscribe before the feed starts.
constexpr double kHoldBaseSeconds = 5;
constexpr double kHoldPerTerminalSeconds = 1;
// How long past the feed's length a terminal waits for publications it has not had.
constexpr double kSlackSeconds = 60;

bool ParseArguments(int argc, char* argv[], sFanoutRun& run) {
  for (int n = 1; n + 1 < argc; n += 2) {
    const double dValue = std::strtod(argv[n + 1], nullptr);
    if (!(dValue > 0)) return false;
    if (std::strcmp(argv[n], "--seconds") == 0)
      run.dSeconds = dValue;
    else if (std::strcmp(argv[n], "--rate") == 0)
      run.dRate = dValue;
    else if (std::strcmp(argv[n], "--terminals") == 0 && dValue >= 1)
      run.dTerminals = dValue;
    else
      return false;
  }
  return argc % 2 == 1;
}

std::string FormatWhole(double dValue) { return std::to_string(static_cast<uint64_t>(dValue)); }

struct sTerminal {
  std::unique_ptr<CScratchFolder> pFolder;
  std::unique_ptr<CChildProcess> pProcess;
  std::vector<std::string> arrLines;
  int nExit = -1;
};

}  // namespace

int main(int argc, char* argv[]) {
  sFanoutRun run;
  if (!ParseArguments(argc, argv, run)) {
    std::fprintf(stderr, "usage: bench_fanout [--seconds S] [--rate N] [--terminals N]\n");
    return 2;
  }
  const auto nTerminals = static_cast<size_t>(run.dTerminals);
  const std::string strCount = FormatWhole(run.dRate * run.dSeconds);
  const double dHoldSeconds = kHoldBaseSeconds + kHoldPerTerminalSeconds * static_cast<double>(nTerminals);

  CChildProcess server;
  const std::optional<std::string> strServer = StartRiskServer(
      server,
      {"--rate", FormatWhole(run.dRate), "--count", strCount, "--feed-delay", std::to_string(dHoldSeconds)});
  if (!strServer) {
    std::fprintf(stderr, "bench_fanout: rms-sim did not start\n");
    return 1;
  }
  CChildProcess relay;
  const std::optional<std::string> strRelay = StartRelay(relay, *strServer);
  if (!strRelay) {
    std::fprintf(stderr, "bench_fanout: rms-relay did not start\n");
    return 1;
  }

  std::vector<sTerminal> arrTerminals(nTerminals);
  for (size_t n = 0; n < nTerminals; ++n) {
    sTerminal& terminal = arrTerminals[n];
    terminal.pFolder = std::make_unique<CScratchFolder>("bench_fanout");
    terminal.pProcess = std::make_unique<CChildProcess>();
    const std::vector<std::string> arrHost = {
        (GetProgramFolder() / "halvo-host").string(),
        "--server",
        *strRelay,
        "--no-draw",
        "--no-conflation",
        "--report-deliveries",
        "--measure",
        std::to_string(run.dSeconds + kSlackSeconds),
        "--quit-after-messages",
        strCount,
        "--quit-after",
        std::to_string(dHoldSeconds + run.dSeconds + kSlackSeconds + 600)};
    if (terminal.pFolder->GetPath().empty() ||
        !terminal.pProcess->Start(arrHost, MakeHostEnvironment(terminal.pFolder->GetPath()))) {
      std::fprintf(stderr, "bench_fanout: halvo-host %zu did not start\n", n + 1);
      return 1;
    }
  }
  const auto wait = std::chrono::seconds(static_cast<int>(dHoldSeconds + run.dSeconds + kSlackSeconds) + 660);
  for (sTerminal& terminal : arrTerminals) terminal.nExit = terminal.pProcess->Wait(wait, terminal.arrLines);
  const std::optional<double> dSent = StopRiskServer(server);
  relay.Signal(SIGTERM);
  std::vector<std::string> arrRelayLines;
  const int nRelayExit = relay.Wait(std::chrono::seconds(30), arrRelayLines);

  double dLost = 0;
  double dWorstLagMs = 0;
  bool bFinished = dSent.has_value() && nRelayExit == 0;
  for (size_t n = 0; n < nTerminals; ++n) {
    const sTerminal& terminal = arrTerminals[n];
    const auto fnFind = [&terminal](const char* szName) {
      return FindReportValue(terminal.arrLines, "report:", szName);
    };
    const std::optional<double> dDelivered = fnFind("publications_delivered");
    const std::optional<double> dLagMs = fnFind("delay_p99_ms");
    const std::optional<double> dMedianLagMs = fnFind("delay_p50_ms");
    const std::optional<double> dCores = fnFind("terminal_cpu_cores");
    const std::optional<double> dUiBusy = fnFind("ui_busy_share");
    const std::optional<double> dUiCpu = fnFind("ui_cpu_share");
    if (terminal.nExit != 0 || !dDelivered || !dLagMs || !dMedianLagMs || !dCores || !dUiBusy || !dUiCpu ||
        !dSent) {
      for (const std::string& strLine : terminal.arrLines)
        std::printf("halvo-host %zu: %s\n", n + 1, strLine.c_str());
      std::fprintf(stderr, "bench_fanout: terminal %zu did not finish (exit %d)\n", n + 1, terminal.nExit);
      bFinished = false;
      continue;
    }
    dLost += *dSent - *dDelivered;
    dWorstLagMs = std::max(dWorstLagMs, *dLagMs);
    // A UI thread busy for longer than it had the processor waited for it behind other programs.
    std::printf(
        "terminal %zu: delivered %.0f, lag p50 %.1f p99 %.1f ms, %.2f cores, UI busy %.2f on CPU %.2f\n",
        n + 1, *dDelivered, *dMedianLagMs, *dLagMs, *dCores, *dUiBusy, *dUiCpu);
  }
  if (!bFinished) {
    std::fprintf(stderr, "bench_fanout: the run did not finish (rms-relay exit %d)\n", nRelayExit);
    return 1;
  }
  std::printf("%zu terminals through one relay, feed at %.0f msg/s for %.0f s; rms-sim sent %.0f\n",
              nTerminals, run.dRate, run.dSeconds, *dSent);
  std::printf("figure: fanout_lost_msgs = %.0f count\n", dLost);
  std::printf("figure: fanout_lag_p99_ms = %.1f ms\n", dWorstLagMs);
  return dLost == 0 ? 0 : 1;
}
