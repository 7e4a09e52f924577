// A settings file held in memory for the tests of the lists' stored lines: the keys of each
// section. A key of m_mapFailures is not written; the write fails with the text given there
// (null: none).
#pragma once

#include <map>
#include <string>

#include "lists/ListSettingsFile.h"

class CMemorySettingsFile : public IListSettingsFile {
 public:
  std::map<std::string, std::map<std::string, std::string>> m_mapSections;
  std::map<std::string, const char*> m_mapFailures;

  bool ReadProfileKey(const std::string& strSection, const std::string& strKey,
                      std::string& strValue) const override {
    strValue = ReadKey(strSection, strKey, "", 4096);
    return !strValue.empty();
  }
  sListSettingWrite WriteProfileKey(const std::string& strSection, const std::string& strKey,
                                    const std::string& strValue) override {
    if (const auto it = m_mapFailures.find(strKey); it != m_mapFailures.end()) return {false, it->second};
    m_mapSections[strSection][strKey] = strValue;
    return {true};
  }
  std::string ReadKey(const std::string& strSection, const std::string& strKey, const char* szDefault,
                      uint32_t nBufferSize) const override {
    const auto itSection = m_mapSections.find(strSection);
    if (itSection == m_mapSections.end() || !itSection->second.contains(strKey)) return szDefault;
    return itSection->second.at(strKey).substr(0, nBufferSize - 1);
  }
  bool WriteKey(const std::string& strSection, const std::string& strKey,
                const std::string& strValue) override {
    return WriteProfileKey(strSection, strKey, strValue).bWritten;
  }
};
