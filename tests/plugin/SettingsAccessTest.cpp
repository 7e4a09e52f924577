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

}  // namespace
