#include "platform/PlatformPath.h"

#include <sys/stat.h>
#include <algorithm>

namespace {

// The drive root without a trailing slash; empty stands for "/".
std::string& GetDriveRoot() {
  static std::string s_strRoot;
  return s_strRoot;
}

}  // namespace

std::string MapPlatformPath(const std::string& strPath) {
  // Only a Windows-rooted path ("\\file") is moved to the drive root; "/..." is already a
  // path of this system.
  const bool bDriveRooted = !strPath.empty() && strPath.front() == '\\';
  std::string strMapped(strPath);
  std::replace(strMapped.begin(), strMapped.end(), '\\', '/');
  if (bDriveRooted) strMapped.insert(0, GetDriveRoot());
  return strMapped;
}

void SetPlatformDriveRoot(const std::string& strRoot) {
  std::string strTrimmed(strRoot);
  while (!strTrimmed.empty() && strTrimmed.back() == '/') strTrimmed.pop_back();
  GetDriveRoot() = strTrimmed;
}

FILE* PlatformOpenFile(const std::string& strPath, const char* szMode) {
  return std::fopen(MapPlatformPath(strPath).c_str(), szMode);
}

bool PlatformCreateDirectory(const std::string& strPath) {
  return mkdir(MapPlatformPath(strPath).c_str(), 0755) == 0;
}
