// Feeds any bytes to the INI reader and writer. Reads must not crash; a write must change
// nothing but the written key's line (plus a new section header when the section was missing),
// and the value must read back; a delete must remove only the key's lines.
#include <strings.h>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "platform/IniProfile.h"

namespace {

constexpr const char* g_szValue = "fuzzed value";

// A plain array, so the clean-up at exit never sees a destroyed string.
char g_szFolder[] = "/dev/shm/fuzz-ini-XXXXXX";

const char* GetFolder() {
  static const bool s_bMade = [] {
    // A memory file system makes the writes' fsync calls cheap.
    if (mkdtemp(g_szFolder) == nullptr) {
      std::strcpy(g_szFolder, "/tmp/fuzz-ini-XXXXXX");
      if (mkdtemp(g_szFolder) == nullptr) std::abort();
    }
    std::atexit([] {
      std::error_code error;
      std::filesystem::remove_all(g_szFolder, error);
    });
    return true;
  }();
  return s_bMade ? g_szFolder : nullptr;
}

const std::string& GetFilePath() {
  static const std::string s_strPath = std::string(GetFolder()) + "/f.ini";
  return s_strPath;
}

void WriteWhole(const std::string& strContents) {
  std::ofstream file(GetFilePath(), std::ios::binary | std::ios::trunc);
  file << strContents;
}

std::string ReadWhole() {
  std::ifstream file(GetFilePath(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Lines without "\n" and the "\r"s before it; "a\r\n", "a\r" and "a" all give {"a"}, so a line
// break added to a last line that had none does not count as a change.
std::vector<std::string_view> SplitLines(std::string_view strText) {
  std::vector<std::string_view> arrLines;
  while (!strText.empty()) {
    const size_t nBreak = strText.find('\n');
    std::string_view strLine = strText.substr(0, nBreak);
    while (!strLine.empty() && strLine.back() == '\r') strLine.remove_suffix(1);
    arrLines.push_back(strLine);
    strText.remove_prefix(nBreak == std::string_view::npos ? strText.size() : nBreak + 1);
  }
  return arrLines;
}

std::string_view Trim(std::string_view str) {
  const char* szBlanks = " \t\r\v\f";
  const size_t nFirst = str.find_first_not_of(szBlanks);
  if (nFirst == std::string_view::npos) return {};
  return str.substr(nFirst, str.find_last_not_of(szBlanks) - nFirst + 1);
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

// A line the edit may have removed: a key line of the written key.
bool IsKeyLine(std::string_view strLine, std::string_view strKey) {
  const size_t nEquals = strLine.find('=');
  return nEquals != std::string_view::npos && SameIgnoringCase(Trim(strLine.substr(0, nEquals)), strKey);
}

// A write: strAfter is strBefore with one run of lines replaced, at most one removed line (a
// line of the key) and only added lines of the key with the new value or the section header.
void CheckWrite(const std::string& strBefore, const std::string& strAfter, std::string_view strSection,
                std::string_view strKey) {
  const std::vector<std::string_view> arrBefore = SplitLines(strBefore);
  const std::vector<std::string_view> arrAfter = SplitLines(strAfter);
  size_t nPrefix = 0;
  while (nPrefix < arrBefore.size() && nPrefix < arrAfter.size() && arrBefore[nPrefix] == arrAfter[nPrefix])
    ++nPrefix;
  size_t nSuffix = 0;
  while (nSuffix < arrBefore.size() - nPrefix && nSuffix < arrAfter.size() - nPrefix &&
         arrBefore[arrBefore.size() - 1 - nSuffix] == arrAfter[arrAfter.size() - 1 - nSuffix])
    ++nSuffix;

  const size_t nRemoved = arrBefore.size() - nPrefix - nSuffix;
  const size_t nAdded = arrAfter.size() - nPrefix - nSuffix;
  if (nRemoved > 1 || (nRemoved == 1 && !IsKeyLine(arrBefore[nPrefix], strKey)) || nAdded > 2) std::abort();
  const std::string strHeader = "[" + std::string(strSection) + "]";
  for (size_t i = nPrefix; i < nPrefix + nAdded; ++i) {
    const std::string_view strLine = arrAfter[i];
    const bool bNewKeyLine = IsKeyLine(strLine, strKey) && strLine.substr(strLine.find('=') + 1) == g_szValue;
    if (strLine != strHeader && !bNewKeyLine) std::abort();
  }
  if (!strBefore.empty() && strBefore.back() == '\n' && strAfter.back() != '\n') std::abort();
}

// A delete: strAfter is strBefore without some lines of the key and nothing else.
void CheckDelete(const std::string& strBefore, const std::string& strAfter, std::string_view strKey) {
  const std::vector<std::string_view> arrBefore = SplitLines(strBefore);
  const std::vector<std::string_view> arrAfter = SplitLines(strAfter);
  // Matching equal lines as early as possible is safe: equal lines are interchangeable.
  size_t nAfter = 0;
  for (const std::string_view strLine : arrBefore) {
    if (nAfter < arrAfter.size() && strLine == arrAfter[nAfter])
      ++nAfter;
    else if (!IsKeyLine(strLine, strKey))
      std::abort();
  }
  if (nAfter != arrAfter.size()) std::abort();
}

// The first name of a zero-separated list, or szFallback when the list is empty.
std::string FirstName(const char* pList, const char* szFallback) {
  return *pList != '\0' ? std::string(pList) : std::string(szFallback);
}

void WriteAndCheck(const std::string& strSection, const std::string& strKey) {
  const std::string strBefore = ReadWhole();
  const bool bWritten =
      WritePrivateProfileString(strSection.c_str(), strKey.c_str(), g_szValue, GetFilePath().c_str());
  const std::string strAfter = ReadWhole();
  if (!bWritten) {
    if (strAfter != strBefore) std::abort();
    return;
  }
  CheckWrite(strBefore, strAfter, Trim(strSection), Trim(strKey));
  char szValue[64];
  GetPrivateProfileString(strSection.c_str(), strKey.c_str(), "", szValue, sizeof(szValue),
                          GetFilePath().c_str());
  if (std::strcmp(szValue, g_szValue) != 0) std::abort();

  const std::string strBeforeDelete = strAfter;
  if (!WritePrivateProfileString(strSection.c_str(), strKey.c_str(), nullptr, GetFilePath().c_str()))
    std::abort();
  CheckDelete(strBeforeDelete, ReadWhole(), Trim(strKey));
  GetPrivateProfileString(strSection.c_str(), strKey.c_str(), "<gone>", szValue, sizeof(szValue),
                          GetFilePath().c_str());
  if (std::strcmp(szValue, "<gone>") != 0) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  const std::string strInput(reinterpret_cast<const char*>(pData), nSize);
  WriteWhole(strInput);
  const char* szPath = GetFilePath().c_str();

  char szSections[512];
  GetPrivateProfileString(nullptr, nullptr, "", szSections, sizeof(szSections), szPath);
  const std::string strSection = FirstName(szSections, "Fuzz");
  char szKeys[512];
  GetPrivateProfileString(strSection.c_str(), nullptr, "", szKeys, sizeof(szKeys), szPath);
  const std::string strKey = FirstName(szKeys, "Key");

  char szSmall[3];
  char szValue[4096];
  GetPrivateProfileString(strSection.c_str(), strKey.c_str(), "default", szSmall, sizeof(szSmall), szPath);
  GetPrivateProfileString(strSection.c_str(), strKey.c_str(), nullptr, szValue, sizeof(szValue), szPath);
  GetPrivateProfileInt(strSection.c_str(), strKey.c_str(), 0, szPath);
  GetPrivateProfileString("CONFIG", "CALC", "Settings not found", szValue, sizeof(szValue), szPath);

  // An existing key of an existing section, then a new key, then a new section.
  WriteAndCheck(strSection, strKey);
  WriteWhole(strInput);
  WriteAndCheck(strSection, "NewKey");
  WriteWhole(strInput);
  WriteAndCheck("New Section", "k");
  return 0;
}
