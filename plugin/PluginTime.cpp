#include "plugin/PluginTime.h"

#include "platform/Clock.h"

namespace {
// 100-nanosecond ticks from 1601-01-01 to 1970-01-01.
constexpr uint64_t kFileTimeUnixEpoch = 116444736000000000ULL;
}  // namespace

sHalvoTimeVal GetPluginTimeOfDay() {
  // One reading serves both fields, so they never straddle a second.
  const uint64_t nFileTime = GetSystemTimeAsFileTime();
  sHalvoTimeVal time;
  time.tv_sec = static_cast<int32_t>((nFileTime - kFileTimeUnixEpoch) / 10000000ULL);
  time.tv_usec = static_cast<int32_t>((nFileTime / 10000ULL) % 1000ULL) * 1000;
  return time;
}
