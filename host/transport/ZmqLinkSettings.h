// ZeroMQ settings every end of a link uses alike: the terminal, the risk server and the relay.
// A silent network loss (no FIN) is noticed by TCP keepalive on whichever side keeps the
// connection, relays included. Not by ZeroMQ's own heartbeats: those travel in the data stream,
// so a side that reads nothing for a while (a terminal whose hand-over is full behind a message
// box) would miss them and lose a connection that is sound.
#pragma once

#include <zmq.hpp>

#include "connect/include/connecthalvo.h"

namespace halvowire {

// A connection idle for 2 s is probed every second; four probes unanswered and it is given up.
constexpr int kKeepaliveIdleSeconds = 2;
constexpr int kKeepaliveIntervalSeconds = 1;
constexpr int kKeepaliveProbes = 4;
// A connection whose handshake has not finished by then is given up and tried again.
constexpr int kHandshakeTimeoutMs = 6000;
// A lost connection is retried after 100 ms, backing off to once every 2 s.
constexpr int kReconnectMs = 100;
constexpr int kReconnectMaxMs = 2000;

// A frame longer than the longest message is refused before it is read: ZeroMQ drops the
// connection that sent it, and the link is made again.
constexpr int64_t kMaxFrameBytes = OTP_MAX_MESSAGE_SIZE;

// Keepalive, retry timing (used only by a socket that connects), the frame limit, the
// handshake timeout (a frozen server's system still accepts connections that its process never
// answers) and no linger: messages not yet sent when a socket closes are dropped with it.
inline void ConfigureLinkSocket(zmq::socket_t& socket) {
  socket.set(zmq::sockopt::linger, 0);
  socket.set(zmq::sockopt::maxmsgsize, kMaxFrameBytes);
  socket.set(zmq::sockopt::handshake_ivl, kHandshakeTimeoutMs);
  socket.set(zmq::sockopt::reconnect_ivl, kReconnectMs);
  socket.set(zmq::sockopt::reconnect_ivl_max, kReconnectMaxMs);
  socket.set(zmq::sockopt::tcp_keepalive, 1);
  socket.set(zmq::sockopt::tcp_keepalive_idle, kKeepaliveIdleSeconds);
  socket.set(zmq::sockopt::tcp_keepalive_intvl, kKeepaliveIntervalSeconds);
  socket.set(zmq::sockopt::tcp_keepalive_cnt, kKeepaliveProbes);
}

}  // namespace halvowire
