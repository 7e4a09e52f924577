#include "platform/InterruptedWrites.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>

#include "platform/FileContents.h"
#include "platform/PlatformPath.h"
#include "platform/TempFileClaim.h"

namespace {

// This process's own writes are told apart by their claims, not by the process id: an earlier
// process may have had the same id (a container starts its programs with the same ids).
bool IsOtherWriterRunning(pid_t nPid) {
  if (nPid == getpid()) return false;
  // EPERM: the process exists but belongs to someone else.
  return kill(nPid, 0) == 0 || errno == EPERM;
}

bool IsRegularFile(const std::string& strPath) {
  struct stat st {};
  return lstat(strPath.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

size_t RemoveInterruptedWrites(const std::string& strPath) {
  const std::filesystem::path target(ResolveReplaceTarget(MapPlatformPath(strPath)));
  const std::string strTargetName = target.filename().string();
  const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";

  size_t nRemoved = 0;
  std::error_code error;
  std::filesystem::directory_iterator itEntry(folder, error);
  for (; !error && itEntry != std::filesystem::directory_iterator(); itEntry.increment(error)) {
    const std::string strName = itEntry->path().filename().string();
    const pid_t nPid = ParseTempFileName(strName, strTargetName);
    if (nPid <= 0 || IsOtherWriterRunning(nPid)) continue;
    const std::string strTempPath = itEntry->path().string();
    if (IsRegularFile(strTempPath) && RemoveUnclaimedTempFile(strTempPath)) ++nRemoved;
  }
  return nRemoved;
}
