#include "controls/HvDragListCtrl.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <algorithm>

#include "platform/MessageBox.h"
#include "platform/qt/WindowMessage.h"

namespace {

constexpr int kImageRole = Qt::UserRole + 1;
constexpr int kDataRole = Qt::UserRole;
// The drag image sits just off the cursor, so the list under the cursor stays findable.
constexpr QPoint kDragImageOffset(12, 12);

// Draws the drop-highlight row the way a selected row looks, without selecting it.
class CDropHighlightDelegate : public QStyledItemDelegate {
 public:
  explicit CDropHighlightDelegate(CHvDragListCtrl* pList) : QStyledItemDelegate(pList), m_pList(pList) {}

 protected:
  void initStyleOption(QStyleOptionViewItem* pOption, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(pOption, index);
    if (index.row() == m_pList->GetDropHighlightRow()) pOption->state |= QStyle::State_Selected;
  }

 private:
  CHvDragListCtrl* m_pList;
};

}  // namespace

CHvDragListCtrl::CHvDragListCtrl(QWidget* pParent) : CReportListWidget(pParent) {
  verticalHeader()->hide();
  horizontalHeader()->setStretchLastSection(true);
  setShowGrid(false);
  setSelectionBehavior(SelectRows);
  setSelectionMode(ExtendedSelection);
  setEditTriggers(NoEditTriggers);
  setWordWrap(false);
  // One scroll line is one row.
  setVerticalScrollMode(ScrollPerItem);
  setItemDelegate(new CDropHighlightDelegate(this));
  m_timerScroll.setInterval(kAutoScrollInterval);
  connect(&m_timerScroll, &QTimer::timeout, this, &CHvDragListCtrl::AutoScrollStep);
}

CHvDragListCtrl::~CHvDragListCtrl() = default;

int CHvDragListCtrl::InsertItem(int nRow, const QString& strText) {
  nRow = InsertEmptyRow(nRow);
  if (nRow < 0) return -1;
  auto* pItem = new QTableWidgetItem(strText);
  pItem->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
  setItem(nRow, 0, pItem);
  return nRow;
}

bool CHvDragListCtrl::SetItemData(int nRow, uint64_t nData) {
  QTableWidgetItem* pItem = item(nRow, 0);
  if (pItem == nullptr) return false;
  pItem->setData(kDataRole, QVariant::fromValue<qulonglong>(nData));
  return true;
}

uint64_t CHvDragListCtrl::GetItemData(int nRow) const {
  const QTableWidgetItem* pItem = item(nRow, 0);
  return pItem != nullptr ? pItem->data(kDataRole).toULongLong() : 0;
}

bool CHvDragListCtrl::SetItemImage(int nRow, int nImage) {
  QTableWidgetItem* pItem = item(nRow, 0);
  if (pItem == nullptr) return false;
  pItem->setData(kImageRole, nImage);
  pItem->setIcon(nImage >= 0 && nImage < m_arrImages.size() ? m_arrImages[nImage] : QIcon());
  return true;
}

int CHvDragListCtrl::GetItemImage(int nRow) const {
  const QTableWidgetItem* pItem = item(nRow, 0);
  if (pItem == nullptr) return -1;
  const QVariant varImage = pItem->data(kImageRole);
  return varImage.isValid() ? varImage.toInt() : -1;
}

void CHvDragListCtrl::SetImageList(const QList<QIcon>& arrImages) {
  m_arrImages = arrImages;
  for (int nRow = 0; nRow < rowCount(); ++nRow) SetItemImage(nRow, GetItemImage(nRow));
}

bool CHvDragListCtrl::SetCheck(int nRow, bool bChecked) {
  QTableWidgetItem* pItem = item(nRow, 0);
  if (pItem == nullptr) return false;
  pItem->setFlags(pItem->flags() | Qt::ItemIsUserCheckable);
  pItem->setCheckState(bChecked ? Qt::Checked : Qt::Unchecked);
  return true;
}

int CHvDragListCtrl::GetCheck(int nRow) const {
  const QTableWidgetItem* pItem = item(nRow, 0);
  if (pItem == nullptr || !pItem->data(Qt::CheckStateRole).isValid()) return -1;
  return pItem->checkState() == Qt::Checked ? 1 : 0;
}

bool CHvDragListCtrl::SetItemSelected(int nRow, bool bSelected) {
  if (nRow < 0 || nRow >= rowCount()) return false;
  QItemSelectionModel::SelectionFlags nFlags = QItemSelectionModel::Rows;
  if (!bSelected)
    nFlags |= QItemSelectionModel::Deselect;
  else
    nFlags |= IsSingleSelection() ? QItemSelectionModel::ClearAndSelect : QItemSelectionModel::Select;
  selectionModel()->select(model()->index(nRow, 0), nFlags);
  return true;
}

bool CHvDragListCtrl::IsItemSelected(int nRow) const {
  return nRow >= 0 && nRow < rowCount() && selectionModel()->isRowSelected(nRow, QModelIndex());
}

std::vector<int> CHvDragListCtrl::GetSelectedRows() const {
  std::vector<int> arrRows;
  for (int nRow = 0; nRow < rowCount(); ++nRow)
    if (IsItemSelected(nRow)) arrRows.push_back(nRow);
  return arrRows;
}

void CHvDragListCtrl::SetSingleSelection(bool bSingle) {
  setSelectionMode(bSingle ? SingleSelection : ExtendedSelection);
}

bool CHvDragListCtrl::BeginDrag() {
  ClearDropHighlight();
  m_arrDragRows.clear();
  for (int nRow : GetSelectedRows()) m_arrDragRows.push_back(static_cast<uint32_t>(nRow));
  if (m_arrDragRows.empty()) return false;
  // The drop re-inserts rows one by one with their states; single selection is off until the
  // drag ends and then comes back.
  if (IsSingleSelection()) {
    m_bSingleSelectionSaved = true;
    SetSingleSelection(false);
  }
  m_bDragging = true;
  return true;
}

void CHvDragListCtrl::HighlightDropRow(int nRow) {
  if (nRow < 0 || nRow >= rowCount() || nRow == m_nDropRow) return;
  m_nDropRow = nRow;
  viewport()->update();
}

void CHvDragListCtrl::ClearDropHighlight() {
  if (m_nDropRow < 0) return;
  m_nDropRow = -1;
  viewport()->update();
}

void CHvDragListCtrl::UpdateAutoScroll(const QPoint& ptGlobal) {
  // The viewport is the client area without the header: the rows begin below it.
  const QRect rcRows(viewport()->mapToGlobal(QPoint(0, 0)), viewport()->size());
  if (ptGlobal.y() < rcRows.top())
    m_nScrollDirection = kScrollUp;
  else if (ptGlobal.y() > rcRows.bottom())
    m_nScrollDirection = kScrollDown;
  else
    m_nScrollDirection = kScrollNone;

  if (m_nScrollDirection == kScrollNone)
    m_timerScroll.stop();
  else if (!m_timerScroll.isActive())
    m_timerScroll.start();
}

void CHvDragListCtrl::AutoScrollStep() {
  if (m_nScrollDirection == kScrollUp) {
    verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    HighlightDropRow(m_nDropRow - 1);
  } else if (m_nScrollDirection == kScrollDown) {
    verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    HighlightDropRow(m_nDropRow + 1);
  }
}

void CHvDragListCtrl::DropRows(CHvDragListCtrl* pTarget, int nTargetRow) {
  const int nHighlightRow = m_nDropRow;
  m_timerScroll.stop();
  m_nScrollDirection = kScrollNone;
  ClearDropHighlight();
  if (m_bDragging && pTarget != nullptr) {
    pTarget->clearSelection();
    if (pTarget == this)
      MoveRowsWithin(nHighlightRow);
    else
      MoveRowsTo(pTarget, nTargetRow);
  }
  FinishDrag();
}

CHvDragListCtrl::sRowCopy CHvDragListCtrl::ReadRow(int nRow) const {
  sRowCopy row;
  row.strText = GetItemText(nRow).left(kMaxTextLength);
  row.nImage = GetItemImage(nRow);
  row.bSelected = IsItemSelected(nRow);
  row.bFocused = currentRow() == nRow;
  row.nData = GetItemData(nRow);
  row.nCheck = GetCheck(nRow);
  return row;
}

void CHvDragListCtrl::InsertRowCopy(int nRow, const sRowCopy& row) {
  nRow = InsertItem(nRow, row.strText);
  if (row.nImage >= 0) SetItemImage(nRow, row.nImage);
  SetItemData(nRow, row.nData);
  if (row.nCheck >= 0) SetCheck(nRow, row.nCheck != 0);
  if (row.bSelected) SetItemSelected(nRow, true);
  if (row.bFocused) selectionModel()->setCurrentIndex(model()->index(nRow, 0), QItemSelectionModel::NoUpdate);
}

void CHvDragListCtrl::MoveRowsWithin(int nHighlightRow) {
  const int nCount = rowCount();
  const int nDropPos = nHighlightRow >= 0 && nHighlightRow + 1 < nCount ? nHighlightRow + 1 : nCount;
  std::vector<sRowCopy> arrRows;
  int nInsertPos = nDropPos;
  for (uint32_t nRow : m_arrDragRows) {
    if (nRow >= static_cast<uint32_t>(nCount)) continue;
    arrRows.push_back(ReadRow(static_cast<int>(nRow)));
    // Every dragged row above the drop position leaves a gap there.
    if (static_cast<int>(nRow) < nDropPos) --nInsertPos;
  }
  for (auto it = m_arrDragRows.rbegin(); it != m_arrDragRows.rend(); ++it) DeleteItem(static_cast<int>(*it));
  for (const sRowCopy& row : arrRows) InsertRowCopy(nInsertPos++, row);
}

void CHvDragListCtrl::MoveRowsTo(CHvDragListCtrl* pTarget, int nTargetRow) {
  const int nDropPos = nTargetRow >= 0 && nTargetRow < pTarget->rowCount() ? nTargetRow : pTarget->rowCount();
  std::vector<int> arrMoved;
  for (uint32_t nRow : m_arrDragRows) {
    if (nRow >= static_cast<uint32_t>(rowCount())) continue;
    sRowCopy row = ReadRow(static_cast<int>(nRow));
    const QByteArray strText = row.strText.toUtf8();
    const auto wParam = reinterpret_cast<uintptr_t>(strText.constData());
    if (SendWindowMessage(parentWidget(), kMsgFixedColumnQuery, wParam, 0) != 0) {
      ShowMessageBox(strText.toStdString() + " cannot be removed");
      continue;
    }
    // Each accepted row goes to the same position, so later rows land above earlier ones.
    row.bSelected = true;
    row.bFocused = true;
    pTarget->InsertRowCopy(nDropPos, row);
    arrMoved.push_back(static_cast<int>(nRow));
  }
  for (auto it = arrMoved.rbegin(); it != arrMoved.rend(); ++it) DeleteItem(*it);
}

void CHvDragListCtrl::FinishDrag() {
  m_pDragImage.reset();
  m_arrDragRows.clear();
  m_bDragging = false;
  if (m_bSingleSelectionSaved) {
    SetSingleSelection(true);
    m_bSingleSelectionSaved = false;
  }
  setFocus();
}

void CHvDragListCtrl::ShowDragImage(const QPoint& ptGlobal) {
  QRect rcRows;
  for (uint32_t nRow : m_arrDragRows)
    rcRows |= QRect(0, rowViewportPosition(static_cast<int>(nRow)), viewport()->width(),
                    rowHeight(static_cast<int>(nRow)));
  rcRows &= viewport()->rect();
  // Rows scrolled out of sight have nothing to show.
  if (rcRows.isEmpty()) return;
  m_pDragImage = std::make_unique<QLabel>(
      nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput);
  m_pDragImage->setAttribute(Qt::WA_TransparentForMouseEvents);
  m_pDragImage->setAttribute(Qt::WA_ShowWithoutActivating);
  m_pDragImage->setPixmap(viewport()->grab(rcRows));
  m_pDragImage->setWindowOpacity(0.7);
  m_pDragImage->adjustSize();
  m_pDragImage->move(ptGlobal + kDragImageOffset);
  m_pDragImage->show();
}

void CHvDragListCtrl::MoveDrag(const QPoint& ptGlobal) {
  if (m_pDragImage) m_pDragImage->move(ptGlobal + kDragImageOffset);
  if (FindDragListAt(ptGlobal) == this) HighlightDropRow(indexAt(viewport()->mapFromGlobal(ptGlobal)).row());
  UpdateAutoScroll(ptGlobal);
}

CHvDragListCtrl* CHvDragListCtrl::FindDragListAt(const QPoint& ptGlobal) {
  for (QWidget* pWidget = QApplication::widgetAt(ptGlobal); pWidget != nullptr;
       pWidget = pWidget->parentWidget()) {
    if (auto* pList = qobject_cast<CHvDragListCtrl*>(pWidget)) return pList;
    if (pWidget->isWindow()) break;
  }
  return nullptr;
}

void CHvDragListCtrl::mousePressEvent(QMouseEvent* pEvent) {
  if (pEvent->button() == Qt::LeftButton) {
    m_ptPress = pEvent->position().toPoint();
    m_bPressOnRow = indexAt(m_ptPress).isValid();
  }
  QTableWidget::mousePressEvent(pEvent);
}

void CHvDragListCtrl::mouseMoveEvent(QMouseEvent* pEvent) {
  const QPoint ptGlobal = pEvent->globalPosition().toPoint();
  if (m_bDragging) {
    MoveDrag(ptGlobal);
    return;
  }
  // Pulling from a row drags it (no rubber-band selection); from empty space the view selects.
  if ((pEvent->buttons() & Qt::LeftButton) && m_bPressOnRow) {
    if ((pEvent->position().toPoint() - m_ptPress).manhattanLength() < QApplication::startDragDistance())
      return;
    m_bPressOnRow = false;
    if (BeginDrag()) {
      ShowDragImage(ptGlobal);
      MoveDrag(ptGlobal);
    }
    return;
  }
  QTableWidget::mouseMoveEvent(pEvent);
}

void CHvDragListCtrl::mouseReleaseEvent(QMouseEvent* pEvent) {
  m_bPressOnRow = false;
  if (m_bDragging && pEvent->button() == Qt::LeftButton) {
    // The press grabbed the mouse for this list, so the release comes here wherever it is.
    const QPoint ptGlobal = pEvent->globalPosition().toPoint();
    CHvDragListCtrl* pTarget = FindDragListAt(ptGlobal);
    const int nTargetRow =
        pTarget != nullptr ? pTarget->indexAt(pTarget->viewport()->mapFromGlobal(ptGlobal)).row() : -1;
    DropRows(pTarget, nTargetRow);
    return;
  }
  QTableWidget::mouseReleaseEvent(pEvent);
}
