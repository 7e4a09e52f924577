#include "rmssim/FeedSchedule.h"

#include <charconv>
#include <cinttypes>
#include <cmath>
#include <cstdio>

namespace {

bool ParseFinite(std::string_view strText, double& dValue) {
  const auto [pEnd, error] = std::from_chars(strText.data(), strText.data() + strText.size(), dValue);
  return !strText.empty() && error == std::errc() && pEnd == strText.data() + strText.size() &&
         std::isfinite(dValue);
}

}  // namespace

std::optional<std::vector<sFeedPhase>> ParseFeedSchedule(std::string_view strText) {
  std::vector<sFeedPhase> arrPhases;
  for (size_t nStart = 0; nStart <= strText.size();) {
    size_t nEnd = strText.find(',', nStart);
    if (nEnd == std::string_view::npos) nEnd = strText.size();
    const std::string_view strPhase = strText.substr(nStart, nEnd - nStart);
    const size_t nColon = strPhase.find(':');
    sFeedPhase phase;
    if (nColon == std::string_view::npos || !ParseFinite(strPhase.substr(0, nColon), phase.dRate) ||
        !ParseFinite(strPhase.substr(nColon + 1), phase.dSeconds) || phase.dRate < 0 || phase.dSeconds <= 0)
      return std::nullopt;
    arrPhases.push_back(phase);
    nStart = nEnd + 1;
  }
  return arrPhases;
}

void CFeedSchedule::Start(Clock::time_point now, int64_t nSentNs, uint64_t nFeedMessages) {
  m_bStarted = true;
  m_nPhase = 0;
  m_nPhaseStartNs = nSentNs;
  m_nPhaseStartCount = nFeedMessages;
  if (!IsFinished())
    m_phaseEnd = now + std::chrono::duration_cast<Clock::duration>(
                           std::chrono::duration<double>(m_arrPhases[0].dSeconds));
}

bool CFeedSchedule::Advance(Clock::time_point now, int64_t nSentNs, uint64_t nFeedMessages) {
  bool bEnded = false;
  while (m_bStarted && !IsFinished() && now >= m_phaseEnd) {
    const sFeedPhase& phase = m_arrPhases[m_nPhase];
    std::printf("rms-sim: phase %zu: %.0f msg/s for %g s from %" PRId64 " ns, %" PRIu64 " feed messages\n",
                m_nPhase + 1, phase.dRate, phase.dSeconds, m_nPhaseStartNs,
                nFeedMessages - m_nPhaseStartCount);
    std::fflush(stdout);
    bEnded = true;
    // The next phase starts where this one was due to end, so late wake-ups do not add up.
    const Clock::time_point nextStart = m_phaseEnd;
    m_nPhaseStartNs = nSentNs - std::chrono::duration_cast<std::chrono::nanoseconds>(now - nextStart).count();
    m_nPhaseStartCount = nFeedMessages;
    if (++m_nPhase < m_arrPhases.size())
      m_phaseEnd = nextStart + std::chrono::duration_cast<Clock::duration>(
                                   std::chrono::duration<double>(m_arrPhases[m_nPhase].dSeconds));
  }
  return bEnded;
}
