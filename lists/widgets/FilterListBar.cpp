// The filter bar of CFilterListCtrl: showing and hiding it, moving between its edits with Tab
// and Shift+Tab, and the filter value popup of its buttons.
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>

#include "lists/widgets/FilterListCtrl.h"
#include "lists/widgets/FilterText.h"

namespace {

// How far past a filter edit the list scrolls to bring it into view.
constexpr int kFilterScrollMargin = 50;

}  // namespace

void CFilterListCtrl::ShowFilterBar(bool bShown) {
  m_bFilterBarShown = bShown;
  GetHeader()->ShowFilterBar(bShown);
  UpdateHeaderGeometry();
}

void CFilterListCtrl::ToggleFilterBar() {
  const bool bFocusInHeader = GetHeader()->isAncestorOf(QApplication::focusWidget());
  ShowFilterBar(!m_bFilterBarShown);
  if (m_bFilterBarShown) {
    GetHeader()->FocusFilterEdit(0);
  } else if (bFocusInHeader) {
    setFocus(Qt::OtherFocusReason);
  }
}

void CFilterListCtrl::OpenFilterValues(int32_t nPosition, const QPoint& ptGlobal) {
  CFilterText::ShowFor(*this, nPosition, ptGlobal);
}

bool CFilterListCtrl::HandleListKey(const QKeyEvent& event) {
  if (m_bDataMode && event.key() == Qt::Key_F && (event.modifiers() & Qt::ControlModifier) != 0 &&
      (event.modifiers() & Qt::ShiftModifier) == 0) {
    ToggleFilterBar();
    return true;
  }
  return CCommonListCtrl::HandleListKey(event);
}

bool CFilterListCtrl::eventFilter(QObject* pWatched, QEvent* pEvent) {
  if (pEvent->type() != QEvent::KeyPress) {
    return CCommonListCtrl::eventFilter(pWatched, pEvent);
  }
  int nPosition = -1;
  for (int i = 0; i < GetHeader()->count(); ++i) {
    if (GetHeader()->GetFilterEdit(i) == pWatched) {
      nPosition = i;
      break;
    }
  }
  if (nPosition < 0) {
    return CCommonListCtrl::eventFilter(pWatched, pEvent);
  }
  const auto* pKey = static_cast<const QKeyEvent*>(pEvent);
  const bool bCtrl = (pKey->modifiers() & Qt::ControlModifier) != 0;
  if (pKey->key() == Qt::Key_Tab || pKey->key() == Qt::Key_Backtab) {
    MoveFilterEdit(nPosition, pKey->key() == Qt::Key_Backtab || (pKey->modifiers() & Qt::ShiftModifier) != 0);
    return true;
  }
  if (pKey->key() == Qt::Key_F && bCtrl && m_bDataMode) {
    ToggleFilterBar();
    return true;
  }
  return CCommonListCtrl::eventFilter(pWatched, pEvent);
}

void CFilterListCtrl::MoveFilterEdit(int nFrom, bool bBackward) {
  const int nCount = GetLayout().GetHeaderCount();
  if (nCount <= 0) {
    return;
  }
  const int nTo = (nFrom + (bBackward ? nCount - 1 : 1)) % nCount;
  const int nLeft = GetPositionLeft(nTo);
  const int nRight = nLeft + columnWidth(nTo);
  // A frozen first column covers the left edge of the others.
  const int nCovered = nTo == 0 ? 0 : GetFrozenWidth();
  QScrollBar* pScroll = horizontalScrollBar();
  if (nRight > viewport()->width()) {
    pScroll->setValue(pScroll->value() + nRight - viewport()->width() + kFilterScrollMargin);
  } else if (nLeft < nCovered) {
    pScroll->setValue(pScroll->value() + nLeft - nCovered - kFilterScrollMargin);
  }
  GetHeader()->FocusFilterEdit(nTo);
}
