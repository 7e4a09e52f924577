#include <gtest/gtest.h>

#include "SettingsFixture.h"
#include "platform/PlatformPath.h"
#include "plugin/SettingsAccess.h"
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

TEST_F(WatchTitlesTest, OddTitlesKeepTheFileReadable) {
  WriteFile("OrvaneSetting.ini", "[Orvane_watch1]\nCOLUMNPROFILE=1#2\n[CONFIG]\nDIALOG COUNT=2\n");
  const std::string strLong(500, 'x');
  struct sCase {
    std::string strTitle;
    std::string strReadBack;
  };
  const sCase arrCases[] = {
      {"[Desk] = A", "[Desk] = A"},
      {"two\nlines\r\n", "two lines"},
      {strLong, strLong},
      {"", "Orvane Watch 1"},
  };
  for (const sCase& c : arrCases) {
    EXPECT_TRUE(WriteWatchTitle(GetWatchSectionName(1), c.strTitle));
    EXPECT_EQ(ReadWatchTitle(1), c.strReadBack);
    std::string strValue;
    EXPECT_TRUE(AccessKeySetting(kSettingRead, "CONFIG", "DIALOG COUNT", strValue, kSettingsFileName));
    EXPECT_EQ(strValue, "2");
    EXPECT_TRUE(
        AccessKeySetting(kSettingRead, "Orvane_watch1", "COLUMNPROFILE", strValue, kSettingsFileName));
    EXPECT_EQ(strValue, "1#2");
  }
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
