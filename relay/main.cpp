// rms-relay: lets one risk server serve a whole desk. Terminals connect to it as to the server;
// it forwards their requests and client publications to the server (or to the next relay
// towards it) and the server's publications to every terminal that subscribed. Runs until
// interrupted.
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "relay/RelayOptions.h"
#include "relay/RmsRelay.h"

int main(int argc, char* argv[]) {
  const std::vector<std::string> arrArguments(argv + 1, argv + argc);
  std::string strMessage;
  bool bHelpAsked = false;
  const std::optional<sRelayOptions> options = ParseRelayOptions(arrArguments, strMessage, bHelpAsked);
  if (!options) {
    std::fputs(strMessage.c_str(), bHelpAsked ? stdout : stderr);
    return bHelpAsked ? 0 : 2;
  }

  // Blocked before the proxies' threads start, so only the wait below takes them.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);

  // A server that refuses the relay's handshake for good stops the relay as a signal would.
  CRmsRelay relay(*options, {}, [] { kill(getpid(), SIGTERM); });
  std::string strError;
  if (!relay.Start(strError)) {
    std::fprintf(stderr, "rms-relay: %s\n", strError.c_str());
    return 1;
  }
  // The same first line as rms-sim's, so whatever starts a server can start a relay.
  std::printf("rms-relay: requests on %s, publications on %s\n", relay.GetEndpoints().strRequests.c_str(),
              relay.GetEndpoints().strPublications.c_str());
  std::fflush(stdout);

  int nSignal = 0;
  sigwait(&signals, &nSignal);
  relay.Stop();
  if (relay.IsUpstreamRefused()) {
    std::fputs("rms-relay: stopped: the server refused its handshake\n", stderr);
    return 1;
  }
  std::printf("rms-relay: stopped\n");
  return 0;
}
