#include "controls/XHeaderCtrl.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>

#include "controls/XMemDC.h"

namespace {

// An item's decoration as a pixmap of the header's icon size; null when it has none.
QPixmap GetItemPixmap(const QVariant& varDecoration, int nSize) {
  if (varDecoration.canConvert<QIcon>()) {
    const QIcon icon = varDecoration.value<QIcon>();
    if (!icon.isNull()) return icon.pixmap(nSize, nSize);
  }
  if (varDecoration.canConvert<QPixmap>()) return varDecoration.value<QPixmap>();
  return {};
}

}  // namespace

CXHeaderCtrl::CXHeaderCtrl(QWidget* pParent) : QHeaderView(Qt::Horizontal, pParent) {
  setSectionsClickable(true);
  setHighlightSections(false);
}

void CXHeaderCtrl::paintEvent(QPaintEvent* /*pEvent*/) {
  QPainter painterScreen(viewport());
  CXMemDC dc(painterScreen, viewport()->rect());
  QPainter& painter = dc.GetPainter();
  if (!painter.isActive()) return;

  // What remains right of the last item is plain button face.
  painter.fillRect(viewport()->rect(), palette().color(QPalette::Button));
  for (int nVisual = 0; nVisual < count(); ++nVisual) {
    const int nLogical = logicalIndex(nVisual);
    if (isSectionHidden(nLogical)) continue;
    const QRect rcItem(sectionViewportPosition(nLogical), 0, sectionSize(nLogical), viewport()->height());
    if (rcItem.intersects(viewport()->rect())) DrawItem(painter, rcItem, nLogical);
  }
}

void CXHeaderCtrl::DrawItem(QPainter& painter, const QRect& rcItem, int nLogical) const {
  const QPalette& pal = palette();
  painter.fillRect(rcItem, pal.color(QPalette::Button));

  // Raised edge: highlight at the top and left, shadow at the bottom and right.
  painter.setPen(pal.color(QPalette::Light));
  painter.drawLine(rcItem.topLeft(), rcItem.topRight());
  painter.drawLine(rcItem.topLeft(), rcItem.bottomLeft());
  painter.setPen(pal.color(QPalette::Dark));
  painter.drawLine(rcItem.bottomLeft(), rcItem.bottomRight());
  painter.drawLine(rcItem.topRight(), rcItem.bottomRight());

  QRect rcContent = rcItem.adjusted(kSpacing, 1, -kSpacing, -1);
  const int nIconSize = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
  const QPixmap pixImage =
      GetItemPixmap(model()->headerData(nLogical, orientation(), Qt::DecorationRole), nIconSize);
  if (!pixImage.isNull()) {
    const QSize sizeImage = pixImage.deviceIndependentSize().toSize();
    const QPoint ptImage(rcContent.left(), rcContent.top() + (rcContent.height() - sizeImage.height()) / 2);
    painter.drawPixmap(ptImage, pixImage);
    rcContent.setLeft(ptImage.x() + sizeImage.width() + kSpacing);
  }

  const QString strText = model()->headerData(nLogical, orientation(), Qt::DisplayRole).toString();
  const QVariant varAlign = model()->headerData(nLogical, orientation(), Qt::TextAlignmentRole);
  const auto nHorizontal = varAlign.isValid() ? Qt::Alignment(varAlign.toInt()) & Qt::AlignHorizontal_Mask
                                              : Qt::Alignment(Qt::AlignLeft);
  painter.setPen(pal.color(QPalette::ButtonText));
  painter.drawText(rcContent, static_cast<int>(nHorizontal | Qt::AlignVCenter),
                   painter.fontMetrics().elidedText(strText, Qt::ElideRight, rcContent.width()));
}
