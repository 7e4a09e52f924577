// A watch window: a dockable bar holding one filter list of every entity record. The four
// windows behave alike and differ only in their number, which names their list's settings
// section ("Orvane_watch1" ...), list control id (1231 ...), view name ("View0" ...) and alert
// list key ("list1" ...). A right-click in the list opens the window's menu; its commands act
// on the entities selected in the list.
#pragma once

#include <QDockWidget>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/api/HalvoHostApi.h"
#include "link/RmsReceiver.h"
#include "windows/WatchMenus.h"

class CFilterListCtrl;
class CRmsDetails;
class QLabel;
class COrvaneWatchDlg;
class CSetTitleDlg;

class COrvaneWatchDlgBar : public QDockWidget, public CWatchListTarget {
 public:
  // The controller that made the window: its requests, dialogs and other windows.
  COrvaneWatchDlgBar(COrvaneWatchDlg& controller, const QString& strTitle, QWidget* pParent)
      : COrvaneWatchDlgBar(controller, 1, strTitle, pParent) {}
  ~COrvaneWatchDlgBar() override;

  int GetWindowNumber() const { return m_nWindow; }
  CFilterListCtrl& GetList() { return *m_pList; }
  const std::string& GetAlertListKey() const { return m_strAlertListKey; }
  QString GetViewName() const { return QStringLiteral("View%1").arg(m_nWindow - 1); }
  // The title dialog, null until "Change Title" was first chosen.
  CSetTitleDlg* GetTitleDialog() const { return m_pTitleDlg.get(); }

  void AppendRecordRow(CRmsDetails* pRecord) override;
  void DeleteRecordRow(const CRmsDetails* pRecord) override;
  bool RefreshVisibleRecordRow(const CRmsDetails* pRecord) override;
  bool IsAlertsOnEveryRow() const override;

  // The menu a right-click opens now: other windows' current titles, the entries the
  // configuration allows, the e-mail entries when the list's amount columns are set.
  std::vector<sWatchMenuEntry> GetMenuEntries() const;
  // Runs a command of the menu; false for an identifier the window does not know.
  bool OnCommand(int32_t nCommand);
  // The records behind the selected rows, in ascending row order.
  std::vector<const CRmsDetails*> GetSelectedRecords() const;

  // Selects the first row of the entity at that level, scrolls to it and shows the window;
  // false when the list shows no such row.
  bool SelectEntity(std::string_view strEntityId, std::string_view strLevelText);

  // Shows the link's state above the rows while the server's data does not arrive, and dims
  // every row meanwhile; called about once a second, it also repaints rows that aged.
  void ShowLinkStatus(const sHalvoLinkStatus& status);
  // The banner's text; empty while it is hidden.
  QString GetBannerText() const;
  // True when the row of the record is drawn greyed: not reported after a reconnect, its
  // values older than the list's limit, or the link quiet.
  bool IsRowDimmed(const CRmsDetails& record) const;

 protected:
  // Places the list whenever the content is resized.
  bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

  COrvaneWatchDlgBar(COrvaneWatchDlg& controller, int nWindow, const QString& strTitle, QWidget* pParent);

 private:
  void PlaceContent();
  void ShowContextMenu(const QPoint& ptGlobal);
  void OpenTitleDialog();
  void OpenCustomAlertSetting();
  void RefreshFirstSelected();
  void SendManualAlerts(int nKind);
  void SendCallEmails(int nKind);
  void SetCallStatus(int nKind);

  COrvaneWatchDlg& m_controller;
  int m_nWindow;
  std::string m_strAlertListKey;
  QWidget* m_pContent;
  CFilterListCtrl* m_pList;
  QLabel* m_pBanner;
  bool m_bLinkQuiet = false;
  int32_t m_nDimAfterSeconds;
  int m_nStatusTicks = 0;
  std::unique_ptr<CSetTitleDlg> m_pTitleDlg;
};

class COrvaneWatchDlgBar2 final : public COrvaneWatchDlgBar {
 public:
  COrvaneWatchDlgBar2(COrvaneWatchDlg& controller, const QString& strTitle, QWidget* pParent)
      : COrvaneWatchDlgBar(controller, 2, strTitle, pParent) {}
};

class COrvaneWatchDlgBar3 final : public COrvaneWatchDlgBar {
 public:
  COrvaneWatchDlgBar3(COrvaneWatchDlg& controller, const QString& strTitle, QWidget* pParent)
      : COrvaneWatchDlgBar(controller, 3, strTitle, pParent) {}
};

class COrvaneWatchDlgBar4 final : public COrvaneWatchDlgBar {
 public:
  COrvaneWatchDlgBar4(COrvaneWatchDlg& controller, const QString& strTitle, QWidget* pParent)
      : COrvaneWatchDlgBar(controller, 4, strTitle, pParent) {}
};
