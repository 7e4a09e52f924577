// ZeroMQ settings every end of a link uses alike: the terminal, the risk server and the relay.
// Both ends of a connection send heartbeats, so a silent network loss (no FIN) is noticed on
// whichever side keeps the connection, relays included.
#pragma once

#include <zmq.hpp>

namespace halvowire {

// A ping every 2 s; a connection silent for 6 s is given up.
constexpr int kHeartbeatMs = 2000;
constexpr int kHeartbeatTimeoutMs = 6000;
// A lost connection is retried after 100 ms, backing off to once every 2 s.
constexpr int kReconnectMs = 100;
constexpr int kReconnectMaxMs = 2000;

// Heartbeats, retry timing (used only by a socket that connects) and no linger: messages not
// yet sent when a socket closes are dropped with it.
inline void ConfigureLinkSocket(zmq::socket_t& socket) {
  socket.set(zmq::sockopt::linger, 0);
  socket.set(zmq::sockopt::reconnect_ivl, kReconnectMs);
  socket.set(zmq::sockopt::reconnect_ivl_max, kReconnectMaxMs);
  socket.set(zmq::sockopt::heartbeat_ivl, kHeartbeatMs);
  socket.set(zmq::sockopt::heartbeat_timeout, kHeartbeatTimeoutMs);
}

}  // namespace halvowire
