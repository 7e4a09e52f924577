// An off-screen drawing surface: everything drawn through it lands in a pixmap of the area's
// size, which is copied onto the target in one step when the surface goes away, so the
// screen never shows a half-drawn control.
#pragma once

#include <QPainter>
#include <QPixmap>
#include <QRect>

class CXMemDC {
 public:
  // Draws in the target's coordinates; rcArea is the part of the target that is covered.
  CXMemDC(QPainter& painterTarget, const QRect& rcArea);
  ~CXMemDC();

  CXMemDC(const CXMemDC&) = delete;
  CXMemDC& operator=(const CXMemDC&) = delete;

  QPainter& GetPainter() { return m_painter; }

 private:
  QPainter& m_painterTarget;
  QRect m_rcArea;
  QPixmap m_pixBuffer;
  QPainter m_painter;
};
