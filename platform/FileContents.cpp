#include "platform/FileContents.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/TempFileClaim.h"

namespace {

// Larger files are not settings files; refusing them keeps a mistaken path from eating memory.
constexpr size_t g_nMaxFileSize = size_t{64} << 20;

// Closes the descriptor when it goes out of scope.
class CFileDescriptor {
 public:
  explicit CFileDescriptor(int nFd) : m_nFd(nFd) {}
  ~CFileDescriptor() {
    if (m_nFd >= 0) close(m_nFd);
  }
  CFileDescriptor(const CFileDescriptor&) = delete;
  CFileDescriptor& operator=(const CFileDescriptor&) = delete;

  int Get() const { return m_nFd; }
  // Closes now and reports whether the close succeeded (it can report a late write error).
  bool Close() {
    const int nFd = m_nFd;
    m_nFd = -1;
    return close(nFd) == 0;
  }

 private:
  int m_nFd;
};

bool WriteAll(int nFd, std::string_view strData) {
  while (!strData.empty()) {
    const ssize_t nWritten = write(nFd, strData.data(), strData.size());
    if (nWritten < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    strData.remove_prefix(static_cast<size_t>(nWritten));
  }
  return true;
}

std::string GetFolder(const std::string& strPath) {
  const size_t nSlash = strPath.rfind('/');
  if (nSlash == std::string::npos) return ".";
  return nSlash == 0 ? "/" : strPath.substr(0, nSlash);
}

// Creates a new file next to the claim's target under a claimed name no one else uses.
int CreateTempNextTo(CTempFileClaim& tempName) {
  for (int nAttempt = 0; nAttempt < 100; ++nAttempt) {
    // 0666 lets the umask decide, as for any new file.
    const int nFd = open(tempName.ClaimNext().c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (nFd >= 0 || errno != EEXIST) return nFd;
  }
  return -1;
}

void SyncFolder(const std::string& strFolder) {
  const CFileDescriptor folder(open(strFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.Get() >= 0) fsync(folder.Get());
}

}  // namespace

std::string ResolveReplaceTarget(const std::string& strPath) {
  struct stat st {};
  if (lstat(strPath.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return strPath;
  char szResolved[PATH_MAX];
  if (realpath(strPath.c_str(), szResolved) == nullptr) return strPath;
  return szResolved;
}

EFileRead ReadFileContents(const std::string& strPath, std::string& strContents) {
  strContents.clear();
  // O_NONBLOCK keeps a FIFO at this path from blocking the open.
  const CFileDescriptor file(open(strPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (file.Get() < 0) return (errno == ENOENT || errno == ENOTDIR) ? EFileRead::Missing : EFileRead::Failed;
  struct stat st {};
  if (fstat(file.Get(), &st) != 0 || !S_ISREG(st.st_mode)) return EFileRead::Failed;

  // The size from fstat is only a hint: the file may change while it is read.
  strContents.reserve(static_cast<size_t>(st.st_size));
  char arrChunk[65536];
  for (;;) {
    const ssize_t nRead = read(file.Get(), arrChunk, sizeof(arrChunk));
    if (nRead == 0) return EFileRead::Read;
    if (nRead < 0) {
      if (errno == EINTR) continue;
      return EFileRead::Failed;
    }
    if (strContents.size() + static_cast<size_t>(nRead) > g_nMaxFileSize) return EFileRead::Failed;
    strContents.append(arrChunk, static_cast<size_t>(nRead));
  }
}

bool ReplaceFileContents(const std::string& strPath, std::string_view strContents,
                         PFN_BeforeReplace pfnBefore) {
  const std::string strTarget = ResolveReplaceTarget(strPath);
  // Claimed until the temporary is renamed or removed, so a clean-up leaves it alone.
  CTempFileClaim tempName(strTarget);
  CFileDescriptor temp(CreateTempNextTo(tempName));
  if (temp.Get() < 0) return false;
  const std::string& strTempPath = tempName.GetPath();

  // Keeping the permission bits is best effort: a file we may write but do not own refuses
  // some of them, and the write is still worth doing.
  struct stat st {};
  if (stat(strTarget.c_str(), &st) == 0) fchmod(temp.Get(), st.st_mode & 07777);
  bool bDone = WriteAll(temp.Get(), strContents) && fsync(temp.Get()) == 0;
  bDone = temp.Close() && bDone;
  if (bDone && pfnBefore != nullptr) pfnBefore(strTempPath.c_str(), strTarget.c_str());
  bDone = bDone && rename(strTempPath.c_str(), strTarget.c_str()) == 0;
  if (!bDone) {
    unlink(strTempPath.c_str());
    return false;
  }
  // The rename itself lives in the folder; sync it so the new name survives a power cut.
  SyncFolder(GetFolder(strTarget));
  return true;
}
