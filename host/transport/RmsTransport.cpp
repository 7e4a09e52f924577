#include "host/transport/RmsTransport.h"

#include "host/transport/RxControl.h"
#include "host/transport/TransportIo.h"

CRmsTransport::CRmsTransport(const halvowire::sServerEndpoints& endpoints, QObject* pParent)
    : QObject(pParent), m_pDelivery(std::make_unique<CDeliveryQueue>()) {
  m_pIo = std::make_unique<CTransportIo>(endpoints, *m_pDelivery, [this](eLinkState eState) {
    // On the I/O thread: the state reaches the user-interface thread in order, as an event.
    QMetaObject::invokeMethod(
        this,
        [this, eState] {
          m_eLinkState = eState;
          emit LinkStateChanged(eState);
        },
        Qt::QueuedConnection);
  });
  connect(&m_rateTimer, &QTimer::timeout, this, &CRmsTransport::ReportRate);
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
  stats.nDelivered = m_pDelivery->GetDeliveredCount();
  stats.nQueued = m_pDelivery->GetQueuedCount();
  stats.nQueuedBytes = m_pDelivery->GetQueuedBytes();
  stats.nPeakQueuedBytes = m_pDelivery->GetPeakQueuedBytes();
  stats.nConflated = m_pDelivery->GetConflatedCount();
  stats.nDrainPosts = m_pDelivery->GetDrainPostCount();
  stats.nDrainTurns = m_pDelivery->GetDrainTurnCount();
  return stats;
}

void CRmsTransport::ReportRate() {
  const uint64_t nCount = m_pIo->GetReceivedCount();
  const qint64 nElapsedMs = m_rateClock.restart();
  const uint64_t nDelta = nCount - m_nRateCountBase;
  m_nRateCountBase = nCount;
  if (nElapsedMs > 0)
    emit MessageRateChanged(static_cast<int>(nDelta * 1000 / static_cast<uint64_t>(nElapsedMs)));
}
