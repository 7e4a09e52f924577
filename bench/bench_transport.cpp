// The transport alone: the risk server (its own thread) publishes full records as fast as a
// subscriber takes them over loopback TCP, and a receive control on this thread counts them
// without drawing anything. Every message is parsed on the I/O thread and handed over to this
// thread, as in the terminal. Usage: bench_transport [messages] (default 200000).
#include <QCoreApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "connect/include/HalvoCodec.h"
#include "host/api/HalvoHostApi.h"
#include "host/transport/RmsTransport.h"
#include "rmssim/RmsServer.h"

namespace {

using Clock = std::chrono::steady_clock;

class CCountingReceiver final : public CPyxoRxNotifierBase {
 public:
  void OnPublish(OTP_MSG hMsg, uint32_t /*nValue*/, void* /*pContext*/) override {
    if (m_nCount == 0) {
      m_firstAt = Clock::now();
      const uint8_t* pBytes = nullptr;
      GetComposedBytes(hMsg, &pBytes, &m_nMessageBytes);
    }
    ++m_nCount;
    m_lastAt = Clock::now();
  }
  void OnResponse(uint32_t /*nValue*/, OTP_MSG /*hMsg*/, uint32_t /*nValue2*/) override {}

  uint64_t m_nCount = 0;
  size_t m_nMessageBytes = 0;
  Clock::time_point m_firstAt;
  Clock::time_point m_lastAt;
};

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  const uint64_t nMessages = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 200000;

  sSimOptions options;
  options.strRequests = "tcp://127.0.0.1:*";
  options.strPublications = "tcp://127.0.0.1:*";
  options.dRate = 0;
  options.nCount = nMessages;
  options.nDeleteEvery = 0;  // full records only
  CRmsServer server(options);
  std::string strError;
  if (!server.Start(strError)) {
    std::fprintf(stderr, "bench_transport: %s\n", strError.c_str());
    return 1;
  }

  CRmsTransport transport(server.GetEndpoints());
  CCountingReceiver receiver;
  CPyxoRxControl* pControl = transport.CreateControl(&receiver);
  const std::string strTopic = "rms prsnt value publish";
  uint64_t nOut = 0;
  int32_t nErr = 0;
  pControl->Subscribe(&nOut, 54211, strTopic.data(), strTopic.size(), 1, 0, 0, 0, 1, &nErr);

  // Until the server has sent its count and everything sent has arrived, or nothing has
  // arrived for 10 s.
  Clock::time_point lastProgress = Clock::now();
  uint64_t nSeen = 0;
  for (;;) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    const sServerStats stats = server.GetStats();
    if (stats.bFeedEnded && receiver.m_nCount >= stats.nFeedMessages) break;
    if (receiver.m_nCount != nSeen) {
      nSeen = receiver.m_nCount;
      lastProgress = Clock::now();
    } else if (Clock::now() - lastProgress > std::chrono::seconds(10)) {
      break;
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }

  const sServerStats stats = server.GetStats();
  const double dSeconds = std::chrono::duration<double>(receiver.m_lastAt - receiver.m_firstAt).count();
  const double dPerSecond = dSeconds > 0 ? static_cast<double>(receiver.m_nCount - 1) / dSeconds : 0.0;
  const uint64_t nLost = stats.nFeedMessages - receiver.m_nCount;
  transport.DestroyControl(pControl);

  std::printf("messages sent %llu, received %llu, %zu bytes each, in %.3f s\n",
              static_cast<unsigned long long>(stats.nFeedMessages),
              static_cast<unsigned long long>(receiver.m_nCount), receiver.m_nMessageBytes, dSeconds);
  std::printf("figure: transport_msgs_per_s = %.0f msg/s\n", dPerSecond);
  std::printf("figure: transport_mb_per_s = %.1f MB/s\n",
              dPerSecond * static_cast<double>(receiver.m_nMessageBytes) / 1e6);
  std::printf("figure: transport_lost_msgs = %llu count\n", static_cast<unsigned long long>(nLost));
  return nLost == 0 ? 0 : 1;
}
