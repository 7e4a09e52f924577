#include "controls/ClrButton.h"

#include <QPainter>
#include <QPalette>

#include "controls/ColorRef.h"
#include "controls/Edge3d.h"
#include "controls/FontChoice.h"

namespace {

constexpr int kMaxCaptionLength = 512;
constexpr int kFocusInset = 4;

}  // namespace

CClrButton::CClrButton(QWidget* pParent) : QPushButton(pParent) { ResetColours(); }

void CClrButton::SetColours(uint32_t clrText, uint32_t clrFace) {
  SetColours(clrText, clrFace, GetSystemColour(QPalette::Button));
}

void CClrButton::SetColours(uint32_t clrText, uint32_t clrFace, uint32_t clrDisabledFace) {
  m_clrText = clrText;
  m_clrFace = clrFace;
  m_clrDisabledFace = clrDisabledFace;
  update();
}

void CClrButton::ResetColours() {
  m_clrText = GetSystemColour(QPalette::ButtonText);
  m_clrFace = GetSystemColour(QPalette::Button);
  m_clrDisabledFace = m_clrFace;
  m_clrLight = GetSystemColour(QPalette::Midlight);
  m_clrHighlight = GetSystemColour(QPalette::Light);
  m_clrShadow = GetSystemColour(QPalette::Dark);
  m_clrDarkShadow = GetSystemColour(QPalette::Shadow);
  update();
}

void CClrButton::SetFont(const std::string& strName, const std::string& strSize, int32_t nStyle) {
  setText(QString::fromStdString(FormatFontCaption(strName, strSize, nStyle)));
  m_strFontName = strName;
  m_strFontSize = strSize;
  m_nFontStyle = nStyle;
}

void CClrButton::DrawFrame(QPainter& painter, QRect rcFrame) const {
  if (isDown()) {
    DrawEdge(painter, rcFrame, m_clrDarkShadow, m_clrHighlight);
    DrawEdge(painter, rcFrame.adjusted(1, 1, -1, -1), m_clrShadow, m_clrLight);
    return;
  }
  if (hasFocus() || isDefault()) {
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rcFrame);
    rcFrame.adjust(1, 1, -1, -1);
  }
  DrawEdge(painter, rcFrame, m_clrHighlight, m_clrDarkShadow);
  DrawEdge(painter, rcFrame.adjusted(1, 1, -1, -1), m_clrLight, m_clrShadow);
}

void CClrButton::paintEvent(QPaintEvent* /*pEvent*/) {
  QPainter painter(this);
  const QRect rcButton = rect();
  const bool bEnabled = isEnabled();
  painter.fillRect(rcButton, ToQColor(bEnabled ? m_clrFace : m_clrDisabledFace));
  DrawFrame(painter, rcButton.adjusted(0, 0, -1, -1));

  const QString strCaption = text().left(kMaxCaptionLength);
  constexpr int kFlags = Qt::AlignCenter | Qt::TextSingleLine;
  if (!bEnabled) {
    painter.setPen(Qt::white);
    painter.drawText(rcButton.translated(1, 1), kFlags, strCaption);
    painter.setPen(QColor(128, 128, 128));
    painter.drawText(rcButton, kFlags, strCaption);
  } else {
    painter.setPen(ToQColor(m_clrText));
    painter.drawText(isDown() ? rcButton.translated(1, 1) : rcButton, kFlags, strCaption);
  }
  if (hasFocus()) {
    QPen penFocus(ToQColor(m_clrText));
    penFocus.setStyle(Qt::DotLine);
    painter.setPen(penFocus);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rcButton.adjusted(kFocusInset, kFocusInset, -kFocusInset - 1, -kFocusInset - 1));
  }
}
