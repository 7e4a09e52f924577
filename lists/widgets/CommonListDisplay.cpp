// How CCommonListCtrl shows its cells beyond their plain texts: grouped digits, "###" for a
// number that does not fit, and the frozen first column with the scrolling that keeps it.
#include <QScrollBar>

#include "controls/ColorHeaderCtrl.h"
#include "lists/CustomColumnExpression.h"
#include "lists/widgets/CommonListCtrl.h"
#include "lists/widgets/ListRowPainter.h"

namespace {

// Grouping and "###" apply to the numbers of numeric columns only: a text column may hold codes
// made of digits, which are no amounts.
bool IsNumericColumn(const CListLayout& layout, int32_t nColumn) {
  if (nColumn < 0 || static_cast<size_t>(nColumn) >= layout.m_arrColumns.size()) {
    return false;
  }
  const sHalvoColInfo& column = layout.m_arrColumns[static_cast<size_t>(nColumn)];
  return column.nFormat != kAlignIcon && IsNumericValueType(column.nDataType);
}

}  // namespace

void CCommonListCtrl::SetNumbersUncut(bool bOn) {
  m_bNumbersUncut = bOn;
  viewport()->update();
}

void CCommonListCtrl::SetDigitGrouping(eDigitGrouping eGrouping) {
  m_eGrouping = eGrouping;
  viewport()->update();
}

void CCommonListCtrl::SetFirstColumnFrozen(bool bOn) {
  m_pHeader->SetFirstSectionFrozen(bOn);
  viewport()->update();
}

bool CCommonListCtrl::IsFirstColumnFrozen() const { return m_pHeader->IsFirstSectionFrozen(); }

std::string CCommonListCtrl::GetShownText(int32_t nColumn, std::string strText) const {
  if (m_eGrouping == eDigitGrouping::kNone || !IsNumericColumn(m_layout, nColumn)) {
    return strText;
  }
  return GroupDigits(strText, m_eGrouping);
}

bool CCommonListCtrl::IsHashedWhenCut(int32_t nColumn, const std::string& strShown) const {
  return m_bNumbersUncut && IsNumericColumn(m_layout, nColumn) && IsNumberText(strShown);
}

int CCommonListCtrl::GetFrozenWidth() const { return m_pHeader->GetFrozenWidth(); }

int CCommonListCtrl::GetPositionLeft(int32_t nPosition) const {
  return nPosition == 0 && GetFrozenWidth() > 0 ? 0 : columnViewportPosition(nPosition);
}

int32_t CCommonListCtrl::GetPositionAt(int nX) const { return nX < GetFrozenWidth() ? 0 : columnAt(nX); }

void CCommonListCtrl::scrollTo(const QModelIndex& index, ScrollHint hint) {
  if (!IsFirstColumnFrozen() || !index.isValid()) {
    QTableView::scrollTo(index, hint);
    return;
  }
  // The frozen column is always in sight; any other cell is brought out from under it.
  QScrollBar* pScroll = horizontalScrollBar();
  const int nValue = pScroll->value();
  QTableView::scrollTo(index, hint);
  const int32_t nPosition = index.column();
  if (nPosition == 0) {
    pScroll->setValue(nValue);
  } else if (const int nCovered = GetFrozenWidth() - columnViewportPosition(nPosition); nCovered > 0) {
    pScroll->setValue(pScroll->value() - nCovered);
  }
}

void CCommonListCtrl::scrollContentsBy(int nDx, int nDy) {
  QTableView::scrollContentsBy(nDx, nDy);
  // The view moves its pixels sideways, the frozen column's with them: it is painted afresh.
  if (nDx != 0 && IsFirstColumnFrozen()) {
    viewport()->update();
    m_pHeader->FollowScroll();
  }
}
