// The terminal's main window: the docking site of every plug-in window.
#pragma once

#include <QMainWindow>
#include <functional>

#include "host/transport/RmsTransport.h"

class QLabel;
class QMenu;

class CHostMainFrame : public QMainWindow {
  Q_OBJECT

 public:
  CHostMainFrame();

  // What the status bar and the About box say of the loaded plug-in.
  void SetPluginDescription(const QString& strDescription);
  // What the status bar says of the link to the risk server: its state; the messages
  // delivered in the last second, the age of the newest data and whether delivery is paused;
  // the counts of dropped messages and connections in the state's tooltip.
  void ShowServerState(eLinkState eState);
  void ShowLinkDetails(const sLinkDetails& details);
  // Whether the link is encrypted, beside its state: "encrypted" or "not encrypted", with a
  // tooltip saying what that means or, when the keys could not be used, what is wrong with them.
  void ShowLinkSecurity(bool bEncrypted, const QString& strKeyProblem);
  // Called when the user closes the frame, before any window goes.
  void SetCloseHandler(std::function<void()> fnOnClose);
  // Puts the docks back where the user left them last time, once: when the plug-in lists its
  // docked windows (message 1933), or after its start when it lists none.
  void RestoreDockLayout();

  // Keeps the dock layout for the next start (called by a plug-in before it destroys its
  // windows, with its layout version).
  Q_INVOKABLE void SaveDockLayout(int nVersion);
  // A plug-in exported a file: the status bar shows its path with a link that opens its
  // folder, and the File menu's "Recent Exports" lists it first (the last five, kept).
  Q_INVOKABLE void ShowExportedFile(const QString& strPath);

 protected:
  bool event(QEvent* pEvent) override;
  void closeEvent(QCloseEvent* pEvent) override;

 private:
  void ListDockedWindows(const void* pTable);
  void FillRecentExports();
  void ShowAbout();

  QMenu* m_pWindowMenu = nullptr;
  QMenu* m_pRecentExports = nullptr;
  QLabel* m_pExportLabel = nullptr;
  QLabel* m_pPluginLabel = nullptr;
  QLabel* m_pServerLabel = nullptr;
  QLabel* m_pSecurityLabel = nullptr;
  QLabel* m_pRateLabel = nullptr;
  QLabel* m_pDataAgeLabel = nullptr;
  QLabel* m_pPausedLabel = nullptr;
  QString m_strPluginDescription;
  std::function<void()> m_fnOnClose;
  bool m_bClosed = false;
  bool m_bLayoutRestored = false;
};
