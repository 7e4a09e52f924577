// The state of the terminal's link to the risk server, as the status bar shows it.
#pragma once

#include <cstdint>

enum class eLinkState : uint8_t {
  kConnecting,    // connecting for the first time, or a lost connection is being re-made
  kConnected,     // every socket of the link has a connection
  kDisconnected,  // a connection attempt failed; ZeroMQ keeps retrying in the background
};

// "Server: connected", "Server: connecting..." or "Server: disconnected".
const char* DescribeLinkState(eLinkState eState);

// The state of a whole link from the states of its sockets: connected when every socket is,
// disconnected when any socket is, else connecting. A link without sockets is connecting.
template <typename Range>
eLinkState CombineLinkStates(const Range& arrStates) {
  bool bAllConnected = true;
  bool bAny = false;
  for (eLinkState eState : arrStates) {
    bAny = true;
    if (eState == eLinkState::kDisconnected) return eLinkState::kDisconnected;
    if (eState != eLinkState::kConnected) bAllConnected = false;
  }
  return bAny && bAllConnected ? eLinkState::kConnected : eLinkState::kConnecting;
}
