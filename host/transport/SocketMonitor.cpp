#include "host/transport/SocketMonitor.h"

#include <atomic>
#include <cstring>
#include <string>

#include "host/transport/ZmqLinkSettings.h"
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
  zmq::message_t event;
  while (m_eventSocket.recv(event, zmq::recv_flags::dontwait)) {
    // An event is two frames: 16-bit event and 32-bit value, then the endpoint.
    uint16_t nEvent = 0;
    uint32_t nValue = 0;
    const bool bHasEvent = event.size() >= sizeof nEvent + sizeof nValue;
    if (bHasEvent) {
      std::memcpy(&nEvent, event.data(), sizeof nEvent);
      std::memcpy(&nValue, event.data<uint8_t>() + sizeof nEvent, sizeof nValue);
    }
    while (event.more()) {
      if (!m_eventSocket.recv(event, zmq::recv_flags::dontwait)) break;
    }
    if (!bHasEvent) continue;
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
      m_bRefused = IsRefusedHandshake(nEvent, nValue);
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
