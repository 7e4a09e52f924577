// A fresh folder under the temporary directory for one test, removed with everything in it
// when the object goes.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

class CScratchFolder {
 public:
  // The folder is named strName with a unique ending.
  explicit CScratchFolder(const std::string& strName = "orvane-test");
  ~CScratchFolder();
  CScratchFolder(const CScratchFolder&) = delete;
  CScratchFolder& operator=(const CScratchFolder&) = delete;

  // Empty when the folder could not be made.
  const std::string& GetPath() const { return m_strPath; }
  std::string GetPath(const std::string& strName) const { return m_strPath + "/" + strName; }

  void WriteFile(const std::string& strName, const std::string& strContents) const;
  std::string ReadFile(const std::string& strName) const;
  // How many entries the folder holds (a leftover temporary file shows here).
  size_t CountEntries() const;

 private:
  std::string m_strPath;
};

// The whole contents of a file, empty when it cannot be read.
std::string ReadWholeFile(const std::filesystem::path& path);
