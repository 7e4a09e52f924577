#include "tests/support/ScratchFolder.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

CScratchFolder::CScratchFolder(const std::string& strName) {
  std::string strTemplate = (std::filesystem::temp_directory_path() / (strName + "-XXXXXX")).string();
  if (mkdtemp(strTemplate.data()) == nullptr) return;
  m_strPath = strTemplate;
  // Readable by all, as a folder made by a program is: some tests run a program as another user.
  std::error_code error;
  using std::filesystem::perms;
  std::filesystem::permissions(m_strPath, perms::owner_all | perms::group_read | perms::group_exec | perms::others_read |
                                              perms::others_exec, error);
}

CScratchFolder::~CScratchFolder() {
  if (m_strPath.empty()) return;
  std::error_code error;
  std::filesystem::remove_all(m_strPath, error);
}

void CScratchFolder::WriteFile(const std::string& strName, const std::string& strContents) const {
  std::ofstream(GetPath(strName), std::ios::binary | std::ios::trunc) << strContents;
}

std::string CScratchFolder::ReadFile(const std::string& strName) const { return ReadWholeFile(GetPath(strName)); }

size_t CScratchFolder::CountEntries() const {
  size_t nCount = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(m_strPath)) ++nCount;
  return nCount;
}

std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}
