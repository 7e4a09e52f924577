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
  // Texts are drawn from their layouts, shaped once for as long as they show, the cut form of
  // a text that does not fit as well.
  const QFontMetrics metrics = m_painter.fontMetrics();
  const CCellTextCache::sLayout* pLayout = &m_cache.Get(strText, m_painter.font(), metrics);
  const QStaticText* pText = &pLayout->text;
  int nTextWidth = pLayout->nWidth;
  if (nTextWidth > rcText.width()) {
    pLayout = &m_cache.GetCut(strText, m_painter.font(), metrics, rcText.width(), bHashWhenCut, kCutNumberText);
    pText = &pLayout->cut;
    nTextWidth = pLayout->nCutWidth;
  }
  int nX = rcText.left();
  if (nFormat == 1) {
    nX = rcText.right() + 1 - nTextWidth;
  } else if (nFormat != 0) {
    nX = rcText.left() + (rcText.width() - nTextWidth) / 2;
  }
  const int nTop = rcText.top() + (rcText.height() - metrics.height() + 1) / 2;
  m_painter.drawStaticText(QPoint(nX, nTop), *pText);
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
