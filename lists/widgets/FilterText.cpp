#include "lists/widgets/FilterText.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>
#include <string>
#include <vector>

#include "lists/ListCommands.h"
#include "lists/widgets/FilterListCtrl.h"

namespace {

constexpr int kPopupWidth = 220;
constexpr int kPopupMaxHeight = 300;

QPointer<CFilterText>& GetInstancePointer() {
  static QPointer<CFilterText> s_pInstance;
  return s_pInstance;
}

}  // namespace

CFilterText::CFilterText(QWidget* pParent) : QDialog(pParent, Qt::Popup) {
  m_pListBox = new QListWidget(this);
  m_pListBox->setSelectionMode(QAbstractItemView::ExtendedSelection);
  m_pListBox->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  m_pListBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  m_pListBox->setUniformItemSizes(true);
  m_pListBox->installEventFilter(this);
  auto* pLayout = new QVBoxLayout(this);
  pLayout->setContentsMargins(1, 1, 1, 1);
  pLayout->addWidget(m_pListBox);
}

CFilterText* CFilterText::GetInstance() { return GetInstancePointer(); }

CFilterText* CFilterText::ShowFor(CFilterListCtrl& list, int32_t nPosition, const QPoint& ptGlobal) {
  QPointer<CFilterText>& pInstance = GetInstancePointer();
  if (pInstance == nullptr) {
    pInstance = new CFilterText(&list);
  } else if (pInstance->parentWidget() != &list) {
    pInstance->hide();
    pInstance->setParent(&list, pInstance->windowFlags());
  }
  pInstance->Fill(list, nPosition);
  pInstance->move(ptGlobal);
  pInstance->show();
  pInstance->activateWindow();
  pInstance->m_pListBox->setFocus();
  return pInstance;
}

void CFilterText::Fill(CFilterListCtrl& list, int32_t nPosition) {
  m_pTarget = &list;
  m_nPosition = nPosition;
  m_pListBox->clear();
  const int nItemHeight = m_pListBox->fontMetrics().height() + 4;
  for (const std::string& strValue : CollectFilterValues(list.GetStore(), nPosition)) {
    auto* pItem = new QListWidgetItem(QString::fromStdString(strValue), m_pListBox);
    pItem->setSizeHint(QSize(kHorizontalExtent, nItemHeight));
  }
  const int nContent = m_pListBox->count() * nItemHeight + 2 * m_pListBox->frameWidth() + 4;
  resize(kPopupWidth, std::clamp(nContent + m_pListBox->horizontalScrollBar()->sizeHint().height(),
                                 nItemHeight * 3, kPopupMaxHeight));
}

void CFilterText::ApplySelection() {
  std::vector<std::string> arrChosen;
  for (int i = 0; i < m_pListBox->count(); ++i) {
    const QListWidgetItem* pItem = m_pListBox->item(i);
    if (pItem->isSelected()) {
      arrChosen.push_back(pItem->text().toStdString());
    }
  }
  hide();
  if (m_pTarget != nullptr) {
    m_pTarget->SetHeaderFilterText(m_nPosition, JoinFilterValues(arrChosen));
  }
}

bool CFilterText::eventFilter(QObject* pWatched, QEvent* pEvent) {
  if (pWatched == m_pListBox && pEvent->type() == QEvent::KeyPress) {
    const int nKey = static_cast<const QKeyEvent*>(pEvent)->key();
    if (nKey == Qt::Key_Return || nKey == Qt::Key_Enter) {
      ApplySelection();
      return true;
    }
  }
  return QDialog::eventFilter(pWatched, pEvent);
}

void CFilterText::changeEvent(QEvent* pEvent) {
  QDialog::changeEvent(pEvent);
  if (pEvent->type() == QEvent::ActivationChange && isVisible() && !isActiveWindow()) {
    hide();
  }
}
