// The controller that ties the plug-in together: it owns the docked windows and, as they
// arrive, the records and the link to the risk server. It has no window of its own.
#pragma once

#include <cstdint>

#include "host/api/HalvoHostApi.h"

class COrvaneWatchDlg {
 public:
  // Creates the windows inside the host's main frame; false when there is no frame.
  bool CreateWatchWindows();
  // Saves what outlives the session and releases the records. Nothing without a main frame.
  void SaveAndRelease();
  // Destroys every docked window this controller created.
  void DestroyWindows();

  // Every docked window the controller created, with its window id; handed to the frame.
  CDockedWindowTable m_mapBars;
};

// The one controller, constructed when the library is loaded.
extern COrvaneWatchDlg g_dlgOrvaneWatch;
