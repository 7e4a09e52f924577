#include "controls/Edge3d.h"

#include <QPainter>

#include "controls/ColorRef.h"

uint32_t GetSystemColour(QPalette::ColorRole nRole) {
  return ToColorRef(QPalette().color(QPalette::Active, nRole));
}

void DrawEdge(QPainter& painter, const QRect& rcEdge, uint32_t clrTopLeft, uint32_t clrBottomRight) {
  painter.setPen(ToQColor(clrTopLeft));
  painter.drawLine(rcEdge.topLeft(), rcEdge.topRight());
  painter.drawLine(rcEdge.topLeft(), rcEdge.bottomLeft());
  painter.setPen(ToQColor(clrBottomRight));
  painter.drawLine(rcEdge.bottomLeft(), rcEdge.bottomRight());
  painter.drawLine(rcEdge.topRight(), rcEdge.bottomRight());
}
