#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/MessageBox.h"
#include "platform/PlatformPath.h"
#include "platform/ShellOpen.h"
#include "tests/support/ScratchFolder.h"

TEST(PlatformPath, MapsBackslashesAndTheDriveRootAndMakesFilesUnderIt) {
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

  CScratchFolder folder;
  SetPlatformDriveRoot(folder.GetPath());
  EXPECT_TRUE(PlatformCreateDirectory("\\Orvane"));
  EXPECT_FALSE(PlatformCreateDirectory("\\Orvane")) << "already exists";
  EXPECT_FALSE(PlatformCreateDirectory("\\missing\\Orvane")) << "parent missing";
  FILE* pFile = PlatformOpenFile("\\Orvane\\f.ini", "a+");
  ASSERT_NE(pFile, nullptr);
  std::fclose(pFile);
  SetPlatformDriveRoot("");
  EXPECT_TRUE(std::filesystem::is_regular_file(folder.GetPath("Orvane/f.ini")));
}

// A box goes to the sink, else to the presenter; a sink may remove itself while it runs; during a
// shutdown each text shows once.
TEST(MessageBoxRouting, SinkThenPresenterAndEachTextOnceAtShutdown) {
  std::vector<std::string> arrSink, arrPresenter;
  SetMessageBoxPresenter([&](const std::string& strText) { arrPresenter.push_back(strText); });
  SetMessageBoxSink([&](const std::string& strText) {
    arrSink.push_back(strText);
    SetMessageBoxSink({});
  });
  ShowMessageBox("File Open Failed");
  ShowMessageBox("second");
  SetMessageBoxPresenter({});
  EXPECT_EQ(std::pair(arrSink, arrPresenter), std::pair(std::vector<std::string>{"File Open Failed"},
                                                        std::vector<std::string>{"second"}));

  std::vector<std::string> arrShown;
  SetMessageBoxSink([&](const std::string& strText) {
    arrShown.push_back(strText);
    // The third box raises its text again while it is open: a repeat as well.
    if (arrShown.size() == 3) ShowMessageBox(strText);
  });
  ShowMessageBox("Key not found");
  ShowMessageBox("Key not found");
  BeginMessageBoxShutdown();
  for (const char* szText : {"File Open Failed", "Key not found", "File Open Failed", "Key not found"})
    ShowMessageBox(szText);
  BeginMessageBoxShutdown();
  ShowMessageBox("File Open Failed");
  EndMessageBoxShutdown();
  ShowMessageBox("File Open Failed");
  SetMessageBoxSink({});
  EXPECT_EQ(arrShown, (std::vector<std::string>{"Key not found", "Key not found", "File Open Failed",
                                                "Key not found", "File Open Failed"}));
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
