// The client keys a server or relay lets in: a file of public keys, one a line, comments
// allowed (the key text of keys/CurveKeys.h). The file is read again when it changes, so a desk
// adds or removes a terminal without restarting anything: a change is noticed by the file's
// modification time, size and inode, looked at on every handshake.
#pragma once

#include <sys/types.h>

#include <ctime>
#include <set>
#include <string>
#include <string_view>

class CAllowList {
 public:
  explicit CAllowList(std::string strPath) : m_strPath(std::move(strPath)) {}

  // Reads the file; false with the reason (naming the file) when it cannot be read or a line
  // is neither a key nor a comment. The keys read before stay in force then.
  bool Load(std::string& strError);

  enum class eReload { kUnchanged, kReloaded, kFailed };
  // Reads the file again when it changed since it was last looked at. A changed file that
  // cannot be read, or holds a bad line, leaves the keys as they were (kFailed, once per
  // change): a typo does not lock the desk out, and a desk that wants no client at all leaves
  // the file with comments only.
  eReload ReloadIfChanged(std::string& strError);

  bool Contains(std::string_view strKey) const { return m_setKeys.contains(std::string(strKey)); }
  size_t GetSize() const { return m_setKeys.size(); }
  const std::string& GetPath() const { return m_strPath; }

 private:
  struct sStamp {
    bool bExists = false;
    dev_t nDevice = 0;
    ino_t nInode = 0;
    off_t nSize = 0;
    timespec modified{};
    bool operator==(const sStamp& other) const;
  };
  sStamp ReadStamp() const;

  std::string m_strPath;
  std::set<std::string, std::less<>> m_setKeys;
  sStamp m_stamp;  // of the file as last looked at
};
