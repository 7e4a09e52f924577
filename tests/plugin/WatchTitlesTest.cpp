#include <gtest/gtest.h>

#include "SettingsFixture.h"
#include "platform/PlatformPath.h"
#include "windows/WatchTitles.h"

namespace {

using WatchTitlesTest = CSettingsFixture;

TEST_F(WatchTitlesTest, StoredTitlesAndDefaults) {
  WriteFile("OrvaneSetting.ini",
            "[orvane_watch1]\ntitle=Desk A\n[Orvane_watch3]\nTITLE=Desk C\n[Orvane_watch4]\nTITLE=\n");
  EXPECT_EQ(ReadWatchTitle(1), "Desk A");
  EXPECT_EQ(ReadWatchTitle(2), "Orvane Watch 2");
  EXPECT_EQ(ReadWatchTitle(3), "Desk C");
  EXPECT_EQ(ReadWatchTitle(4), "Orvane Watch 4");
}

TEST_F(WatchTitlesTest, WrittenTitleReadsBackAndKeepsOtherLines) {
  WriteFile("OrvaneSetting.ini", "[Orvane_watch3]\nCOLUMNPROFILE=1#2\nTITLE=Old\n");
  EXPECT_TRUE(WriteWatchTitle(GetWatchSectionName(3), "Night desk"));
  EXPECT_EQ(ReadWatchTitle(3), "Night desk");
  EXPECT_EQ(ReadFile("OrvaneSetting.ini"), "[Orvane_watch3]\nCOLUMNPROFILE=1#2\nTITLE=Night desk\n");
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
  EXPECT_EQ(GetDefaultWatchTitle(2), "Orvane Watch 2");
  EXPECT_EQ(GetWatchSectionName(4), "Orvane_watch4");
}

}  // namespace
