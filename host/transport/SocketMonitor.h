// Follows the connection of one ZeroMQ socket through a socket monitor, so the terminal can
// show whether its link to the server is up. Lives on the thread that owns the socket.
#pragma once

#include <chrono>
#include <cstdint>
#include <zmq.hpp>

#include "host/transport/LinkState.h"

class CSocketMonitor {
 public:
  // Starts watching; call before the socket connects, so the first connection is seen.
  CSocketMonitor(zmq::context_t& context, zmq::socket_t& socket);
  // Stops watching; the socket must still be open.
  ~CSocketMonitor();
  CSocketMonitor(const CSocketMonitor&) = delete;
  CSocketMonitor& operator=(const CSocketMonitor&) = delete;

  // The socket the monitor reports on; poll it for input.
  zmq::socket_t& GetEventSocket() { return m_eventSocket; }
  // Reads the events waiting; true when the state changed.
  bool ReadEvents();
  // Connected once the server's side of the connection has answered the handshake; refused
  // from a refused handshake until one succeeds or the server cannot be reached at all.
  eLinkState GetState() const { return m_eState; }
  // Connections that were up and went down: the server left or froze, or sent a frame longer
  // than the limit.
  uint64_t GetDroppedCount() const { return m_nDropped; }
  // Whether a connection went down and ZeroMQ is not making it again: it gives up a
  // connection that broke the protocol (a frame past the size limit) and one whose key the
  // server refused. Then the socket is to be connected anew (and NoteReconnecting called); a
  // refused one only after the longest reconnect interval, so a desk that adds the key sees
  // the link come within seconds, and a server is not asked many times a second meanwhile.
  bool IsAbandoned(std::chrono::steady_clock::time_point now) const;
  bool IsAwaitingRetry() const { return m_bAwaitingRetry; }
  void NoteReconnecting() { m_bAwaitingRetry = false; }

 private:
  zmq::socket_t& m_socket;
  zmq::socket_t m_eventSocket;
  eLinkState m_eState = eLinkState::kConnecting;
  bool m_bTcpUp = false;
  bool m_bRefused = false;  // the last handshake was refused
  uint64_t m_nDropped = 0;
  bool m_bAwaitingRetry = false;  // down, and no retry seen since
  std::chrono::steady_clock::time_point m_lostAt;
};
