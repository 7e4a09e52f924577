#include "controls/ColorHeaderCtrl.h"

#include <QLineEdit>
#include <QPaintEvent>
#include <QPainter>
#include <QPolygon>
#include <QRegion>
#include <QToolButton>
#include <algorithm>

namespace {

constexpr int kTextMargin = 4;
constexpr int kSortImageWidth = 9;  // the arrow and its gap to the text
constexpr int kFilterInset = 2;     // between an item's edge and its filter edit

// Keeps only the part of a placed filter widget right of the frozen width (0: all of it) in
// sight; false when no part is.
bool ClipUnderFrozen(QWidget& widget, int nFrozenWidth) {
  const int nCovered = nFrozenWidth - widget.x();
  if (nCovered <= 0) {
    widget.clearMask();
    return true;
  }
  if (nCovered >= widget.width()) {
    return false;
  }
  widget.setMask(QRegion(nCovered, 0, widget.width() - nCovered, widget.height()));
  return true;
}

}  // namespace

CColorHeaderCtrl::CColorHeaderCtrl(QWidget* pParent) : QHeaderView(Qt::Horizontal, pParent) {
  setSectionsClickable(true);
  setSectionsMovable(false);
  setHighlightSections(false);
  setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  m_timerChange.setSingleShot(true);
  m_timerChange.setInterval(kFilterChangeTimeout);
  connect(&m_timerChange, &QTimer::timeout, this, &CColorHeaderCtrl::ReportPendingChange);
  connect(this, &QHeaderView::sectionCountChanged, this, [this] { SyncFilterWidgets(); });
  connect(this, &QHeaderView::sectionResized, this, [this] {
    if (!m_bPlacementDeferred) PlaceFilterWidgets();
  });
}

void CColorHeaderCtrl::SetFilterBarStyle(bool bOn) {
  if (bOn == m_bFilterBarStyle) {
    return;
  }
  m_bFilterBarStyle = bOn;
  m_timerChange.stop();
  m_nPendingPosition = -1;
  SyncFilterWidgets();
  updateGeometry();
  viewport()->update();
}

void CColorHeaderCtrl::ShowFilterBar(bool bShown) {
  m_bFilterBarShown = bShown;
  PlaceFilterWidgets();
  updateGeometry();
  viewport()->update();
}

void CColorHeaderCtrl::SetFilterText(int nPosition, const QString& strText) {
  if (m_nPendingPosition == nPosition) {
    m_timerChange.stop();
    m_nPendingPosition = -1;
  }
  if (QLineEdit* pEdit = GetFilterEdit(nPosition)) {
    pEdit->setText(strText);
  }
  viewport()->update();
  emit FilterChanged(nPosition);
}

QString CColorHeaderCtrl::GetFilterText(int nPosition) const {
  const QLineEdit* pEdit = GetFilterEdit(nPosition);
  return pEdit != nullptr ? pEdit->text() : QString();
}

void CColorHeaderCtrl::ClearAllFilters() {
  m_timerChange.stop();
  m_nPendingPosition = -1;
  for (QLineEdit* pEdit : m_arrEdits) {
    pEdit->clear();
  }
  viewport()->update();
}

void CColorHeaderCtrl::FocusFilterEdit(int nPosition) {
  if (QLineEdit* pEdit = GetFilterEdit(nPosition)) {
    pEdit->setFocus(Qt::TabFocusReason);
    pEdit->selectAll();
  }
}

int CColorHeaderCtrl::GetFocusedFilterPosition() const {
  for (size_t i = 0; i < m_arrEdits.size(); ++i) {
    if (m_arrEdits[i]->hasFocus()) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

QLineEdit* CColorHeaderCtrl::GetFilterEdit(int nPosition) const {
  return nPosition >= 0 && static_cast<size_t>(nPosition) < m_arrEdits.size()
             ? m_arrEdits[static_cast<size_t>(nPosition)]
             : nullptr;
}

QToolButton* CColorHeaderCtrl::GetFilterButton(int nPosition) const {
  return nPosition >= 0 && static_cast<size_t>(nPosition) < m_arrButtons.size()
             ? m_arrButtons[static_cast<size_t>(nPosition)]
             : nullptr;
}

void CColorHeaderCtrl::SetFilterEditKeyFilter(QObject* pFilter) {
  for (QLineEdit* pEdit : m_arrEdits) {
    if (m_pEditKeyFilter != nullptr) {
      pEdit->removeEventFilter(m_pEditKeyFilter);
    }
    if (pFilter != nullptr) {
      pEdit->installEventFilter(pFilter);
    }
  }
  m_pEditKeyFilter = pFilter;
}

QColor CColorHeaderCtrl::GetItemColour(int nPosition) const {
  if (m_pSource != nullptr) {
    const std::span<const int32_t> arrFilterColumns = m_pSource->GetFilterColumns();
    const std::span<const int32_t> arrPositions = m_pSource->GetPositionMap();
    const bool bFiltered =
        std::any_of(arrFilterColumns.begin(), arrFilterColumns.end(), [&](int32_t nColumn) {
          return nColumn >= 0 && static_cast<size_t>(nColumn) < arrPositions.size() &&
                 arrPositions[static_cast<size_t>(nColumn)] == nPosition;
        });
    if (bFiltered) {
      return ToQColor(kFilteredColour);
    }
    if (!arrFilterColumns.empty()) {
      return ToQColor(kUnfilteredColour);
    }
  }
  return palette().color(QPalette::Button);
}

QColor CColorHeaderCtrl::GetEmptyAreaColour() const {
  if (m_pSource != nullptr && m_pSource->GetViewCount() != 0) {
    return ToQColor(kUnfilteredColour);
  }
  return palette().color(QPalette::Button);
}

int CColorHeaderCtrl::GetTitleHeight() const { return fontMetrics().height() + 8; }

int CColorHeaderCtrl::GetFilterBarHeight() const { return fontMetrics().height() + 10; }

QSize CColorHeaderCtrl::sizeHint() const {
  const int nHeight = GetTitleHeight() + (IsFilterBarShown() ? GetFilterBarHeight() : 0);
  return {length(), nHeight};
}

void CColorHeaderCtrl::paintEvent(QPaintEvent* pEvent) {
  QPainter painter(viewport());
  const QRect rcUpdate = pEvent->rect();
  painter.fillRect(rcUpdate, GetEmptyAreaColour());
  if (count() == 0) {
    return;
  }
  int nFirst = visualIndexAt(rcUpdate.left());
  int nLast = visualIndexAt(rcUpdate.right());
  if (nFirst < 0) {
    nFirst = 0;
  }
  if (nLast < 0) {
    nLast = count() - 1;
  }
  for (int nVisual = nFirst; nVisual <= nLast; ++nVisual) {
    const int nPosition = logicalIndex(nVisual);
    if (isSectionHidden(nPosition)) {
      continue;
    }
    const QRect rcItem(sectionViewportPosition(nPosition), 0, sectionSize(nPosition), viewport()->height());
    DrawItem(painter, rcItem, nPosition);
  }
  // The frozen first item over whatever scrolled under it.
  const int nFrozenWidth = GetFrozenWidth();
  if (nFrozenWidth > 0 && rcUpdate.left() < nFrozenWidth) {
    DrawItem(painter, QRect(0, 0, nFrozenWidth, viewport()->height()), 0);
  }
}

void CColorHeaderCtrl::DrawItem(QPainter& painter, const QRect& rcItem, int nPosition) const {
  const QColor clrFace = GetItemColour(nPosition);
  painter.fillRect(rcItem, clrFace);
  painter.setPen(clrFace.darker(150));
  painter.drawLine(rcItem.topRight(), rcItem.bottomRight());
  painter.drawLine(rcItem.bottomLeft(), rcItem.bottomRight());

  QRect rcTitle(rcItem.left(), rcItem.top(), rcItem.width() - 1, GetTitleHeight());
  rcTitle.adjust(kTextMargin, 0, -kTextMargin, 0);
  const QVariant varImage =
      model() != nullptr ? model()->headerData(nPosition, orientation(), kSortImageRole) : QVariant();
  const int nImage = varImage.isValid() ? varImage.toInt() : -1;
  if (nImage >= 0) {
    const QRect rcImage(rcTitle.right() - kSortImageWidth + 2, rcTitle.top(), kSortImageWidth - 2,
                        rcTitle.height());
    DrawSortImage(painter, rcImage, nImage);
    rcTitle.setRight(rcTitle.right() - kSortImageWidth);
  }
  if (model() == nullptr) {
    return;
  }
  const QString strText = model()->headerData(nPosition, orientation(), Qt::DisplayRole).toString();
  const QVariant varAlign = model()->headerData(nPosition, orientation(), Qt::TextAlignmentRole);
  const Qt::Alignment nHorizontal = varAlign.isValid()
                                        ? Qt::Alignment(varAlign.toInt()) & Qt::AlignHorizontal_Mask
                                        : Qt::Alignment(Qt::AlignLeft);
  painter.setPen(Qt::black);
  painter.drawText(rcTitle, static_cast<int>(nHorizontal | Qt::AlignVCenter | Qt::TextSingleLine),
                   painter.fontMetrics().elidedText(strText, Qt::ElideRight, rcTitle.width()));
}

void CColorHeaderCtrl::DrawSortImage(QPainter& painter, const QRect& rcImage, int nImage) const {
  const int nLeft = rcImage.left();
  const int nRight = rcImage.right();
  const int nMiddleX = (nLeft + nRight) / 2;
  const int nMiddleY = rcImage.center().y();
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(40, 40, 40));
  if (nImage == 0) {
    painter.drawPolygon(QPolygon(
        {QPoint(nLeft, nMiddleY + 2), QPoint(nRight, nMiddleY + 2), QPoint(nMiddleX, nMiddleY - 2)}));
  } else if (nImage == 1) {
    painter.drawPolygon(QPolygon(
        {QPoint(nLeft, nMiddleY - 2), QPoint(nRight, nMiddleY - 2), QPoint(nMiddleX, nMiddleY + 2)}));
  } else {
    // The previous sort column: a short dash, no direction.
    painter.setBrush(QColor(110, 110, 110));
    painter.drawRect(QRect(nLeft + 1, nMiddleY - 1, rcImage.width() - 2, 2));
  }
  painter.restore();
}

void CColorHeaderCtrl::updateGeometries() {
  QHeaderView::updateGeometries();
  SyncFilterWidgets();
}

void CColorHeaderCtrl::SyncFilterWidgets() {
  const size_t nWanted = m_bFilterBarStyle ? static_cast<size_t>(std::max(count(), 0)) : 0;
  while (m_arrEdits.size() > nWanted) {
    delete m_arrEdits.back();
    delete m_arrButtons.back();
    m_arrEdits.pop_back();
    m_arrButtons.pop_back();
  }
  while (m_arrEdits.size() < nWanted) {
    const int nPosition = static_cast<int>(m_arrEdits.size());
    auto* pEdit = new QLineEdit(viewport());
    pEdit->setFrame(false);
    pEdit->setTextMargins(2, 0, 2, 0);
    if (m_pEditKeyFilter != nullptr) {
      pEdit->installEventFilter(m_pEditKeyFilter);
    }
    connect(pEdit, &QLineEdit::textEdited, this, [this, nPosition] { OnFilterEdited(nPosition); });
    auto* pButton = new QToolButton(viewport());
    pButton->setArrowType(Qt::DownArrow);
    pButton->setAutoRaise(true);
    pButton->setFocusPolicy(Qt::NoFocus);
    connect(pButton, &QToolButton::clicked, this, [this, nPosition] { emit FilterButtonClicked(nPosition); });
    m_arrEdits.push_back(pEdit);
    m_arrButtons.push_back(pButton);
  }
  PlaceFilterWidgets();
}

void CColorHeaderCtrl::ResizeSections(std::span<const int32_t> arrWidths) {
  m_bPlacementDeferred = true;
  for (size_t i = 0; i < arrWidths.size() && static_cast<int>(i) < count(); ++i) {
    resizeSection(static_cast<int>(i), arrWidths[i]);
  }
  m_bPlacementDeferred = false;
  PlaceFilterWidgets();
}

void CColorHeaderCtrl::PlaceFilterWidgets() {
  const bool bShown = IsFilterBarShown();
  const int nTop = GetTitleHeight() + kFilterInset;
  const int nHeight = GetFilterBarHeight() - 2 * kFilterInset;
  const int nFrozenWidth = GetFrozenWidth();
  for (size_t i = 0; i < m_arrEdits.size(); ++i) {
    const int nPosition = static_cast<int>(i);
    if (!bShown || nPosition >= count() || isSectionHidden(nPosition)) {
      m_arrEdits[i]->setVisible(false);
      m_arrButtons[i]->setVisible(false);
      continue;
    }
    const bool bFrozen = nPosition == 0 && nFrozenWidth > 0;
    const int nLeft = bFrozen ? 0 : sectionViewportPosition(nPosition);
    const int nWidth = sectionSize(nPosition);
    const int nButton = std::min(nHeight, std::max(nWidth - 2 * kFilterInset, 0));
    const int nEditWidth = std::max(nWidth - 2 * kFilterInset - nButton - 1, 0);
    m_arrEdits[i]->setGeometry(nLeft + kFilterInset, nTop, nEditWidth, nHeight);
    m_arrButtons[i]->setGeometry(nLeft + kFilterInset + nEditWidth + 1, nTop, nButton, nHeight);
    if (bFrozen) {
      m_arrEdits[i]->raise();
      m_arrButtons[i]->raise();
    }
    // Widgets are drawn over the header's own painting: what lies under the frozen item is cut off.
    m_arrEdits[i]->setVisible(ClipUnderFrozen(*m_arrEdits[i], bFrozen ? 0 : nFrozenWidth));
    m_arrButtons[i]->setVisible(ClipUnderFrozen(*m_arrButtons[i], bFrozen ? 0 : nFrozenWidth));
  }
}

void CColorHeaderCtrl::OnFilterEdited(int nPosition) {
  // A change in another column is reported before this one starts its own time-out.
  if (m_nPendingPosition >= 0 && m_nPendingPosition != nPosition) {
    ReportPendingChange();
  }
  m_nPendingPosition = nPosition;
  m_timerChange.start();
}

void CColorHeaderCtrl::ReportPendingChange() {
  m_timerChange.stop();
  const int nPosition = m_nPendingPosition;
  m_nPendingPosition = -1;
  if (nPosition >= 0) {
    viewport()->update();
    emit FilterChanged(nPosition);
  }
}
