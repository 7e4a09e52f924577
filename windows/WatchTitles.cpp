#include "windows/WatchTitles.h"

#include <algorithm>

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
  // A line break would end the value early and leave the rest as a stray line of the file.
  std::string strValue = strTitle;
  std::replace_if(
      strValue.begin(), strValue.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  return AccessKeySetting(kSettingWrite, strSection, kTitleKey, strValue, kSettingsFileName);
}
