// The alerts window: a dockable bar with two lists under two tabs, the custom alerts that the
// column rules raise ("Orvane Alerts") and the SMS and mail alerts the risk server reports
// ("Message Alerts"). Only the list of the selected tab is shown. The window owns the rows of
// both lists; nothing of them is stored in files. New rows stand out until the user selects or
// acknowledges them, their count shows in the tab and the title, and a double-click on a raised
// alert selects its entity in the watch window whose rule raised it.
#pragma once

#include <QDockWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/AuxiliaryLists.h"
#include "windows/WatchMenus.h"

class CFilterListCtrl;
class COrvaneWatchDlg;
class QTabBar;

inline constexpr int32_t kAlertListControlId = 1235;
inline constexpr int32_t kMessageAlertListControlId = 9007;
inline constexpr int32_t kAlertTabsControlId = 9006;

class COrvaneWatchDocAlerts : public QDockWidget {
 public:
  static constexpr int kAlertTab = 0;
  static constexpr int kMessageAlertTab = 1;

  // The controller that made the window: the watch windows its menu shows and hides.
  COrvaneWatchDocAlerts(COrvaneWatchDlg& controller, QWidget* pParent);
  ~COrvaneWatchDocAlerts() override;
  COrvaneWatchDocAlerts(const COrvaneWatchDocAlerts&) = delete;
  COrvaneWatchDocAlerts& operator=(const COrvaneWatchDocAlerts&) = delete;

  // A custom alert that fired. The first row with the same client id, column name, list name
  // and level takes its texts; without one it becomes a new row at the end. The caller
  // repaints the list afterwards (RepaintAlertList), once for all the alerts of a check.
  void AddRaisedAlert(std::unique_ptr<RaisedAlert> pAlert);
  void RepaintAlertList();
  // A message alert from the server: a new row at the end, shown at once.
  void AddMessageAlert(std::unique_ptr<sMessageAlert> pAlert);

  // The rows' records in row order.
  const std::vector<std::unique_ptr<RaisedAlert>>& GetRaisedAlerts() const { return m_arrRaisedAlerts; }
  const std::vector<std::unique_ptr<sMessageAlert>>& GetMessageAlerts() const { return m_arrMessageAlerts; }

  CFilterListCtrl& GetAlertList() const { return *m_pAlertList; }
  CFilterListCtrl& GetMessageAlertList() const { return *m_pMessageAlertList; }
  QTabBar& GetTabBar() const { return *m_pTabs; }
  // The list of the selected tab.
  CFilterListCtrl& GetSelectedList() const;

  // The context menu as it would open now: the watch windows' current titles, "Clear All" and
  // the list commands.
  std::vector<sWatchMenuEntry> GetMenuEntries() const;
  // Runs a command of the context menu; false for one the window does not handle.
  bool OnCommand(int32_t nCommand);

  // Rows not yet selected or acknowledged, per tab.
  int GetUnseenCount(int nTab) const { return m_arrUnseen[static_cast<size_t>(nTab)]; }
  // Marks every row of the selected tab seen.
  void AcknowledgeAlerts();
  // Selects the raised alert's entity in the watch window it came from; false without one.
  bool ShowAlertEntity(const RaisedAlert& alert);
  // The sound of a new alert while "Beep on New Alerts" is ticked; tests listen here.
  void SetBeepFn(std::function<void()> fnBeep) { m_fnBeep = std::move(fnBeep); }
  bool IsBeepOn() const { return m_bBeep; }

 protected:
  // Lays the tabs and the lists out whenever the content is resized.
  bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

 private:
  void ShowTab(int nTab);
  void LayoutControls();
  void ShowContextMenu(const QPoint& ptGlobal);
  void ClearSelectedList();
  void CountNewAlert(int nTab, bool bWasUnseen);
  void MarkSelectedSeen(int nTab);
  void AnnounceNewAlerts();
  void ShowUnseenCounts();
  void SetBeep(bool bOn);

  COrvaneWatchDlg& m_controller;
  QWidget* m_pContent;
  QTabBar* m_pTabs;
  CFilterListCtrl* m_pAlertList;
  CFilterListCtrl* m_pMessageAlertList;
  // Rows are only appended and all cleared at once, so the records are in row order.
  std::vector<std::unique_ptr<RaisedAlert>> m_arrRaisedAlerts;
  // The same alerts by client, column, list and level: the row a repeated alert replaces.
  std::unordered_map<std::string, RaisedAlert*> m_mapRaisedAlerts;
  std::vector<std::unique_ptr<sMessageAlert>> m_arrMessageAlerts;
  std::array<int, 2> m_arrUnseen{};
  bool m_bBeep;
  bool m_bAlertsSinceRepaint = false;
  bool m_bAnnouncePending = false;
  std::function<void()> m_fnBeep;
};
