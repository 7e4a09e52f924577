// End to end: rms-sim, a process of its own, publishes full records as fast as they are taken
// over loopback TCP to halvo-host with the plug-in loaded and its windows hidden. The terminal
// delivers every publication to the plug-in's receiver, counts them and times the first and
// the last; nothing may be lost. Usage: bench_e2e [messages] (default 200000).
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/BenchProcess.h"

using namespace benchprocess;

int main(int argc, char* argv[]) {
  const uint64_t nMessages = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 200000;
  if (nMessages < 2) {
    std::fprintf(stderr, "usage: bench_e2e [messages, at least 2]\n");
    return 2;
  }
  const std::string strCount = std::to_string(nMessages);
  const CScratchFolder folder("bench_e2e");
  if (folder.GetPath().empty()) {
    std::fprintf(stderr, "bench_e2e: no scratch folder\n");
    return 1;
  }

  CChildProcess server;
  const std::optional<std::string> strAddress =
      StartRiskServer(server, {"--rate", "0", "--count", strCount, "--delete-every", "0"});
  if (!strAddress) {
    std::fprintf(stderr, "bench_e2e: rms-sim did not start\n");
    return 1;
  }

  CChildProcess host;
  const std::vector<std::string> arrHost = {(GetProgramFolder() / "halvo-host").string(),
                                            "--server",
                                            *strAddress,
                                            "--no-draw",
                                            "--no-conflation",
                                            "--quit-after-messages",
                                            strCount,
                                            "--report-deliveries",
                                            "--quit-after",
                                            "600"};
  if (!host.Start(arrHost, MakeHostEnvironment(folder.GetPath()))) {
    std::fprintf(stderr, "bench_e2e: halvo-host did not start\n");
    return 1;
  }
  std::vector<std::string> arrLines;
  const int nHostExit = host.Wait(std::chrono::seconds(660), arrLines);
  const std::optional<double> dSent = StopRiskServer(server);
  for (const std::string& strLine : arrLines) std::printf("halvo-host: %s\n", strLine.c_str());

  const std::optional<double> dDelivered = FindReportValue(arrLines, "report:", "publications_delivered");
  const std::optional<double> dSeconds = FindReportValue(arrLines, "report:", "first_to_last_s");
  if (nHostExit != 0 || !dSent || !dDelivered || !dSeconds) {
    std::fprintf(stderr, "bench_e2e: the run did not finish (halvo-host exit %d)\n", nHostExit);
    return 1;
  }
  const double dLost = *dSent - *dDelivered;
  const double dPerSecond = *dSeconds > 0 ? (*dDelivered - 1) / *dSeconds : 0.0;
  std::printf("rms-sim sent %.0f, the plug-in was given %.0f, first to last %.3f s\n", *dSent, *dDelivered,
              *dSeconds);
  std::printf("figure: e2e_msgs_per_s = %.0f msg/s\n", dPerSecond);
  std::printf("figure: e2e_lost_msgs = %.0f count\n", dLost);
  return dLost == 0 ? 0 : 1;
}
