#include "relay/SteeredProxy.h"

CSteeredProxy::CSteeredProxy(zmq::context_t& context, const std::string& strName, zmq::socket_t& frontend,
                             zmq::socket_t& backend)
    : m_frontend(frontend),
      m_backend(backend),
      m_control(context, zmq::socket_type::pair),
      m_steer(context, zmq::socket_type::pair) {
  const std::string strEndpoint = "inproc://steer-" + strName;
  m_control.bind(strEndpoint);
  m_steer.connect(strEndpoint);
}

void CSteeredProxy::Start() {
  m_done = std::async(std::launch::async, [this] {
    return zmq_proxy_steerable(m_frontend.handle(), m_backend.handle(), nullptr, m_control.handle());
  });
}

void CSteeredProxy::RequestStop() {
  static constexpr std::string_view kTerminate = "TERMINATE";
  m_steer.send(zmq::buffer(kTerminate), zmq::send_flags::dontwait);
}

bool CSteeredProxy::WaitUntil(std::chrono::steady_clock::time_point deadline) const {
  return !m_done.valid() || m_done.wait_until(deadline) == std::future_status::ready;
}
