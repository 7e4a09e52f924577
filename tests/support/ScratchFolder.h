// A fresh folder under /tmp for one test, removed with everything in it afterwards.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

class CScratchFolder {
 public:
  CScratchFolder() {
    char szTemplate[] = "/tmp/orvane-platform-XXXXXX";
    const char* szPath = mkdtemp(szTemplate);
    m_strPath = szPath != nullptr ? szPath : "";
  }
  ~CScratchFolder() {
    std::error_code error;
    std::filesystem::remove_all(m_strPath, error);
  }
  CScratchFolder(const CScratchFolder&) = delete;
  CScratchFolder& operator=(const CScratchFolder&) = delete;

  const std::string& GetPath() const { return m_strPath; }
  std::string GetPath(const std::string& strName) const { return m_strPath + "/" + strName; }

  void WriteFile(const std::string& strName, const std::string& strContents) const {
    std::ofstream file(GetPath(strName), std::ios::binary | std::ios::trunc);
    file << strContents;
  }

  std::string ReadFile(const std::string& strName) const {
    std::ifstream file(GetPath(strName), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }

  // How many entries the folder holds (a leftover temporary file shows here).
  size_t CountEntries() const {
    size_t nCount = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(m_strPath)) ++nCount;
    return nCount;
  }

 private:
  std::string m_strPath;
};
