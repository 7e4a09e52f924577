// End to end: rms-sim, a process of its own, publishes full records as fast as they are taken
// over loopback TCP to halvo-host with the plug-in loaded and its windows hidden. The terminal
// delivers every publication to the plug-in's receiver, counts them and times the first and
// the last; nothing may be lost. The feed runs over a plain link and over a CURVE-encrypted one
// (server and terminal with keys, the terminal on the allow-list), three times each, in turns
// whose order alternates, and the median throughputs are compared: one run of each swings by a
// quarter on a shared machine. Usage: bench_e2e [messages] (default 200000).
#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "bench/BenchProcess.h"
#include "keys/CurveKeys.h"

using namespace benchprocess;

namespace {

constexpr int kRounds = 3;

struct sRunResult {
  double dSent = 0;
  double dDelivered = 0;
  double dSeconds = 0;
  double GetPerSecond() const { return dSeconds > 0 ? (dDelivered - 1) / dSeconds : 0.0; }
};

// One run: the server with arrServerExtra, the terminal with arrHostExtra. Nullopt when it did
// not finish.
std::optional<sRunResult> RunOnce(const char* szName, const std::filesystem::path& folder,
                                  const std::string& strCount, const std::vector<std::string>& arrServerExtra,
                                  const std::vector<std::string>& arrHostExtra) {
  std::vector<std::string> arrServer = {"--rate", "0", "--count", strCount, "--delete-every", "0"};
  arrServer.insert(arrServer.end(), arrServerExtra.begin(), arrServerExtra.end());
  CChildProcess server;
  const std::optional<std::string> strAddress = StartRiskServer(server, arrServer);
  if (!strAddress) {
    std::fprintf(stderr, "bench_e2e: rms-sim did not start (%s)\n", szName);
    return std::nullopt;
  }

  CChildProcess host;
  std::vector<std::string> arrHost = {(GetProgramFolder() / "halvo-host").string(),
                                      "--server",
                                      *strAddress,
                                      "--no-draw",
                                      "--no-conflation",
                                      "--quit-after-messages",
                                      strCount,
                                      "--report-deliveries",
                                      "--quit-after",
                                      "600"};
  arrHost.insert(arrHost.end(), arrHostExtra.begin(), arrHostExtra.end());
  if (!host.Start(arrHost, MakeHostEnvironment(folder))) {
    std::fprintf(stderr, "bench_e2e: halvo-host did not start (%s)\n", szName);
    return std::nullopt;
  }
  std::vector<std::string> arrLines;
  const int nHostExit = host.Wait(std::chrono::seconds(660), arrLines);
  const std::optional<double> dSent = StopRiskServer(server);
  for (const std::string& strLine : arrLines) std::printf("halvo-host (%s): %s\n", szName, strLine.c_str());

  const std::optional<double> dDelivered = FindReportValue(arrLines, "report:", "publications_delivered");
  const std::optional<double> dSeconds = FindReportValue(arrLines, "report:", "first_to_last_s");
  if (nHostExit != 0 || !dSent || !dDelivered || !dSeconds) {
    std::fprintf(stderr, "bench_e2e: the %s run did not finish (halvo-host exit %d)\n", szName, nHostExit);
    return std::nullopt;
  }
  std::printf("%s: rms-sim sent %.0f, the plug-in was given %.0f, first to last %.3f s\n", szName, *dSent,
              *dDelivered, *dSeconds);
  return sRunResult{*dSent, *dDelivered, *dSeconds};
}

double GetMedian(std::vector<double> arrValues) {
  std::sort(arrValues.begin(), arrValues.end());
  return arrValues.empty() ? 0.0 : arrValues[arrValues.size() / 2];
}

// Key pairs for the server and the terminal in folder, and the server's allow-list holding the
// terminal's key; false when they cannot be made.
bool MakeKeys(const std::filesystem::path& folder) {
  std::string strError;
  for (const char* szName : {"server", "terminal"}) {
    const std::optional<sCurveKeyPair> keys = MakeCurveKeyPair();
    if (!keys || !WriteKeyFiles((folder / szName).string(), *keys, strError)) {
      std::fprintf(stderr, "bench_e2e: no keys: %s\n", strError.c_str());
      return false;
    }
  }
  const std::optional<std::string> strTerminal =
      ReadPublicKeyFile((folder / "terminal.pub").string(), strError);
  std::ofstream(folder / "allow-list") << strTerminal.value_or("") << "\n";
  return strTerminal.has_value();
}

}  // namespace

int main(int argc, char* argv[]) {
  const uint64_t nMessages = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 200000;
  if (nMessages < 2) {
    std::fprintf(stderr, "usage: bench_e2e [messages, at least 2]\n");
    return 2;
  }
  const std::string strCount = std::to_string(nMessages);
  const CScratchFolder plainFolder("bench_e2e");
  const CScratchFolder curveFolder("bench_e2e_curve");
  if (plainFolder.GetPath().empty() || curveFolder.GetPath().empty()) {
    std::fprintf(stderr, "bench_e2e: no scratch folder\n");
    return 1;
  }
  if (!MakeKeys(curveFolder.GetPath())) return 1;
  const std::filesystem::path& keys = curveFolder.GetPath();
  const std::vector<std::string> arrServerKeys = {"--key-file", (keys / "server.key").string(),
                                                  "--allow-list", (keys / "allow-list").string()};
  const std::vector<std::string> arrHostKeys = {"--key-file", (keys / "terminal.key").string(),
                                                "--server-key-file", (keys / "server.pub").string()};
  std::vector<double> arrPlain;
  std::vector<double> arrCurve;
  double dLost = 0;
  for (int nRound = 0; nRound < kRounds; ++nRound) {
    for (const bool bCurve : {nRound % 2 == 1, nRound % 2 == 0}) {
      const std::optional<sRunResult> result =
          bCurve ? RunOnce("curve", keys, strCount, arrServerKeys, arrHostKeys)
                 : RunOnce("plain", plainFolder.GetPath(), strCount, {}, {});
      if (!result) return 1;
      dLost += result->dSent - result->dDelivered;
      (bCurve ? arrCurve : arrPlain).push_back(result->GetPerSecond());
    }
  }
  const double dPlain = GetMedian(arrPlain);
  const double dCurve = GetMedian(arrCurve);
  std::printf("figure: e2e_msgs_per_s = %.0f msg/s\n", dPlain);
  std::printf("figure: e2e_curve_msgs_per_s = %.0f msg/s\n", dCurve);
  std::printf("figure: e2e_curve_vs_plain_ratio = %.2f x\n", dPlain > 0 ? dCurve / dPlain : 0.0);
  std::printf("figure: e2e_lost_msgs = %.0f count\n", dLost);
  return dLost == 0 ? 0 : 1;
}
