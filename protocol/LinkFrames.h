// How the terminal's transport, the relay and the risk server lay their traffic out over
// ZeroMQ, and how they tell a live link from a dead one. The functions that build and read
// these frames are in host/transport/TransportWire.h.
//
//   requests and client publications  DEALER -> ROUTER  [marker][message]
//   responses                         ROUTER -> DEALER  [message]
//   server publications               PUB    -> SUB     [topic][message][send time]
//
// The marker frame is one byte: kRequestMarker or kPublicationMarker. The topic frame is the
// publication name (field 54211) followed by one NUL byte, and a subscription is that same
// frame. ZeroMQ matches topics by prefix; the NUL makes "rms prsnt value publish" match
// only itself, never "rms prsnt value publish ZEL".
//
// The send time frame holds the moment the server published the message: nanoseconds of the
// monotonic clock, kSendTimeFrameSize bytes, least significant first. A publication of two
// frames (from an older server) has no send time.
#pragma once

#include <cstddef>

namespace halvowire {

constexpr char kRequestMarker = 'R';
constexpr char kPublicationMarker = 'P';
constexpr size_t kSendTimeFrameSize = 8;

// The server publishes this name every second, whether or not anything else happens, so a
// terminal tells a quiet server from a frozen one; terminals subscribe to it by themselves.
inline constexpr const char* kHeartbeatTopic = "link heartbeat";
constexpr int kServerHeartbeatMs = 1000;
// A link that brought no data (a heartbeat, a publication or an answer) for this long is shown
// as not responding.
constexpr int kLivenessMs = 3000;

}  // namespace halvowire
