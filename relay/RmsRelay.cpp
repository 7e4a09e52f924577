#include "relay/RmsRelay.h"

#include <chrono>
#include <cstdio>

#include "host/transport/ZmqLinkSettings.h"
#include "keys/LinkSecurity.h"

namespace {

// Room for bursts (a tree answer, a feed burst); beyond it TCP holds the sender back.
constexpr int kQueueRoom = 100000;
// Publications queued for one terminal before the relay waits, as the server's default: a slow
// terminal gets fresh values when it catches up rather than a long queue of old ones.
constexpr int kPublicationRoom = 1000;
// How long a stop waits for the proxies to follow the steering. A proxy waiting for room on a
// full terminal reads no steering until it has room; closing the context ends that wait.
constexpr std::chrono::seconds kStopGrace{1};

}  // namespace

CRmsRelay::CRmsRelay(sRelayOptions options, CZapHandler::LogFunction fnLog,
                     std::function<void()> fnOnUpstreamRefused)
    : m_options(std::move(options)),
      m_fnLog(std::move(fnLog)),
      m_fnOnUpstreamRefused(std::move(fnOnUpstreamRefused)) {
  if (!m_fnLog)
    m_fnLog = [](const std::string& strLine) { std::fprintf(stderr, "rms-relay: %s\n", strLine.c_str()); };
}

CRmsRelay::~CRmsRelay() { Stop(); }

bool CRmsRelay::PrepareSecurity(std::string& strError) {
  std::optional<sCurveKeyPair> keys;
  if (!m_options.strKeyFile.empty()) {
    keys = ReadSecretKeyFile(m_options.strKeyFile, strError);
    if (!keys) {
      strError = "cannot use the secret key: " + strError;
      return false;
    }
  }
  if (!m_options.strServerKeyFile.empty()) {
    const std::optional<std::string> strServerKey = ReadPublicKeyFile(m_options.strServerKeyFile, strError);
    if (!strServerKey || !keys) {
      strError = "cannot use the server's key: " + strError;
      return false;
    }
    const sCurveClientKeys clientKeys{*keys, *strServerKey};
    MakeCurveClient(m_dealer, clientKeys);
    MakeCurveClient(m_subscriber, clientKeys);
  } else {
    for (const std::string& strEndpoint :
         {m_options.upstream.strRequests, m_options.upstream.strPublications}) {
      if (IsLoopbackEndpoint(strEndpoint)) continue;
      strError = "the server at " + strEndpoint +
                 " is on another machine: give --key-file and --server-key-file, so that the link to it is "
                 "encrypted (docs/security.md)";
      return false;
    }
  }
  if (!m_options.strAllowListPath.empty() && keys) {
    m_pZap = std::make_unique<CZapHandler>(m_context, m_options.strAllowListPath, m_fnLog);
    if (!m_pZap->Start(strError)) {
      strError = "cannot use the allow-list: " + strError;
      return false;
    }
    MakeCurveServer(m_router, *keys);
    MakeCurveServer(m_publisher, *keys);
    return true;
  }
  for (const std::string& strEndpoint : {m_options.listen.strRequests, m_options.listen.strPublications}) {
    if (IsLoopbackEndpoint(strEndpoint)) continue;
    strError = strEndpoint +
               " can be reached from other machines: give --key-file and --allow-list, so that the links to "
               "terminals are encrypted (docs/security.md)";
    return false;
  }
  return true;
}

bool CRmsRelay::Start(std::string& strError) {
  if (m_pWatch) {
    strError = "the relay was started before";
    return false;
  }
  for (zmq::socket_t* pSocket : {&m_router, &m_dealer, &m_subscriber, &m_publisher})
    halvowire::ConfigureLinkSocket(*pSocket);
  if (!PrepareSecurity(strError)) return false;
  // Answers are never dropped: a tree answer is a burst of thousands of records.
  m_router.set(zmq::sockopt::sndhwm, 0);
  m_router.set(zmq::sockopt::rcvhwm, kQueueRoom);
  m_dealer.set(zmq::sockopt::sndhwm, kQueueRoom);
  m_dealer.set(zmq::sockopt::rcvhwm, kQueueRoom);
  m_subscriber.set(zmq::sockopt::rcvhwm, kQueueRoom);
  m_publisher.set(zmq::sockopt::sndhwm, kPublicationRoom);
  m_publisher.set(zmq::sockopt::xpub_nodrop, 1);

  std::string strEndpoint;
  try {
    strEndpoint = m_options.listen.strRequests;
    m_router.bind(strEndpoint);
    strEndpoint = m_options.listen.strPublications;
    m_publisher.bind(strEndpoint);
  } catch (const zmq::error_t& error) {
    strError = "cannot listen on " + strEndpoint + ": " + error.what();
    return false;
  }
  m_pWatch = std::make_unique<CUpstreamWatch>(m_context, m_options.upstream.strRequests, m_fnLog, [this] {
    m_bUpstreamRefused = true;
    if (m_fnOnUpstreamRefused) m_fnOnUpstreamRefused();
  });
  if (!m_pWatch->Start(m_dealer, m_subscriber, strError)) return false;
  try {
    strEndpoint = m_options.upstream.strRequests;
    m_dealer.connect(strEndpoint);
    strEndpoint = m_options.upstream.strPublications;
    m_subscriber.connect(strEndpoint);
  } catch (const zmq::error_t& error) {
    strError = "cannot connect to " + strEndpoint + ": " + error.what();
    return false;
  }
  m_endpoints.strRequests = m_router.get(zmq::sockopt::last_endpoint);
  m_endpoints.strPublications = m_publisher.get(zmq::sockopt::last_endpoint);

  m_pRequests = std::make_unique<CSteeredProxy>(m_context, "requests", m_router, m_dealer);
  m_pPublications = std::make_unique<CSteeredProxy>(m_context, "publications", m_subscriber, m_publisher);
  m_pRequests->Start();
  m_pPublications->Start();
  return true;
}

void CRmsRelay::Stop() {
  if (m_pRequests) {
    m_pRequests->RequestStop();
    m_pPublications->RequestStop();
    const auto deadline = std::chrono::steady_clock::now() + kStopGrace;
    const bool bRequestsStopped = m_pRequests->WaitUntil(deadline);
    if (!m_pPublications->WaitUntil(deadline) || !bRequestsStopped) m_context.shutdown();
    m_pRequests.reset();
    m_pPublications.reset();
  }
  // The proxies are gone: the sockets are this thread's again.
  if (m_pWatch) m_pWatch->Stop();
}
