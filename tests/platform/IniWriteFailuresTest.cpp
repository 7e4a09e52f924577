#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "platform/IniProfile.h"
#include "platform/InterruptedWrites.h"
#include "tests/support/ScratchFolder.h"

namespace {

const char* const g_szOriginal = "; keep me\n[CONFIG]\nCALC=1+2\nMAIL_CC=a@b.c\n";

int g_nHookPipe = -1;

// Stands for a crash between the complete temporary file and the rename.
void CrashBeforeRename(const char* szTempPath, const char*) {
  const ssize_t nWritten = write(g_nHookPipe, szTempPath, std::strlen(szTempPath));
  _exit(nWritten > 0 ? 1 : 2);
}

// Runs fnChild in a child process and gives its exit code (-1 when it did not exit).
template <typename F>
int RunInChild(F fnChild) {
  const pid_t nPid = fork();
  if (nPid == 0) _exit(fnChild());
  int nStatus = 0;
  waitpid(nPid, &nStatus, 0);
  return WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
}

size_t g_nRemovedDuringWrite = 0;

// The id of a process that has ended.
pid_t GetEndedProcessId() {
  const pid_t nPid = fork();
  if (nPid == 0) _exit(0);
  waitpid(nPid, nullptr, 0);
  return nPid;
}

// A clean-up that runs while this process's write is under way.
void CleanUpBeforeRename(const char*, const char* szPath) { g_nRemovedDuringWrite = RemoveInterruptedWrites(szPath); }

}  // namespace

TEST(IniWriteFailure, CrashBeforeRenameLeavesTheOriginalWhole) {
  CScratchFolder folder;
  folder.WriteFile("s.ini", g_szOriginal);
  const std::string strPath = folder.GetPath("s.ini");
  int arrPipe[2];
  ASSERT_EQ(pipe(arrPipe), 0);

  const int nExit = RunInChild([&] {
    g_nHookPipe = arrPipe[1];
    SetProfileBeforeRenameHook(CrashBeforeRename);
    WritePrivateProfileString("CONFIG", "CALC", "9", strPath.c_str());
    return 3;  // the hook did not run
  });
  close(arrPipe[1]);
  char szTemp[4096] = {};
  const ssize_t nRead = read(arrPipe[0], szTemp, sizeof(szTemp) - 1);
  close(arrPipe[0]);

  EXPECT_EQ(nExit, 1);
  ASSERT_GT(nRead, 0);
  EXPECT_EQ(folder.ReadFile("s.ini"), g_szOriginal);
  // The temporary file was complete: the crash leaves one whole file or the other.
  EXPECT_EQ(ReadWholeFile(szTemp), "; keep me\n[CONFIG]\nCALC=9\nMAIL_CC=a@b.c\n");
}

TEST(IniWriteFailure, LeftoversOfInterruptedWritesAreRemoved) {
  CScratchFolder folder;
  folder.WriteFile("s.ini", g_szOriginal);
  const std::string strPath = folder.GetPath("s.ini");
  const std::string strGone = std::to_string(GetEndedProcessId());
  const std::string strSelf = std::to_string(getpid());
  ASSERT_EQ(mkdir(folder.GetPath("s.ini.tmp-" + strGone + "-2").c_str(), 0755), 0);
  struct sEntry { std::string strName; bool bRemoved; };
  const sEntry arrEntries[] = {
      {"s.ini.tmp-" + strGone + "-1", true},
      {"s.ini.tmp-" + strSelf + "-999999", true},  // an earlier process with this id
      {"s.ini.tmp-1-3", false},                    // its writer still runs
      {"other.ini.tmp-" + strGone + "-1", false},  // another file's
      {"s.ini.tmp-" + strGone + "-x", false},
      {"s.ini", false},
      {"s.ini.tmp-" + strGone + "-2", false},  // a folder
  };
  for (const sEntry& entry : arrEntries)
    if (!std::filesystem::exists(folder.GetPath(entry.strName))) folder.WriteFile(entry.strName, "x");

  EXPECT_EQ(RemoveInterruptedWrites(strPath), 2u);
  for (const sEntry& entry : arrEntries) {
    SCOPED_TRACE(entry.strName);
    EXPECT_EQ(std::filesystem::exists(folder.GetPath(entry.strName)), !entry.bRemoved);
  }
  EXPECT_EQ(folder.ReadFile("s.ini"), g_szOriginal);

  // A write under way in this process keeps its temporary and completes.
  SetProfileBeforeRenameHook(CleanUpBeforeRename);
  g_nRemovedDuringWrite = 1;
  EXPECT_TRUE(WritePrivateProfileString("CONFIG", "CALC", "7", strPath.c_str()));
  SetProfileBeforeRenameHook(nullptr);
  EXPECT_EQ(g_nRemovedDuringWrite, 0u);
  EXPECT_EQ(folder.ReadFile("s.ini"), "; keep me\n[CONFIG]\nCALC=7\nMAIL_CC=a@b.c\n");
}
