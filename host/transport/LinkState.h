// The state of the terminal's link to the risk server, as the status bar shows it.
#pragma once

#include <cstdint>
#include <string>

enum class eLinkState : uint8_t {
  kConnecting,     // connecting for the first time, or a lost connection is being re-made
  kConnected,      // every socket of the link has a connection and the server sends data
  kDisconnected,   // a connection attempt failed; ZeroMQ keeps retrying in the background
  kNotResponding,  // the server sent nothing, not even a heartbeat, for a while
  kRefused,        // the handshake failed: the server refused this terminal's key, holds another
                   // key than the one pinned, or does not speak the same security
  kKeyProblem,     // the keys could not be used, so nothing is connected
};

// "Server: connected", "Server: connecting...", "Server: disconnected", "Server: not
// responding", "Server: handshake refused" or "Server: not connected, key problem".
const char* DescribeLinkState(eLinkState eState);

// The state of a whole link from the states of its sockets: connected when every socket is;
// else the first of key problem, refused and disconnected that any socket is; else connecting.
// A link without sockets is connecting.
template <typename Range>
eLinkState CombineLinkStates(const Range& arrStates) {
  bool bAllConnected = true;
  bool bAny = false;
  eLinkState eWorst = eLinkState::kConnecting;
  const auto GetRank = [](eLinkState eState) {
    return eState == eLinkState::kKeyProblem     ? 3
           : eState == eLinkState::kRefused      ? 2
           : eState == eLinkState::kDisconnected ? 1
                                                 : 0;
  };
  for (eLinkState eState : arrStates) {
    bAny = true;
    if (GetRank(eState) > GetRank(eWorst)) eWorst = eState;
    if (eState != eLinkState::kConnected) bAllConnected = false;
  }
  if (eWorst != eLinkState::kConnecting) return eWorst;
  return bAny && bAllConnected ? eLinkState::kConnected : eLinkState::kConnecting;
}

// "no data yet", "newest data 0.4 s ago", "newest data 12 s ago", "newest data 5 min ago".
std::string DescribeDataAge(int64_t nAgeMs);

// The steady clock in nanoseconds, the time base of the link's status.
int64_t GetSteadyClockNs();

// What the user is told of the link.
struct sLinkStatus {
  eLinkState eState = eLinkState::kConnecting;
  // 0 until the link is first connected; one more each time it is connected again after a
  // connection was lost, when whatever the server sent meanwhile is gone. A connection lost
  // before the link was first shown connected counts too: the first session is 2 then.
  uint32_t nSession = 0;
  int64_t nDataAgeMs = -1;  // since the newest data from the server; -1 before any
};

// Judges the sockets' state against the age of the newest data: the link is connected only
// while the server sends something (it sends a heartbeat every second), and a link that had
// data and has none for a while is not responding, whatever TCP says.
class CLinkWatch {
 public:
  explicit CLinkWatch(int64_t nLivenessNs) : m_nLivenessNs(nLivenessNs) {}

  // eSockets: the sockets' combined state; nSocketsUpNs: since when they are all connected;
  // nLastDataNs: when the newest data came (0: never); nConnectionsLost: connections that were
  // up and went down, so far. A socket still making its first connection (a receive control
  // opened later) is not a loss, and does not turn a connected link to connecting.
  sLinkStatus Update(eLinkState eSockets, int64_t nSocketsUpNs, int64_t nLastDataNs, int64_t nNowNs,
                     uint64_t nConnectionsLost);

 private:
  int64_t m_nLivenessNs;
  uint64_t m_nLostBefore = 0;  // connections lost before the session began
  sLinkStatus m_status;
};
