#include "windows/OrvaneWatchDlg.h"

#include <QDockWidget>
#include <QMainWindow>
#include <QMetaObject>

#include "platform/qt/MainFrame.h"
#include "platform/qt/WindowMessage.h"

COrvaneWatchDlg g_dlgOrvaneWatch;

bool COrvaneWatchDlg::CreateWatchWindows() {
  QMainWindow* pFrame = GetMainFrame();
  if (pFrame == nullptr) return false;
  SendWindowMessage(pFrame, kMsgDockedWindows, reinterpret_cast<uintptr_t>(&m_mapBars), 0);
  return true;
}

void COrvaneWatchDlg::SaveAndRelease() {
  QMainWindow* pFrame = GetMainFrame();
  if (pFrame == nullptr) return;
  // The frame's closing operation: it keeps the dock layout the user arranged (version 0).
  // A frame without it simply has nothing to keep.
  const QByteArray strSignature = QByteArray(kFrameSaveLayoutMethod) + "(int)";
  if (pFrame->metaObject()->indexOfMethod(strSignature.constData()) >= 0)
    QMetaObject::invokeMethod(pFrame, kFrameSaveLayoutMethod, Qt::DirectConnection, Q_ARG(int, 0));
}

void COrvaneWatchDlg::DestroyWindows() {
  // Deleting a dock widget takes it out of the frame's layout, which then adjusts.
  for (auto& [pBar, nId] : m_mapBars) delete pBar;
  m_mapBars.clear();
}
