// Hands received messages from the I/O thread to the user-interface thread, where each
// control's receiver gets them one call at a time.
//
// The I/O thread appends; when the queue goes from empty to non-empty it posts one drain event.
// A drain turn delivers what is queued until its time budget is spent, then posts itself again
// if more is left, so the event loop still paints between turns. With a turn interval, a turn
// starts no sooner than that after the one before: while messages trickle in, the lists are
// painted once an interval rather than after every few messages. A control removed from the
// queue receives nothing more, messages already queued for it included.
//
// When the delivering thread falls behind, a value publication still waiting is replaced by a
// newer one of the same entity (conflation), in its place in the queue, provided nothing else
// about that entity came between them. Nothing else is ever dropped, and each entity's messages
// keep their order. The bytes queued are counted so the I/O thread can stop reading while they
// pass a bound, which keeps the queue's memory bounded whatever the server sends.
#pragma once

#include <QObject>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "connect/include/connecthalvo.h"
#include "host/transport/DeliveryKey.h"

class CPyxoRxNotifierBase;

// One received message for one control; the queue owns hMsg, and frees it after delivery.
struct sDelivery {
  uint64_t nControl = 0;
  bool bPublication = false;
  OTP_MSG hMsg = nullptr;
  int64_t nSentNs = 0;  // the server's send time of a publication; 0 when it gave none
  sDeliveryKey key;
  uint64_t nBytes = 0;  // what the message holds in memory
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
  static constexpr uint64_t kDefaultByteBound = 16u << 20;

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
  // Null for none. Messages dropped undelivered or replaced are not reported.
  void SetObserver(CDeliveryObserver* pObserver) { m_pObserver = pObserver; }
  // Whether a newer value publication replaces one still waiting (on by default). Any thread.
  void SetConflation(bool bOn) { m_bConflation = bOn; }
  // The bytes queued above which IsFull says so. Any thread.
  void SetByteBound(uint64_t nBytes) { m_nByteBound = nBytes; }

  // Any thread: queues the batch in order and empties it. Frees the messages delivered since
  // the last call, so the thread that made them frees them: a free on another thread waits for
  // the allocating thread's allocator lock, which would hold up the delivering thread.
  void Append(std::vector<sDelivery>& arrBatch);

  // Any thread: the queued messages hold the bound or more; the I/O thread reads no more
  // until the delivering thread has taken some.
  bool IsFull() const { return m_nQueuedBytes.load() >= m_nByteBound.load(); }
  // I/O thread, on finding the queue full: asks to be woken through GetRoomDescriptor once
  // the queue is down to half its bound. False when it already is (nothing to wait for).
  bool AwaitRoom();
  // Readable once room came after AwaitRoom; the waiter reads it empty with TakeRoomSignal.
  int GetRoomDescriptor() const { return m_nRoomFd; }
  void TakeRoomSignal();

  // Messages queued and not yet delivered or dropped.
  uint64_t GetQueuedCount() const { return m_nQueued.load(); }
  uint64_t GetQueuedBytes() const { return m_nQueuedBytes.load(); }
  uint64_t GetPeakQueuedBytes() const { return m_nPeakBytes.load(); }
  uint64_t GetDeliveredCount() const { return m_nDelivered.load(); }
  // Value publications replaced by a newer one before they were delivered.
  uint64_t GetConflatedCount() const { return m_nConflated.load(); }
  // Drain events posted, and drain turns run (a turn that reposts itself counts again).
  uint64_t GetDrainPostCount() const { return m_nDrainPosts.load(); }
  uint64_t GetDrainTurnCount() const { return m_nDrainTurns.load(); }

  // Delivering thread: when the receiver called now was called, once that call has lasted
  // nLongerThan (a receiver that shows a message box holds every delivery until it closes);
  // nullopt otherwise.
  std::optional<std::chrono::steady_clock::time_point> GetPausedSince(std::chrono::milliseconds nLongerThan) const;

 private:
  void PostDrain();
  void Drain();
  // Under m_mutex: queues one message, or lets it replace the waiting value it supersedes.
  void AddLocked(sDelivery& delivery);
  // Under m_mutex: moves up to a chunk of the oldest messages to m_arrTaken.
  void TakeLocked();
  void Deliver(sDelivery& delivery);
  static std::string MakeEntityKey(const sDelivery& delivery);
  static void Release(sDelivery& delivery) { otp_dtor_primecb(delivery.hMsg, nullptr); }

  std::mutex m_mutex;
  // Filled by the I/O thread and emptied from the front, under m_mutex. The message numbered
  // n is at n - m_nFrontNumber.
  std::deque<sDelivery> m_arrShared;
  uint64_t m_nFrontNumber = 0;
  // Control and entity to the number of the newest message about it still in m_arrShared.
  std::unordered_map<std::string, uint64_t> m_mapNewest;
  bool m_bDrainPosted = false;  // under m_mutex

  std::vector<sDelivery> m_arrTaken;  // taken from m_arrShared, being delivered
  std::vector<sDelivery> m_arrDelivered;  // under m_mutex: delivered, for Append to free
  std::atomic<bool> m_bDeliveredWaiting{false};
  size_t m_nTakenNext = 0;
  std::unordered_map<uint64_t, CPyxoRxNotifierBase*> m_mapReceivers;
  std::chrono::microseconds m_turnBudget = kDefaultTurnBudget;
  std::chrono::microseconds m_turnInterval{0};
  std::chrono::steady_clock::time_point m_lastTurnStart;
  QTimer m_intervalTimer;  // runs the turn that came too soon
  bool m_bDraining = false;
  std::chrono::steady_clock::time_point m_receiverCalled;  // while a receiver runs
  bool m_bInReceiver = false;
  CDeliveryObserver* m_pObserver = nullptr;
  std::atomic<bool> m_bConflation{true};
  // An eventfd: the I/O thread sleeps on it while the queue is full, instead of looking again
  // every millisecond, which on a busy machine takes turns from the delivering thread.
  int m_nRoomFd = -1;
  std::atomic<bool> m_bRoomAwaited{false};
  std::atomic<uint64_t> m_nByteBound{kDefaultByteBound};

  std::atomic<uint64_t> m_nQueued{0};
  std::atomic<uint64_t> m_nQueuedBytes{0};
  std::atomic<uint64_t> m_nPeakBytes{0};
  std::atomic<uint64_t> m_nConflated{0};
  std::atomic<uint64_t> m_nDelivered{0};
  std::atomic<uint64_t> m_nDrainPosts{0};
  std::atomic<uint64_t> m_nDrainTurns{0};
};
