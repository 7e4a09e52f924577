#include "relay/UpstreamWatch.h"

#include <cerrno>

#include "host/transport/TransportWire.h"
#include "keys/LinkSecurity.h"

namespace {

constexpr std::chrono::minutes kLogAgainAfter{1};

}  // namespace

CUpstreamWatch::CUpstreamWatch(zmq::context_t& context, std::string strServer, LogFunction fnLog,
                               std::function<void()> fnOnRefused)
    : m_context(context),
      m_strServer(std::move(strServer)),
      m_fnLog(std::move(fnLog)),
      m_fnOnRefused(std::move(fnOnRefused)) {}

CUpstreamWatch::~CUpstreamWatch() { Stop(); }

bool CUpstreamWatch::Start(zmq::socket_t& requests, zmq::socket_t& publications, std::string& strError) {
  m_arrWatched[0] = &requests;
  m_arrWatched[1] = &publications;
  for (int n = 0; n < 2; ++n) {
    const std::string strEndpoint = "inproc://relay-upstream-monitor-" + std::to_string(n);
    if (zmq_socket_monitor(m_arrWatched[n]->handle(), strEndpoint.c_str(), kHandshakeFailedEvents) != 0) {
      strError = std::string("cannot watch the link to the server: ") + zmq_strerror(zmq_errno());
      return false;
    }
    m_arrMonitors[n] = zmq::socket_t(m_context, zmq::socket_type::pair);
    m_arrMonitors[n].set(zmq::sockopt::linger, 0);
    m_arrMonitors[n].connect(strEndpoint);
  }
  if (!m_thread.Start([this] { Run(); })) {
    strError = "cannot create the upstream watch's wake-up";
    return false;
  }
  return true;
}

void CUpstreamWatch::Stop() {
  m_thread.Stop();
  for (int n = 0; n < 2; ++n) {
    if (m_arrWatched[n] != nullptr) zmq_socket_monitor(m_arrWatched[n]->handle(), nullptr, 0);
    m_arrWatched[n] = nullptr;
    m_arrMonitors[n].close();
  }
}

void CUpstreamWatch::Run() {
  for (;;) {
    zmq::pollitem_t arrItems[] = {{nullptr, m_thread.GetStopDescriptor(), ZMQ_POLLIN, 0},
                                  {m_arrMonitors[0].handle(), 0, ZMQ_POLLIN, 0},
                                  {m_arrMonitors[1].handle(), 0, ZMQ_POLLIN, 0}};
    if (zmq_poll(arrItems, 3, -1) < 0) {
      if (zmq_errno() == ETERM) return;
      continue;
    }
    if (arrItems[0].revents & ZMQ_POLLIN) return;
    try {
      for (int n = 0; n < 2; ++n)
        if (arrItems[1 + n].revents & ZMQ_POLLIN) ReadEvents(m_arrMonitors[n]);
    } catch (const zmq::error_t&) {
      return;
    }
  }
}

void CUpstreamWatch::ReadEvents(zmq::socket_t& monitor) {
  while (const std::optional<halvowire::sMonitorEvent> event = halvowire::ReceiveMonitorEvent(monitor)) {
    const uint16_t nEvent = event->nEvent;
    if (!IsRefusedHandshake(nEvent, event->nValue) || m_bRefused) continue;
    if (nEvent == ZMQ_EVENT_HANDSHAKE_FAILED_NO_DETAIL) {
      const auto now = std::chrono::steady_clock::now();
      if (m_lastClosedLog != std::chrono::steady_clock::time_point{} &&
          now - m_lastClosedLog < kLogAgainAfter)
        continue;
      m_lastClosedLog = now;
      m_fnLog("the server at " + m_strServer +
              " closed the handshake: is --server-key-file its public key, and does it run with keys?");
      continue;
    }
    m_bRefused = true;
    m_fnLog(
        nEvent == ZMQ_EVENT_HANDSHAKE_FAILED_AUTH
            ? "the server at " + m_strServer +
                  " refused this relay's key: add the relay's public key to the server's allow-list, then "
                  "start the relay again"
            : "the server at " + m_strServer +
                  " does not speak this relay's security: both sides need keys, or neither "
                  "(docs/security.md)");
    if (m_fnOnRefused) m_fnOnRefused();
  }
}
