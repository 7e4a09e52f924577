#include <fstream>

#include "plugin/SettingsAccess.h"
#include "tests/support/SettingsFixture.h"

namespace {

constexpr const char* kFile = "OrvaneSetting.ini";

using SettingsAccessTest = CSettingsFixture;
using AccessFn = bool (*)(int, const std::string&, const std::string&, std::string&, const std::string&);

// A profile read reports a missing value as "Settings not found", a key read as empty; an
// empty value or one that reads as the missing text is not a value, and leaves or sets those.
TEST_F(SettingsAccessTest, ReadOutcomesAndCuts) {
  std::string strKept = "kept";
  EXPECT_FALSE(AccessProfileSetting(kSettingRead, "CONFIG", "CALC", strKept, kFile));
  EXPECT_EQ(strKept, "kept") << "no file yet";
  EXPECT_FALSE(std::filesystem::exists(m_dir / kFile)) << "a read makes no file";
  WriteFile(kFile,
            "[Orvane_watch1]\r\nCOLUMNPROFILE = 1#2#3 \r\nEMPTY=\r\nPROFILE=Settings not found\r\n"
            "KEY=Key not found\r\nLONG=" + std::string(5000, 'x') + "\r\n");
  const std::tuple<AccessFn, const char*, bool, const char*> arrCases[] = {
      // accessor, key, read, value after
      {AccessProfileSetting, "COLUMNPROFILE", true, "1#2#3"},
      {AccessProfileSetting, "EMPTY", false, "untouched"},
      {AccessProfileSetting, "MISSING", false, "Settings not found"},
      {AccessProfileSetting, "PROFILE", false, "Settings not found"},
      {AccessKeySetting, "columnprofile", true, "1#2#3"},
      {AccessKeySetting, "EMPTY", false, "untouched"},
      {AccessKeySetting, "MISSING", false, ""},
      {AccessKeySetting, "KEY", false, ""},
  };
  for (const auto& [pfnAccess, szKey, bExpected, szValueAfter] : arrCases) {
    std::string strValue = "untouched";
    EXPECT_EQ(pfnAccess(kSettingRead, "ORVANE_WATCH1", szKey, strValue, kFile), bExpected) << szKey;
    EXPECT_EQ(strValue, szValueAfter) << szKey;
  }
  std::string strValue = "untouched";
  EXPECT_FALSE(AccessKeySetting(0, "Orvane_watch1", "COLUMNPROFILE", strValue, kFile) ||
               AccessKeySetting(3, "Orvane_watch1", "COLUMNPROFILE", strValue, kFile));
  EXPECT_EQ(strValue, "untouched");
  // Reads are cut to their buffers.
  std::string strProfile, strKey;
  EXPECT_TRUE(AccessProfileSetting(kSettingRead, "Orvane_watch1", "LONG", strProfile, kFile) &&
              AccessKeySetting(kSettingRead, "Orvane_watch1", "LONG", strKey, kFile));
  EXPECT_EQ(std::pair(strProfile.size(), strKey.size()), std::pair(size_t{4095}, size_t{4094}));
}

TEST_F(SettingsAccessTest, WritesReplaceInPlaceAndKeepOtherLines) {
  WriteFile(kFile,
            "; kept comment\n[CONFIG]\nCALC=\"A\"\nodd line without "
            "equals\n[Orvane_watch1]\nTITLE=Old\nCOLUMNPROFILE=1#2\n");
  std::string strTitle = "New title";
  EXPECT_TRUE(AccessKeySetting(kSettingWrite, "orvane_watch1", "title", strTitle, kFile));
  std::string strProfile = "5#6";
  EXPECT_TRUE(AccessProfileSetting(kSettingWrite, "Orvane_watch2", "COLUMNPROFILE", strProfile, kFile));
  EXPECT_EQ(
      ReadFile(kFile),
      "; kept comment\n[CONFIG]\nCALC=\"A\"\nodd line without equals\n[Orvane_watch1]\nTITLE=New title\n"
      "COLUMNPROFILE=1#2\n[Orvane_watch2]\nCOLUMNPROFILE=5#6\n");
}

TEST_F(SettingsAccessTest, ValuesWithANulAreKeptWhole) {
  using namespace std::string_literals;
  const std::string strOthers = "; kept\n[CONFIG]\nMAIL_CC=a@b.c\n"s;
  const std::string strStored = "[s]\nTITLE=Desk\0North\n"s;
  for (const AccessFn pfnAccess : {AccessProfileSetting, AccessKeySetting}) {
    SCOPED_TRACE(pfnAccess == AccessKeySetting ? "key" : "profile");
    WriteFile(kFile, strOthers + strStored);
    // A value read with a NUL inside and written back stays as it was.
    std::string strValue;
    ASSERT_TRUE(pfnAccess(kSettingRead, "s", "TITLE", strValue, kFile));
    EXPECT_EQ(strValue, "Desk\0North"s);
    EXPECT_TRUE(pfnAccess(kSettingWrite, "s", "TITLE", strValue, kFile));
    EXPECT_EQ(ReadFile(kFile), strOthers + strStored);

    std::string strWritten = "mid\0dle\0"s;
    EXPECT_TRUE(pfnAccess(kSettingWrite, "s", "OTHER", strWritten, kFile));
    EXPECT_TRUE(pfnAccess(kSettingRead, "s", "OTHER", strValue, kFile));
    EXPECT_EQ(strValue, strWritten);
    // Cut at their NUL the names would name another setting: the write is refused.
    std::string strOverwrite = "lost";
    EXPECT_FALSE(pfnAccess(kSettingWrite, "s", "TITLE\0X"s, strOverwrite, kFile) ||
                 pfnAccess(kSettingWrite, "s\0X"s, "TITLE", strOverwrite, kFile));
    EXPECT_EQ(ReadFile(kFile), strOthers + strStored + "OTHER=mid\0dle\0\n"s);
  }
}

TEST_F(SettingsAccessTest, FailedWritesDifferInWhatTheyTell) {
  g_pluginContext.settingsDir = (m_dir / "no" / "such" / "dir").string();
  std::string strValue = "x";
  EXPECT_FALSE(AccessKeySetting(kSettingWrite, "s", "k", strValue, kFile) ||
               AccessProfileSetting(kSettingWrite, "s", "k", strValue, kFile));
  EXPECT_STREQ(WriteProfileSetting("s", "k", strValue, kFile).szFailure, "File Open Failed");
}

TEST_F(SettingsAccessTest, PathFollowsTheSettingsDirectoryAtOnce) {
  WriteFile(kFile, "[s]\nk=first\n");
  std::filesystem::create_directories(m_dir / "other");
  std::ofstream(m_dir / "other" / kFile) << "[s]\nk=second\n";
  std::string strValue;
  EXPECT_TRUE(AccessKeySetting(kSettingRead, "s", "k", strValue, kFile));
  EXPECT_EQ(strValue, "first");
  // The directory is joined with a backslash, as every stored path is composed.
  g_pluginContext.settingsDir = m_dir.string() + "\\other";
  EXPECT_EQ(ComposeSettingsPath(kFile), m_dir.string() + "\\other\\" + kFile);
  EXPECT_TRUE(AccessKeySetting(kSettingRead, "s", "k", strValue, kFile));
  EXPECT_EQ(strValue, "second");
}

}  // namespace
