// The frozen first item of CColorHeaderCtrl: its width, and the mouse events that fall on it,
// which the header would otherwise give to the item scrolled under it.
#include <QHelpEvent>
#include <QMouseEvent>
#include <QStyle>

#include "controls/ColorHeaderCtrl.h"

QMouseEvent MoveMouseEvent(const QMouseEvent& event, int nDx) {
  return QMouseEvent(event.type(), event.position() + QPointF(nDx, 0), event.globalPosition(), event.button(),
                     event.buttons(), event.modifiers(), event.pointingDevice());
}

void CColorHeaderCtrl::SetFirstSectionFrozen(bool bOn) {
  m_bFirstSectionFrozen = bOn;
  FollowScroll();
}

int CColorHeaderCtrl::GetFrozenWidth() const {
  if (!m_bFirstSectionFrozen || offset() <= 0 || count() == 0 || isSectionHidden(0)) {
    return 0;
  }
  return sectionSize(0);
}

void CColorHeaderCtrl::FollowScroll() {
  PlaceFilterWidgets();
  viewport()->update();
}

template <class THandle>
void CColorHeaderCtrl::ForwardMouseEvent(QMouseEvent* pEvent, THandle fnHandle, bool bPress) {
  const int nFrozenWidth = GetFrozenWidth();
  const QPointF ptEvent = pEvent->position();
  // The grip of the item's right edge reaches a little past it.
  const int nGrip = style()->pixelMetric(QStyle::PM_HeaderGripMargin, nullptr, this);
  if (bPress) {
    m_bFrozenPress = nFrozenWidth > 0 && ptEvent.x() < nFrozenWidth + nGrip;
  }
  const bool bFrozen = (pEvent->buttons() != Qt::NoButton || pEvent->type() == QEvent::MouseButtonRelease)
                           ? m_bFrozenPress
                           : nFrozenWidth > 0 && ptEvent.x() < nFrozenWidth + nGrip;
  if (!bFrozen) {
    fnHandle(pEvent);
    return;
  }
  // Where the point lies on the first item as the header places it, left of the edge.
  QMouseEvent moved = MoveMouseEvent(*pEvent, -offset());
  fnHandle(&moved);
  pEvent->setAccepted(moved.isAccepted());
}

void CColorHeaderCtrl::mousePressEvent(QMouseEvent* pEvent) {
  ForwardMouseEvent(
      pEvent, [this](QMouseEvent* pForwarded) { QHeaderView::mousePressEvent(pForwarded); }, true);
}

void CColorHeaderCtrl::mouseMoveEvent(QMouseEvent* pEvent) {
  ForwardMouseEvent(
      pEvent, [this](QMouseEvent* pForwarded) { QHeaderView::mouseMoveEvent(pForwarded); }, false);
}

void CColorHeaderCtrl::mouseReleaseEvent(QMouseEvent* pEvent) {
  ForwardMouseEvent(
      pEvent, [this](QMouseEvent* pForwarded) { QHeaderView::mouseReleaseEvent(pForwarded); }, false);
  m_bFrozenPress = false;
}

void CColorHeaderCtrl::mouseDoubleClickEvent(QMouseEvent* pEvent) {
  ForwardMouseEvent(
      pEvent, [this](QMouseEvent* pForwarded) { QHeaderView::mouseDoubleClickEvent(pForwarded); }, true);
}

bool CColorHeaderCtrl::viewportEvent(QEvent* pEvent) {
  if (pEvent->type() == QEvent::ToolTip) {
    const auto* pHelp = static_cast<const QHelpEvent*>(pEvent);
    if (pHelp->pos().x() < GetFrozenWidth()) {
      QHelpEvent moved(QEvent::ToolTip, pHelp->pos() - QPoint(offset(), 0), pHelp->globalPos());
      return QHeaderView::viewportEvent(&moved);
    }
  }
  return QHeaderView::viewportEvent(pEvent);
}
