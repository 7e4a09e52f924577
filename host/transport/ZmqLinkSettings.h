// ZeroMQ settings every end of a link uses alike: the terminal, the risk server and the relay.
// Both ends of a connection send heartbeats, so a silent network loss (no FIN) is noticed on
// whichever side keeps the connection, relays included.
#pragma once

#include <zmq.hpp>

#include "connect/include/connecthalvo.h"

namespace halvowire {

// A ping every 2 s; a connection silent for 6 s is given up.
constexpr int kHeartbeatMs = 2000;
constexpr int kHeartbeatTimeoutMs = 6000;
// A lost connection is retried after 100 ms, backing off to once every 2 s.
constexpr int kReconnectMs = 100;
constexpr int kReconnectMaxMs = 2000;

// A frame longer than the longest message is refused before it is read: ZeroMQ drops the
// connection that sent it, and the link is made again.
constexpr int64_t kMaxFrameBytes = OTP_MAX_MESSAGE_SIZE;

// The server publishes this name every second, whether or not anything else happens, so a
// terminal tells a quiet server from a frozen one; terminals subscribe to it by themselves.
inline constexpr const char* kHeartbeatTopic = "link heartbeat";
constexpr int kServerHeartbeatMs = 1000;
// A link that brought no data (a heartbeat, a publication or an answer) for this long is shown
// as not responding.
constexpr int kLivenessMs = 3000;

// Heartbeats, retry timing (used only by a socket that connects), the frame limit and no
// linger: messages not yet sent when a socket closes are dropped with it. A connection whose
// handshake does not finish within the heartbeat timeout (a frozen server whose system still
// accepts connections) is given up and tried again.
inline void ConfigureLinkSocket(zmq::socket_t& socket) {
  socket.set(zmq::sockopt::linger, 0);
  socket.set(zmq::sockopt::maxmsgsize, kMaxFrameBytes);
  socket.set(zmq::sockopt::handshake_ivl, kHeartbeatTimeoutMs);
  socket.set(zmq::sockopt::reconnect_ivl, kReconnectMs);
  socket.set(zmq::sockopt::reconnect_ivl_max, kReconnectMaxMs);
  socket.set(zmq::sockopt::heartbeat_ivl, kHeartbeatMs);
  socket.set(zmq::sockopt::heartbeat_timeout, kHeartbeatTimeoutMs);
}

}  // namespace halvowire
