// Durations collected during a measurement, and their percentiles.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

class CDurationSamples {
 public:
  void Add(int64_t nNanoseconds) { m_arrSamples.push_back(nNanoseconds); }
  void Clear() { m_arrSamples.clear(); }
  size_t GetCount() const { return m_arrSamples.size(); }

  // The nearest-rank percentile (0 < dPercent <= 100): the smallest sample that at least
  // dPercent per cent of the samples do not exceed. 0 without samples.
  int64_t GetPercentile(double dPercent) const {
    if (m_arrSamples.empty()) return 0;
    std::vector<int64_t> arrSorted = m_arrSamples;
    const double dRank = std::ceil(dPercent / 100.0 * static_cast<double>(arrSorted.size()));
    const size_t nIndex =
        std::clamp<size_t>(static_cast<size_t>(std::max(dRank, 1.0)) - 1, 0, arrSorted.size() - 1);
    std::nth_element(arrSorted.begin(), arrSorted.begin() + static_cast<std::ptrdiff_t>(nIndex),
                     arrSorted.end());
    return arrSorted[nIndex];
  }

 private:
  std::vector<int64_t> m_arrSamples;
};
