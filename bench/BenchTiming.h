// Timing for benchmarks that measure a pass against its baseline in the same run: thread CPU
// time, so other programs' turns on a shared machine do not count, and medians of samples.
#pragma once

#include <time.h>

#include <algorithm>
#include <vector>

namespace benchtiming {

inline double GetThreadSeconds() {
  timespec time{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &time);
  return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_nsec) * 1e-9;
}

template <class TWork>
double TimeWork(TWork work) {
  const double dStart = GetThreadSeconds();
  work();
  return GetThreadSeconds() - dStart;
}

inline double GetMedian(std::vector<double> arrSamples) {
  if (arrSamples.empty()) return 0.0;
  std::sort(arrSamples.begin(), arrSamples.end());
  return arrSamples[arrSamples.size() / 2];
}

}  // namespace benchtiming
