// The ZAP handler of a server's ZeroMQ context: a thread answering the authentication requests
// that libzmq sends to inproc://zeromq.zap.01 for each CURVE handshake on the context's server
// sockets. A client whose public key is on the allow-list is let in; any other is refused
// (status 400), gets nothing, and is logged with its address and key. The allow-list file is
// looked at on every request and read again when it changed.
//
// NOTE: without a handler bound in its context a CURVE server lets every client in, so the
// handler is started before any CURVE socket binds, and stopped after they are closed.
#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <zmq.hpp>

#include "keys/AllowList.h"
#include "platform/StoppableThread.h"

class CZapHandler {
 public:
  // Takes one line of the log (no line end); the program puts its name in front.
  using LogFunction = std::function<void(const std::string&)>;

  CZapHandler(zmq::context_t& context, std::string strAllowListPath, LogFunction fnLog);
  // Stops the thread if it runs.
  ~CZapHandler();
  CZapHandler(const CZapHandler&) = delete;
  CZapHandler& operator=(const CZapHandler&) = delete;

  // Reads the allow-list, binds the ZAP endpoint and starts the thread; once. False with the
  // reason when the list cannot be read or another handler is bound in the context.
  bool Start(std::string& strError);
  void Stop();

 private:
  void Run();
  // Answers one request; its frames are read already.
  void Answer(zmq::message_t* arrFrames, size_t nFrames);
  void Reply(std::string_view strRequestId, const char* szStatus, const char* szText);
  void LogRefusal(const std::string& strAddress, const std::string& strKey);

  zmq::context_t& m_context;
  CAllowList m_allowList;
  LogFunction m_fnLog;
  zmq::socket_t m_socket;
  CStoppableThread m_thread;
  // When each refused client (address, key) was last logged: a refused terminal tries again
  // every few seconds, and is logged once a minute.
  std::map<std::pair<std::string, std::string>, std::chrono::steady_clock::time_point> m_mapLogged;
};
