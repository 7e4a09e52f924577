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
//
// Toward terminals the relay is a CURVE server with its own ZAP handler and allow-list; toward
// the server a CURVE client pinning the server's key. Each side without keys must stay on
// loopback.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <zmq.hpp>

#include "keys/CurveKeys.h"
#include "keys/ZapHandler.h"
#include "relay/RelayOptions.h"
#include "relay/SteeredProxy.h"
#include "relay/UpstreamWatch.h"

class CRmsRelay {
 public:
  // fnLog takes what the relay tells its operator while it runs, a line at a time (by default
  // standard error, after "rms-relay: "); fnOnUpstreamRefused is called once, on another
  // thread, when the server refuses the relay's handshake for good.
  explicit CRmsRelay(sRelayOptions options, CZapHandler::LogFunction fnLog = {},
                     std::function<void()> fnOnUpstreamRefused = {});
  // Stops the proxies if they run.
  ~CRmsRelay();
  CRmsRelay(const CRmsRelay&) = delete;
  CRmsRelay& operator=(const CRmsRelay&) = delete;

  // Reads the keys, binds the listening endpoints, connects to the server and starts both
  // proxies; once. False with the reason when a key or an endpoint cannot be used, or when an
  // endpoint off loopback has no keys to protect it.
  bool Start(std::string& strError);
  // Steers both proxies to stop and waits for them; messages in flight are lost.
  void Stop();

  // The endpoints bound, with ports chosen by the system filled in.
  const halvowire::sServerEndpoints& GetEndpoints() const { return m_endpoints; }
  // Whether the server refused the relay's handshake for good.
  bool IsUpstreamRefused() const { return m_bUpstreamRefused.load(); }

 private:
  // Reads the keys and makes each side CURVE or checks that it stays on loopback; starts the
  // ZAP handler before anything binds.
  bool PrepareSecurity(std::string& strError);

  sRelayOptions m_options;
  CZapHandler::LogFunction m_fnLog;
  std::function<void()> m_fnOnUpstreamRefused;
  std::atomic<bool> m_bUpstreamRefused{false};
  halvowire::sServerEndpoints m_endpoints;
  zmq::context_t m_context;
  std::unique_ptr<CZapHandler> m_pZap;  // declared before the sockets: stopped after they closed
  zmq::socket_t m_router{m_context, zmq::socket_type::router};
  zmq::socket_t m_dealer{m_context, zmq::socket_type::dealer};
  zmq::socket_t m_subscriber{m_context, zmq::socket_type::xsub};
  zmq::socket_t m_publisher{m_context, zmq::socket_type::xpub};
  std::unique_ptr<CUpstreamWatch> m_pWatch;
  std::unique_ptr<CSteeredProxy> m_pRequests;
  std::unique_ptr<CSteeredProxy> m_pPublications;
};
