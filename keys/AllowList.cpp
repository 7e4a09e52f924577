#include "keys/AllowList.h"

#include <sys/stat.h>

#include <optional>
#include <vector>

#include "keys/CurveKeys.h"

namespace {

// Room for tens of thousands of keys.
constexpr size_t kMaxAllowListBytes = 4 * 1024 * 1024;

}  // namespace

bool CAllowList::sStamp::operator==(const sStamp& other) const {
  return bExists == other.bExists && nDevice == other.nDevice && nInode == other.nInode &&
         nSize == other.nSize && modified.tv_sec == other.modified.tv_sec &&
         modified.tv_nsec == other.modified.tv_nsec;
}

CAllowList::sStamp CAllowList::ReadStamp() const {
  sStamp stamp;
  struct stat info {};
  if (stat(m_strPath.c_str(), &info) != 0) return stamp;
  stamp.bExists = true;
  stamp.nDevice = info.st_dev;
  stamp.nInode = info.st_ino;
  stamp.nSize = info.st_size;
  stamp.modified = info.st_mtim;
  return stamp;
}

bool CAllowList::Load(std::string& strError) {
  // Stamped before reading: a change while it is read is read again next time.
  m_stamp = ReadStamp();
  const std::optional<std::string> strText = ReadSmallFile(m_strPath, kMaxAllowListBytes, strError);
  if (!strText) return false;
  std::string strLineError;
  const std::optional<std::vector<sKeyLine>> arrKeys = ParseKeyText(*strText, strLineError);
  if (!arrKeys) {
    strError = m_strPath + ": " + strLineError;
    return false;
  }
  m_setKeys.clear();
  for (const sKeyLine& key : *arrKeys) m_setKeys.insert(key.strKey);
  return true;
}

CAllowList::eReload CAllowList::ReloadIfChanged(std::string& strError) {
  if (ReadStamp() == m_stamp) return eReload::kUnchanged;
  return Load(strError) ? eReload::kReloaded : eReload::kFailed;
}
