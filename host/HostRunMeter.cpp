#include "host/HostRunMeter.h"

#include <time.h>

#include <QCoreApplication>
#include <QEvent>
#include <QMetaEnum>
#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "host/HostApplication.h"
#include "host/transport/RmsTransport.h"
#include "host/transport/TransportWire.h"

namespace {

int64_t GetCpuNs(clockid_t nClock) {
  timespec time{};
  clock_gettime(nClock, &time);
  return static_cast<int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

double ToMilliseconds(int64_t nNanoseconds) { return static_cast<double>(nNanoseconds) / 1e6; }

void PrintLine(const char* szName, double dValue, const char* szUnit) {
  std::printf("report: %s = %.3f %s\n", szName, dValue, szUnit);
}

void PrintCount(const char* szName, uint64_t nValue) {
  std::printf("report: %s = %" PRIu64 " count\n", szName, nValue);
}

void PrintPercentiles(const char* szName, const CDurationSamples& samples) {
  const std::string strName(szName);
  PrintCount((strName + "_samples").c_str(), samples.GetCount());
  PrintLine((strName + "_p50_ms").c_str(), ToMilliseconds(samples.GetPercentile(50)), "ms");
  PrintLine((strName + "_p99_ms").c_str(), ToMilliseconds(samples.GetPercentile(99)), "ms");
  PrintLine((strName + "_max_ms").c_str(), ToMilliseconds(samples.GetPercentile(100)), "ms");
}

// The user-interface thread's busy time as a share of the time measured, and the event types
// that took more than 1% of it, largest first.
void PrintBusyTimes(const std::map<int, int64_t>& mapBusyByType, double dSeconds) {
  int64_t nTotalNs = 0;
  std::vector<std::pair<int64_t, int>> arrByTime;
  for (const auto& [nType, nBusyNs] : mapBusyByType) {
    nTotalNs += nBusyNs;
    arrByTime.emplace_back(nBusyNs, nType);
  }
  std::sort(arrByTime.rbegin(), arrByTime.rend());
  const double dMeasuredNs = dSeconds * 1e9;
  PrintLine("ui_busy_share", dMeasuredNs > 0 ? static_cast<double>(nTotalNs) / dMeasuredNs : 0.0, "x");
  const QMetaEnum types = QMetaEnum::fromType<QEvent::Type>();
  for (const auto& [nBusyNs, nType] : arrByTime) {
    if (dMeasuredNs <= 0 || static_cast<double>(nBusyNs) < 0.01 * dMeasuredNs) break;
    const char* szType = types.valueToKey(nType);
    const std::string strName =
        std::string("ui_busy_share_") + (szType != nullptr ? szType : std::to_string(nType));
    PrintLine(strName.c_str(), static_cast<double>(nBusyNs) / dMeasuredNs, "x");
  }
}

}  // namespace

CHostRunMeter::CHostRunMeter(const sHostOptions& options, CRmsTransport& transport, CHostApplication& app,
                             std::function<void()> fnClose)
    : m_options(options), m_transport(transport), m_app(app), m_fnClose(std::move(fnClose)) {
  m_bWatching = options.bReportDeliveries || options.nQuitAfterMessages || options.dMeasureSeconds;
  if (!m_bWatching) return;
  m_transport.SetDeliveryObserver(&m_meter);
  if (options.nQuitAfterMessages) m_meter.CallAtCount(*options.nQuitAfterMessages, [this] { CloseSoon(); });
  if (options.dMeasureSeconds) {
    m_measureTimer.setSingleShot(true);
    m_measureTimer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_measureTimer, &QTimer::timeout, &m_measureTimer, [this] {
      StopMeasuring();
      CloseSoon();
    });
    m_meter.CallAtCount(1, [this] { StartMeasuring(); });
  }
}

CHostRunMeter::~CHostRunMeter() {
  if (m_bWatching) m_transport.SetDeliveryObserver(nullptr);
}

void CHostRunMeter::StartMeasuring() {
  m_nMeasureStartNs = halvowire::GetSendClockNs();
  m_nThreadCpuNs = -GetCpuNs(CLOCK_THREAD_CPUTIME_ID);
  m_nProcessCpuNs = -GetCpuNs(CLOCK_PROCESS_CPUTIME_ID);
  m_meter.StartMeasuring();
  m_app.StartTurnMeasuring();
  m_measureTimer.start(static_cast<int>(*m_options.dMeasureSeconds * 1000));
}

void CHostRunMeter::StopMeasuring() {
  m_meter.StopMeasuring();
  m_app.StopTurnMeasuring();
  m_nMeasureEndNs = halvowire::GetSendClockNs();
  m_nThreadCpuNs += GetCpuNs(CLOCK_THREAD_CPUTIME_ID);
  m_nProcessCpuNs += GetCpuNs(CLOCK_PROCESS_CPUTIME_ID);
}

void CHostRunMeter::CloseSoon() { QMetaObject::invokeMethod(&m_app, m_fnClose, Qt::QueuedConnection); }

void CHostRunMeter::PrintReport() {
  if (m_options.bReportDeliveries) {
    const double dSeconds = static_cast<double>(m_meter.GetLastNs() - m_meter.GetFirstNs()) / 1e9;
    const uint64_t nCount = m_meter.GetPublicationCount();
    PrintCount("publications_delivered", nCount);
    PrintLine("first_to_last_s", dSeconds, "s");
    PrintLine("delivered_msgs_per_s", dSeconds > 0 ? static_cast<double>(nCount - 1) / dSeconds : 0.0,
              "msg/s");
    const sTransportStats stats = m_transport.GetStats();
    PrintCount("conflated_values", stats.nConflated);
    PrintLine("queue_peak_mb", static_cast<double>(stats.nPeakQueuedBytes) / (1 << 20), "MiB");
  }
  if (m_options.dMeasureSeconds) {
    // Cut short (closed before the time was up): measured until now.
    if (m_nMeasureStartNs != 0 && m_nMeasureEndNs == 0) StopMeasuring();
    const double dSeconds = static_cast<double>(m_nMeasureEndNs - m_nMeasureStartNs) / 1e9;
    PrintLine("measured_s", dSeconds, "s");
    PrintCount("measured_publications", m_meter.GetMeasuredCount());
    PrintLine("measured_msgs_per_s",
              dSeconds > 0 ? static_cast<double>(m_meter.GetMeasuredCount()) / dSeconds : 0.0, "msg/s");
    PrintPercentiles("delay", m_meter.GetDelays());
    PrintPercentiles("ui_turn", m_app.GetTurnBusyTimes());
    PrintBusyTimes(m_app.GetBusyByEventType(), dSeconds);
    // Below the busy share when other programs held the processor while the thread had work.
    const double dMeasuredNs = dSeconds * 1e9;
    PrintLine("ui_cpu_share", dMeasuredNs > 0 ? static_cast<double>(m_nThreadCpuNs) / dMeasuredNs : 0.0, "x");
    PrintLine("terminal_cpu_cores",
              dMeasuredNs > 0 ? static_cast<double>(m_nProcessCpuNs) / dMeasuredNs : 0.0, "x");
    const sTransportStats stats = m_transport.GetStats();
    PrintCount("delivery_turns_since_start", stats.nDrainTurns);
    PrintCount("delivered_since_start", stats.nDelivered);
    std::printf("report: event_dispatcher = %s\n", m_app.GetDispatcherName());
  }
  std::fflush(stdout);
}
