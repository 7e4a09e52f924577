// The relay's sockets and its two proxies. Terminals connect to it as to a risk server:
//
//   requests, client publications  terminal DEALER -> ROUTER | DEALER -> server ROUTER
//   answers                        back the same way, routed by the envelope the ROUTERs added
//   publications                   server XPUB -> XSUB | XPUB -> terminal SUB
//   subscriptions                  back the same way: the XPUB passes on a name's first
//                                  subscription and its last unsubscription only, so the
//                                  server sees the whole relay as one subscriber
//
// Nothing is dropped, as at the server: a terminal whose queue is full holds the publications
// back (ZMQ_XPUB_NODROP), which in turn holds back the server's feed; answers always get room.
#pragma once

#include <memory>
#include <string>
#include <zmq.hpp>

#include "relay/RelayOptions.h"
#include "relay/SteeredProxy.h"

class CRmsRelay {
 public:
  explicit CRmsRelay(sRelayOptions options);
  // Stops the proxies if they run.
  ~CRmsRelay();
  CRmsRelay(const CRmsRelay&) = delete;
  CRmsRelay& operator=(const CRmsRelay&) = delete;

  // Binds the listening endpoints, connects to the server and starts both proxies; once. False
  // with the reason when an endpoint cannot be used.
  bool Start(std::string& strError);
  // Steers both proxies to stop and waits for them; messages in flight are lost.
  void Stop();

  // The endpoints bound, with ports chosen by the system filled in.
  const halvowire::sServerEndpoints& GetEndpoints() const { return m_endpoints; }

 private:
  sRelayOptions m_options;
  halvowire::sServerEndpoints m_endpoints;
  zmq::context_t m_context;
  zmq::socket_t m_router{m_context, zmq::socket_type::router};
  zmq::socket_t m_dealer{m_context, zmq::socket_type::dealer};
  zmq::socket_t m_subscriber{m_context, zmq::socket_type::xsub};
  zmq::socket_t m_publisher{m_context, zmq::socket_type::xpub};
  std::unique_ptr<CSteeredProxy> m_pRequests;
  std::unique_ptr<CSteeredProxy> m_pPublications;
};
