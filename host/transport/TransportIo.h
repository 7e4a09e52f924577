// The terminal's I/O thread: owns the ZeroMQ context and every socket of the link to the risk
// server, and nothing else touches them.
//
// Each receive control has its own DEALER to the server's ROUTER, so a response comes back to
// the control that asked. One SUB, shared by the controls, receives the server's publications;
// the thread subscribes it to each name a control asked for and hands a publication to every
// control subscribed to exactly that name, with the send time the server gave it. Received
// messages are parsed here (a malformed one is counted and dropped) and queued for the
// user-interface thread. The SUB also takes the server's heartbeats, which only tell that the
// server is alive: the time of the newest data of any kind is kept for the link's state.
//
// With CURVE keys every socket is a CURVE client pinning the server's key, so the terminal
// takes answers and publications from that server alone. With a key problem no socket
// connects and the link's state says so.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>
#include <zmq.hpp>

#include "host/transport/CommandQueue.h"
#include "host/transport/DeliveryQueue.h"
#include "host/transport/LinkState.h"
#include "host/transport/SocketMonitor.h"
#include "host/transport/TransportWire.h"
#include "keys/LinkSecurity.h"

class CTransportIo {
 public:
  // Called on the I/O thread whenever the link's state changes.
  using LinkStateHandler = std::function<void(eLinkState)>;

  // Starts the thread, which connects the subscriber at once.
  CTransportIo(halvowire::sServerEndpoints endpoints, sLinkSecurity security, CDeliveryQueue& delivery,
               LinkStateHandler fnOnLinkState);
  // Stops the thread and closes every socket without waiting for unsent messages.
  ~CTransportIo();
  CTransportIo(const CTransportIo&) = delete;
  CTransportIo& operator=(const CTransportIo&) = delete;

  // Any thread.
  void Post(sTransportCommand command) { m_commands.Push(std::move(command)); }

  // Well-formed messages received from the server, and malformed ones dropped.
  uint64_t GetReceivedCount() const { return m_nReceived.load(); }
  uint64_t GetMalformedCount() const { return m_nMalformed.load(); }
  // Connections that were up and went down, over every socket.
  uint64_t GetDroppedCount() const { return m_nDropped.load(); }
  // Steady-clock time of the newest data from the server (0 before any): a heartbeat, a
  // publication or an answer. While the hand-over is full, now: the terminal is behind, not
  // the server.
  int64_t GetLastDataNs() const { return m_nLastDataNs.load(); }
  // Steady-clock time since when every socket has a connection whose handshake is done.
  int64_t GetSocketsUpNs() const { return m_nSocketsUpNs.load(); }

 private:
  struct sControlSockets;

  void Run();
  bool RunCommands();
  void OpenControl(uint64_t nControl);
  void CloseControl(uint64_t nControl);
  void Subscribe(uint64_t nControl, const std::string& strTopic);
  void QueueOutgoing(uint64_t nControl, char cMarker, zmq::message_t body);
  void FlushOutgoing(sControlSockets& control);
  void ReadPublications();
  void ReadResponses(uint64_t nControl, zmq::socket_t& dealer);
  void AddDelivery(uint64_t nControl, bool bPublication, const zmq::message_t& body, int64_t nSentNs);
  void UpdateLinkState();
  void NoteData();
  bool IsAnySocketAwaitingRetry() const;
  // The link's settings on a socket before it connects, keys included.
  void ConfigureConnection(zmq::socket_t& socket) const;
  // Connects a socket unless a key problem forbids any connection; false when the endpoint
  // is refused.
  bool Connect(zmq::socket_t& socket, const std::string& strEndpoint) const;
  // Connects again each socket whose lost connection ZeroMQ does not make again by itself.
  void ReconnectAbandoned();

  halvowire::sServerEndpoints m_endpoints;
  sLinkSecurity m_security;
  CDeliveryQueue& m_delivery;
  LinkStateHandler m_fnOnLinkState;
  CCommandQueue m_commands;

  zmq::context_t m_context;
  std::unique_ptr<zmq::socket_t> m_pSubscriber;
  std::unique_ptr<CSocketMonitor> m_pSubscriberMonitor;
  bool m_bSubscriberFailed = false;  // the endpoint was refused at connect
  std::map<uint64_t, std::unique_ptr<sControlSockets>> m_mapControls;
  std::map<std::string, std::set<uint64_t>, std::less<>> m_mapTopics;
  std::vector<sDelivery> m_arrBatch;
  eLinkState m_eLinkState = eLinkState::kConnecting;
  uint64_t m_nClosedDropped = 0;  // dropped connections of controls closed since

  std::atomic<uint64_t> m_nReceived{0};
  std::atomic<uint64_t> m_nMalformed{0};
  std::atomic<uint64_t> m_nDropped{0};
  std::atomic<int64_t> m_nLastDataNs{0};
  std::atomic<int64_t> m_nSocketsUpNs{0};
  std::thread m_thread;
};
