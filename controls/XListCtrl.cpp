#include "controls/XListCtrl.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <utility>

#include "controls/ColorChooser.h"
#include "controls/ColorRef.h"
#include "controls/XHeaderCtrl.h"
#include "platform/qt/RegisteredMessage.h"
#include "platform/qt/WindowMessage.h"

namespace {

// Size of the "row|column" text posted with a notification.
constexpr size_t kNotifyTextSize = 64;

}  // namespace

uint32_t GetColorBoxClickedMessage() {
  static const uint32_t s_nMessage = RegisterWindowMessage("WM_XLISTCTRL_COLORBOX_CLICKED");
  return s_nMessage;
}

uint32_t GetCheckBoxClickedMessage() {
  static const uint32_t s_nMessage = RegisterWindowMessage("WM_XLISTCTRL_CHECKBOX_CLICKED");
  return s_nMessage;
}

uint32_t GetComboSelectionMessage() {
  static const uint32_t s_nMessage = RegisterWindowMessage("WM_XLISTCTRL_COMBO_SELECTION");
  return s_nMessage;
}

void RegisterXListCtrlMessages() {
  GetColorBoxClickedMessage();
  GetCheckBoxClickedMessage();
  GetComboSelectionMessage();
}

CXListCtrl::CXListCtrl(QWidget* pParent) : CReportListWidget(pParent) {
  setHorizontalHeader(new CXHeaderCtrl(this));
  verticalHeader()->hide();
  setShowGrid(false);
  setSelectionBehavior(SelectRows);
  setEditTriggers(NoEditTriggers);
  setWordWrap(false);
  LoadDefaultColors();

  const QAbstractItemModel* pModel = model();
  connect(pModel, &QAbstractItemModel::rowsInserted, this,
          [this](const QModelIndex&, int nFirst, int nLast) { OnRowsInserted(nFirst, nLast); });
  connect(pModel, &QAbstractItemModel::rowsRemoved, this,
          [this](const QModelIndex&, int nFirst, int nLast) { OnRowsRemoved(nFirst, nLast); });
  connect(pModel, &QAbstractItemModel::columnsInserted, this,
          [this](const QModelIndex&, int nFirst, int nLast) { OnColumnsInserted(nFirst, nLast); });
  connect(pModel, &QAbstractItemModel::columnsRemoved, this,
          [this](const QModelIndex&, int nFirst, int nLast) { OnColumnsRemoved(nFirst, nLast); });
}

int CXListCtrl::InsertItem(int nRow, const QString& strText) {
  nRow = InsertEmptyRow(nRow);
  if (nRow < 0) return -1;
  SetItemText(nRow, 0, strText);
  return nRow;
}

bool CXListCtrl::SetItemText(int nRow, int nColumn, const QString& strText) {
  if (FindCell(nRow, nColumn) == nullptr) return false;
  if (QTableWidgetItem* pItem = item(nRow, nColumn); pItem != nullptr)
    pItem->setText(strText);
  else
    setItem(nRow, nColumn, new QTableWidgetItem(strText));
  return true;
}

bool CXListCtrl::SetItemData(int nRow, uint64_t nData) {
  sXListCell* pCell = FindCell(nRow, 0);
  if (pCell == nullptr) return false;
  pCell->nItemData = nData;
  return true;
}

uint64_t CXListCtrl::GetItemData(int nRow) const {
  const sXListCell* pCell = GetCell(nRow, 0);
  return pCell != nullptr ? pCell->nItemData : 0;
}

bool CXListCtrl::SetEnabled(int nRow, bool bEnabled) {
  if (nRow < 0 || nRow >= static_cast<int>(m_arrRows.size())) return false;
  for (sXListCell& cell : m_arrRows[static_cast<size_t>(nRow)]) cell.nEnabled = bEnabled ? 1 : 0;
  viewport()->update();
  return true;
}

bool CXListCtrl::SetItemColors(int nRow, int nColumn, uint32_t clrText, uint32_t clrBackground) {
  sXListCell* pCell = FindCell(nRow, nColumn);
  if (pCell == nullptr) return false;
  pCell->clrText = clrText;
  pCell->clrBackground = clrBackground;
  UpdateCell(nRow, nColumn);
  return true;
}

bool CXListCtrl::SetItemImage(int nRow, int nColumn, int nImage) {
  sXListCell* pCell = FindCell(nRow, nColumn);
  if (pCell == nullptr) return false;
  pCell->nImage = nImage;
  UpdateCell(nRow, nColumn);
  return true;
}

void CXListCtrl::SetImageList(const QList<QPixmap>& arrImages) {
  m_arrImages = arrImages;
  viewport()->update();
}

bool CXListCtrl::SetColorBox(int nRow, int nColumn, uint32_t clrColor) {
  sXListCell* pCell = FindCell(nRow, nColumn);
  if (pCell == nullptr) return false;
  pCell->bColorBox = 1;
  pCell->clrBackground = clrColor;
  UpdateCell(nRow, nColumn);
  return true;
}

bool CXListCtrl::GetColorBox(int nRow, int nColumn, uint32_t& clrColor) const {
  const sXListCell* pCell = GetCell(nRow, nColumn);
  if (pCell == nullptr || pCell->bColorBox == 0) return false;
  clrColor = pCell->clrBackground;
  return true;
}

const sXListCell* CXListCtrl::GetCell(int nRow, int nColumn) const {
  if (nRow < 0 || nRow >= static_cast<int>(m_arrRows.size())) return nullptr;
  const std::vector<sXListCell>& arrCells = m_arrRows[static_cast<size_t>(nRow)];
  if (nColumn < 0 || nColumn >= static_cast<int>(arrCells.size())) return nullptr;
  return &arrCells[static_cast<size_t>(nColumn)];
}

sXListCell* CXListCtrl::FindCell(int nRow, int nColumn) {
  return const_cast<sXListCell*>(std::as_const(*this).GetCell(nRow, nColumn));
}

sXListCell CXListCtrl::MakeDefaultCell() const {
  sXListCell cell;
  cell.clrText = m_clrDefaultText;
  cell.clrBackground = m_clrDefaultBackground;
  return cell;
}

void CXListCtrl::LoadDefaultColors() {
  m_clrDefaultText = ToColorRef(palette().color(QPalette::Text));
  m_clrDefaultBackground = ToColorRef(palette().color(QPalette::Base));
}

void CXListCtrl::paintEvent(QPaintEvent* pEvent) {
  QPainter painter(viewport());
  const QRect rcExposed = pEvent->rect();
  // What no row covers shows the list's own background.
  painter.fillRect(rcExposed, palette().color(QPalette::Base));
  const int nFirstRow = rowAt(rcExposed.top());
  if (nFirstRow < 0) return;
  for (int nRow = nFirstRow; nRow < rowCount() && rowViewportPosition(nRow) <= rcExposed.bottom(); ++nRow) {
    for (int nColumn = 0; nColumn < columnCount(); ++nColumn) {
      if (isColumnHidden(nColumn)) continue;
      const int nLeft = columnViewportPosition(nColumn);
      if (nLeft > rcExposed.right() || nLeft + columnWidth(nColumn) < rcExposed.left()) continue;
      DrawCell(painter, nRow, nColumn);
    }
  }
}

void CXListCtrl::DrawCell(QPainter& painter, int nRow, int nColumn) const {
  const sXListCell* pCell = GetCell(nRow, nColumn);
  if (pCell == nullptr) return;
  const QRect rcCell(columnViewportPosition(nColumn), rowViewportPosition(nRow), columnWidth(nColumn),
                     rowHeight(nRow));
  if (pCell->bColorBox != 0) {
    painter.fillRect(rcCell, ToQColor(pCell->clrBackground));
    return;
  }

  // A selected row shows the platform's selection colours, so the rows that Delete or a drag
  // acts on are visible; colour boxes keep their colour.
  const bool bSelected = selectionModel()->isSelected(model()->index(nRow, nColumn));
  const QPalette& pal = palette();
  QColor colorText = ToQColor(pCell->clrText);
  if (pCell->nEnabled == 0)
    colorText = pal.color(QPalette::Disabled, QPalette::Text);
  else if (bSelected)
    colorText = pal.color(QPalette::HighlightedText);
  painter.fillRect(rcCell, bSelected ? pal.color(QPalette::Highlight) : ToQColor(pCell->clrBackground));

  QRect rcContent = rcCell.adjusted(CXHeaderCtrl::kSpacing, 0, -CXHeaderCtrl::kSpacing, 0);
  if (pCell->nImage >= 0 && pCell->nImage < m_arrImages.size()) {
    const QPixmap& pixImage = m_arrImages[pCell->nImage];
    const QSize sizeImage = pixImage.deviceIndependentSize().toSize();
    painter.drawPixmap(rcContent.left(), rcContent.top() + (rcContent.height() - sizeImage.height()) / 2,
                       pixImage);
    rcContent.setLeft(rcContent.left() + sizeImage.width() + CXHeaderCtrl::kSpacing);
  }

  const QTableWidgetItem* pHeading = horizontalHeaderItem(nColumn);
  const Qt::Alignment nAlign = pHeading != nullptr
                                   ? Qt::Alignment(pHeading->textAlignment()) & Qt::AlignHorizontal_Mask
                                   : Qt::AlignLeft;
  painter.setPen(colorText);
  painter.drawText(
      rcContent, static_cast<int>(nAlign | Qt::AlignVCenter),
      painter.fontMetrics().elidedText(GetItemText(nRow, nColumn), Qt::ElideRight, rcContent.width()));
}

void CXListCtrl::UpdateCell(int nRow, int nColumn) {
  viewport()->update(QRect(columnViewportPosition(nColumn), rowViewportPosition(nRow), columnWidth(nColumn),
                           rowHeight(nRow)));
}

void CXListCtrl::mousePressEvent(QMouseEvent* pEvent) {
  if (pEvent->button() == Qt::LeftButton) {
    const QModelIndex index = indexAt(pEvent->position().toPoint());
    if (index.isValid()) {
      const sXListCell* pFirst = GetCell(index.row(), 0);
      if (pFirst != nullptr && pFirst->nEnabled == 0) return;
      const sXListCell* pCell = GetCell(index.row(), index.column());
      if (pCell != nullptr && pCell->bColorBox != 0) {
        PickCellColor(index.row(), index.column());
        return;
      }
    }
  }
  QTableWidget::mousePressEvent(pEvent);
}

void CXListCtrl::PickCellColor(int nRow, int nColumn) {
  uint32_t clrColor = GetCell(nRow, nColumn)->clrBackground;
  if (!ChooseColor(this, clrColor)) return;
  // The chooser ran its own event loop: the row may be gone by now.
  sXListCell* pCell = FindCell(nRow, nColumn);
  if (pCell == nullptr) return;
  pCell->clrBackground = clrColor;
  UpdateCell(nRow, nColumn);
  PostColorBoxClicked(nRow, nColumn, clrColor);
}

void CXListCtrl::PostColorBoxClicked(int nRow, int nColumn, uint32_t clrColor) {
  QWidget* pParent = parentWidget();
  if (pParent == nullptr) return;
  auto* pText = new char[kNotifyTextSize];
  std::snprintf(pText, kNotifyTextSize, "%d|%d", nRow, nColumn);
  QCoreApplication::postEvent(
      pParent, new CWindowMessageEvent(GetColorBoxClickedMessage(), reinterpret_cast<uintptr_t>(pText),
                                       static_cast<intptr_t>(clrColor)));
}

void CXListCtrl::changeEvent(QEvent* pEvent) {
  if (pEvent->type() == QEvent::PaletteChange || pEvent->type() == QEvent::ApplicationPaletteChange)
    LoadDefaultColors();
  QTableWidget::changeEvent(pEvent);
}

void CXListCtrl::OnRowsInserted(int nFirst, int nLast) {
  const std::vector<sXListCell> arrCells(static_cast<size_t>(columnCount()), MakeDefaultCell());
  m_arrRows.insert(m_arrRows.begin() + nFirst, static_cast<size_t>(nLast - nFirst + 1), arrCells);
}

void CXListCtrl::OnRowsRemoved(int nFirst, int nLast) {
  m_arrRows.erase(m_arrRows.begin() + nFirst, m_arrRows.begin() + nLast + 1);
}

void CXListCtrl::OnColumnsInserted(int nFirst, int nLast) {
  const sXListCell cellDefault = MakeDefaultCell();
  for (std::vector<sXListCell>& arrCells : m_arrRows)
    arrCells.insert(arrCells.begin() + nFirst, static_cast<size_t>(nLast - nFirst + 1), cellDefault);
}

void CXListCtrl::OnColumnsRemoved(int nFirst, int nLast) {
  for (std::vector<sXListCell>& arrCells : m_arrRows)
    arrCells.erase(arrCells.begin() + nFirst, arrCells.begin() + nLast + 1);
}
