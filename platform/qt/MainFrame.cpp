#include "platform/qt/MainFrame.h"

#include <QMainWindow>
#include <QPointer>

namespace {
// A guarded pointer, so a destroyed frame reads as none.
QPointer<QMainWindow>& GetFrameSlot() {
  static QPointer<QMainWindow> s_pFrame;
  return s_pFrame;
}
}  // namespace

void SetMainFrame(QMainWindow* pFrame) { GetFrameSlot() = pFrame; }

QMainWindow* GetMainFrame() { return GetFrameSlot().data(); }
