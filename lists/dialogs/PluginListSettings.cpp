#include "lists/dialogs/PluginListSettings.h"

#include <vector>

#include "platform/IniProfile.h"
#include "plugin/SettingsAccess.h"

bool CPluginListSettings::ReadProfileKey(const std::string& strSection, const std::string& strKey,
                                         std::string& strValue) const {
  return AccessProfileSetting(kSettingRead, strSection, strKey, strValue, kSettingsFileName);
}

sListSettingWrite CPluginListSettings::WriteProfileKey(const std::string& strSection,
                                                       const std::string& strKey,
                                                       const std::string& strValue) {
  const sSettingWrite write = WriteProfileSetting(strSection, strKey, strValue, kSettingsFileName);
  return {write.bWritten, write.szFailure};
}

std::string CPluginListSettings::ReadKey(const std::string& strSection, const std::string& strKey,
                                         const char* szDefault, uint32_t nBufferSize) const {
  std::vector<char> buffer(nBufferSize, '\0');
  const uint32_t nLength =
      GetPrivateProfileString(strSection.c_str(), strKey.c_str(), szDefault, buffer.data(), nBufferSize,
                              ComposeSettingsPath(kSettingsFileName).c_str());
  // Counted, so a value with a NUL inside is read whole, as it was written.
  return std::string(buffer.data(), nLength);
}

bool CPluginListSettings::WriteKey(const std::string& strSection, const std::string& strKey,
                                   const std::string& strValue) {
  return WritePrivateProfileValue(strSection, strKey, strValue,
                                  ComposeSettingsPath(kSettingsFileName).c_str());
}
