#include "host/transport/DeliveryQueue.h"

#include "host/api/HalvoHostApi.h"

CDeliveryQueue::CDeliveryQueue(QObject* pParent) : QObject(pParent) {
  m_intervalTimer.setSingleShot(true);
  m_intervalTimer.setTimerType(Qt::PreciseTimer);
  connect(&m_intervalTimer, &QTimer::timeout, this, &CDeliveryQueue::Drain);
}

CDeliveryQueue::~CDeliveryQueue() {
  for (const sDelivery& delivery : m_arrTaken) otp_dtor_primecb(delivery.hMsg, nullptr);
  for (const sDelivery& delivery : m_arrShared) otp_dtor_primecb(delivery.hMsg, nullptr);
}

void CDeliveryQueue::AddReceiver(uint64_t nControl, CPyxoRxNotifierBase* pReceiver) {
  m_mapReceivers[nControl] = pReceiver;
}

void CDeliveryQueue::RemoveReceiver(uint64_t nControl) { m_mapReceivers.erase(nControl); }

void CDeliveryQueue::Append(std::vector<sDelivery>& arrBatch) {
  if (arrBatch.empty()) return;
  bool bPost = false;
  {
    const std::lock_guard lock(m_mutex);
    m_arrShared.insert(m_arrShared.end(), arrBatch.begin(), arrBatch.end());
    m_nQueued += arrBatch.size();
    // One drain event at a time: while one is posted or running, it takes what comes.
    bPost = !m_bDrainPosted;
    m_bDrainPosted = true;
  }
  arrBatch.clear();
  if (bPost) PostDrain();
}

void CDeliveryQueue::PostDrain() {
  ++m_nDrainPosts;
  QMetaObject::invokeMethod(this, &CDeliveryQueue::Drain, Qt::QueuedConnection);
}

void CDeliveryQueue::Drain() {
  // A receiver that runs a nested event loop (a message box) must not be called again before
  // it returns; the outer turn carries on afterwards.
  if (m_bDraining) return;
  const auto now = std::chrono::steady_clock::now();
  // Too soon after the last turn: this one waits for the rest of the interval. The drain stays
  // posted meanwhile, so the I/O thread posts no other.
  if (now < m_lastTurnStart + m_turnInterval) {
    if (!m_intervalTimer.isActive())
      m_intervalTimer.start(
          std::chrono::ceil<std::chrono::milliseconds>(m_lastTurnStart + m_turnInterval - now));
    return;
  }
  m_lastTurnStart = now;
  m_bDraining = true;
  ++m_nDrainTurns;
  const auto deadline = now + m_turnBudget;
  bool bRepost = false;
  for (bool bFirst = true;; bFirst = false) {
    if (m_arrTaken.empty()) {
      const std::lock_guard lock(m_mutex);
      m_arrTaken.swap(m_arrShared);
      if (m_arrTaken.empty()) {
        m_bDrainPosted = false;
        break;
      }
    }
    // More is waiting: past the budget it goes in the next turn.
    if (!bFirst && std::chrono::steady_clock::now() >= deadline) {
      bRepost = true;
      break;
    }
    const sDelivery delivery = m_arrTaken.front();
    m_arrTaken.pop_front();
    Deliver(delivery);
  }
  m_bDraining = false;
  if (bRepost) PostDrain();
}

void CDeliveryQueue::Deliver(const sDelivery& delivery) {
  --m_nQueued;
  const auto it = m_mapReceivers.find(delivery.nControl);
  if (it != m_mapReceivers.end()) {
    ++m_nDelivered;
    if (delivery.bPublication)
      it->second->OnPublish(delivery.hMsg, 0, nullptr);
    else
      it->second->OnResponse(0, delivery.hMsg, 0);
    if (m_pObserver != nullptr) m_pObserver->OnDelivered(delivery);
  }
  otp_dtor_primecb(delivery.hMsg, nullptr);
}
