// The frame of the plug-in runner: logs what a plug-in asks of a main frame.
#pragma once

#include <QMainWindow>

class CLoggingFrame : public QMainWindow {
  Q_OBJECT

 public:
  Q_INVOKABLE void SaveDockLayout(int nVersion);

 protected:
  bool event(QEvent* pEvent) override;
};
