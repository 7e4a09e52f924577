// The entry points the terminal finds by name. Each runs the steps of start-up or shutdown in
// order and hands the work to the controller; no exception leaves them.
#include "host/api/HalvoHostApi.h"
#include "platform/InterruptedWrites.h"
#include "platform/MessageBox.h"
#include "platform/PlatformPath.h"
#include "plugin/ConfigReader.h"
#include "plugin/HostServices.h"
#include "plugin/PluginContext.h"
#include "plugin/PluginTime.h"
#include "plugin/SettingsAccess.h"
#include "windows/CustomAlertRules.h"
#include "windows/OrvaneWatchDlg.h"

namespace {

constexpr const char* kPluginName = "Orvane Watch";
constexpr const char* kPluginVersion = "5.2.0.0";
constexpr const char* kPluginId = "Orvane_Watch_Zel";
constexpr uint32_t kPluginNumber = 29032010;
constexpr int32_t kPluginFlag = -1;

constexpr const char* kIncompatibleHost = "Halvo Trader Version is not compatible with Zel";

void ReportUnexpected() { ShowMessageBox("Orvane Watch: unexpected internal error"); }

// Unloading ends the shutdown that ExitHalvoPlugin began: the boxes a host shows after that are
// its own.
struct sUnloadNotice {
  ~sUnloadNotice() { EndMessageBoxShutdown(); }
};
const sUnloadNotice g_unloadNotice;

void StartPlugin(const char* szUserId, int32_t nUserCategory) {
  // A start after a stop is a new session, whose boxes all show.
  EndMessageBoxShutdown();
  g_pluginContext.hostModule = GetHostExecutableModule();
  g_pluginContext.userId = szUserId != nullptr ? szUserId : "";
  g_pluginContext.userCategory = nUserCategory;

  if (PFN_pu_get_UserDirectory pfnUserDirectory = FindUserDirectoryService()) {
    CHostString strDirectory;
    pfnUserDirectory(&strDirectory);
    g_pluginContext.settingsDir = strDirectory + "\\Orvane";
    PlatformCreateDirectory(g_pluginContext.settingsDir);
  } else {
    ShowMessageBox(kIncompatibleHost);
    g_pluginContext.settingsDir.clear();
  }
  // Temporaries of writes an earlier run was killed in the middle of.
  for (const char* szFileName : {kSettingsFileName, kCustomAlertFileName})
    RemoveInterruptedWrites(ComposeSettingsPath(szFileName));

  ReadConfiguration(g_pluginContext);
  g_dlgOrvaneWatch.CreateWatchWindows();
}

void StopPlugin() {
  // From here until the library unloads, windows, lists and dialogs are destroyed and save
  // their settings from destructors; when every write fails, each text is shown once.
  BeginMessageBoxShutdown();
  g_dlgOrvaneWatch.SaveAndRelease();
  // Without the host's release service the windows stay as they are.
  if (!g_dlgOrvaneWatch.CloseLink()) return;
  g_dlgOrvaneWatch.DestroyWindows();
}

}  // namespace

extern "C" {

HALVO_API int GetHalvoPluginInfo(CHostString* pstrName, CHostString* pstrVersion, void* /*pUnused*/,
                                 uint32_t* pnNumber, int32_t* pnFlag) {
  try {
    if (pstrName != nullptr) *pstrName = kPluginName;
    if (pstrVersion != nullptr) *pstrVersion = kPluginVersion;
    if (pnNumber != nullptr) *pnNumber = kPluginNumber;
    if (pnFlag != nullptr) *pnFlag = kPluginFlag;
  } catch (...) {
    ReportUnexpected();
  }
  return 1;
}

HALVO_API void GetOptionalHalvoPluginInfo(CHostString* pstrPluginId, CHostStringList* pFirstList,
                                          void* /*pUnused*/, CHostStringList* pSecondList,
                                          CHostIntList* pIntList) {
  try {
    if (pstrPluginId != nullptr) *pstrPluginId = kPluginId;
    if (pFirstList != nullptr) pFirstList->clear();
    if (pSecondList != nullptr) pSecondList->push_back(kPluginId);
    if (pIntList != nullptr) pIntList->push_back(0);
  } catch (...) {
    ReportUnexpected();
  }
}

HALVO_API void InitHalvoPlugin(void* /*pHost*/, const char* szUserId, int32_t nUserCategory,
                               CHostString /*strUnused*/) {
  try {
    StartPlugin(szUserId, nUserCategory);
  } catch (...) {
    ReportUnexpected();
  }
}

HALVO_API void ExitHalvoPlugin() {
  try {
    StopPlugin();
  } catch (...) {
    ReportUnexpected();
  }
}

HALVO_API int ProcessHalvoPluginMsg(void* /*pMessage*/) { return 0; }

// Exported as "gettimeofday" with the terminal's two 32-bit fields. The assembler name keeps
// it apart from the C library's function of that name in this translation unit.
HALVO_API int HalvoGetTimeOfDay(sHalvoTimeVal* pTime, void* /*pZone*/) __asm__("gettimeofday");

HALVO_API int HalvoGetTimeOfDay(sHalvoTimeVal* pTime, void* /*pZone*/) {
  if (pTime != nullptr) *pTime = GetPluginTimeOfDay();
  return 0;
}

}  // extern "C"
