#include "windows/CallHistoryDlg.h"

#include <QApplication>
#include <QStyle>
#include <QVBoxLayout>

#include "lists/CellText.h"
#include "lists/widgets/FilterListCtrl.h"
#include "model/AuxiliaryLists.h"

CCallHistory::CCallHistory(QWidget* pParent) : QDialog(pParent), m_pList(new CFilterListCtrl(this)) {
  setWindowTitle(QStringLiteral("Call History"));
  setWindowIcon(QApplication::style()->standardIcon(QStyle::SP_MessageBoxInformation));
  m_pList->SetControlId(kCallHistoryListId);
  m_pList->GetLayout().LoadColumnTable(kCallHistoryListName, GetCallStatusColumns());
  m_pList->LoadProfile();
  m_pList->SetCellTextFn(MakeCellTextFn(&GetCallStatusCellText));
  m_pList->SetDataMode(true);
  // Appended rows show at the top, so the newest call comes first.
  m_pList->SetReverse(true);
  QObject::connect(m_pList, &CFilterListCtrl::FilterChanged, m_pList, [this](int) { m_pList->Filter(); });
  auto* pLayout = new QVBoxLayout(this);
  pLayout->setContentsMargins(4, 4, 4, 4);
  pLayout->addWidget(m_pList);
  resize(760, 320);
}

// The rows point at the entries; the list goes first.
CCallHistory::~CCallHistory() { delete m_pList; }

void CCallHistory::AddEntry(std::unique_ptr<sCallStatusEntry> pEntry) {
  m_pList->InsertRow(0, pEntry.get());
  m_arrEntries.push_back(std::move(pEntry));
}
