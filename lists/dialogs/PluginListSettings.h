// The settings file of the plug-in as the lists keep their stored lines in it: the main
// settings file of the plug-in context's settings directory, read and written through the
// context's settings accessors. It holds nothing; the path is composed anew on every call.
#pragma once

#include "lists/ListSettingsFile.h"

class CPluginListSettings final : public IListSettingsFile {
 public:
  bool ReadProfileKey(const std::string& strSection, const std::string& strKey,
                      std::string& strValue) const override;
  sListSettingWrite WriteProfileKey(const std::string& strSection, const std::string& strKey,
                                    const std::string& strValue) override;
  std::string ReadKey(const std::string& strSection, const std::string& strKey, const char* szDefault,
                      uint32_t nBufferSize) const override;
  bool WriteKey(const std::string& strSection, const std::string& strKey,
                const std::string& strValue) override;
};
