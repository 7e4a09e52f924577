#include "host/transport/LinkState.h"

const char* DescribeLinkState(eLinkState eState) {
  switch (eState) {
    case eLinkState::kConnected:
      return "Server: connected";
    case eLinkState::kDisconnected:
      return "Server: disconnected";
    case eLinkState::kConnecting:
      break;
  }
  return "Server: connecting...";
}
