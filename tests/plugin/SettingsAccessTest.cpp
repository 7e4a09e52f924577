#include "plugin/SettingsAccess.h"
#include "tests/support/SettingsFixture.h"

namespace {

constexpr const char* kFile = "OrvaneSetting.ini";

using SettingsAccessTest = CSettingsFixture;
using AccessFn = bool (*)(int, const std::string&, const std::string&, std::string&, const std::string&);

// A profile read reports a missing value as "Settings not found", a key read as empty; an
// empty value or one that reads as the missing text is not a value, and leaves or sets those.
TEST_F(SettingsAccessTest, ReadOutcomesAndCuts) {
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
  // Reads are cut to their buffers.
  std::string strProfile, strKey;
  EXPECT_TRUE(AccessProfileSetting(kSettingRead, "Orvane_watch1", "LONG", strProfile, kFile) &&
              AccessKeySetting(kSettingRead, "Orvane_watch1", "LONG", strKey, kFile));
  EXPECT_EQ(std::pair(strProfile.size(), strKey.size()), std::pair(size_t{4095}, size_t{4094}));
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

}  // namespace
