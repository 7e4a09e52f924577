// The two accessors through which the plug-in reads and writes single settings values in the
// INI files of its settings directory. They differ in their conventions (default texts, buffer
// sizes, whether a failed write is reported); each caller uses the one its data was always
// stored with. Both write a value whole, a NUL inside it included, and read it back whole.
#pragma once

#include <string>

inline constexpr int kSettingRead = 1;
inline constexpr int kSettingWrite = 2;

inline constexpr const char* kSettingsFileName = "OrvaneSetting.ini";

// The path of a settings file, composed anew on every call from the current settings directory.
std::string ComposeSettingsPath(const std::string& strFileName);

inline constexpr const char* kFileOpenFailedText = "File Open Failed";

// Profile accessor. Read: false when the file cannot be opened (value untouched), when the key
// is missing ("Settings not found" is then stored into the value) or empty. Write: as
// WriteProfileSetting, false on any failure.
bool AccessProfileSetting(int nMode, const std::string& strSection, const std::string& strKey,
                          std::string& strValue, const std::string& strFileName);

// What a profile write did. szFailure is kFileOpenFailedText when the file cannot be opened for
// appending, a failure the caller shows; null otherwise.
struct sSettingWrite {
  bool bWritten = false;
  const char* szFailure = nullptr;
};
sSettingWrite WriteProfileSetting(const std::string& strSection, const std::string& strKey,
                                  const std::string& strValue, const std::string& strFileName);

// Key accessor. Read: false without a message when the file cannot be opened, the key is
// missing (the value is emptied) or empty. Write: fails silently. Other modes give false.
bool AccessKeySetting(int nMode, const std::string& strSection, const std::string& strKey,
                      std::string& strValue, const std::string& strFileName);
