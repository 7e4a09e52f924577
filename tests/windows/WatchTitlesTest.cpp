#include <gtest/gtest.h>

#include "tests/support/SettingsFixture.h"
#include "platform/PlatformPath.h"
#include "plugin/SettingsAccess.h"
#include "windows/WatchTitles.h"

namespace {

using WatchTitlesTest = CSettingsFixture;

TEST_F(WatchTitlesTest, StoredTitlesAndDefaults) {
  WriteFile("OrvaneSetting.ini",
            "[orvane_watch1]\ntitle=Desk A\n[Orvane_watch3]\nTITLE=Desk C\n[Orvane_watch4]\nTITLE=\n");
  const std::string arrTitles[] = {"Desk A", "Orvane Watch 2", "Desk C", "Orvane Watch 4"};
  for (int n = 1; n <= 4; ++n) EXPECT_EQ(ReadWatchTitle(n), arrTitles[n - 1]) << n;
}

TEST_F(WatchTitlesTest, WrittenTitlesReadBackAndKeepTheFileReadable) {
  WriteFile("OrvaneSetting.ini", "[Orvane_watch1]\nCOLUMNPROFILE=1#2\nTITLE=Old\n[CONFIG]\nDIALOG COUNT=2\n");
  const std::string strLong(500, 'x');
  const std::pair<std::string, std::string> arrCases[] = {
      {"[Desk] = A", "[Desk] = A"},
      {"two\nlines\r\n", "two lines"},
      {strLong, strLong},
      {"", "Orvane Watch 1"},
  };
  for (const auto& [strTitle, strReadBack] : arrCases) {
    EXPECT_TRUE(WriteWatchTitle(GetWatchSectionName(1), strTitle));
    EXPECT_EQ(ReadWatchTitle(1), strReadBack);
  }
  EXPECT_TRUE(WriteWatchTitle(GetWatchSectionName(1), "Night desk"));
  EXPECT_EQ(ReadFile("OrvaneSetting.ini"),
            "[Orvane_watch1]\nCOLUMNPROFILE=1#2\nTITLE=Night desk\n[CONFIG]\nDIALOG COUNT=2\n");
}

TEST_F(WatchTitlesTest, WithoutSettingsDirectoryEveryWindowHasItsDefault) {
  // Paths then start at the drive root; move it into the scratch folder.
  std::filesystem::create_directories(m_dir / "root");
  SetPlatformDriveRoot((m_dir / "root").string());
  g_pluginContext.settingsDir.clear();
  for (int n = 1; n <= kWatchWindowCount; ++n) EXPECT_EQ(ReadWatchTitle(n), GetDefaultWatchTitle(n));
  EXPECT_TRUE(WriteWatchTitle(GetWatchSectionName(2), "Rooted"));
  EXPECT_TRUE(std::filesystem::exists(m_dir / "root" / "OrvaneSetting.ini"));
  EXPECT_EQ(ReadWatchTitle(2), "Rooted");
  SetPlatformDriveRoot("");
}

}  // namespace
