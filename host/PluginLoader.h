// Loads a plug-in library and drives it through its entry points.
#pragma once

#include <string>

#include "host/api/HalvoHostApi.h"

struct sPluginInfo {
  std::string strName;
  std::string strVersion;
  std::string strPluginId;
  uint32_t nNumber = 0;
  int32_t nFlag = 0;
};

class CPluginLoader {
 public:
  CPluginLoader() = default;
  CPluginLoader(const CPluginLoader&) = delete;
  CPluginLoader& operator=(const CPluginLoader&) = delete;
  ~CPluginLoader();

  // Loads the library and finds its entry points. False, with the reason in GetError(), when
  // the library cannot be loaded or lacks an entry point.
  bool Load(const std::string& strPath);
  bool IsLoaded() const { return m_hLibrary != nullptr; }
  const std::string& GetError() const { return m_strError; }

  // Asks both information calls.
  sPluginInfo QueryInfo() const;
  // Starts the plug-in for the logged-in user; once.
  void Start(const std::string& strUserId, int32_t nUserCategory);
  // Stops a started plug-in; once.
  void Stop();

 private:
  void* m_hLibrary = nullptr;
  std::string m_strError;
  bool m_bStarted = false;
  PFN_GetHalvoPluginInfo m_pfnGetInfo = nullptr;
  PFN_GetOptionalHalvoPluginInfo m_pfnGetOptionalInfo = nullptr;
  PFN_InitHalvoPlugin m_pfnInit = nullptr;
  PFN_ExitHalvoPlugin m_pfnExit = nullptr;
};
