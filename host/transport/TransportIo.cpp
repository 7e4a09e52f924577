#include "host/transport/TransportIo.h"

#include <chrono>
#include <deque>
#include <optional>
#include <utility>

#include "connect/include/HalvoCodec.h"
#include "host/transport/ZmqFrames.h"
#include "host/transport/ZmqLinkSettings.h"

namespace {

// Messages read from one socket before the others get their turn.
constexpr int kReadBurst = 512;
// Room for bursts of requests; beyond it they wait in this thread, nothing is dropped.
constexpr int kSendHighWaterMark = 100000;
// Received messages ZeroMQ keeps per socket while this thread reads none (the hand-over is
// full); beyond it TCP holds the server back, nothing is dropped, and memory stays bounded.
constexpr int kReceiveHighWaterMark = 1000;
// How often a full hand-over is looked at again when the delivering thread gave no sign of
// room; the data waiting keeps the link alive meanwhile.
constexpr int kFullRetryMs = 100;
// How often a lost connection is checked for whether ZeroMQ makes it again by itself.
constexpr int kAbandonCheckMs = 50;

// Connects a socket to its endpoint anew, dropping the connection ZeroMQ gave up.
void Reconnect(zmq::socket_t& socket, CSocketMonitor& monitor, const std::string& strEndpoint) {
  monitor.NoteReconnecting();
  try {
    socket.disconnect(strEndpoint);
  } catch (const zmq::error_t&) {
    // Already gone.
  }
  try {
    socket.connect(strEndpoint);
  } catch (const zmq::error_t&) {
    // It was connected before, so the endpoint is good; the next loss is checked again.
  }
}

using halvowire::ReceiveFrame;
using halvowire::SkipRestOfMessage;

}  // namespace

struct CTransportIo::sControlSockets {
  explicit sControlSockets(zmq::context_t& context) : dealer(context, zmq::socket_type::dealer) {}

  zmq::socket_t dealer;
  std::unique_ptr<CSocketMonitor> pMonitor;                // declared after the socket: goes first
  std::deque<std::pair<char, zmq::message_t>> arrPending;  // waiting for room to send
  bool bConnectFailed = false;
};

CTransportIo::CTransportIo(halvowire::sServerEndpoints endpoints, sLinkSecurity security,
                           CDeliveryQueue& delivery, LinkStateHandler fnOnLinkState)
    : m_endpoints(std::move(endpoints)),
      m_security(std::move(security)),
      m_delivery(delivery),
      m_fnOnLinkState(std::move(fnOnLinkState)) {
  m_thread = std::thread(&CTransportIo::Run, this);
}

CTransportIo::~CTransportIo() {
  m_commands.Push(sTransportCommand{});
  m_thread.join();
}

void CTransportIo::Run() {
  m_pSubscriber = std::make_unique<zmq::socket_t>(m_context, zmq::socket_type::sub);
  ConfigureConnection(*m_pSubscriber);
  m_pSubscriberMonitor = std::make_unique<CSocketMonitor>(m_context, *m_pSubscriber);
  m_pSubscriber->set(zmq::sockopt::subscribe, halvowire::MakeTopicFrame(halvowire::kHeartbeatTopic));
  m_bSubscriberFailed = !Connect(*m_pSubscriber, m_endpoints.strPublications);
  UpdateLinkState();

  std::vector<zmq::pollitem_t> arrItems;
  std::vector<std::pair<uint64_t, sControlSockets*>> arrPolled;
  bool bRunning = true;
  while (bRunning) {
    arrItems.clear();
    arrPolled.clear();
    // While the hand-over is full nothing is read; the delivering thread empties it meanwhile.
    const bool bFull = m_delivery.IsFull() && m_delivery.AwaitRoom();
    if (bFull) NoteData();
    const short nRead = bFull ? 0 : ZMQ_POLLIN;
    arrItems.push_back({nullptr, m_commands.GetWakeDescriptor(), ZMQ_POLLIN, 0});
    arrItems.push_back({m_pSubscriber->handle(), 0, nRead, 0});
    arrItems.push_back({m_pSubscriberMonitor->GetEventSocket().handle(), 0, ZMQ_POLLIN, 0});
    for (const auto& [nControl, pControl] : m_mapControls) {
      const short nEvents = pControl->arrPending.empty() ? nRead : static_cast<short>(nRead | ZMQ_POLLOUT);
      arrItems.push_back({pControl->dealer.handle(), 0, nEvents, 0});
      arrItems.push_back({pControl->pMonitor->GetEventSocket().handle(), 0, ZMQ_POLLIN, 0});
      arrPolled.emplace_back(nControl, pControl.get());
    }
    if (bFull) arrItems.push_back({nullptr, m_delivery.GetRoomDescriptor(), ZMQ_POLLIN, 0});
    const int nTimeoutMs = bFull ? kFullRetryMs : IsAnySocketAwaitingRetry() ? kAbandonCheckMs : -1;
    if (zmq_poll(arrItems.data(), static_cast<int>(arrItems.size()), nTimeoutMs) < 0) continue;
    if (bFull && (arrItems.back().revents & ZMQ_POLLIN)) m_delivery.TakeRoomSignal();

    // The sockets' events first: data that came over a new connection is noted after it.
    if (arrItems[2].revents & ZMQ_POLLIN) m_pSubscriberMonitor->ReadEvents();
    for (size_t n = 0; n < arrPolled.size(); ++n)
      if (arrItems[4 + 2 * n].revents & ZMQ_POLLIN) arrPolled[n].second->pMonitor->ReadEvents();
    UpdateLinkState();
    if (arrItems[1].revents & ZMQ_POLLIN) ReadPublications();
    for (size_t n = 0; n < arrPolled.size(); ++n) {
      const auto& [nControl, pControl] = arrPolled[n];
      const short nDealerEvents = arrItems[3 + 2 * n].revents;
      if (nDealerEvents & ZMQ_POLLIN) ReadResponses(nControl, pControl->dealer);
      if (nDealerEvents & ZMQ_POLLOUT) FlushOutgoing(*pControl);
    }
    m_delivery.Append(m_arrBatch);
    // Commands last: closing a control removes sockets the loop above has just used.
    if (arrItems[0].revents & ZMQ_POLLIN) bRunning = RunCommands();
    ReconnectAbandoned();
    UpdateLinkState();
  }

  m_mapControls.clear();
  m_pSubscriberMonitor.reset();
  m_pSubscriber.reset();
}

bool CTransportIo::RunCommands() {
  for (sTransportCommand& command : m_commands.TakeAll()) {
    switch (command.eWhat) {
      case sTransportCommand::eKind::kOpen:
        OpenControl(command.nControl);
        break;
      case sTransportCommand::eKind::kRequest:
        QueueOutgoing(command.nControl, halvowire::kRequestMarker, std::move(command.body));
        break;
      case sTransportCommand::eKind::kPublish:
        QueueOutgoing(command.nControl, halvowire::kPublicationMarker, std::move(command.body));
        break;
      case sTransportCommand::eKind::kSubscribe:
        Subscribe(command.nControl, command.strTopic);
        break;
      case sTransportCommand::eKind::kClose:
        CloseControl(command.nControl);
        break;
      case sTransportCommand::eKind::kStop:
        return false;
    }
  }
  return true;
}

void CTransportIo::OpenControl(uint64_t nControl) {
  auto pControl = std::make_unique<sControlSockets>(m_context);
  ConfigureConnection(pControl->dealer);
  pControl->pMonitor = std::make_unique<CSocketMonitor>(m_context, pControl->dealer);
  pControl->bConnectFailed = !Connect(pControl->dealer, m_endpoints.strRequests);
  m_mapControls[nControl] = std::move(pControl);
}

void CTransportIo::ConfigureConnection(zmq::socket_t& socket) const {
  halvowire::ConfigureLinkSocket(socket);
  socket.set(zmq::sockopt::rcvhwm, kReceiveHighWaterMark);
  socket.set(zmq::sockopt::sndhwm, kSendHighWaterMark);
  if (m_security.curve) MakeCurveClient(socket, *m_security.curve);
}

bool CTransportIo::Connect(zmq::socket_t& socket, const std::string& strEndpoint) const {
  // Never plain instead: with a key problem nothing connects at all.
  if (!m_security.strProblem.empty()) return true;
  try {
    socket.connect(strEndpoint);
  } catch (const zmq::error_t&) {
    return false;
  }
  return true;
}

void CTransportIo::CloseControl(uint64_t nControl) {
  if (const auto it = m_mapControls.find(nControl); it != m_mapControls.end())
    m_nClosedDropped += it->second->pMonitor->GetDroppedCount();
  m_mapControls.erase(nControl);
  for (auto it = m_mapTopics.begin(); it != m_mapTopics.end();) {
    it->second.erase(nControl);
    if (it->second.empty()) {
      m_pSubscriber->set(zmq::sockopt::unsubscribe, halvowire::MakeTopicFrame(it->first));
      it = m_mapTopics.erase(it);
    } else {
      ++it;
    }
  }
}

void CTransportIo::Subscribe(uint64_t nControl, const std::string& strTopic) {
  if (!m_mapControls.contains(nControl)) return;
  auto [it, bNewTopic] = m_mapTopics.try_emplace(strTopic);
  it->second.insert(nControl);
  if (bNewTopic) m_pSubscriber->set(zmq::sockopt::subscribe, halvowire::MakeTopicFrame(strTopic));
}

void CTransportIo::QueueOutgoing(uint64_t nControl, char cMarker, zmq::message_t body) {
  const auto it = m_mapControls.find(nControl);
  if (it == m_mapControls.end()) return;
  it->second->arrPending.emplace_back(cMarker, std::move(body));
  FlushOutgoing(*it->second);
}

void CTransportIo::FlushOutgoing(sControlSockets& control) {
  // Until the first connection a DEALER queues up to its high-water mark; past that the
  // messages wait here for room.
  while (!control.arrPending.empty()) {
    auto& [cMarker, body] = control.arrPending.front();
    try {
      if (!control.dealer.send(zmq::const_buffer(&cMarker, 1),
                               zmq::send_flags::sndmore | zmq::send_flags::dontwait))
        return;
      control.dealer.send(body, zmq::send_flags::dontwait);
    } catch (const zmq::error_t&) {
      // Not sendable at all: dropped, as a closed link would drop it.
    }
    control.arrPending.pop_front();
  }
}

void CTransportIo::ReadPublications() {
  zmq::message_t topic;
  zmq::message_t body;
  zmq::message_t sendTime;
  for (int n = 0; n < kReadBurst && ReceiveFrame(*m_pSubscriber, topic); ++n) {
    NoteData();
    // A publication is its topic, its message and, from a current server, its send time.
    if (!topic.more() || !ReceiveFrame(*m_pSubscriber, body)) {
      ++m_nMalformed;
      continue;
    }
    std::optional<int64_t> nSentNs = 0;
    if (body.more()) {
      nSentNs = ReceiveFrame(*m_pSubscriber, sendTime) && !sendTime.more()
                    ? halvowire::ReadSendTimeFrame(sendTime.data(), sendTime.size())
                    : std::nullopt;
      if (!nSentNs) {
        SkipRestOfMessage(*m_pSubscriber, sendTime);
        ++m_nMalformed;
        continue;
      }
    }
    const std::optional<std::string_view> strName = halvowire::ReadTopicFrame(topic.data(), topic.size());
    if (!strName) {
      ++m_nMalformed;
      continue;
    }
    const auto it = m_mapTopics.find(*strName);
    // A heartbeat, or the last subscriber of this name just left.
    if (it == m_mapTopics.end()) continue;
    for (uint64_t nControl : it->second) AddDelivery(nControl, true, body, *nSentNs);
  }
}

void CTransportIo::ReadResponses(uint64_t nControl, zmq::socket_t& dealer) {
  zmq::message_t body;
  for (int n = 0; n < kReadBurst && ReceiveFrame(dealer, body); ++n) {
    NoteData();
    if (body.more()) {
      SkipRestOfMessage(dealer, body);
      ++m_nMalformed;
      continue;
    }
    AddDelivery(nControl, false, body, 0);
  }
}

void CTransportIo::AddDelivery(uint64_t nControl, bool bPublication, const zmq::message_t& body,
                               int64_t nSentNs) {
  OTP_MSG hMsg = ParseOtpMessage(body.data(), body.size(), nullptr);
  if (hMsg == nullptr) {
    ++m_nMalformed;
    return;
  }
  ++m_nReceived;
  m_arrBatch.push_back({nControl, bPublication, hMsg, nSentNs, GetDeliveryKey(hMsg, bPublication),
                        GetOtpMessageFootprint(hMsg)});
}

bool CTransportIo::IsAnySocketAwaitingRetry() const {
  if (m_pSubscriberMonitor->IsAwaitingRetry()) return true;
  for (const auto& [nControl, pControl] : m_mapControls)
    if (pControl->pMonitor->IsAwaitingRetry()) return true;
  return false;
}

void CTransportIo::ReconnectAbandoned() {
  const auto now = std::chrono::steady_clock::now();
  if (m_pSubscriberMonitor->IsAbandoned(now)) Reconnect(*m_pSubscriber, *m_pSubscriberMonitor, m_endpoints.strPublications);
  for (const auto& [nControl, pControl] : m_mapControls)
    if (pControl->pMonitor->IsAbandoned(now)) Reconnect(pControl->dealer, *pControl->pMonitor, m_endpoints.strRequests);
}

void CTransportIo::NoteData() { m_nLastDataNs.store(GetSteadyClockNs(), std::memory_order_relaxed); }

void CTransportIo::UpdateLinkState() {
  std::vector<eLinkState> arrStates;
  arrStates.reserve(m_mapControls.size() + 1);
  arrStates.push_back(m_bSubscriberFailed ? eLinkState::kDisconnected : m_pSubscriberMonitor->GetState());
  uint64_t nDropped = m_pSubscriberMonitor->GetDroppedCount() + m_nClosedDropped;
  for (const auto& [nControl, pControl] : m_mapControls) {
    arrStates.push_back(pControl->bConnectFailed ? eLinkState::kDisconnected
                                                 : pControl->pMonitor->GetState());
    nDropped += pControl->pMonitor->GetDroppedCount();
  }
  m_nDropped.store(nDropped);
  const eLinkState eState =
      m_security.strProblem.empty() ? CombineLinkStates(arrStates) : eLinkState::kKeyProblem;
  if (eState == m_eLinkState) return;
  m_eLinkState = eState;
  if (eState == eLinkState::kConnected) m_nSocketsUpNs.store(GetSteadyClockNs());
  if (m_fnOnLinkState) m_fnOnLinkState(eState);
}
