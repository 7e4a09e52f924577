#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/MessageBox.h"
#include "platform/PlatformPath.h"
#include "platform/ShellOpen.h"
#include "tests/support/ScratchFolder.h"

TEST(PlatformPath, MapsBackslashesAndTheDriveRoot) {
  struct sPathCase {
    const char* szRoot;
    const char* szPath;
    const char* szExpected;
  };
  const sPathCase arrCases[] = {
      {"", "dir\\file.ini", "dir/file.ini"},
      {"", "/home/u\\Orvane\\OrvaneSetting.ini", "/home/u/Orvane/OrvaneSetting.ini"},
      {"/tmp/x", "\\a.ini", "/tmp/x/a.ini"},
      {"/tmp/x/", "\\a.ini", "/tmp/x/a.ini"},
      {"/tmp/x", "/home/u\\a.ini", "/home/u/a.ini"},
  };
  for (const sPathCase& row : arrCases) {
    SCOPED_TRACE(std::string(row.szRoot) + " + " + row.szPath);
    SetPlatformDriveRoot(row.szRoot);
    EXPECT_EQ(MapPlatformPath(row.szPath), row.szExpected);
  }
  SetPlatformDriveRoot("");
}

TEST(PlatformPath, CreatesDirectoriesAndOpensFilesUnderTheRoot) {
  CScratchFolder folder;
  SetPlatformDriveRoot(folder.GetPath());
  EXPECT_TRUE(PlatformCreateDirectory("\\Orvane"));
  EXPECT_FALSE(PlatformCreateDirectory("\\Orvane")) << "already exists";
  EXPECT_FALSE(PlatformCreateDirectory("\\missing\\Orvane")) << "parent missing";
  FILE* pFile = PlatformOpenFile("\\Orvane\\f.ini", "a+");
  ASSERT_NE(pFile, nullptr);
  std::fclose(pFile);
  SetPlatformDriveRoot("");
  struct stat st {};
  ASSERT_EQ(stat(folder.GetPath("Orvane").c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
  EXPECT_EQ(access(folder.GetPath("Orvane/f.ini").c_str(), F_OK), 0);
}

TEST(MessageBoxRouting, SinkThenPresenterThenStandardError) {
  std::vector<std::string> arrSink;
  std::vector<std::string> arrPresenter;
  SetMessageBoxPresenter([&](const std::string& strText) { arrPresenter.push_back(strText); });
  SetMessageBoxSink([&](const std::string& strText) { arrSink.push_back(strText); });
  ShowMessageBox("File Open Failed");
  SetMessageBoxSink({});
  ShowMessageBox("second");
  SetMessageBoxPresenter({});
  EXPECT_EQ(arrSink, std::vector<std::string>{"File Open Failed"});
  EXPECT_EQ(arrPresenter, std::vector<std::string>{"second"});

  // With neither, the text goes to standard error as one line.
  CScratchFolder folder;
  const int nSaved = dup(STDERR_FILENO);
  const int nFile = open(folder.GetPath("err.txt").c_str(), O_WRONLY | O_CREAT, 0644);
  dup2(nFile, STDERR_FILENO);
  ShowMessageBox("third");
  dup2(nSaved, STDERR_FILENO);
  close(nFile);
  close(nSaved);
  EXPECT_EQ(folder.ReadFile("err.txt"), "Orvane Watch: third\n");
}

TEST(MessageBoxRouting, SinkMayRemoveItselfWhileRunning) {
  std::vector<std::string> arrTexts;
  SetMessageBoxSink([&](const std::string& strText) {
    SetMessageBoxSink({});
    arrTexts.push_back(strText);
  });
  ShowMessageBox("once");
  EXPECT_EQ(arrTexts, std::vector<std::string>{"once"});
}

TEST(MessageBoxRouting, ShutdownShowsEachTextOnce) {
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

namespace {

// Runs each test with PATH set to a scratch folder, restored afterwards.
class ShellOpenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* szPath = std::getenv("PATH");
    m_strSavedPath = szPath != nullptr ? szPath : "";
    setenv("PATH", m_folder.GetPath().c_str(), 1);
  }
  void TearDown() override { setenv("PATH", m_strSavedPath.c_str(), 1); }

  CScratchFolder m_folder;
  std::string m_strSavedPath;
};

}  // namespace

TEST_F(ShellOpenTest, StartsXdgOpenWithTheTextAndLeavesNoChild) {
  // A stand-in xdg-open hands its argument back through a FIFO.
  const std::string strFifo = m_folder.GetPath("fifo");
  ASSERT_EQ(mkfifo(strFifo.c_str(), 0600), 0);
  m_folder.WriteFile("xdg-open", "#!/bin/sh\nprintf '%s' \"$1\" > '" + strFifo + "'\n");
  chmod(m_folder.GetPath("xdg-open").c_str(), 0755);

  const std::string strText = "mailto:a@b.c?subject=Obligation Call & more";
  EXPECT_TRUE(ShellOpen(strText));
  EXPECT_EQ(m_folder.ReadFile("fifo"), strText);
  // The middle process was reaped and xdg-open is not this process's child.
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
}

TEST_F(ShellOpenTest, MissingXdgOpenReportsFailure) {
  EXPECT_FALSE(ShellOpen("https://example.org"));
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
}
