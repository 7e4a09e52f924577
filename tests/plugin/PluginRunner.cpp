// Loads a host module and a plug-in the way the terminal does, drives the plug-in through
// its entry points and prints, one line each, what it observed: service calls (printed by the
// host module), message boxes and frame messages.
//
// Usage: plugin_runner HOST_MODULE PLUGIN USER CATEGORY [--no-frame]
// Environment: FAKE_DRIVE_ROOT moves the drive root.
#include "PluginRunner.h"

#include <dlfcn.h>

#include <QApplication>
#include <QDockWidget>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "host/api/HalvoHostApi.h"
#include "platform/MessageBox.h"
#include "platform/PlatformPath.h"
#include "platform/qt/MainFrame.h"
#include "platform/qt/WindowMessage.h"

void CLoggingFrame::SaveDockLayout(int nVersion) { std::printf("frame SaveDockLayout %d\n", nVersion); }

bool CLoggingFrame::event(QEvent* pEvent) {
  if (pEvent->type() == CWindowMessageEvent::GetEventType()) {
    auto* pMessage = static_cast<CWindowMessageEvent*>(pEvent);
    const auto* pTable = reinterpret_cast<const CDockedWindowTable*>(pMessage->m_wParam);
    std::printf("frame message %u windows %zu lparam %ld\n", pMessage->m_nMessage,
                pTable != nullptr ? pTable->size() : 0, static_cast<long>(pMessage->m_lParam));
    return true;
  }
  return QMainWindow::event(pEvent);
}

namespace {

// The library, or the end of the run when it cannot be loaded.
void* Load(const char* szPath, int nMode) {
  void* hLibrary = dlopen(szPath, RTLD_NOW | nMode);
  if (hLibrary == nullptr) {
    std::printf("cannot load %s: %s\n", szPath, dlerror());
    std::exit(3);
  }
  return hLibrary;
}

template <typename Function>
Function Find(void* hLibrary, const char* szName) {
  auto pfn = reinterpret_cast<Function>(dlsym(hLibrary, szName));
  if (pfn == nullptr) {
    std::printf("missing entry point %s\n", szName);
    std::exit(3);
  }
  return pfn;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: plugin_runner HOST_MODULE PLUGIN USER CATEGORY [--no-frame]\n");
    return 2;
  }
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  QApplication app(argc, argv);
  SetMessageBoxSink([](const std::string& strText) { std::printf("box %s\n", strText.c_str()); });
  if (const char* szRoot = std::getenv("FAKE_DRIVE_ROOT")) SetPlatformDriveRoot(szRoot);

  // The host module's services become visible through the main program's handle, as a real
  // host's exported services are.
  Load(argv[1], RTLD_GLOBAL);
  void* hPlugin = Load(argv[2], RTLD_LOCAL);

  CLoggingFrame frame;
  if (argc < 6 || std::strcmp(argv[5], "--no-frame") != 0) SetMainFrame(&frame);

  Find<PFN_InitHalvoPlugin>(hPlugin, "InitHalvoPlugin")(nullptr, argv[3], std::atoi(argv[4]),
                                                        CHostString("x"));
  std::printf("init done\n");
  Find<PFN_ExitHalvoPlugin>(hPlugin, "ExitHalvoPlugin")();
  // A plug-in that stops takes its windows out of the frame.
  const auto nLeft = static_cast<long long>(frame.findChildren<QDockWidget*>().size());
  std::printf("exit done, %lld windows left\n", nLeft);
  return 0;
}
