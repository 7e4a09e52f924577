// Watches the handshakes of the relay's two sockets toward the server, whose proxies own them,
// through socket monitors read on a thread of its own. A handshake the server refuses for good
// (it refused the relay's key, or does not speak the relay's security) is told once: ZeroMQ
// does not try such a connection again, so the relay cannot serve until it is started anew. A
// server that closes the handshake (it holds another key than the one pinned, or is plain) is
// logged once a minute while ZeroMQ keeps trying.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <zmq.hpp>

#include "platform/StoppableThread.h"

class CUpstreamWatch {
 public:
  using LogFunction = std::function<void(const std::string&)>;

  // fnOnRefused is called on the watch's thread, once, after the refusal was logged.
  CUpstreamWatch(zmq::context_t& context, std::string strServer, LogFunction fnLog,
                 std::function<void()> fnOnRefused);
  ~CUpstreamWatch();
  CUpstreamWatch(const CUpstreamWatch&) = delete;
  CUpstreamWatch& operator=(const CUpstreamWatch&) = delete;

  // Starts watching both sockets, before they connect and before their proxies start.
  bool Start(zmq::socket_t& requests, zmq::socket_t& publications, std::string& strError);
  // Stops the thread and the monitors; the sockets must still be open, their proxies stopped.
  void Stop();

 private:
  void Run();
  void ReadEvents(zmq::socket_t& monitor);

  zmq::context_t& m_context;
  std::string m_strServer;
  LogFunction m_fnLog;
  std::function<void()> m_fnOnRefused;
  zmq::socket_t* m_arrWatched[2] = {};
  zmq::socket_t m_arrMonitors[2];
  bool m_bRefused = false;
  std::chrono::steady_clock::time_point m_lastClosedLog;
  CStoppableThread m_thread;  // declared last: it stops before the sockets it polls go
};
