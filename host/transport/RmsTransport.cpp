#include "host/transport/RmsTransport.h"

#include "host/transport/RxControl.h"
#include "host/transport/TransportIo.h"
#include "host/transport/ZmqLinkSettings.h"

namespace {

// A receiver call that lasts this long holds deliveries for all to see (a message box).
constexpr std::chrono::milliseconds kPauseShownAfter{1000};

}  // namespace

CRmsTransport::CRmsTransport(const halvowire::sServerEndpoints& endpoints, const sLinkSecurity& security,
                             QObject* pParent)
    : QObject(pParent),
      m_pDelivery(std::make_unique<CDeliveryQueue>()),
      m_bEncrypted(security.curve.has_value() && security.strProblem.empty()),
      m_linkWatch(int64_t{halvowire::kLivenessMs} * 1'000'000) {
  m_pIo = std::make_unique<CTransportIo>(endpoints, security, *m_pDelivery, [this](eLinkState eState) {
    // On the I/O thread: the state reaches the user-interface thread in order, as an event.
    QMetaObject::invokeMethod(
        this,
        [this, eState] {
          m_eSocketState = eState;
          UpdateLinkStatus();
        },
        Qt::QueuedConnection);
  });
  connect(&m_rateTimer, &QTimer::timeout, this, [this] {
    UpdateLinkStatus();
    ReportDetails();
  });
  m_rateTimer.start(1000);
  m_rateClock.start();
}

CRmsTransport::~CRmsTransport() {
  m_mapControls.clear();
  m_pIo.reset();
}

CPyxoRxControl* CRmsTransport::CreateControl(CPyxoRxNotifierBase* pReceiver) {
  if (pReceiver == nullptr) return nullptr;
  auto pControl = std::make_unique<CRxControl>(m_nNextControlId++, pReceiver, *m_pIo, *m_pDelivery);
  CPyxoRxControl* pGiven = pControl.get();
  m_mapControls.emplace(pGiven, std::move(pControl));
  return pGiven;
}

void CRmsTransport::DestroyControl(CPyxoRxControl* pControl) { m_mapControls.erase(pControl); }

sTransportStats CRmsTransport::GetStats() const {
  sTransportStats stats;
  stats.nReceived = m_pIo->GetReceivedCount();
  stats.nMalformed = m_pIo->GetMalformedCount();
  stats.nDropped = m_pIo->GetDroppedCount();
  stats.nDelivered = m_pDelivery->GetDeliveredCount();
  stats.nQueued = m_pDelivery->GetQueuedCount();
  stats.nQueuedBytes = m_pDelivery->GetQueuedBytes();
  stats.nPeakQueuedBytes = m_pDelivery->GetPeakQueuedBytes();
  stats.nConflated = m_pDelivery->GetConflatedCount();
  stats.nDrainPosts = m_pDelivery->GetDrainPostCount();
  stats.nDrainTurns = m_pDelivery->GetDrainTurnCount();
  return stats;
}

void CRmsTransport::UpdateLinkStatus() {
  const eLinkState eBefore = m_status.eState;
  m_status = m_linkWatch.Update(m_eSocketState, m_pIo->GetSocketsUpNs(), m_pIo->GetLastDataNs(), GetSteadyClockNs(),
                                m_pIo->GetDroppedCount());
  if (m_status.eState != eBefore) emit LinkStateChanged(m_status.eState);
}

void CRmsTransport::ReportDetails() {
  sLinkDetails details;
  const uint64_t nCount = m_pDelivery->GetDeliveredCount();
  const qint64 nElapsedMs = m_rateClock.restart();
  const uint64_t nDelta = nCount - m_nRateCountBase;
  m_nRateCountBase = nCount;
  if (nElapsedMs > 0) details.nDeliveredPerSecond = static_cast<int>(nDelta * 1000 / static_cast<uint64_t>(nElapsedMs));
  details.nDataAgeMs = m_status.nDataAgeMs;
  if (const auto since = m_pDelivery->GetPausedSince(kPauseShownAfter))
    details.pausedSince = std::chrono::system_clock::now() -
                          std::chrono::duration_cast<std::chrono::system_clock::duration>(
                              std::chrono::steady_clock::now() - *since);
  details.nMalformed = m_pIo->GetMalformedCount();
  details.nDropped = m_pIo->GetDroppedCount();
  emit LinkDetailsChanged(details);
}
