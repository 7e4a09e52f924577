// What the terminal does for scripts and benchmarks: closes after a number of publications,
// measures for a while from the first publication on, and prints what it saw.
//
// Measuring keeps, for each publication, the delay from the server's send until the plug-in's
// receiver returned, and the busy time of each turn of the user-interface thread's event loop.
#pragma once

#include <QTimer>
#include <cstdint>
#include <functional>

#include "host/HostOptions.h"
#include "host/transport/DeliveryMeter.h"

class CHostApplication;
class CRmsTransport;

class CHostRunMeter {
 public:
  // Watches the transport's deliveries when the options ask for any of this; fnClose closes
  // the terminal (called from the event loop, never from inside a delivery).
  CHostRunMeter(const sHostOptions& options, CRmsTransport& transport, CHostApplication& app,
                std::function<void()> fnClose);
  ~CHostRunMeter();
  CHostRunMeter(const CHostRunMeter&) = delete;
  CHostRunMeter& operator=(const CHostRunMeter&) = delete;

  // Prints the figures asked for on standard output, one "report: NAME = VALUE UNIT" a line.
  void PrintReport();

 private:
  void StartMeasuring();
  void StopMeasuring();
  void CloseSoon();

  sHostOptions m_options;
  CRmsTransport& m_transport;
  CHostApplication& m_app;
  std::function<void()> m_fnClose;
  CDeliveryMeter m_meter;
  QTimer m_measureTimer;
  bool m_bWatching = false;
  int64_t m_nMeasureStartNs = 0;
  int64_t m_nMeasureEndNs = 0;
  // CPU time of the user-interface thread and of the whole terminal while measuring.
  int64_t m_nThreadCpuNs = 0;
  int64_t m_nProcessCpuNs = 0;
};
