// The drawing and the input of CCommonListCtrl: rows painted from one read per visible cell,
// keys, clicks on check boxes, the right-click notification and the focus that the selection
// colours follow.
#include <QContextMenuEvent>
#include <QCursor>
#include <QFontInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "controls/ColorHeaderCtrl.h"
#include "lists/AppearanceLine.h"
#include "lists/ListCommands.h"
#include "lists/widgets/CommonListCtrl.h"
#include "lists/widgets/ListRowPainter.h"
#include "lists/widgets/ListTableModel.h"

namespace {

constexpr int kCheckBoxSize = 11;
const QColor kGridColour(72, 72, 72);

}  // namespace

void CCommonListCtrl::UpdateRowHeight() {
  m_nRowHeight = ::GetRowHeight(QFontInfo(font()).pixelSize(), GetLinesPerRow());
  verticalHeader()->setDefaultSectionSize(m_nRowHeight);
  updateGeometries();
  viewport()->update();
}

bool CCommonListCtrl::RepaintRowIfVisible(int32_t nRow) {
  if (nRow < 0 || nRow >= m_pModel->rowCount()) {
    return false;
  }
  const int nTop = rowViewportPosition(nRow);
  const int nHeight = rowHeight(nRow);
  if (nTop + nHeight <= 0 || nTop >= viewport()->height()) {
    return false;
  }
  viewport()->update(QRect(0, nTop, viewport()->width(), nHeight));
  return true;
}

void CCommonListCtrl::paintEvent(QPaintEvent* pEvent) {
  QPainter painter(viewport());
  const QRect rcUpdate = pEvent->rect();
  const QRegion& rgnUpdate = pEvent->region();
  painter.fillRect(rcUpdate, ToQColor(m_appearance.clrBackground));
  const int32_t nRowCount = m_pModel->rowCount();
  const int32_t nFirst = rowAt(rcUpdate.top());
  if (nRowCount == 0 || m_layout.GetHeaderCount() == 0 || nFirst < 0) {
    return;
  }
  int32_t nLast = rowAt(rcUpdate.bottom());
  if (nLast < 0) {
    nLast = nRowCount - 1;
  }
  const int nLeft = -horizontalOffset();
  const int nRight = nLeft + m_pHeader->length() - 1;
  int nPaintedBottom = -1;
  for (int32_t nRow = nFirst; nRow <= nLast; ++nRow) {
    const QRect rcRow(QPoint(nLeft, rowViewportPosition(nRow)),
                      QPoint(nRight, rowViewportPosition(nRow) + rowHeight(nRow) - 1));
    if (!rgnUpdate.intersects(rcRow)) {
      continue;
    }
    PaintRow(painter, nRow, rcRow, rcUpdate);
    nPaintedBottom = rcRow.bottom();
    if (m_bGridLines) {
      painter.setPen(kGridColour);
      painter.drawLine(rcRow.left(), rcRow.bottom(), rcRow.right(), rcRow.bottom());
    }
  }
  if (m_bGridLines && nPaintedBottom >= 0) {
    painter.setPen(kGridColour);
    const int nFrozenWidth = GetFrozenWidth();
    for (int32_t nPosition = 0; nPosition < m_layout.GetHeaderCount(); ++nPosition) {
      const int nX = GetPositionLeft(nPosition) + columnWidth(nPosition) - 1;
      if (nX >= rcUpdate.left() && nX <= rcUpdate.right() && (nPosition == 0 || nX >= nFrozenWidth)) {
        painter.drawLine(nX, rcUpdate.top(), nX, std::min(nPaintedBottom, rcUpdate.bottom()));
      }
    }
  }
}

void CCommonListCtrl::PaintRow(QPainter& painter, int32_t nRow, const QRect& rcRow,
                               const QRect& rcUpdate) const {
  const CListRowPainter rowPainter(painter, hasFocus(), m_bGradient, m_cellTexts);
  const bool bSelected = selectionModel()->isRowSelected(nRow, QModelIndex());
  sCellText cell;
  int32_t clrRowText = kColourUnset;
  int32_t clrRowBack = kColourUnset;
  uint32_t clrKeyword = 0;
  const bool bKeyword = HasKeywordColours(m_appearance) && FindKeywordColour(nRow, clrKeyword);
  // A frozen first column is drawn last, over the cells scrolled under it.
  const int nFrozenWidth = GetFrozenWidth();
  sCellText frozenCell;
  int32_t nFrozenColumn = -1;
  // Column 0 is always read, shown or not: it sets up the row. Other columns are read only when
  // they reach into the area being painted, in column order; the shown ones are found from the
  // header, which holds a few of the hundreds of columns a list has.
  std::vector<int32_t> arrColumns = {0};
  for (int32_t nPosition = 0; nPosition < m_layout.GetHeaderCount(); ++nPosition) {
    const int32_t nColumn = m_layout.GetColumnAt(nPosition);
    if (nColumn > 0) arrColumns.push_back(nColumn);
  }
  std::sort(arrColumns.begin() + 1, arrColumns.end());
  for (const int32_t nColumn : arrColumns) {
    const int32_t nPosition = m_layout.GetPosition(nColumn);
    QRect rcCell;
    if (nPosition >= 0) {
      rcCell = QRect(GetPositionLeft(nPosition), rcRow.top(), columnWidth(nPosition), rcRow.height());
    }
    const bool bVisible =
        nPosition >= 0 && rcCell.right() >= rcUpdate.left() && rcCell.left() <= rcUpdate.right();
    if (nColumn != 0 && !bVisible) {
      continue;
    }
    cell.strText.clear();
    cell.nTextColour = clrRowText;
    cell.nBackColour = clrRowBack;
    if (!GetRowCellText(nRow, nColumn, cell)) {
      return;
    }
    if (nColumn == 0) {
      clrRowText =
          cell.nTextColour != kColourUnset ? cell.nTextColour : static_cast<int32_t>(m_appearance.clrText);
      clrRowBack = cell.nBackColour != kColourUnset ? cell.nBackColour
                                                    : static_cast<int32_t>(m_appearance.clrBackground);
      if (bKeyword) {
        clrRowText = static_cast<int32_t>(clrKeyword);
        cell.nTextColour = kColourUnset;
      }
      rowPainter.FillRow(rcRow, static_cast<uint32_t>(clrRowBack), bSelected);
    }
    if (!bVisible) {
      continue;
    }
    if (nPosition == 0 && nFrozenWidth > 0) {
      frozenCell = cell;
      nFrozenColumn = nColumn;
      continue;
    }
    if (nColumn != 0 && !bSelected && cell.nBackColour != kColourUnset && cell.nBackColour != clrRowBack) {
      rowPainter.FillCell(rcCell, static_cast<uint32_t>(cell.nBackColour));
    }
    DrawCell(rowPainter, nRow, nColumn, rcCell, cell, clrRowText);
  }
  if (nFrozenColumn >= 0) {
    const QRect rcFrozen(0, rcRow.top(), nFrozenWidth, rcRow.height());
    rowPainter.FillRow(rcFrozen, static_cast<uint32_t>(clrRowBack), bSelected);
    if (nFrozenColumn != 0 && !bSelected && frozenCell.nBackColour != kColourUnset &&
        frozenCell.nBackColour != clrRowBack) {
      rowPainter.FillCell(rcFrozen, static_cast<uint32_t>(frozenCell.nBackColour));
    }
    DrawCell(rowPainter, nRow, nFrozenColumn, rcFrozen, frozenCell, clrRowText);
    // Its edge shows where the scrolled columns pass under it.
    painter.setPen(kGridColour);
    painter.drawLine(rcFrozen.topRight(), rcFrozen.bottomRight());
  }
}

void CCommonListCtrl::DrawCell(const CListRowPainter& rowPainter, int32_t nRow, int32_t nColumn,
                               const QRect& rcCell, sCellText& cell, int32_t clrRowText) const {
  const int32_t clrText = cell.nTextColour != kColourUnset ? cell.nTextColour : clrRowText;
  QRect rcText = rcCell;
  if (m_bCheckBoxes && m_layout.GetPosition(nColumn) == 0) {
    const QRect rcBox = GetCheckBoxRect(nRow);
    rowPainter.DrawCheckBox(rcBox, GetCheck(nRow) != 0, static_cast<uint32_t>(clrText));
    rcText.setLeft(rcBox.right() + 1);
  }
  const int32_t nFormat = m_layout.m_arrColumns[static_cast<size_t>(nColumn)].nFormat;
  const QPixmap* pIcon = nullptr;
  if (nFormat == kAlignIcon) {
    const int nImage = std::atoi(cell.strText.c_str());
    pIcon = nImage >= 0 && static_cast<size_t>(nImage) < m_arrImages.size()
                ? &m_arrImages[static_cast<size_t>(nImage)]
                : nullptr;
  }
  cell.strText = GetShownText(nColumn, std::move(cell.strText));
  rowPainter.DrawCellText(rcText, cell.strText, static_cast<uint32_t>(clrText), nFormat, pIcon,
                          IsHashedWhenCut(nColumn, cell.strText));
}

bool CCommonListCtrl::viewportEvent(QEvent* pEvent) {
  switch (pEvent->type()) {
    case QEvent::ToolTip: {
      const auto* pHelp = static_cast<const QHelpEvent*>(pEvent);
      QRect rcCell;
      const std::string strText = GetCutCellText(pHelp->pos(), rcCell);
      if (strText.empty()) {
        QToolTip::hideText();
      } else {
        QToolTip::showText(pHelp->globalPos(), QString::fromStdString(strText), viewport(), rcCell);
      }
      return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
      // A point on the frozen column goes to the view where that column lies scrolled away,
      // so the current cell is in the first column and no sideways scroll follows the click.
      auto* pMouse = static_cast<QMouseEvent*>(pEvent);
      if (pMouse->position().x() >= GetFrozenWidth()) {
        break;
      }
      QMouseEvent moved = MoveMouseEvent(*pMouse, -horizontalOffset());
      const bool bHandled = QTableView::viewportEvent(&moved);
      pEvent->setAccepted(moved.isAccepted());
      return bHandled;
    }
    default:
      break;
  }
  return QTableView::viewportEvent(pEvent);
}

std::string CCommonListCtrl::GetCutCellText(const QPoint& ptViewport, QRect& rcCell) const {
  const int32_t nRow = rowAt(ptViewport.y());
  const int32_t nPosition = GetPositionAt(ptViewport.x());
  const int32_t nColumn = nPosition >= 0 ? m_layout.GetColumnAt(nPosition) : -1;
  if (nRow < 0 || nColumn < 0 || m_layout.m_arrColumns[static_cast<size_t>(nColumn)].nFormat == kAlignIcon) {
    return {};
  }
  sCellText cell;
  if (!GetRowCellText(nRow, nColumn, cell) || cell.strText.empty()) {
    return {};
  }
  // The room DrawCellText gives the text, check box included.
  int nRoom = columnWidth(nPosition) - 2 * kCellTextMargin;
  if (m_bCheckBoxes && nPosition == 0) {
    nRoom -= GetCheckBoxRect(nRow).width();
  }
  std::string strShown = GetShownText(nColumn, std::move(cell.strText));
  const QFontMetrics metrics(viewport()->font());
  if (metrics.horizontalAdvance(QString::fromStdString(strShown)) <= nRoom) {
    return {};
  }
  rcCell =
      QRect(GetPositionLeft(nPosition), rowViewportPosition(nRow), columnWidth(nPosition), rowHeight(nRow));
  return strShown;
}

bool CCommonListCtrl::FindKeywordColour(int32_t nRow, uint32_t& clrKeyword) const {
  const int32_t nColumn = m_appearance.nKeywordColumn;
  if (nColumn < 0 || static_cast<size_t>(nColumn) >= m_layout.m_arrColumns.size()) {
    return false;
  }
  sCellText cell;
  return GetRowCellText(nRow, nColumn, cell) && MatchKeywordColour(m_appearance, cell.strText, clrKeyword);
}

QRect CCommonListCtrl::GetCheckBoxRect(int32_t nRow) const {
  const int nSize = std::min(kCheckBoxSize, std::max(rowHeight(nRow) - 2, 1));
  const int nTop = rowViewportPosition(nRow) + (rowHeight(nRow) - nSize) / 2;
  return {GetPositionLeft(0) + kCellTextMargin, nTop, nSize, nSize};
}

void CCommonListCtrl::keyPressEvent(QKeyEvent* pEvent) {
  if (HandleListKey(*pEvent)) {
    pEvent->accept();
    return;
  }
  QTableView::keyPressEvent(pEvent);
}

bool CCommonListCtrl::HandleListKey(const QKeyEvent& event) {
  const bool bCtrl = (event.modifiers() & Qt::ControlModifier) != 0;
  const bool bShift = (event.modifiers() & Qt::ShiftModifier) != 0;
  switch (event.key()) {
    case Qt::Key_A:
      if (bCtrl && !bShift) {
        selectAll();
        return true;
      }
      return false;
    case Qt::Key_C:
      if (!bCtrl) {
        return false;
      }
      OnCommand(kCmdCopyToClipboard);
      if (bShift && m_commands.bCustomizeEnabled) {
        ShowAppearanceDialog();
      }
      return true;
    case Qt::Key_E:
      if (bShift && !bCtrl) {
        OnCommand(kCmdWriteToExcel);
        return true;
      }
      return false;
    case Qt::Key_G:
      if (bShift && !bCtrl) {
        OnCommand(kCmdDrawGridLines);
        return true;
      }
      return false;
    case Qt::Key_Menu:
      NotifyRightClick(QCursor::pos());
      return true;
    default:
      return false;
  }
}

void CCommonListCtrl::mousePressEvent(QMouseEvent* pEvent) {
  const QPoint pt = pEvent->position().toPoint();
  const QModelIndex index = indexAt(pt);
  // A press on a frozen first column arrives where that column lies scrolled away.
  if (pEvent->button() == Qt::LeftButton && m_bCheckBoxes && index.isValid() &&
      GetCheckBoxRect(index.row())
          .translated(columnViewportPosition(0) - GetPositionLeft(0), 0)
          .contains(pt)) {
    const int32_t nRow = index.row();
    SetCheck(nRow, GetCheck(nRow) != 0 ? 0 : 1);
    selectionModel()->setCurrentIndex(m_pModel->index(nRow, 0),
                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    pEvent->accept();
    return;
  }
  QTableView::mousePressEvent(pEvent);
}

void CCommonListCtrl::contextMenuEvent(QContextMenuEvent* pEvent) {
  pEvent->accept();
  // The Apps key arrives as a key press as well; it is handled there.
  if (pEvent->reason() != QContextMenuEvent::Keyboard) {
    NotifyRightClick(pEvent->globalPos());
  }
}

void CCommonListCtrl::NotifyRightClick(const QPoint& ptGlobal) {
  emit RightClicked(ptGlobal);
  if (!isSignalConnected(QMetaMethod::fromSignal(&CCommonListCtrl::RightClicked))) {
    ShowMenuAt(CreateContextMenu(), ptGlobal);
  }
}

void CCommonListCtrl::ShowMenuAt(std::unique_ptr<QMenu> pMenu, const QPoint& ptGlobal) {
  if (pMenu != nullptr) {
    pMenu->exec(ptGlobal);
  }
}

void CCommonListCtrl::focusInEvent(QFocusEvent* pEvent) {
  QTableView::focusInEvent(pEvent);
  viewport()->update();
}

void CCommonListCtrl::focusOutEvent(QFocusEvent* pEvent) {
  QTableView::focusOutEvent(pEvent);
  viewport()->update();
}

void CCommonListCtrl::changeEvent(QEvent* pEvent) {
  QTableView::changeEvent(pEvent);
  if (pEvent->type() == QEvent::FontChange) {
    UpdateRowHeight();
    m_pHeader->updateGeometry();
  }
}
