#include "platform/Clock.h"

#include <locale.h>

#include <chrono>
#include <vector>

namespace {

// 1970-01-01 in 100-nanosecond units since 1601-01-01.
constexpr uint64_t g_nFileTimeOf1970 = 116444736000000000ULL;

std::optional<int64_t>& GetFixedMicroseconds() {
  static std::optional<int64_t> s_nFixed;
  return s_nFixed;
}

// Whole seconds (rounded down, also before 1970) and the milliseconds past them.
void SplitMicroseconds(int64_t nMicroseconds, time_t& nSeconds, int& nMilliseconds) {
  int64_t nWhole = nMicroseconds / 1000000;
  int64_t nRest = nMicroseconds % 1000000;
  if (nRest < 0) {
    --nWhole;
    nRest += 1000000;
  }
  nSeconds = static_cast<time_t>(nWhole);
  nMilliseconds = static_cast<int>(nRest / 1000);
}

sSystemTime ToSystemTime(const std::tm& tm, int nMilliseconds) {
  sSystemTime time{};
  time.nYear = tm.tm_year + 1900;
  time.nMonth = tm.tm_mon + 1;
  time.nDayOfWeek = tm.tm_wday;
  time.nDay = tm.tm_mday;
  time.nHour = tm.tm_hour;
  time.nMinute = tm.tm_min;
  time.nSecond = tm.tm_sec;
  time.nMilliseconds = nMilliseconds;
  return time;
}

// The "C" locale, whatever the process locale: the time texts carry English month and day
// names and AM/PM, as the server and the people reading them expect. Qt sets the process
// locale from LANG and LC_*, under which AM/PM would be left out (de_DE) or both written in
// another script (hi_IN).
locale_t GetClassicLocale() {
  static const locale_t s_locale = newlocale(LC_ALL_MASK, "C", locale_t{});
  return s_locale;
}

// localtime_r need not look at TZ again once it has read it; tzset makes a changed TZ count.
bool ToLocalTime(time_t nSeconds, std::tm& tm) {
  tzset();
  return localtime_r(&nSeconds, &tm) != nullptr;
}

}  // namespace

int64_t GetClockMicroseconds() {
  if (GetFixedMicroseconds()) return *GetFixedMicroseconds();
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  return std::chrono::duration_cast<std::chrono::microseconds>(now).count();
}

sSystemTime GetSystemTimeUtc() {
  time_t nSeconds = 0;
  int nMilliseconds = 0;
  SplitMicroseconds(GetClockMicroseconds(), nSeconds, nMilliseconds);
  std::tm tm{};
  gmtime_r(&nSeconds, &tm);
  return ToSystemTime(tm, nMilliseconds);
}

sSystemTime GetLocalTimeNow() {
  time_t nSeconds = 0;
  int nMilliseconds = 0;
  SplitMicroseconds(GetClockMicroseconds(), nSeconds, nMilliseconds);
  std::tm tm{};
  ToLocalTime(nSeconds, tm);
  return ToSystemTime(tm, nMilliseconds);
}

uint64_t GetSystemTimeAsFileTime() {
  return static_cast<uint64_t>(GetClockMicroseconds()) * 10 + g_nFileTimeOf1970;
}

long GetTimeZoneOffsetWest() {
  tzset();
  return timezone;
}

std::string FormatLocalTime(time_t t, const char* szFormat) {
  std::tm tm{};
  if (szFormat == nullptr || !ToLocalTime(t, tm)) return std::string();
  return FormatTimeParts(tm, szFormat);
}

std::string FormatTimeParts(const std::tm& tm, const char* szFormat) {
  if (szFormat == nullptr || *szFormat == '\0') return std::string();
  // strftime gives 0 both for a result that does not fit and for an empty one; grow the
  // buffer a few times before calling it empty.
  std::vector<char> arrBuffer(256);
  for (int nAttempt = 0; nAttempt < 4; ++nAttempt) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    const size_t nLength = strftime_l(arrBuffer.data(), arrBuffer.size(), szFormat, &tm, GetClassicLocale());
#pragma GCC diagnostic pop
    if (nLength > 0) return std::string(arrBuffer.data(), nLength);
    arrBuffer.resize(arrBuffer.size() * 4);
  }
  return std::string();
}

void SetFixedClock(std::optional<int64_t> nMicroseconds) { GetFixedMicroseconds() = nMicroseconds; }
