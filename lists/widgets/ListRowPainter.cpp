#include "lists/widgets/ListRowPainter.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>

#include "lists/widgets/CellTextCache.h"

namespace {

// A vertical gradient whose first and last pixel rows show exactly the two colours.
QLinearGradient MakeVerticalGradient(const QRect& rcArea, uint32_t clrTop, uint32_t clrBottom) {
  QLinearGradient gradient(QPointF(0, rcArea.top() + 0.5), QPointF(0, rcArea.bottom() + 0.5));
  gradient.setColorAt(0, ToQColor(clrTop));
  gradient.setColorAt(1, ToQColor(clrBottom));
  return gradient;
}

}  // namespace

void CListRowPainter::FillRow(const QRect& rcRow, uint32_t clrBackground, bool bSelected) const {
  if (m_bGradient) {
    m_painter.fillRect(rcRow, MakeVerticalGradient(rcRow, clrBackground, MakeColorRef(255, 255, 255)));
  } else {
    m_painter.fillRect(rcRow, ToQColor(clrBackground));
  }
  if (bSelected) {
    m_painter.fillRect(rcRow, m_bFocused
                                  ? MakeVerticalGradient(rcRow, kSelectedFocusTop, kSelectedFocusBottom)
                                  : MakeVerticalGradient(rcRow, kSelectedTop, kSelectedBottom));
  }
}

void CListRowPainter::FillCell(const QRect& rcCell, uint32_t clrBackground) const {
  m_painter.fillRect(rcCell, ToQColor(clrBackground));
}

void CListRowPainter::DrawCellText(const QRect& rcCell, const std::string& strText, uint32_t clrText,
                                   int32_t nFormat, const QPixmap* pIcon, bool bHashWhenCut) const {
  m_painter.setPen(ToQColor(clrText));
  if (nFormat == kAlignIcon) {
    const QRect rcIcon(rcCell.right() + 1 - kCellIconWidth, rcCell.top(), kCellIconWidth, rcCell.height());
    if (pIcon != nullptr && !pIcon->isNull()) {
      const QSize sizeIcon = pIcon->deviceIndependentSize().toSize().boundedTo(rcIcon.size());
      const QRect rcImage(QPoint(rcIcon.left() + (rcIcon.width() - sizeIcon.width()) / 2,
                                 rcIcon.top() + (rcIcon.height() - sizeIcon.height()) / 2),
                          sizeIcon);
      m_painter.drawPixmap(rcImage, *pIcon);
    } else {
      m_painter.drawText(rcCell.adjusted(kCellTextMargin, 0, -kCellTextMargin, 0),
                         Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, kIconFailedText);
    }
    return;
  }
  QRect rcText = rcCell;
  if (nFormat == 0 || nFormat == 1) {
    rcText.adjust(kCellTextMargin, 0, -kCellTextMargin, 0);
  }
  // A text that fits is drawn from its layout, shaped once for as long as it shows; a cut one
  // is measured and drawn at a point.
  const QFontMetrics metrics = m_painter.fontMetrics();
  const CCellTextCache::sLayout& layout = m_cache.Get(strText, m_painter.font(), metrics);
  const QStaticText* pLayout = &layout.text;
  QString strShown;
  int nTextWidth = layout.nWidth;
  if (nTextWidth > rcText.width()) {
    pLayout = nullptr;
    if (bHashWhenCut) {
      strShown = QString::fromLatin1(kCutNumberText);
      while (!strShown.isEmpty() && metrics.horizontalAdvance(strShown) > rcText.width()) strShown.chop(1);
    } else {
      strShown = metrics.elidedText(QString::fromStdString(strText), Qt::ElideRight, rcText.width());
    }
    nTextWidth = metrics.horizontalAdvance(strShown);
  }
  int nX = rcText.left();
  if (nFormat == 1) {
    nX = rcText.right() + 1 - nTextWidth;
  } else if (nFormat != 0) {
    nX = rcText.left() + (rcText.width() - nTextWidth) / 2;
  }
  const int nBaseline = rcText.top() + (rcText.height() - metrics.height() + 1) / 2 + metrics.ascent();
  if (pLayout != nullptr) {
    m_painter.drawStaticText(QPoint(nX, nBaseline - metrics.ascent()), *pLayout);
  } else {
    m_painter.drawText(QPoint(nX, nBaseline), strShown);
  }
}

void CListRowPainter::DrawCheckBox(const QRect& rcBox, bool bChecked, uint32_t clrText) const {
  const QColor clrMark = ToQColor(clrText);
  m_painter.setPen(clrMark);
  m_painter.setBrush(Qt::NoBrush);
  m_painter.drawRect(rcBox.adjusted(0, 0, -1, -1));
  if (bChecked) {
    m_painter.fillRect(rcBox.adjusted(3, 3, -3, -3), clrMark);
  }
}
