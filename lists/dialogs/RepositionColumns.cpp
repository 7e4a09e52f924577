#include "lists/dialogs/RepositionColumns.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "controls/HvDragListCtrl.h"
#include "platform/MessageBox.h"
#include "platform/qt/WindowMessage.h"

namespace {

constexpr int kNameColumnWidth = 180;

// Where moved rows go in a list: its marked row, or its end.
int GetInsertRow(const CHvDragListCtrl& list) {
  const int nMark = list.currentRow();
  return nMark >= 0 && nMark < list.GetItemCount() ? nMark : list.GetItemCount();
}

}  // namespace

CRepositionColumns::CRepositionColumns(IRepositionList& list, std::string& strDefaultSort, QWidget* pParent)
    : QDialog(pParent), m_list(list), m_strDefaultSort(strDefaultSort) {
  setWindowTitle(QStringLiteral(" Column Profile"));
  const CListLayout& layout = m_list.GetRepositionLayout();
  m_arrFixed = m_list.GetFixedColumnNames();
  m_arrColumns = layout.m_arrColumns;
  m_bSortControls = layout.m_strListName == kSortControlsListName;

  m_pHidden = new CHvDragListCtrl(this);
  m_pShown = new CHvDragListCtrl(this);
  m_pHidden->InsertColumn(0, QStringLiteral("Hidden Columns"), kNameColumnWidth);
  m_pShown->InsertColumn(0, QStringLiteral("Shown Columns"), kNameColumnWidth);
  connect(m_pHidden, &QTableWidget::cellDoubleClicked, this, [this] { MoveToShown(); });
  connect(m_pShown, &QTableWidget::cellDoubleClicked, this, [this] { MoveToHidden(); });
  connect(m_pShown, &QTableWidget::cellClicked, this,
          [this](int nRow) { m_pSortEdit->setText(m_pShown->GetItemText(nRow)); });

  auto* pMoveButtons = new QVBoxLayout();
  pMoveButtons->addStretch();
  connect(AddButton(QStringLiteral(">")), &QPushButton::clicked, this, &CRepositionColumns::MoveToShown);
  connect(AddButton(QStringLiteral("<")), &QPushButton::clicked, this, &CRepositionColumns::MoveToHidden);
  pMoveButtons->addWidget(m_arrButtons[0]);
  pMoveButtons->addWidget(m_arrButtons[1]);
  pMoveButtons->addStretch();

  auto* pLists = new QHBoxLayout();
  pLists->addWidget(m_pHidden);
  pLists->addLayout(pMoveButtons);
  pLists->addWidget(m_pShown);

  m_pSortLabel = new QLabel(QStringLiteral("Default Sort For: "), this);
  m_pSortEdit = new QLineEdit(QString::fromStdString(m_strDefaultSort), this);
  QPushButton* pSort = AddButton(QStringLiteral("Sort"));
  connect(pSort, &QPushButton::clicked, this,
          [this] { m_strDefaultSort = m_pSortEdit->text().toStdString(); });
  auto* pSortRow = new QHBoxLayout();
  pSortRow->addWidget(m_pSortLabel);
  pSortRow->addWidget(m_pSortEdit);
  pSortRow->addWidget(pSort);
  m_pSortLabel->setVisible(m_bSortControls);
  m_pSortEdit->setVisible(m_bSortControls);
  pSort->setVisible(m_bSortControls);

  auto* pButtonRow = new QHBoxLayout();
  connect(AddButton(QStringLiteral("&View")), &QPushButton::clicked, this, &CRepositionColumns::ApplyView);
  connect(AddButton(QStringLiteral("&Save")), &QPushButton::clicked, this, &CRepositionColumns::ApplySave);
  connect(AddButton(QStringLiteral("&Cancel")), &QPushButton::clicked, this, &QDialog::reject);
  connect(AddButton(QStringLiteral("&Default")), &QPushButton::clicked, this,
          [this] { m_pSortEdit->setText(QString::fromStdString(m_strDefaultSort)); });
  for (size_t i = m_arrButtons.size() - 4; i < m_arrButtons.size(); ++i) {
    pButtonRow->addWidget(m_arrButtons[i]);
  }

  auto* pMain = new QVBoxLayout(this);
  pMain->addLayout(pLists);
  pMain->addLayout(pSortRow);
  pMain->addLayout(pButtonRow);
  FillLists();
}

QPushButton* CRepositionColumns::AddButton(const QString& strLabel) {
  auto* pButton = new QPushButton(strLabel, this);
  pButton->setAutoDefault(false);
  m_arrButtons.push_back(pButton);
  return pButton;
}

QPushButton* CRepositionColumns::GetButton(const QString& strLabel) const {
  for (QPushButton* pButton : m_arrButtons) {
    if (pButton->text() == strLabel) {
      return pButton;
    }
  }
  return nullptr;
}

void CRepositionColumns::FillLists() {
  const CListLayout& layout = m_list.GetRepositionLayout();
  m_pHidden->DeleteAllItems();
  m_pShown->DeleteAllItems();
  std::vector<std::string> arrShown;
  for (int32_t nPosition = 0; nPosition < layout.GetHeaderCount(); ++nPosition) {
    const int32_t nColumn = layout.GetColumnAt(nPosition);
    if (nColumn >= 0 && static_cast<size_t>(nColumn) < m_arrColumns.size()) {
      arrShown.emplace_back(m_arrColumns[static_cast<size_t>(nColumn)].szName);
      m_pShown->InsertItem(m_pShown->GetItemCount(), QString::fromStdString(arrShown.back()));
    }
  }
  // Each hidden column goes on top, so the hidden list ends in reverse array order.
  for (const sHalvoColInfo& column : m_arrColumns) {
    if (std::find(arrShown.begin(), arrShown.end(), column.szName) == arrShown.end()) {
      m_pHidden->InsertItem(0, QString::fromUtf8(column.szName));
    }
  }
}

bool CRepositionColumns::IsFixedColumn(const std::string& strName) const {
  return std::find(m_arrFixed.begin(), m_arrFixed.end(), strName) != m_arrFixed.end();
}

bool CRepositionColumns::event(QEvent* pEvent) {
  if (pEvent->type() == CWindowMessageEvent::GetEventType()) {
    auto* pMessage = static_cast<CWindowMessageEvent*>(pEvent);
    if (pMessage->m_nMessage == kMsgFixedColumnQuery && pMessage->m_wParam != 0) {
      pMessage->m_nResult = IsFixedColumn(reinterpret_cast<const char*>(pMessage->m_wParam)) ? 1 : 0;
      return true;
    }
  }
  return QDialog::event(pEvent);
}

void CRepositionColumns::MoveToShown() {
  const std::vector<int> arrRows = m_pHidden->GetSelectedRows();
  int nInsert = GetInsertRow(*m_pShown);
  m_pShown->clearSelection();
  for (const int nRow : arrRows) {
    m_pShown->InsertItem(nInsert, m_pHidden->GetItemText(nRow));
    m_pShown->SetItemSelected(nInsert, true);
    ++nInsert;
  }
  for (auto it = arrRows.rbegin(); it != arrRows.rend(); ++it) {
    m_pHidden->DeleteItem(*it);
  }
  m_pShown->setFocus();
}

void CRepositionColumns::MoveToHidden() {
  const std::vector<int> arrRows = m_pShown->GetSelectedRows();
  int nInsert = GetInsertRow(*m_pHidden);
  std::vector<int> arrMoved;
  for (const int nRow : arrRows) {
    const QString strName = m_pShown->GetItemText(nRow);
    if (IsFixedColumn(strName.toStdString())) {
      ShowMessageBox(strName.toStdString() + kCannotRemoveText);
      continue;
    }
    m_pHidden->InsertItem(nInsert++, strName);
    arrMoved.push_back(nRow);
  }
  for (auto it = arrMoved.rbegin(); it != arrMoved.rend(); ++it) {
    m_pShown->DeleteItem(*it);
  }
  m_pHidden->setFocus();
}

void CRepositionColumns::ApplyView() {
  CListLayout& layout = m_list.GetRepositionLayout();
  const size_t nCount = std::min(m_arrColumns.size(), layout.m_arrColumns.size());
  std::vector<int32_t> arrPositions(nCount, -1);
  // Widths not positive come from the records.
  const std::vector<int32_t> arrWidths(nCount, 0);
  for (int nRow = 0; nRow < m_pShown->GetItemCount(); ++nRow) {
    const std::string strName = m_pShown->GetItemText(nRow).toStdString();
    for (size_t nColumn = 0; nColumn < nCount; ++nColumn) {
      if (strName == m_arrColumns[nColumn].szName && arrPositions[nColumn] < 0) {
        arrPositions[nColumn] = nRow;
        break;
      }
    }
  }
  layout.SetLayout(arrPositions, arrWidths);
  if (layout.GetHeaderCount() > 0) {
    layout.m_nFirstColumn = layout.GetColumnAt(0);
  }
  m_list.ApplyRepositionedColumns();
}

void CRepositionColumns::ApplySave() {
  ApplyView();
  m_list.SaveProfile();
}
