// rms-sim: the risk server on its own, for terminals started with --server, for recording
// feeds and for benchmarks. Runs until interrupted or for --duration seconds.
#include <signal.h>

#include <cerrno>
#include <chrono>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "rmssim/RmsServer.h"
#include "rmssim/SimOptions.h"

namespace {

// Waits for SIGINT or SIGTERM (blocked in every thread), at most dSeconds when above 0.
void WaitForSignal(const sigset_t& signals, double dSeconds) {
  if (dSeconds <= 0) {
    int nSignal = 0;
    sigwait(&signals, &nSignal);
    return;
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(dSeconds);
  for (;;) {
    const std::chrono::duration<double> left = deadline - std::chrono::steady_clock::now();
    if (left.count() <= 0) return;
    timespec wait{};
    wait.tv_sec = static_cast<time_t>(left.count());
    wait.tv_nsec = static_cast<long>((left.count() - std::floor(left.count())) * 1e9);
    // Interrupted by another signal (EINTR): wait for what is left.
    if (sigtimedwait(&signals, nullptr, &wait) >= 0 || errno != EINTR) return;
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  const std::vector<std::string> arrArguments(argv + 1, argv + argc);
  std::string strMessage;
  bool bHelpAsked = false;
  const std::optional<sSimOptions> options = ParseSimOptions(arrArguments, strMessage, bHelpAsked);
  if (!options) {
    std::fputs(strMessage.c_str(), bHelpAsked ? stdout : stderr);
    return bHelpAsked ? 0 : 2;
  }

  // Blocked before the server's thread starts, so only the wait below takes them.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);

  CRmsServer server(*options);
  std::string strError;
  if (!server.Start(strError)) {
    std::fprintf(stderr, "rms-sim: %s\n", strError.c_str());
    return 1;
  }
  std::printf("rms-sim: requests on %s, publications on %s\n", server.GetEndpoints().strRequests.c_str(),
              server.GetEndpoints().strPublications.c_str());
  std::fflush(stdout);

  WaitForSignal(signals, options->dDurationSeconds);
  server.Stop();
  const sServerStats stats = server.GetStats();
  std::printf("rms-sim: %" PRIu64 " requests, %" PRIu64 " responses, %" PRIu64 " feed messages, %" PRIu64
              " client publications, %" PRIu64 " malformed\n",
              stats.nRequests, stats.nResponses, stats.nFeedMessages, stats.nClientPublications,
              stats.nMalformed);
  return 0;
}
