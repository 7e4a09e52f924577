#include "platform/qt/MainFrame.h"

#include <QMainWindow>
#include <QMetaObject>
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

void ShowExportInMainFrame(const std::string& strPath) {
  QMainWindow* pFrame = GetMainFrame();
  if (pFrame == nullptr || pFrame->metaObject()->indexOfMethod("ShowExportedFile(QString)") < 0) return;
  QMetaObject::invokeMethod(pFrame, "ShowExportedFile", Qt::DirectConnection,
                            Q_ARG(QString, QString::fromStdString(strPath)));
}
