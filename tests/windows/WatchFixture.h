// The controller in-process over a frame of this test program, with receive controls that
// this program offers as the host would, so every request the windows send is kept.
#pragma once

#include <QApplication>
#include <QMainWindow>
#include <string>
#include <vector>

#include "lists/widgets/FilterListCtrl.h"
#include "model/RmsDetails.h"
#include "platform/Clock.h"
#include "platform/qt/MainFrame.h"
#include "tests/support/FakeRxControl.h"
#include "tests/support/QtTestApp.h"
#include "tests/support/SettingsFixture.h"
#include "windows/OrvaneWatchDlg.h"
#include "windows/OrvaneWatchDlgBar.h"
#include "windows/OrvaneWatchDocAlerts.h"
#include "windows/WatchCommands.h"
#include "windows/WatchTitles.h"

// Receive controls 0 and 1 as the host hands them out.
extern CFakeRxControl g_controls[2];

using Rows = std::vector<std::vector<std::string>>;

class CWatchFixture : public CSettingsFixture {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Feeds a tree response for the entity with field 64116 at szValue: a record and a row in every list.
  void SendTreeValue(const std::string& strEntity, const char* szValue = "1500.5");
  void AddEntities(const std::vector<std::string>& arrEntities) {
    for (const std::string& strEntity : arrEntities) SendTreeValue(strEntity);
  }
  // Appends custom columns (name, formula) to watch list nWindow; returns the first one's index.
  int32_t AddCustomColumns(int nWindow, const std::vector<std::pair<const char*, const char*>>& arrColumns);
  // Every cell of the list, row by row, in header order.
  static Rows ReadRows(const CFilterListCtrl& list);
  CFilterListCtrl& GetList(int nWindow) { return m_dlg.GetWatchBar(nWindow)->GetList(); }

  QMainWindow m_frame;
  COrvaneWatchDlg m_dlg;
};
