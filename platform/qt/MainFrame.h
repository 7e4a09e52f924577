// The application's main window, the parent and docking site of every plug-in window.
// The host registers it; code that needs "the main window" asks here.
#pragma once

#include <string>

#include "platform/PlatformApi.h"

class QMainWindow;

PLATFORM_API void SetMainFrame(QMainWindow* pFrame);
// Null when the application has no main window (or it was destroyed).
PLATFORM_API QMainWindow* GetMainFrame();

// Tells the main window where a file was exported, when it offers "ShowExportedFile(QString)"
// (the terminal shows the path and lists it among recent exports); otherwise nothing happens.
PLATFORM_API void ShowExportInMainFrame(const std::string& strPath);
