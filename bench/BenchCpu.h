// Where the processors went while a process benchmark ran: a thread samples, a few times a
// second, the CPU time of the risk server, of the terminal and of the terminal's main (user
// interface) thread, and the machine's busy time, so a run can say how many cores each used in
// a stretch of it and how much the other programs on the machine took.
#pragma once

#include <sys/types.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

namespace benchcpu {

// Nanoseconds of the monotonic clock, which is the risk server's send clock too.
inline int64_t GetMonotonicNs() {
  timespec time{};
  clock_gettime(CLOCK_MONOTONIC, &time);
  return static_cast<int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

// User and system time of a process (or of one of its threads, with the thread's file) in
// clock ticks; nullopt once it is gone.
inline std::optional<uint64_t> ReadProcessTicks(const std::string& strStatPath) {
  std::ifstream file(strStatPath);
  const std::string strStat((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  // Fields after the command name's ')': state is the 3rd field, utime the 14th.
  size_t nPos = strStat.rfind(')');
  for (int nField = 0; nField < 12 && nPos != std::string::npos; ++nField) nPos = strStat.find(' ', nPos + 1);
  if (nPos == std::string::npos) return std::nullopt;
  char* pEnd = nullptr;
  const uint64_t nUser = std::strtoull(strStat.c_str() + nPos + 1, &pEnd, 10);
  const uint64_t nSystem = std::strtoull(pEnd, nullptr, 10);
  return nUser + nSystem;
}

// A thread's voluntary (it waited) and involuntary (it was preempted) context switches.
inline std::pair<uint64_t, uint64_t> ReadContextSwitches(const std::string& strStatusPath) {
  std::ifstream file(strStatusPath);
  std::pair<uint64_t, uint64_t> switches;
  for (std::string strLine; std::getline(file, strLine);) {
    if (strLine.starts_with("voluntary_ctxt_switches:"))
      switches.first = std::strtoull(strLine.c_str() + strLine.find(':') + 1, nullptr, 10);
    else if (strLine.starts_with("nonvoluntary_ctxt_switches:"))
      switches.second = std::strtoull(strLine.c_str() + strLine.find(':') + 1, nullptr, 10);
  }
  return switches;
}

// The machine's busy ticks (everything but idle and I/O wait), over all processors.
inline uint64_t ReadMachineBusyTicks() {
  std::ifstream file("/proc/stat");
  std::string strCpu;
  file >> strCpu;
  uint64_t nBusy = 0;
  for (int nField = 0; nField < 8; ++nField) {
    uint64_t nTicks = 0;
    file >> nTicks;
    if (nField != 3 && nField != 4) nBusy += nTicks;
  }
  return nBusy;
}

// Cores used on average over a stretch: 1.0 is one processor all the time.
struct sCoreShares {
  double dServer = 0;
  double dTerminal = 0;
  double dTerminalMain = 0;  // the terminal's main thread, part of dTerminal
  // Context switches of the main thread a second: it waited (a lock, the kernel, an empty
  // queue), or it was preempted.
  double dMainWaitsPerSecond = 0;
  double dMainPreemptionsPerSecond = 0;
  double dMachine = 0;
  double dOthers = 0;  // the machine's busy time less the two processes, at least 0
};

class CCpuSampler {
 public:
  // The main thread's id is the process id.
  CCpuSampler(pid_t nServer, pid_t nTerminal)
      : m_strServerPath("/proc/" + std::to_string(nServer) + "/stat"),
        m_strTerminalPath("/proc/" + std::to_string(nTerminal) + "/stat"),
        m_strMainPath("/proc/" + std::to_string(nTerminal) + "/task/" + std::to_string(nTerminal)) {
    m_thread = std::thread([this] {
      while (!m_bStop) {
        Sample();
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
      }
      Sample();
    });
  }
  ~CCpuSampler() { Stop(); }
  CCpuSampler(const CCpuSampler&) = delete;
  CCpuSampler& operator=(const CCpuSampler&) = delete;

  void Stop() {
    m_bStop = true;
    if (m_thread.joinable()) m_thread.join();
  }

  // Between the samples nearest to the two moments (monotonic nanoseconds); nullopt when the
  // stretch holds fewer than two samples.
  std::optional<sCoreShares> GetShares(int64_t nFromNs, int64_t nToNs) const {
    const std::lock_guard lock(m_mutex);
    const sSample* pFirst = nullptr;
    const sSample* pLast = nullptr;
    for (const sSample& sample : m_arrSamples) {
      if (sample.nAtNs >= nFromNs && pFirst == nullptr) pFirst = &sample;
      if (sample.nAtNs <= nToNs) pLast = &sample;
    }
    if (pFirst == nullptr || pLast == nullptr || pLast->nAtNs <= pFirst->nAtNs) return std::nullopt;
    const double dTicks =
        static_cast<double>(pLast->nAtNs - pFirst->nAtNs) / 1e9 * static_cast<double>(sysconf(_SC_CLK_TCK));
    sCoreShares shares;
    shares.dServer = static_cast<double>(pLast->nServerTicks - pFirst->nServerTicks) / dTicks;
    shares.dTerminal = static_cast<double>(pLast->nTerminalTicks - pFirst->nTerminalTicks) / dTicks;
    shares.dTerminalMain = static_cast<double>(pLast->nMainTicks - pFirst->nMainTicks) / dTicks;
    const double dSeconds = static_cast<double>(pLast->nAtNs - pFirst->nAtNs) / 1e9;
    shares.dMainWaitsPerSecond = static_cast<double>(pLast->nMainWaits - pFirst->nMainWaits) / dSeconds;
    shares.dMainPreemptionsPerSecond =
        static_cast<double>(pLast->nMainPreemptions - pFirst->nMainPreemptions) / dSeconds;
    shares.dMachine = static_cast<double>(pLast->nMachineTicks - pFirst->nMachineTicks) / dTicks;
    // The counters are read one after the other, so a few ticks may fall on either side.
    shares.dOthers = std::max(0.0, shares.dMachine - shares.dServer - shares.dTerminal);
    return shares;
  }

 private:
  struct sSample {
    int64_t nAtNs = 0;
    uint64_t nServerTicks = 0;
    uint64_t nTerminalTicks = 0;
    uint64_t nMainTicks = 0;
    uint64_t nMainWaits = 0;
    uint64_t nMainPreemptions = 0;
    uint64_t nMachineTicks = 0;
  };

  void Sample() {
    sSample sample;
    sample.nAtNs = GetMonotonicNs();
    sample.nMachineTicks = ReadMachineBusyTicks();
    const std::lock_guard lock(m_mutex);
    // A process that is gone keeps the time it had.
    const sSample previous = m_arrSamples.empty() ? sSample{} : m_arrSamples.back();
    sample.nServerTicks = ReadProcessTicks(m_strServerPath).value_or(previous.nServerTicks);
    sample.nTerminalTicks = ReadProcessTicks(m_strTerminalPath).value_or(previous.nTerminalTicks);
    sample.nMainTicks = ReadProcessTicks(m_strMainPath + "/stat").value_or(previous.nMainTicks);
    std::tie(sample.nMainWaits, sample.nMainPreemptions) = ReadContextSwitches(m_strMainPath + "/status");
    if (sample.nMainWaits == 0) {
      sample.nMainWaits = previous.nMainWaits;
      sample.nMainPreemptions = previous.nMainPreemptions;
    }
    m_arrSamples.push_back(sample);
  }

  std::string m_strServerPath;
  std::string m_strTerminalPath;
  std::string m_strMainPath;  // the folder of the terminal's main thread
  std::atomic<bool> m_bStop{false};
  mutable std::mutex m_mutex;
  std::vector<sSample> m_arrSamples;
  std::thread m_thread;
};

}  // namespace benchcpu
