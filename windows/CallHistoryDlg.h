// "Call History": the call status entries the server reports, newest first, in a filter list.
// One dialog serves every window; it is made hidden on first need and keeps its rows until
// the plug-in stops.
#pragma once

#include <QDialog>
#include <deque>
#include <memory>

#include "model/CallStatusEntry.h"

class CFilterListCtrl;

inline constexpr int32_t kCallHistoryListId = 10015;

class CCallHistory : public QDialog {
 public:
  explicit CCallHistory(QWidget* pParent);
  ~CCallHistory() override;

  // Inserts the entry as the top row; the dialog is not shown.
  void AddEntry(std::unique_ptr<sCallStatusEntry> pEntry);
  CFilterListCtrl& GetList() { return *m_pList; }

 private:
  CFilterListCtrl* m_pList;
  std::deque<std::unique_ptr<sCallStatusEntry>> m_arrEntries;
};
