// The settings file a list keeps its stored lines in, as the lists see it: keys of named
// sections. The lists know no files or folders: the plug-in hands them its settings file
// (CPluginListSettings), tests one held in memory.
#pragma once

#include <cstdint>
#include <string>

// What a write of a profile key did. szFailure is the text of a failure the window shows (the
// file could not be opened), null when there is none.
struct sListSettingWrite {
  bool bWritten = false;
  const char* szFailure = nullptr;
};

class IListSettingsFile {
 public:
  virtual ~IListSettingsFile() = default;

  // A key by the profile accessor's rules: false when the file cannot be opened or the key is
  // absent or empty.
  virtual bool ReadProfileKey(const std::string& strSection, const std::string& strKey,
                              std::string& strValue) const = 0;
  virtual sListSettingWrite WriteProfileKey(const std::string& strSection, const std::string& strKey,
                                            const std::string& strValue) = 0;

  // A key as the profile functions read it: szDefault when it is absent, cut to nBufferSize - 1
  // characters, a NUL inside it kept.
  virtual std::string ReadKey(const std::string& strSection, const std::string& strKey, const char* szDefault,
                              uint32_t nBufferSize) const = 0;
  // False when the value was not written.
  virtual bool WriteKey(const std::string& strSection, const std::string& strKey,
                        const std::string& strValue) = 0;
};
