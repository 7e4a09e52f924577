// The controller in-process over a frame of this test program, with receive controls that
// this program offers as the host would, so every request the windows send is kept.
#pragma once

#include <QMainWindow>
#include <string>
#include <vector>

#include "tests/support/FakeRxControl.h"
#include "tests/support/QtTestApp.h"
#include "tests/support/SettingsFixture.h"
#include "windows/OrvaneWatchDlg.h"

// Receive controls 0 and 1 as the host hands them out, and the controls given back.
extern CFakeRxControl g_controls[2];
extern std::vector<const CPyxoRxControl*> g_arrReleased;

class CWatchFixture : public CSettingsFixture {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Feeds a tree response for each entity, so each gets a record and a row in every list.
  void AddEntities(const std::vector<std::string>& arrEntities);
  // Appends custom columns (name, formula) to watch list nWindow; returns the first one's index.
  int32_t AddCustomColumns(int nWindow, const std::vector<std::pair<const char*, const char*>>& arrColumns);
  // The name field of every request receive control 0 was given.
  static std::vector<std::string> GetRequestNames();

  QMainWindow m_frame;
  COrvaneWatchDlg m_dlg;
};
