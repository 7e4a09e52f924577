#include "host/PluginLoader.h"

#include <dlfcn.h>

namespace {

template <typename Function>
bool FindEntryPoint(void* hLibrary, const char* szName, Function& pfnOut, std::string& strError) {
  pfnOut = reinterpret_cast<Function>(dlsym(hLibrary, szName));
  if (pfnOut == nullptr) strError = std::string("the plug-in has no entry point ") + szName;
  return pfnOut != nullptr;
}

}  // namespace

CPluginLoader::~CPluginLoader() {
  Stop();
  // The library stays mapped: its windows and Qt objects may still be referenced by the
  // frame until the process ends.
}

bool CPluginLoader::Load(const std::string& strPath) {
  m_hLibrary = dlopen(strPath.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (m_hLibrary == nullptr) {
    const char* szError = dlerror();
    m_strError = szError != nullptr ? szError : "cannot load " + strPath;
    return false;
  }
  if (FindEntryPoint(m_hLibrary, "GetHalvoPluginInfo", m_pfnGetInfo, m_strError) &&
      FindEntryPoint(m_hLibrary, "GetOptionalHalvoPluginInfo", m_pfnGetOptionalInfo, m_strError) &&
      FindEntryPoint(m_hLibrary, "InitHalvoPlugin", m_pfnInit, m_strError) &&
      FindEntryPoint(m_hLibrary, "ExitHalvoPlugin", m_pfnExit, m_strError))
    return true;
  dlclose(m_hLibrary);
  m_hLibrary = nullptr;
  return false;
}

sPluginInfo CPluginLoader::QueryInfo() const {
  sPluginInfo info;
  if (m_hLibrary == nullptr) return info;
  m_pfnGetInfo(&info.strName, &info.strVersion, nullptr, &info.nNumber, &info.nFlag);
  CHostStringList arrFirst;
  CHostStringList arrSecond;
  CHostIntList arrIntegers;
  m_pfnGetOptionalInfo(&info.strPluginId, &arrFirst, nullptr, &arrSecond, &arrIntegers);
  return info;
}

void CPluginLoader::Start(const std::string& strUserId, int32_t nUserCategory) {
  if (m_hLibrary == nullptr || m_bStarted) return;
  m_bStarted = true;
  m_pfnInit(nullptr, strUserId.c_str(), nUserCategory, CHostString());
}

void CPluginLoader::Stop() {
  if (!m_bStarted) return;
  m_bStarted = false;
  m_pfnExit();
}
