#include "controls/XMemDC.h"

#include <QPaintDevice>

namespace {

// The buffer matches the target's pixel density, so the copy is one-to-one.
QPixmap MakeBuffer(const QPainter& painterTarget, const QSize& size) {
  const qreal dRatio = painterTarget.device() != nullptr ? painterTarget.device()->devicePixelRatioF() : 1.0;
  QPixmap pixBuffer(size * dRatio);
  pixBuffer.setDevicePixelRatio(dRatio);
  pixBuffer.fill(Qt::transparent);
  return pixBuffer;
}

}  // namespace

CXMemDC::CXMemDC(QPainter& painterTarget, const QRect& rcArea)
    : m_painterTarget(painterTarget),
      m_rcArea(rcArea),
      m_pixBuffer(MakeBuffer(painterTarget, rcArea.size())) {
  // An empty area has nothing to draw: the painter stays inactive and nothing is copied.
  if (m_pixBuffer.isNull()) return;
  m_painter.begin(&m_pixBuffer);
  m_painter.translate(-m_rcArea.topLeft());
  m_painter.setFont(painterTarget.font());
}

CXMemDC::~CXMemDC() {
  if (!m_painter.isActive()) return;
  m_painter.end();
  m_painterTarget.drawPixmap(m_rcArea.topLeft(), m_pixBuffer);
}
