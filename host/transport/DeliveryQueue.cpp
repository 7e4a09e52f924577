#include "host/transport/DeliveryQueue.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <iterator>

#include "connect/include/HalvoCodec.h"
#include "host/api/HalvoHostApi.h"

namespace {

// Messages the delivering thread takes under the lock at a time; the rest stay where a newer
// value can still replace them.
constexpr size_t kTakeChunk = 64;

}  // namespace

CDeliveryQueue::CDeliveryQueue(QObject* pParent)
    : QObject(pParent), m_nRoomFd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
  m_intervalTimer.setSingleShot(true);
  m_intervalTimer.setTimerType(Qt::PreciseTimer);
  connect(&m_intervalTimer, &QTimer::timeout, this, &CDeliveryQueue::Drain);
}

CDeliveryQueue::~CDeliveryQueue() {
  for (sDelivery& delivery : m_arrTaken) Release(delivery);
  for (sDelivery& delivery : m_arrDelivered) Release(delivery);
  for (sDelivery& delivery : m_arrShared) Release(delivery);
  if (m_nRoomFd >= 0) close(m_nRoomFd);
}

bool CDeliveryQueue::AwaitRoom() {
  if (m_nRoomFd < 0) return false;
  m_bRoomAwaited.store(true);
  // Room that came between the look and the request would wake no one: look again.
  if (m_nQueuedBytes.load() * 2 < m_nByteBound.load()) {
    m_bRoomAwaited.store(false);
    return false;
  }
  return true;
}

void CDeliveryQueue::TakeRoomSignal() {
  // Empties the counter; a read that finds it empty has nothing to take.
  uint64_t nCount = 0;
  [[maybe_unused]] const ssize_t nRead = read(m_nRoomFd, &nCount, sizeof nCount);
}

void CDeliveryQueue::AddReceiver(uint64_t nControl, CPyxoRxNotifierBase* pReceiver) {
  m_mapReceivers[nControl] = pReceiver;
}

void CDeliveryQueue::RemoveReceiver(uint64_t nControl) { m_mapReceivers.erase(nControl); }

std::string CDeliveryQueue::MakeEntityKey(const sDelivery& delivery) {
  std::string strKey(reinterpret_cast<const char*>(&delivery.nControl), sizeof delivery.nControl);
  strKey.append(delivery.key.strEntity);
  return strKey;
}

void CDeliveryQueue::Append(std::vector<sDelivery>& arrBatch) {
  std::vector<sDelivery> arrDelivered;
  if (m_bDeliveredWaiting.exchange(false)) {
    {
      const std::lock_guard lock(m_mutex);
      arrDelivered.swap(m_arrDelivered);
    }
    for (sDelivery& delivery : arrDelivered) Release(delivery);
  }
  if (arrBatch.empty()) return;
  bool bPost = false;
  {
    const std::lock_guard lock(m_mutex);
    for (sDelivery& delivery : arrBatch) AddLocked(delivery);
    // One drain event at a time: while one is posted or running, it takes what comes.
    bPost = !m_bDrainPosted;
    m_bDrainPosted = true;
  }
  arrBatch.clear();
  m_nPeakBytes.store(std::max(m_nPeakBytes.load(), m_nQueuedBytes.load()));
  if (bPost) PostDrain();
}

void CDeliveryQueue::AddLocked(sDelivery& delivery) {
  m_nQueuedBytes += delivery.nBytes;
  if (delivery.key.strEntity.empty()) {
    ++m_nQueued;
    m_arrShared.push_back(std::move(delivery));
    return;
  }
  const uint64_t nNumber = m_nFrontNumber + m_arrShared.size();
  auto [it, bFirst] = m_mapNewest.try_emplace(MakeEntityKey(delivery), nNumber);
  if (!bFirst) {
    // The newest waiting message about this entity is a value this one supersedes: it takes
    // that one's place, and so cannot pass anything else about the entity.
    sDelivery& waiting = m_arrShared[it->second - m_nFrontNumber];
    if (m_bConflation && !delivery.key.strReplaceable.empty() &&
        waiting.key.strReplaceable == delivery.key.strReplaceable) {
      m_nQueuedBytes -= waiting.nBytes;
      Release(waiting);
      waiting.hMsg = delivery.hMsg;
      waiting.nSentNs = delivery.nSentNs;
      waiting.nBytes = delivery.nBytes;
      ++m_nConflated;
      return;
    }
    it->second = nNumber;
  }
  ++m_nQueued;
  m_arrShared.push_back(std::move(delivery));
}

void CDeliveryQueue::TakeLocked() {
  // Every message taken before was delivered: they go to Append to be freed.
  if (!m_arrTaken.empty()) {
    m_arrDelivered.insert(m_arrDelivered.end(), std::make_move_iterator(m_arrTaken.begin()),
                          std::make_move_iterator(m_arrTaken.end()));
    m_bDeliveredWaiting.store(true);
  }
  m_arrTaken.clear();
  m_nTakenNext = 0;
  const size_t nCount = std::min(kTakeChunk, m_arrShared.size());
  for (size_t n = 0; n < nCount; ++n) {
    sDelivery& delivery = m_arrShared.front();
    if (!delivery.key.strEntity.empty()) {
      const auto it = m_mapNewest.find(MakeEntityKey(delivery));
      if (it != m_mapNewest.end() && it->second == m_nFrontNumber) m_mapNewest.erase(it);
    }
    m_arrTaken.push_back(std::move(delivery));
    m_arrShared.pop_front();
    ++m_nFrontNumber;
  }
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
    if (m_nTakenNext == m_arrTaken.size()) {
      const std::lock_guard lock(m_mutex);
      TakeLocked();
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
    // The next message is read from memory while this one is handled.
    if (m_nTakenNext + 1 < m_arrTaken.size()) PrefetchOtpMessage(m_arrTaken[m_nTakenNext + 1].hMsg);
    Deliver(m_arrTaken[m_nTakenNext++]);
  }
  m_bDraining = false;
  if (bRepost) PostDrain();
}

std::optional<std::chrono::steady_clock::time_point> CDeliveryQueue::GetPausedSince(
    std::chrono::milliseconds nLongerThan) const {
  if (!m_bInReceiver || std::chrono::steady_clock::now() - m_receiverCalled < nLongerThan) return std::nullopt;
  return m_receiverCalled;
}

void CDeliveryQueue::Deliver(sDelivery& delivery) {
  --m_nQueued;
  const auto it = m_mapReceivers.find(delivery.nControl);
  if (it != m_mapReceivers.end()) {
    ++m_nDelivered;
    m_receiverCalled = std::chrono::steady_clock::now();
    m_bInReceiver = true;
    if (delivery.bPublication)
      it->second->OnPublish(delivery.hMsg, 0, nullptr);
    else
      it->second->OnResponse(0, delivery.hMsg, 0);
    m_bInReceiver = false;
    if (m_pObserver != nullptr) m_pObserver->OnDelivered(delivery);
  }
  m_nQueuedBytes -= delivery.nBytes;
  if (m_bRoomAwaited.load(std::memory_order_relaxed) && m_nQueuedBytes.load() * 2 < m_nByteBound.load() &&
      m_bRoomAwaited.exchange(false)) {
    const uint64_t nOne = 1;
    [[maybe_unused]] const ssize_t nWritten = write(m_nRoomFd, &nOne, sizeof nOne);
  }
}
