#include <vector>
#include <clocale>
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <string>

#include "platform/Clock.h"

namespace {

// 2023-11-14 22:13:20.250 UTC, a Tuesday.
constexpr int64_t g_nFixedMicroseconds = 1700000000250000;

// Fixes the clock and the zone for one test and restores both.
class ClockTest : public ::testing::Test {
 protected:
  void TearDown() override {
    SetFixedClock(std::nullopt);
    m_bHadTz ? setenv("TZ", m_strSavedTz.c_str(), 1) : unsetenv("TZ");
    tzset();
  }

  const bool m_bHadTz = std::getenv("TZ") != nullptr;
  const std::string m_strSavedTz = m_bHadTz ? std::getenv("TZ") : "";
};

void ExpectTime(const sSystemTime& t, std::array<int, 8> arrExpected) {
  EXPECT_EQ((std::array<int, 8>{t.nYear, t.nMonth, t.nDay, t.nDayOfWeek, t.nHour, t.nMinute, t.nSecond, t.nMilliseconds}),
      arrExpected);
}

#ifdef ORVANE_TEST_LOCPATH
// The call-status and e-mail times come out in English with AM/PM whatever the process locale
// (Qt sets it from LANG and LC_*): German gives no AM/PM, Hindi its own texts for both.
TEST_F(ClockTest, TimeTextsIgnoreTheProcessLocale) {
  setenv("LOCPATH", ORVANE_TEST_LOCPATH, 1);
  setenv("TZ", "UTC0", 1);
  int nLocales = 0;
  for (const char* szLocale : {"de_DE.UTF-8", "hi_IN.UTF-8"}) {
    SCOPED_TRACE(szLocale);
    if (std::setlocale(LC_ALL, szLocale) == nullptr) continue;
    ++nLocales;
    const std::vector<std::string> arrTexts = {FormatLocalTime(1700000000, "%d/%m/%Y %I:%M:%S %p"),
                                               FormatLocalTime(1700000000, "%I:%M %p %b %d,%Y"),
                                               FormatLocalTime(1700000000, "%a %A %B")};
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(arrTexts,
              (std::vector<std::string>{"14/11/2023 10:13:20 PM", "10:13 PM Nov 14,2023", "Tue Tuesday November"}));
  }
  unsetenv("LOCPATH");
  if (nLocales == 0) GTEST_SKIP() << "neither de_DE nor hi_IN could be made with localedef";
}
#endif

}  // namespace

TEST_F(ClockTest, LocalTimeFollowsTheZone) {
  SetFixedClock(g_nFixedMicroseconds);
  setenv("TZ", "IST-5:30", 1);
  ExpectTime(GetLocalTimeNow(), {2023, 11, 15, 3, 3, 43, 20, 250});
  EXPECT_EQ(std::pair(GetTimeZoneOffsetWest(), FormatLocalTime(1700000000, "%Y-%m-%d %H:%M:%S")),
            std::pair(-19800L, std::string("2023-11-15 03:43:20")));
}

