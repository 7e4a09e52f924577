// A watch window: a dockable bar holding one filter list of every entity record. The four
// windows behave alike and differ only in their number, which names their list's settings
// section ("Orvane_watch1" ...), list control id (1231 ...) and alert list key ("list1" ...).
#pragma once

#include <QDockWidget>
#include <string>

#include "link/RmsReceiver.h"

class CFilterListCtrl;

class COrvaneWatchDlgBar : public QDockWidget, public CWatchListTarget {
 public:
  COrvaneWatchDlgBar(const QString& strTitle, QWidget* pParent) : COrvaneWatchDlgBar(1, strTitle, pParent) {}
  ~COrvaneWatchDlgBar() override;

  int GetWindowNumber() const { return m_nWindow; }
  CFilterListCtrl& GetList() { return *m_pList; }
  const std::string& GetAlertListKey() const { return m_strAlertListKey; }

  void AppendRecordRow(CRmsDetails* pRecord) override;
  void DeleteRecordRow(const CRmsDetails* pRecord) override;
  bool RefreshVisibleRecordRow(const CRmsDetails* pRecord) override;

 protected:
  COrvaneWatchDlgBar(int nWindow, const QString& strTitle, QWidget* pParent);

 private:
  int m_nWindow;
  std::string m_strAlertListKey;
  CFilterListCtrl* m_pList;
};

class COrvaneWatchDlgBar2 final : public COrvaneWatchDlgBar {
 public:
  COrvaneWatchDlgBar2(const QString& strTitle, QWidget* pParent) : COrvaneWatchDlgBar(2, strTitle, pParent) {}
};

class COrvaneWatchDlgBar3 final : public COrvaneWatchDlgBar {
 public:
  COrvaneWatchDlgBar3(const QString& strTitle, QWidget* pParent) : COrvaneWatchDlgBar(3, strTitle, pParent) {}
};

class COrvaneWatchDlgBar4 final : public COrvaneWatchDlgBar {
 public:
  COrvaneWatchDlgBar4(const QString& strTitle, QWidget* pParent) : COrvaneWatchDlgBar(4, strTitle, pParent) {}
};
