// Follows the connection of one ZeroMQ socket through a socket monitor, so the terminal can
// show whether its link to the server is up. Lives on the thread that owns the socket.
#pragma once

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
  eLinkState GetState() const { return m_eState; }

 private:
  zmq::socket_t& m_socket;
  zmq::socket_t m_eventSocket;
  eLinkState m_eState = eLinkState::kConnecting;
};
