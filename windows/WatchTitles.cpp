#include "windows/WatchTitles.h"

#include "plugin/SettingsAccess.h"

namespace {
constexpr const char* kTitleKey = "TITLE";
}

std::string GetWatchSectionName(int nWindow) { return "Orvane_watch" + std::to_string(nWindow); }

std::string GetDefaultWatchTitle(int nWindow) { return "Orvane Watch " + std::to_string(nWindow); }

std::string ReadWatchTitle(int nWindow) {
  std::string strTitle;
  if (!AccessKeySetting(kSettingRead, GetWatchSectionName(nWindow), kTitleKey, strTitle, kSettingsFileName))
    return GetDefaultWatchTitle(nWindow);
  return strTitle;
}

bool WriteWatchTitle(const std::string& strSection, const std::string& strTitle) {
  std::string strValue = strTitle;
  return AccessKeySetting(kSettingWrite, strSection, kTitleKey, strValue, kSettingsFileName);
}
