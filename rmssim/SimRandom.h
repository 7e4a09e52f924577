// The server's random numbers: one seeded generator, and draws computed here rather than by
// the standard distributions, so a seed gives the same feed with any standard library.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <numbers>
#include <random>

class CSimRandom {
 public:
  explicit CSimRandom(uint64_t nSeed) : m_engine(nSeed) {}

  // Uniform in [0, 1).
  double Unit() { return static_cast<double>(m_engine() >> 11) * 0x1.0p-53; }
  double Between(double dLow, double dHigh) { return dLow + (dHigh - dLow) * Unit(); }
  // Uniform index below nCount (nCount > 0).
  size_t Index(size_t nCount) { return static_cast<size_t>(m_engine() % nCount); }
  bool Chance(double dProbability) { return Unit() < dProbability; }
  // Standard normal (Box-Muller).
  double Gauss() {
    const double dRadius = std::sqrt(-2.0 * std::log(1.0 - Unit()));
    return dRadius * std::cos(2.0 * std::numbers::pi * Unit());
  }

 private:
  std::mt19937_64 m_engine;
};
