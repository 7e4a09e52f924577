// What the terminal does for scripts and benchmarks: closes after a number of publications,
// measures for a while from the first publication on, writes a ledger of what was delivered,
// and prints what it saw: at exit, and for the link's state and the boxes answered by
// themselves, as they happen.
//
// Measuring keeps, for each publication, the delay from the server's send until the plug-in's
// receiver returned, and the busy time of each turn of the user-interface thread's event loop.
#pragma once

#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "host/HostOptions.h"
#include "host/transport/DeliveryMeter.h"
#include "host/transport/LinkState.h"
#include "rmssim/FeedLedger.h"

class CHostApplication;
class CRmsTransport;

class CHostRunMeter final : private CDeliveryObserver {
 public:
  // Watches the transport's deliveries when the options ask for any of this; fnClose closes
  // the terminal (called from the event loop, never from inside a delivery).
  CHostRunMeter(const sHostOptions& options, CRmsTransport& transport, CHostApplication& app,
                std::function<void()> fnClose);
  ~CHostRunMeter();
  CHostRunMeter(const CHostRunMeter&) = delete;
  CHostRunMeter& operator=(const CHostRunMeter&) = delete;

  // Prints the figures asked for on standard output, one "report: NAME = VALUE UNIT" a line,
  // and writes the ledger.
  void PrintReport();
  // Prints "report: box_answered = TEXT at S s", S since the process started.
  void PrintBoxAnswered(const std::string& strText) const;

 private:
  void OnDelivered(const sDelivery& delivery) override;
  void StartMeasuring();
  void StopMeasuring();
  // With a ledger, waits until publications have stopped for a while first, so the ledger
  // holds the feed's end.
  void CloseAfterMeasuring();
  void CloseSoon();
  // "report: link = STATE at S s", S since the process started.
  void PrintLinkState(eLinkState eState) const;

  sHostOptions m_options;
  CRmsTransport& m_transport;
  CHostApplication& m_app;
  std::function<void()> m_fnClose;
  CDeliveryMeter m_meter;
  std::unique_ptr<CFeedLedger> m_pLedger;
  QTimer m_measureTimer;
  QTimer m_quietTimer;
  bool m_bWatching = false;
  bool m_bMeasuring = false;
  int64_t m_nMeasureStartNs = 0;
  int64_t m_nMeasureEndNs = 0;
  // CPU time of the user-interface thread and of the whole terminal while measuring.
  int64_t m_nThreadCpuNs = 0;
  int64_t m_nProcessCpuNs = 0;
  // The hand-over's bytes seen at each delivery while measuring, at most; and the terminal's
  // resident memory when measuring started.
  uint64_t m_nMeasuredPeakBytes = 0;
  uint64_t m_nStartRssBytes = 0;
  int64_t m_nProcessStartNs = 0;  // on the send clock; 0 when it cannot be read
};
