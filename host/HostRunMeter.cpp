#include "host/HostRunMeter.h"

#include <time.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEvent>
#include <QMetaEnum>
#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "host/HostApplication.h"
#include "host/transport/RmsTransport.h"
#include "host/transport/TransportWire.h"

namespace {

// After measuring, a ledger is written once no publication came for this long.
constexpr int64_t kQuietNs = 1'000'000'000;
constexpr int kQuietCheckMs = 100;

int64_t GetCpuNs(clockid_t nClock) {
  timespec time{};
  clock_gettime(nClock, &time);
  return static_cast<int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

// When this process started, on the send clock: the kernel keeps the start in clock ticks since
// boot, so the tick (10 ms) is its resolution. 0 when it cannot be read.
int64_t GetProcessStartNs() {
  std::ifstream stat("/proc/self/stat");
  std::string strStat((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  // The command name may hold blanks; the fields after its ')' are fixed: start time is 20th.
  size_t nPos = strStat.rfind(')');
  for (int nField = 0; nField < 20 && nPos != std::string::npos; ++nField) nPos = strStat.find(' ', nPos + 1);
  if (nPos == std::string::npos) return 0;
  const double dStartSeconds =
      std::strtod(strStat.c_str() + nPos + 1, nullptr) / static_cast<double>(sysconf(_SC_CLK_TCK));
  const int64_t nSinceStartNs = GetCpuNs(CLOCK_BOOTTIME) - static_cast<int64_t>(dStartSeconds * 1e9);
  return halvowire::GetSendClockNs() - nSinceStartNs;
}

// A "Vm...:  N kB" line of /proc/self/status, in bytes; 0 when absent.
uint64_t ReadMemoryStatus(const std::string& strName) {
  std::ifstream status("/proc/self/status");
  for (std::string strLine; std::getline(status, strLine);) {
    if (strLine.starts_with(strName + ":"))
      return std::strtoull(strLine.c_str() + strName.size() + 1, nullptr, 10) << 10;
  }
  return 0;
}

double ToMebibytes(uint64_t nBytes) { return static_cast<double>(nBytes) / (1 << 20); }

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
    : m_options(options),
      m_transport(transport),
      m_app(app),
      m_fnClose(std::move(fnClose)),
      m_nProcessStartNs(GetProcessStartNs()) {
  if (options.bReportLink) {
    PrintLinkState(transport.GetLinkState());
    QObject::connect(&transport, &CRmsTransport::LinkStateChanged, &m_measureTimer,
                     [this](eLinkState eState) { PrintLinkState(eState); });
  }
  if (!options.strLedgerPath.isEmpty()) m_pLedger = std::make_unique<CFeedLedger>();
  m_bWatching =
      options.bReportDeliveries || options.nQuitAfterMessages || options.dMeasureSeconds || m_pLedger;
  if (!m_bWatching) return;
  m_transport.SetDeliveryObserver(this);
  if (options.nQuitAfterMessages) m_meter.CallAtCount(*options.nQuitAfterMessages, [this] { CloseSoon(); });
  if (options.dMeasureSeconds) {
    m_measureTimer.setSingleShot(true);
    m_measureTimer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_measureTimer, &QTimer::timeout, &m_measureTimer, [this] {
      if (!m_bMeasuring) {
        StartMeasuring();
        return;
      }
      StopMeasuring();
      CloseAfterMeasuring();
    });
    m_meter.CallAtCount(1, [this] {
      if (m_options.dMeasureAfterSeconds > 0)
        m_measureTimer.start(static_cast<int>(m_options.dMeasureAfterSeconds * 1000));
      else
        StartMeasuring();
    });
  }
  m_quietTimer.setInterval(kQuietCheckMs);
  QObject::connect(&m_quietTimer, &QTimer::timeout, &m_quietTimer, [this] {
    if (halvowire::GetSendClockNs() - m_meter.GetLastNs() < kQuietNs) return;
    m_quietTimer.stop();
    CloseSoon();
  });
}

CHostRunMeter::~CHostRunMeter() {
  if (m_bWatching) m_transport.SetDeliveryObserver(nullptr);
}

void CHostRunMeter::OnDelivered(const sDelivery& delivery) {
  if (m_pLedger && delivery.bPublication && delivery.nSentNs != 0)
    m_pLedger->NoteMessage(delivery.hMsg, delivery.nSentNs);
  if (m_bMeasuring)
    m_nMeasuredPeakBytes = std::max(m_nMeasuredPeakBytes, m_transport.GetStats().nQueuedBytes);
  // Last: it may start measuring or close.
  m_meter.OnDelivered(delivery);
}

void CHostRunMeter::StartMeasuring() {
  m_bMeasuring = true;
  m_nStartRssBytes = ReadMemoryStatus("VmRSS");
  m_nMeasureStartNs = halvowire::GetSendClockNs();
  m_nThreadCpuNs = -GetCpuNs(CLOCK_THREAD_CPUTIME_ID);
  m_nProcessCpuNs = -GetCpuNs(CLOCK_PROCESS_CPUTIME_ID);
  m_meter.StartMeasuring();
  m_app.StartTurnMeasuring();
  m_measureTimer.start(static_cast<int>(*m_options.dMeasureSeconds * 1000));
}

void CHostRunMeter::StopMeasuring() {
  m_bMeasuring = false;
  m_meter.StopMeasuring();
  m_app.StopTurnMeasuring();
  m_nMeasureEndNs = halvowire::GetSendClockNs();
  m_nThreadCpuNs += GetCpuNs(CLOCK_THREAD_CPUTIME_ID);
  m_nProcessCpuNs += GetCpuNs(CLOCK_PROCESS_CPUTIME_ID);
}

void CHostRunMeter::CloseAfterMeasuring() {
  if (m_pLedger)
    m_quietTimer.start();
  else
    CloseSoon();
}

void CHostRunMeter::CloseSoon() { QMetaObject::invokeMethod(&m_app, m_fnClose, Qt::QueuedConnection); }

void CHostRunMeter::PrintLinkState(eLinkState eState) const {
  std::printf("report: link = %s at %.2f s\n", DescribeLinkState(eState),
              static_cast<double>(halvowire::GetSendClockNs() - m_nProcessStartNs) / 1e9);
  // Read as it happens, by a script waiting for it.
  std::fflush(stdout);
}

void CHostRunMeter::PrintBoxAnswered(const std::string& strText) const {
  std::string strLine = strText;
  std::replace(strLine.begin(), strLine.end(), '\n', ' ');
  std::printf("report: box_answered = %s at %.2f s\n", strLine.c_str(),
              static_cast<double>(halvowire::GetSendClockNs() - m_nProcessStartNs) / 1e9);
  std::fflush(stdout);
}

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
    PrintCount("malformed_dropped", stats.nMalformed);
    PrintCount("connections_lost", stats.nDropped);
    PrintLine("queue_peak_mb", ToMebibytes(stats.nPeakQueuedBytes), "MiB");
    if (m_meter.GetLastResponseNs() != 0 && m_nProcessStartNs != 0) {
      // Start-up in two: until the server's first answer arrives, then taking in the answers.
      PrintLine("first_response_after_start_ms",
                ToMilliseconds(m_meter.GetFirstResponseNs() - m_nProcessStartNs), "ms");
      PrintLine("last_response_after_start_ms", ToMilliseconds(m_meter.GetLastResponseNs() - m_nProcessStartNs),
                "ms");
    }
    PrintLine("rss_peak_mb", ToMebibytes(ReadMemoryStatus("VmHWM")), "MiB");
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
    PrintLine("queue_peak_measured_mb", ToMebibytes(m_nMeasuredPeakBytes), "MiB");
    PrintLine("rss_at_measure_start_mb", ToMebibytes(m_nStartRssBytes), "MiB");
    std::printf("report: event_dispatcher = %s\n", m_app.GetDispatcherName());
  }
  std::fflush(stdout);
  std::string strError;
  if (m_pLedger && !m_pLedger->Write(m_options.strLedgerPath.toStdString(), strError))
    std::fprintf(stderr, "%s\n", strError.c_str());
}
