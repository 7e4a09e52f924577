// One libzmq proxy (zmq_proxy_steerable) between two sockets, running on a thread of its own
// and steered through a PAIR socket over inproc.
#pragma once

#include <chrono>
#include <future>
#include <string>
#include <zmq.hpp>

class CSteeredProxy {
 public:
  // strName makes the control endpoint unique in the context. Both sockets must outlive the
  // proxy; once it runs, only its thread uses them.
  CSteeredProxy(zmq::context_t& context, const std::string& strName, zmq::socket_t& frontend,
                zmq::socket_t& backend);
  CSteeredProxy(const CSteeredProxy&) = delete;
  CSteeredProxy& operator=(const CSteeredProxy&) = delete;

  void Start();
  // Steers the proxy to TERMINATE; it returns once the message it is forwarding is through.
  void RequestStop();
  // Whether the proxy has returned by the deadline.
  bool WaitUntil(std::chrono::steady_clock::time_point deadline) const;

 private:
  zmq::socket_t& m_frontend;
  zmq::socket_t& m_backend;
  zmq::socket_t m_control;  // the proxy's end
  zmq::socket_t m_steer;    // ours
  std::future<int> m_done;  // declared last: its thread is joined before the sockets close
};
