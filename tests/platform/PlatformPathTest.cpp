#include "platform/PlatformPath.h"

#include <gtest/gtest.h>

#include <string>

// Files made under the drive root are seen in the watch-title and plug-in start-up tests.
TEST(PlatformPath, MapsBackslashesAndTheDriveRoot) {
  struct sPathCase { const char* szRoot; const char* szPath; const char* szExpected; };
  const sPathCase arrCases[] = {{"", "dir\\file.ini", "dir/file.ini"},
      {"", "/home/u\\Orvane\\OrvaneSetting.ini", "/home/u/Orvane/OrvaneSetting.ini"},
      {"/tmp/x", "\\a.ini", "/tmp/x/a.ini"}, {"/tmp/x/", "\\a.ini", "/tmp/x/a.ini"},
      {"/tmp/x", "/home/u\\a.ini", "/home/u/a.ini"}};
  for (const sPathCase& row : arrCases) {
    SCOPED_TRACE(std::string(row.szRoot) + " + " + row.szPath);
    SetPlatformDriveRoot(row.szRoot);
    EXPECT_EQ(MapPlatformPath(row.szPath), row.szExpected);
  }
  SetPlatformDriveRoot("");
}
