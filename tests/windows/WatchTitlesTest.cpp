#include "platform/PlatformPath.h"
#include "tests/support/SettingsFixture.h"
#include "windows/WatchTitles.h"

namespace {

using WatchTitlesTest = CSettingsFixture;

TEST_F(WatchTitlesTest, WrittenTitlesReadBackAndKeepTheFileReadable) {
  WriteFile("OrvaneSetting.ini",
            "[orvane_watch1]\nCOLUMNPROFILE=1#2\ntitle=Old\n[CONFIG]\nDIALOG COUNT=2\n"
            "[Orvane_watch3]\nTITLE=Desk C\n[Orvane_watch4]\nTITLE=\n");
  const std::string arrStored[] = {"Old", "Orvane Watch 2", "Desk C", "Orvane Watch 4"};
  for (int n = 1; n <= 4; ++n) EXPECT_EQ(ReadWatchTitle(n), arrStored[n - 1]) << n;
  const std::string strLong(500, 'x');
  const std::pair<std::string, std::string> arrCases[] = {{"[Desk] = A", "[Desk] = A"},
                                                          {"two\nlines\r\n", "two lines"},
                                                          {strLong, strLong},
                                                          {"", "Orvane Watch 1"}};
  for (const auto& [strTitle, strReadBack] : arrCases) {
    EXPECT_TRUE(WriteWatchTitle(GetWatchSectionName(1), strTitle));
    EXPECT_EQ(ReadWatchTitle(1), strReadBack);
  }
  EXPECT_TRUE(WriteWatchTitle(GetWatchSectionName(1), "Night desk"));
  EXPECT_EQ(ReadFile("OrvaneSetting.ini"),
            "[orvane_watch1]\nCOLUMNPROFILE=1#2\ntitle=Night desk\n[CONFIG]\n"
            "DIALOG COUNT=2\n[Orvane_watch3]\nTITLE=Desk C\n[Orvane_watch4]\nTITLE=\n");
}

TEST_F(WatchTitlesTest, WithoutSettingsDirectoryTitlesGoToTheDriveRoot) {
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
