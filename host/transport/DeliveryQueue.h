// Hands received messages from the I/O thread to the user-interface thread, where each
// control's receiver gets them one call at a time.
//
// The I/O thread appends; when the queue goes from empty to non-empty it posts one drain event.
// A drain turn delivers what is queued until its time budget is spent, then posts itself again
// if more is left, so the event loop still paints between turns. With a turn interval, a turn
// starts no sooner than that after the one before: while messages trickle in, the lists are
// painted once an interval rather than after every few messages. Nothing is lost, and order is
// kept. A control removed from the queue receives nothing more, messages already queued for it
// included.
#pragma once

#include <QObject>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "connect/include/connecthalvo.h"

class CPyxoRxNotifierBase;

// One received message for one control; the queue owns hMsg until it is delivered or dropped.
struct sDelivery {
  uint64_t nControl = 0;
  bool bPublication = false;
  OTP_MSG hMsg = nullptr;
  int64_t nSentNs = 0;  // the server's send time of a publication; 0 when it gave none
};

// Told of each message after its receiver returned, on the delivering thread.
class CDeliveryObserver {
 public:
  virtual void OnDelivered(const sDelivery& delivery) = 0;

 protected:
  ~CDeliveryObserver() = default;
};

class CDeliveryQueue : public QObject {
 public:
  static constexpr std::chrono::microseconds kDefaultTurnBudget{20000};

  // Lives on the thread that creates it, which becomes the delivering thread.
  explicit CDeliveryQueue(QObject* pParent = nullptr);
  // Destroys the messages not delivered yet.
  ~CDeliveryQueue() override;

  // Delivering thread only.
  void AddReceiver(uint64_t nControl, CPyxoRxNotifierBase* pReceiver);
  void RemoveReceiver(uint64_t nControl);
  // How long one drain turn may deliver before it lets the event loop run. At least one
  // message is delivered per turn.
  void SetTurnBudget(std::chrono::microseconds budget) { m_turnBudget = budget; }
  // The least time from the start of one drain turn to the start of the next; 0 for none.
  void SetTurnInterval(std::chrono::microseconds interval) { m_turnInterval = interval; }
  // Null for none. Messages dropped undelivered are not reported.
  void SetObserver(CDeliveryObserver* pObserver) { m_pObserver = pObserver; }

  // Any thread: queues the batch in order and empties it.
  void Append(std::vector<sDelivery>& arrBatch);

  // Messages queued and not yet delivered or dropped.
  uint64_t GetQueuedCount() const { return m_nQueued.load(); }
  uint64_t GetDeliveredCount() const { return m_nDelivered.load(); }
  // Drain events posted, and drain turns run (a turn that reposts itself counts again).
  uint64_t GetDrainPostCount() const { return m_nDrainPosts.load(); }
  uint64_t GetDrainTurnCount() const { return m_nDrainTurns.load(); }

 private:
  void PostDrain();
  void Drain();
  void Deliver(const sDelivery& delivery);

  std::mutex m_mutex;
  std::deque<sDelivery> m_arrShared;  // filled by the I/O thread, under m_mutex
  bool m_bDrainPosted = false;        // under m_mutex

  std::deque<sDelivery> m_arrTaken;  // taken from m_arrShared, being delivered
  std::unordered_map<uint64_t, CPyxoRxNotifierBase*> m_mapReceivers;
  std::chrono::microseconds m_turnBudget = kDefaultTurnBudget;
  std::chrono::microseconds m_turnInterval{0};
  std::chrono::steady_clock::time_point m_lastTurnStart;
  QTimer m_intervalTimer;  // runs the turn that came too soon
  bool m_bDraining = false;
  CDeliveryObserver* m_pObserver = nullptr;

  std::atomic<uint64_t> m_nQueued{0};
  std::atomic<uint64_t> m_nDelivered{0};
  std::atomic<uint64_t> m_nDrainPosts{0};
  std::atomic<uint64_t> m_nDrainTurns{0};
};
