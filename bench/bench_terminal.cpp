// The terminal under a live feed: rms-sim, a process of its own, holds 20,000 entities and
// publishes 20,000 updates a second; halvo-host runs the plug-in with its four watch windows
// and its alerts window shown and painted off screen. From the first publication on, for the
// given seconds, the terminal measures the delay from the server's send until the plug-in's
// receiver returned, and the busy time of each turn of its event loop. With --all-options the
// terminal starts with a desk's settings, every list with every view option on (DeskSettings.h).
// Usage: bench_terminal [--all-options] [--seconds S] [--rate N] [--entities N]
//        (defaults 30, 20000, 20000)
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/BenchProcess.h"
#include "bench/DeskSettings.h"

using namespace benchprocess;

namespace {

// The tree's entities besides the accounts: one broker, four branches, twenty dealers and
// ten groups, as rms-sim makes them by default.
constexpr double kOtherEntities = 35;

struct sTerminalRun {
  double dSeconds = 30;
  double dRate = 20000;
  double dEntities = 20000;
  bool bAllOptions = false;
};

constexpr const char* kDeskUser = "RISK01";

bool ParseArguments(int argc, char* argv[], sTerminalRun& run) {
  int nFirst = 1;
  if (argc > 1 && std::strcmp(argv[1], "--all-options") == 0) {
    run.bAllOptions = true;
    nFirst = 2;
  }
  for (int n = nFirst; n + 1 < argc; n += 2) {
    const double dValue = std::strtod(argv[n + 1], nullptr);
    if (!(dValue > 0)) return false;
    if (std::strcmp(argv[n], "--seconds") == 0)
      run.dSeconds = dValue;
    else if (std::strcmp(argv[n], "--rate") == 0)
      run.dRate = dValue;
    else if (std::strcmp(argv[n], "--entities") == 0 && dValue > kOtherEntities)
      run.dEntities = dValue;
    else
      return false;
  }
  return (argc - nFirst) % 2 == 0;
}

std::string FormatWhole(double dValue) { return std::to_string(static_cast<uint64_t>(dValue)); }

}  // namespace

int main(int argc, char* argv[]) {
  sTerminalRun run;
  if (!ParseArguments(argc, argv, run)) {
    std::fprintf(stderr, "usage: bench_terminal [--all-options] [--seconds S] [--rate N] [--entities N]\n");
    return 2;
  }
  const CScratchFolder folder("bench_terminal");
  if (folder.GetPath().empty()) {
    std::fprintf(stderr, "bench_terminal: no scratch folder\n");
    return 1;
  }
  if (run.bAllOptions &&
      !desksettings::WriteDeskSettings(desksettings::GetSettingsFolder(folder.GetPath() / "data", kDeskUser))) {
    std::fprintf(stderr, "bench_terminal: cannot write the desk's settings\n");
    return 1;
  }

  // The feed outlasts the measurement by a few seconds, so it runs at its rate throughout.
  CChildProcess server;
  const std::optional<std::string> strAddress = StartRiskServer(
      server, {"--accounts", FormatWhole(run.dEntities - kOtherEntities), "--rate", FormatWhole(run.dRate),
               "--count", FormatWhole(run.dRate * (run.dSeconds + 5))});
  if (!strAddress) {
    std::fprintf(stderr, "bench_terminal: rms-sim did not start\n");
    return 1;
  }

  CChildProcess host;
  std::vector<std::string> arrHost = {(GetProgramFolder() / "halvo-host").string(),
                                      "--server",
                                      *strAddress,
                                      "--measure",
                                      std::to_string(run.dSeconds),
                                      "--quit-after",
                                      std::to_string(run.dSeconds + 600)};
  if (run.bAllOptions) arrHost.insert(arrHost.end(), {"--user", kDeskUser});
  if (!host.Start(arrHost, MakeHostEnvironment(folder.GetPath()))) {
    std::fprintf(stderr, "bench_terminal: halvo-host did not start\n");
    return 1;
  }
  std::vector<std::string> arrLines;
  const int nHostExit = host.Wait(std::chrono::seconds(static_cast<int>(run.dSeconds) + 660), arrLines);
  const std::optional<double> dSent = StopRiskServer(server);
  for (const std::string& strLine : arrLines) std::printf("halvo-host: %s\n", strLine.c_str());

  const auto fnFind = [&arrLines](const char* szName) {
    return FindReportValue(arrLines, "report:", szName);
  };
  const std::optional<double> dMeasured = fnFind("measured_publications");
  const std::optional<double> dPerSecond = fnFind("measured_msgs_per_s");
  const std::optional<double> dDelayP99 = fnFind("delay_p99_ms");
  const std::optional<double> dDelaySamples = fnFind("delay_samples");
  const std::optional<double> dTurnP99 = fnFind("ui_turn_p99_ms");
  if (nHostExit != 0 || !dSent || !dMeasured || !dPerSecond || !dDelayP99 || !dTurnP99 || !dDelaySamples ||
      *dDelaySamples == 0) {
    std::fprintf(stderr, "bench_terminal: the run did not finish (halvo-host exit %d)\n", nHostExit);
    return 1;
  }
  std::printf("%.0f entities, feed at %.0f msg/s; rms-sim sent %.0f; measured %.1f s: %.0f publications\n",
              run.dEntities, run.dRate, *dSent, run.dSeconds, *dMeasured);
  std::printf("figure: terminal_msgs_per_s = %.0f msg/s\n", *dPerSecond);
  std::printf("figure: terminal_lag_ms = %.1f ms\n", *dDelayP99);
  std::printf("figure: ui_frame_ms = %.1f ms\n", *dTurnP99);
  return 0;
}
