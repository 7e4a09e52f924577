// The feed's phases: each runs at its own rate for its own time, one after the other from the
// moment the feed starts (its first subscriber); after the last one the feed ends. Phases are
// timed by the clock, not by messages: a phase whose subscribers cannot keep up sends fewer
// messages and still ends on time, so a benchmark knows when each rate was offered.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

struct sFeedPhase {
  double dRate = 0;  // feed messages a second; 0 as fast as the subscribers take them
  double dSeconds = 0;
};

// "RATE:SECONDS[,RATE:SECONDS...]"; nullopt when the list is empty, a phase lacks its colon, a
// rate is negative or a time is not above 0 (or either is not a finite number).
std::optional<std::vector<sFeedPhase>> ParseFeedSchedule(std::string_view strText);

class CFeedSchedule {
 public:
  using Clock = std::chrono::steady_clock;

  explicit CFeedSchedule(std::vector<sFeedPhase> arrPhases) : m_arrPhases(std::move(arrPhases)) {}

  bool IsStarted() const { return m_bStarted; }
  // Past the last phase.
  bool IsFinished() const { return m_nPhase >= m_arrPhases.size(); }
  // The rate of the phase under way.
  double GetRate() const { return IsFinished() ? 0.0 : m_arrPhases[m_nPhase].dRate; }
  Clock::time_point GetPhaseEnd() const { return m_phaseEnd; }

  // Starts the first phase at now; nSentNs is the send clock at that moment and nFeedMessages
  // the feed messages sent so far.
  void Start(Clock::time_point now, int64_t nSentNs, uint64_t nFeedMessages);
  // Ends every phase whose time is up by now and prints a line for each on standard output:
  // "rms-sim: phase N: RATE msg/s for S s from START ns, COUNT feed messages". True when a
  // phase ended (the feed restarts its rate clock, or stops when IsFinished).
  bool Advance(Clock::time_point now, int64_t nSentNs, uint64_t nFeedMessages);

 private:
  std::vector<sFeedPhase> m_arrPhases;
  bool m_bStarted = false;
  size_t m_nPhase = 0;
  Clock::time_point m_phaseEnd;
  int64_t m_nPhaseStartNs = 0;
  uint64_t m_nPhaseStartCount = 0;
};
