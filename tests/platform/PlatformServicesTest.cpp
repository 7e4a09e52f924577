#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "platform/PlatformPath.h"
#include "platform/ShellOpen.h"
#include "tests/support/ScratchFolder.h"

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

// ShellOpen starts xdg-open from the PATH with the text unchanged and leaves no child; a
// stand-in hands its argument back through a FIFO.
TEST(ShellOpenTest, StartsXdgOpenWithTheTextAndLeavesNoChild) {
  CScratchFolder folder;
  const std::string strSavedPath = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
  setenv("PATH", folder.GetPath().c_str(), 1);
  EXPECT_FALSE(ShellOpen("https://example.org")) << "no xdg-open";
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);

  ASSERT_EQ(mkfifo(folder.GetPath("fifo").c_str(), 0600), 0);
  folder.WriteFile("xdg-open", "#!/bin/sh\nprintf '%s' \"$1\" > '" + folder.GetPath("fifo") + "'\n");
  chmod(folder.GetPath("xdg-open").c_str(), 0755);
  const std::string strText = "mailto:a@b.c?subject=Obligation Call & more";
  EXPECT_TRUE(ShellOpen(strText));
  EXPECT_EQ(folder.ReadFile("fifo"), strText);
  // The middle process was reaped and xdg-open is not this process's child.
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
  setenv("PATH", strSavedPath.c_str(), 1);
}
