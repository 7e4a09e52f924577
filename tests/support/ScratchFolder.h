// A fresh folder under the temporary directory for one test, removed with everything in it
// when the object goes.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

// The whole contents of a file, empty when it cannot be read.
inline std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

class CScratchFolder {
 public:
  // The folder is named strName with a unique ending; readable by all, as a folder made by a
  // program is: some tests run a program as another user.
  explicit CScratchFolder(const std::string& strName = "orvane-test") {
    std::string strTemplate = (std::filesystem::temp_directory_path() / (strName + "-XXXXXX")).string();
    if (mkdtemp(strTemplate.data()) == nullptr) return;
    m_strPath = strTemplate;
    std::error_code error;
    using std::filesystem::perms;
    std::filesystem::permissions(m_strPath, perms::owner_all | perms::group_read | perms::group_exec |
                                                perms::others_read | perms::others_exec, error);
  }
  ~CScratchFolder() {
    std::error_code error;
    if (!m_strPath.empty()) std::filesystem::remove_all(m_strPath, error);
  }
  CScratchFolder(const CScratchFolder&) = delete;
  CScratchFolder& operator=(const CScratchFolder&) = delete;

  // Empty when the folder could not be made.
  const std::string& GetPath() const { return m_strPath; }
  std::string GetPath(const std::string& strName) const { return m_strPath + "/" + strName; }

  void WriteFile(const std::string& strName, const std::string& strContents) const {
    std::ofstream(GetPath(strName), std::ios::binary | std::ios::trunc) << strContents;
  }
  std::string ReadFile(const std::string& strName) const { return ReadWholeFile(GetPath(strName)); }
  // How many entries the folder holds (a leftover temporary file shows here).
  size_t CountEntries() const {
    const std::filesystem::directory_iterator entries(m_strPath);
    return static_cast<size_t>(std::distance(begin(entries), end(entries)));
  }

 private:
  std::string m_strPath;
};
