// Names of the temporary files that whole-file replacements write next to their targets:
// "<target>.tmp-<pid>-<serial>", the writing process's id and a number counting up in it. A
// name is claimed before its file is created and released once the file was renamed or
// removed, so a clean-up can tell a write under way in this process from a leftover of an
// earlier one that had the same process id.
#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

class CTempFileClaim {
 public:
  explicit CTempFileClaim(std::string strTarget);
  ~CTempFileClaim();
  CTempFileClaim(const CTempFileClaim&) = delete;
  CTempFileClaim& operator=(const CTempFileClaim&) = delete;

  // Releases the name held (if any) and claims the next one.
  const std::string& ClaimNext();
  const std::string& GetPath() const { return m_strPath; }

 private:
  void Release();

  std::string m_strTarget;
  std::string m_strPath;  // empty while nothing is claimed
};

// The writer's process id when strName is the name of a temporary of a file named
// strTargetName, else 0.
pid_t ParseTempFileName(std::string_view strName, std::string_view strTargetName);

// Removes the file unless its name is claimed; checking and removing are one step for the
// claims, so no write of this process can claim the name in between.
bool RemoveUnclaimedTempFile(const std::string& strPath);
