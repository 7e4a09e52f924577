#include "host/transport/SocketMonitor.h"

#include <atomic>
#include <string>

#include "host/transport/ZmqLinkSettings.h"
#include "host/transport/TransportWire.h"
#include "keys/LinkSecurity.h"

namespace {

std::string MakeMonitorEndpoint() {
  static std::atomic<unsigned> s_nNext{0};
  return "inproc://halvo-monitor-" + std::to_string(s_nNext.fetch_add(1));
}

constexpr int kWatchedEvents = ZMQ_EVENT_CONNECTED | ZMQ_EVENT_HANDSHAKE_SUCCEEDED | ZMQ_EVENT_DISCONNECTED |
                               ZMQ_EVENT_CLOSED | ZMQ_EVENT_CONNECT_RETRIED | kHandshakeFailedEvents;
// ZeroMQ schedules its retry as soon as a connection goes down; when none follows this soon,
// the connection was given up for good.
constexpr std::chrono::milliseconds kRetryExpectedWithin{200};
constexpr std::chrono::milliseconds kRefusedRetryAfter{halvowire::kReconnectMaxMs};

}  // namespace

CSocketMonitor::CSocketMonitor(zmq::context_t& context, zmq::socket_t& socket)
    : m_socket(socket), m_eventSocket(context, zmq::socket_type::pair) {
  const std::string strEndpoint = MakeMonitorEndpoint();
  zmq_socket_monitor(m_socket.handle(), strEndpoint.c_str(), kWatchedEvents);
  m_eventSocket.set(zmq::sockopt::linger, 0);
  m_eventSocket.connect(strEndpoint);
}

CSocketMonitor::~CSocketMonitor() { zmq_socket_monitor(m_socket.handle(), nullptr, 0); }

bool CSocketMonitor::IsAbandoned(std::chrono::steady_clock::time_point now) const {
  return m_bAwaitingRetry && now - m_lostAt >= (m_bRefused ? kRefusedRetryAfter : kRetryExpectedWithin);
}

bool CSocketMonitor::ReadEvents() {
  const eLinkState eBefore = m_eState;
  while (const std::optional<halvowire::sMonitorEvent> event = halvowire::ReceiveMonitorEvent(m_eventSocket)) {
    const uint16_t nEvent = event->nEvent;
    if (nEvent == ZMQ_EVENT_CONNECT_RETRIED) {
      m_bAwaitingRetry = false;
    } else if (nEvent == ZMQ_EVENT_CONNECTED) {
      // Only the system has answered: a frozen server's system accepts connections too. A
      // link refused before stays shown so until a handshake succeeds.
      m_bAwaitingRetry = false;
      m_bTcpUp = true;
      if (!m_bRefused) m_eState = eLinkState::kConnecting;
    } else if (nEvent == ZMQ_EVENT_HANDSHAKE_SUCCEEDED) {
      m_bRefused = false;
      m_eState = eLinkState::kConnected;
    } else if ((nEvent & kHandshakeFailedEvents) != 0) {
      m_bRefused = IsRefusedHandshake(nEvent, event->nValue);
      if (m_bRefused) m_eState = eLinkState::kRefused;
    } else if (nEvent == ZMQ_EVENT_DISCONNECTED) {
      if (m_eState == eLinkState::kConnected) ++m_nDropped;
      m_bAwaitingRetry = true;
      m_lostAt = std::chrono::steady_clock::now();
      m_bTcpUp = false;
      if (!m_bRefused) m_eState = eLinkState::kConnecting;
    } else if (nEvent == ZMQ_EVENT_CLOSED && !m_bTcpUp) {
      // A connection attempt failed; ZeroMQ tries again after its reconnect interval. Nothing
      // answers there any more, so a refusal before no longer says anything.
      m_bRefused = false;
      m_eState = eLinkState::kDisconnected;
    }
  }
  return m_eState != eBefore;
}
