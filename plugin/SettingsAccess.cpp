#include "plugin/SettingsAccess.h"

#include <cstdio>
#include <vector>

#include "platform/IniProfile.h"
#include "platform/PlatformPath.h"
#include "plugin/PluginContext.h"

namespace {

constexpr const char* kProfileDefault = "Settings not found";
constexpr const char* kKeyDefault = "Key not found";
constexpr uint32_t kProfileBufferSize = 4096;
constexpr uint32_t kKeyBufferSize = 4095;

// Opening the file is how both accessors learn whether it is there and usable, as the
// profile functions themselves would silently fall back to defaults.
bool CanOpen(const std::string& strPath, const char* szMode) {
  FILE* pFile = PlatformOpenFile(strPath, szMode);
  if (pFile == nullptr) return false;
  std::fclose(pFile);
  return true;
}

// Looks the key up; returns the number of characters the lookup yielded.
uint32_t LookUp(const std::string& strSection, const std::string& strKey, const char* szDefault,
                uint32_t nBufferSize, const std::string& strPath, std::string& strResult) {
  std::vector<char> buffer(nBufferSize, '\0');
  const uint32_t nLength = GetPrivateProfileString(strSection.c_str(), strKey.c_str(), szDefault,
                                                   buffer.data(), nBufferSize, strPath.c_str());
  strResult.assign(buffer.data(), nLength);
  return nLength;
}

}  // namespace

std::string ComposeSettingsPath(const std::string& strFileName) {
  return g_pluginContext.settingsDir + "\\" + strFileName;
}

bool AccessProfileSetting(int nMode, const std::string& strSection, const std::string& strKey,
                          std::string& strValue, const std::string& strFileName) {
  const std::string strPath = ComposeSettingsPath(strFileName);
  if (nMode == kSettingRead) {
    if (!CanOpen(strPath, "r+")) return false;
    std::string strResult;
    if (LookUp(strSection, strKey, kProfileDefault, kProfileBufferSize, strPath, strResult) == 0)
      return false;
    strValue = strResult;
    return strValue != kProfileDefault;
  }
  return WriteProfileSetting(strSection, strKey, strValue, strFileName).bWritten;
}

sSettingWrite WriteProfileSetting(const std::string& strSection, const std::string& strKey,
                                  const std::string& strValue, const std::string& strFileName) {
  const std::string strPath = ComposeSettingsPath(strFileName);
  if (!CanOpen(strPath, "a")) return {false, kFileOpenFailedText};
  return {WritePrivateProfileValue(strSection, strKey, strValue, strPath.c_str())};
}

bool AccessKeySetting(int nMode, const std::string& strSection, const std::string& strKey,
                      std::string& strValue, const std::string& strFileName) {
  const std::string strPath = ComposeSettingsPath(strFileName);
  if (nMode == kSettingWrite) {
    if (!CanOpen(strPath, "a") && !CanOpen(strPath, "w+")) return false;
    return WritePrivateProfileValue(strSection, strKey, strValue, strPath.c_str());
  }
  if (nMode != kSettingRead) return false;
  if (!CanOpen(strPath, "r+")) return false;
  std::string strResult;
  if (LookUp(strSection, strKey, kKeyDefault, kKeyBufferSize, strPath, strResult) == 0) return false;
  if (strResult == kKeyDefault) {
    strValue.clear();
    return false;
  }
  strValue = strResult;
  return true;
}
