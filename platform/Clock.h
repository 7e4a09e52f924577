// The one clock of the process: every reading of the current time goes through it, so tests
// can fix it.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

#include "platform/PlatformApi.h"

// A broken-down time with milliseconds, as the system-time calls give it.
struct sSystemTime {
  int nYear;
  int nMonth;      // 1 to 12
  int nDayOfWeek;  // 0 Sunday to 6 Saturday
  int nDay;        // 1 to 31
  int nHour;
  int nMinute;
  int nSecond;
  int nMilliseconds;
};

// Microseconds since 1970-01-01 00:00:00 UTC.
PLATFORM_API int64_t GetClockMicroseconds();
// The current time in UTC.
PLATFORM_API sSystemTime GetSystemTimeUtc();
// The current time in the machine's zone.
PLATFORM_API sSystemTime GetLocalTimeNow();
// The current UTC time in 100-nanosecond units since 1601-01-01.
PLATFORM_API uint64_t GetSystemTimeAsFileTime();
// Seconds west of UTC of the machine's zone (standard time), as the C library's timezone.
PLATFORM_API long GetTimeZoneOffsetWest();
// strftime of the local time for t in the "C" locale (English names, AM/PM) whatever the
// process locale; an empty text when t cannot be converted.
PLATFORM_API std::string FormatLocalTime(time_t t, const char* szFormat);
// The same for a broken-down time.
PLATFORM_API std::string FormatTimeParts(const std::tm& tm, const char* szFormat);

// Fixes the clock at the given microseconds since 1970 (UTC); nullopt lets it run again.
PLATFORM_API void SetFixedClock(std::optional<int64_t> nMicroseconds);
