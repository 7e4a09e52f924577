#include "relay/RmsRelay.h"

#include <chrono>

#include "host/transport/ZmqLinkSettings.h"

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

CRmsRelay::CRmsRelay(sRelayOptions options) : m_options(std::move(options)) {}

CRmsRelay::~CRmsRelay() { Stop(); }

bool CRmsRelay::Start(std::string& strError) {
  for (zmq::socket_t* pSocket : {&m_router, &m_dealer, &m_subscriber, &m_publisher})
    halvowire::ConfigureLinkSocket(*pSocket);
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
  if (!m_pRequests) return;
  m_pRequests->RequestStop();
  m_pPublications->RequestStop();
  const auto deadline = std::chrono::steady_clock::now() + kStopGrace;
  const bool bRequestsStopped = m_pRequests->WaitUntil(deadline);
  if (!m_pPublications->WaitUntil(deadline) || !bRequestsStopped) m_context.shutdown();
  m_pRequests.reset();
  m_pPublications.reset();
}
