#include "platform/IniProfile.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <optional>
#include <string>

#include "platform/FileContents.h"
#include "platform/IniDocument.h"
#include "platform/IniLine.h"
#include "platform/PlatformPath.h"

namespace {

PFN_ProfileBeforeRename& GetBeforeRenameHook() {
  static PFN_ProfileBeforeRename s_pfnHook = nullptr;
  return s_pfnHook;
}

// The file's text, or nullopt when it exists but cannot be read. A missing file reads as
// empty text, so every lookup gives its default and a write creates it.
std::optional<std::string> LoadProfile(const char* szPath) {
  std::string strText;
  if (szPath == nullptr) return strText;
  const EFileRead eRead = ReadFileContents(MapPlatformPath(szPath), strText);
  if (eRead == EFileRead::Failed) return std::nullopt;
  return strText;
}

uint32_t CopyText(std::string_view strText, char* pBuffer, uint32_t nSize) {
  const size_t nCopied = std::min<size_t>(strText.size(), nSize - 1);
  std::memcpy(pBuffer, strText.data(), nCopied);
  pBuffer[nCopied] = '\0';
  return static_cast<uint32_t>(nCopied);
}

// strNames holds names each followed by a zero; the list ends with one more. A list that does
// not fit is cut, its last name shortened, and still ends with two zeros.
uint32_t CopyNameList(std::string_view strNames, char* pBuffer, uint32_t nSize) {
  if (strNames.size() + 1 <= nSize) {
    std::memcpy(pBuffer, strNames.data(), strNames.size());
    pBuffer[strNames.size()] = '\0';
    if (strNames.empty() && nSize >= 2) pBuffer[1] = '\0';
    return static_cast<uint32_t>(strNames.size());
  }
  if (nSize == 1) {
    pBuffer[0] = '\0';
    return 0;
  }
  std::memcpy(pBuffer, strNames.data(), nSize - 2);
  pBuffer[nSize - 2] = '\0';
  pBuffer[nSize - 1] = '\0';
  return nSize - 2;
}

bool HasLineBreak(std::string_view str) { return str.find_first_of("\r\n") != std::string_view::npos; }

// Names and values that would not read back as written are refused: a line break would split
// the line, ']' would end a section name early, '=' would end a key early, and a key that
// starts like a comment or a header would not be a key.
bool IsWritableSection(std::string_view strSection) {
  return !HasLineBreak(strSection) && strSection.find(']') == std::string_view::npos;
}

bool IsWritableKey(std::string_view strKey) {
  return !strKey.empty() && !HasLineBreak(strKey) && strKey.find('=') == std::string_view::npos &&
         strKey.front() != ';' && strKey.front() != '#' && strKey.front() != '[';
}

bool HasNul(std::string_view str) { return str.find('\0') != std::string_view::npos; }

// Replaces the file's text with what fnEdit makes of its document. Nothing to change (a value
// written again, a deletion of something absent) leaves the file, or its absence, as it is.
template <typename EditFn>
bool EditProfile(const char* szPath, const EditFn& fnEdit) {
  const std::string strPath = MapPlatformPath(szPath);
  std::string strOld;
  if (ReadFileContents(strPath, strOld) == EFileRead::Failed) return false;
  const CIniDocument document(std::move(strOld));
  const std::string strNew = fnEdit(document);
  if (strNew == document.GetText()) return true;
  return ReplaceFileContents(strPath, strNew, GetBeforeRenameHook());
}

int32_t ParseProfileInt(std::string_view strValue, int32_t nDefault) {
  size_t nPos = 0;
  while (nPos < strValue.size() && (strValue[nPos] == ' ' || strValue[nPos] == '\t')) ++nPos;
  const bool bNegative = nPos < strValue.size() && strValue[nPos] == '-';
  if (nPos < strValue.size() && (strValue[nPos] == '-' || strValue[nPos] == '+')) ++nPos;
  if (nPos >= strValue.size() || strValue[nPos] < '0' || strValue[nPos] > '9') return nDefault;
  // Accumulate towards the sign and stop at the int32 limits.
  int64_t nValue = 0;
  for (; nPos < strValue.size() && strValue[nPos] >= '0' && strValue[nPos] <= '9'; ++nPos) {
    nValue = nValue * 10 + (strValue[nPos] - '0');
    if (nValue > int64_t{INT32_MAX} + 1) break;
  }
  if (bNegative) return static_cast<int32_t>(std::max(-nValue, int64_t{INT32_MIN}));
  return static_cast<int32_t>(std::min(nValue, int64_t{INT32_MAX}));
}

}  // namespace

uint32_t GetPrivateProfileString(const char* szSection, const char* szKey, const char* szDefault,
                                 char* pBuffer, uint32_t nSize, const char* szPath) {
  if (pBuffer == nullptr || nSize == 0) return 0;
  // An unreadable file reads like a missing one.
  const CIniDocument document(LoadProfile(szPath).value_or(std::string()));
  if (szSection == nullptr) return CopyNameList(document.GetSectionNames(), pBuffer, nSize);
  const std::string_view strSection = TrimIniBlanks(szSection);
  if (szKey == nullptr) return CopyNameList(document.GetKeyNames(strSection), pBuffer, nSize);
  const std::optional<std::string_view> value = document.FindValue(strSection, TrimIniBlanks(szKey));
  return CopyText(value.value_or(szDefault != nullptr ? szDefault : ""), pBuffer, nSize);
}

int32_t GetPrivateProfileInt(const char* szSection, const char* szKey, int32_t nDefault, const char* szPath) {
  if (szSection == nullptr || szKey == nullptr) return nDefault;
  const std::optional<std::string> text = LoadProfile(szPath);
  if (!text) return nDefault;
  const CIniDocument document(std::move(*text));
  const std::optional<std::string_view> value =
      document.FindValue(TrimIniBlanks(szSection), TrimIniBlanks(szKey));
  return value ? ParseProfileInt(*value, nDefault) : nDefault;
}

bool WritePrivateProfileString(const char* szSection, const char* szKey, const char* szValue,
                               const char* szPath) {
  if (szSection == nullptr || szPath == nullptr) return false;
  if (szKey != nullptr && szValue != nullptr)
    return WritePrivateProfileValue(szSection, szKey, szValue, szPath);
  const std::string_view strSection = TrimIniBlanks(szSection);
  const std::string_view strKey = szKey != nullptr ? TrimIniBlanks(szKey) : std::string_view();
  if (!IsWritableSection(strSection) || (szKey != nullptr && !IsWritableKey(strKey)) ||
      (szValue != nullptr && HasLineBreak(szValue)))
    return false;
  return EditProfile(szPath, [&](const CIniDocument& document) {
    return szKey == nullptr ? document.WithoutSection(strSection) : document.WithoutKey(strSection, strKey);
  });
}

bool WritePrivateProfileValue(std::string_view strSection, std::string_view strKey, std::string_view strValue,
                              const char* szPath) {
  if (szPath == nullptr || HasNul(strSection) || HasNul(strKey)) return false;
  strSection = TrimIniBlanks(strSection);
  strKey = TrimIniBlanks(strKey);
  if (!IsWritableSection(strSection) || !IsWritableKey(strKey) || HasLineBreak(strValue)) return false;
  return EditProfile(
      szPath, [&](const CIniDocument& document) { return document.WithValue(strSection, strKey, strValue); });
}

void SetProfileBeforeRenameHook(PFN_ProfileBeforeRename pfnHook) { GetBeforeRenameHook() = pfnHook; }
