// The terminal's link to the risk server: the receive controls it gives to plug-ins, one I/O
// thread that owns every ZeroMQ socket, and the hand-over of received messages to the
// user-interface thread (the thread that creates the transport). Reports the link's state,
// judged by the data the server sends, and what was delivered, for the status bar.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>

#include "host/transport/DeliveryQueue.h"
#include "host/transport/LinkState.h"
#include "host/transport/TransportWire.h"
#include "keys/LinkSecurity.h"

class CPyxoRxControl;
class CPyxoRxNotifierBase;
class CRxControl;
class CTransportIo;

struct sTransportStats {
  uint64_t nReceived = 0;   // messages queued for a receiver
  uint64_t nMalformed = 0;  // frames from the server dropped as malformed
  uint64_t nDropped = 0;    // connections lost (server gone or frozen, a frame past the limit)
  uint64_t nDelivered = 0;  // messages a receiver was called with
  uint64_t nQueued = 0;     // waiting for the user-interface thread
  uint64_t nQueuedBytes = 0;
  uint64_t nPeakQueuedBytes = 0;
  uint64_t nConflated = 0;  // value publications replaced by a newer one before delivery
  uint64_t nDrainPosts = 0;
  uint64_t nDrainTurns = 0;
};

// What the status bar shows besides the state, once a second.
struct sLinkDetails {
  int nDeliveredPerSecond = 0;  // messages the receivers were called with in the last second
  int64_t nDataAgeMs = -1;      // since the newest data from the server; -1 before any
  // When the receiver called now was called, while that call holds every delivery.
  std::optional<std::chrono::system_clock::time_point> pausedSince;
  uint64_t nMalformed = 0;
  uint64_t nDropped = 0;
};

class CRmsTransport : public QObject {
  Q_OBJECT

 public:
  // Starts the I/O thread, which connects to the server at once and keeps reconnecting: plain,
  // or with the CURVE keys of security; with its key problem, not at all.
  explicit CRmsTransport(const halvowire::sServerEndpoints& endpoints, const sLinkSecurity& security = {},
                         QObject* pParent = nullptr);
  // Releases the controls still given out and stops the I/O thread.
  ~CRmsTransport() override;

  // A new receive control delivering to pReceiver; null without a receiver. The transport
  // owns it until DestroyControl.
  CPyxoRxControl* CreateControl(CPyxoRxNotifierBase* pReceiver);
  // Closes and deletes a control given by CreateControl; any other pointer is ignored.
  void DestroyControl(CPyxoRxControl* pControl);

  eLinkState GetLinkState() const { return m_status.eState; }
  // Whether the link is CURVE-encrypted, with the server's key pinned.
  bool IsEncrypted() const { return m_bEncrypted; }
  sLinkStatus GetLinkStatus() const { return m_status; }
  sTransportStats GetStats() const;
  // How long one turn of delivery may run before the event loop gets its turn.
  void SetDeliveryTurnBudget(std::chrono::microseconds budget) { m_pDelivery->SetTurnBudget(budget); }
  // The least time from the start of one turn of delivery to the start of the next.
  void SetDeliveryTurnInterval(std::chrono::microseconds interval) { m_pDelivery->SetTurnInterval(interval); }
  // Whether a newer value publication of an entity replaces one still waiting (on by default).
  void SetConflation(bool bOn) { m_pDelivery->SetConflation(bOn); }
  // Told of every message delivered to a receiver; null for none.
  void SetDeliveryObserver(CDeliveryObserver* pObserver) { m_pDelivery->SetObserver(pObserver); }

 signals:
  void LinkStateChanged(eLinkState eState);
  void LinkDetailsChanged(const sLinkDetails& details);

 private:
  // Judges the link again; tells of a change of state.
  void UpdateLinkStatus();
  void ReportDetails();

  std::unique_ptr<CDeliveryQueue> m_pDelivery;
  std::unique_ptr<CTransportIo> m_pIo;
  std::unordered_map<const CPyxoRxControl*, std::unique_ptr<CRxControl>> m_mapControls;
  uint64_t m_nNextControlId = 1;
  bool m_bEncrypted = false;
  eLinkState m_eSocketState = eLinkState::kConnecting;  // as the I/O thread last told
  CLinkWatch m_linkWatch;
  sLinkStatus m_status;

  QTimer m_rateTimer;
  QElapsedTimer m_rateClock;
  uint64_t m_nRateCountBase = 0;
};
