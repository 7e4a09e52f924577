#include "host/transport/LinkState.h"

#include <chrono>

const char* DescribeLinkState(eLinkState eState) {
  switch (eState) {
    case eLinkState::kConnected:
      return "Server: connected";
    case eLinkState::kDisconnected:
      return "Server: disconnected";
    case eLinkState::kNotResponding:
      return "Server: not responding";
    case eLinkState::kRefused:
      return "Server: handshake refused";
    case eLinkState::kKeyProblem:
      return "Server: not connected, key problem";
    case eLinkState::kConnecting:
      break;
  }
  return "Server: connecting...";
}

int64_t GetSteadyClockNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

std::string DescribeDataAge(int64_t nAgeMs) {
  if (nAgeMs < 0) return "no data yet";
  // Tenths while the data flows, whole seconds once it has stopped, minutes after that.
  if (nAgeMs < 10'000) {
    const int64_t nTenths = nAgeMs / 100;
    return "newest data " + std::to_string(nTenths / 10) + "." + std::to_string(nTenths % 10) + " s ago";
  }
  if (nAgeMs < 120'000) return "newest data " + std::to_string(nAgeMs / 1000) + " s ago";
  return "newest data " + std::to_string(nAgeMs / 60'000) + " min ago";
}

sLinkStatus CLinkWatch::Update(eLinkState eSockets, int64_t nSocketsUpNs, int64_t nLastDataNs, int64_t nNowNs,
                               uint64_t nConnectionsLost) {
  const bool bSocketsUp = eSockets == eLinkState::kConnected;
  m_status.nDataAgeMs = nLastDataNs == 0 ? -1 : (nNowNs - nLastDataNs) / 1'000'000;
  const bool bFresh = nLastDataNs != 0 && nNowNs - nLastDataNs <= m_nLivenessNs;
  // A link shown connected stays so while data is fresh and no connection was lost: a socket
  // still making its first connection (a receive control opened later) takes nothing away.
  const bool bSocketsDown = eSockets == eLinkState::kDisconnected || eSockets == eLinkState::kRefused ||
                            eSockets == eLinkState::kKeyProblem;
  const bool bStillUp = m_status.eState == eLinkState::kConnected && bFresh &&
                        nConnectionsLost == m_nLostBefore && !bSocketsDown;
  // Otherwise data counts for a connection only when it came over it: after the sockets were up.
  if (bStillUp || (bSocketsUp && bFresh && nLastDataNs >= nSocketsUpNs)) {
    if (m_status.nSession == 0) ++m_status.nSession;
    if (nConnectionsLost != m_nLostBefore) ++m_status.nSession;
    m_nLostBefore = nConnectionsLost;
    m_status.eState = eLinkState::kConnected;
  } else if (bSocketsDown) {
    m_status.eState = eSockets;
  } else if (m_status.nSession > 0 && !bFresh && !(bSocketsUp && nNowNs - nSocketsUpNs <= m_nLivenessNs)) {
    // A server that has just answered the handshakes gets the liveness span to send data.
    m_status.eState = eLinkState::kNotResponding;
  } else {
    m_status.eState = eLinkState::kConnecting;
  }
  return m_status;
}
