#include "host/HostMainFrame.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QDesktopServices>
#include <QFileInfo>
#include <QDockWidget>
#include <QLabel>
#include <QLocale>
#include <QMenuBar>
#include <QMessageBox>
#include <QSettings>
#include <QStatusBar>
#include <QUrl>
#include <utility>

#include "host/api/HalvoHostApi.h"
#include "platform/qt/WindowMessage.h"

namespace {
constexpr const char* kLayoutKey = "frame/dockLayout";
constexpr const char* kGeometryKey = "frame/geometry";
constexpr int kLayoutVersion = 0;
constexpr const char* kRecentExportsKey = "frame/recentExports";
constexpr int kRecentExportCount = 5;
}  // namespace

CHostMainFrame::CHostMainFrame() {
  setWindowTitle(QStringLiteral("Halvo Trader"));
  setDockOptions(AnimatedDocks | AllowNestedDocks | AllowTabbedDocks);
  resize(1280, 800);

  QMenu* pFileMenu = menuBar()->addMenu(QStringLiteral("&File"));
  m_pRecentExports = pFileMenu->addMenu(QStringLiteral("&Recent Exports"));
  pFileMenu->addAction(QStringLiteral("E&xit"), this, &QWidget::close);
  m_pWindowMenu = menuBar()->addMenu(QStringLiteral("&Window"));
  m_pWindowMenu->setEnabled(false);
  QMenu* pHelpMenu = menuBar()->addMenu(QStringLiteral("&Help"));
  pHelpMenu->addAction(QStringLiteral("&About"), this, &CHostMainFrame::ShowAbout);

  m_pPluginLabel = new QLabel(QStringLiteral("No plug-in"), this);
  statusBar()->addWidget(m_pPluginLabel);
  m_pExportLabel = new QLabel(this);
  m_pExportLabel->setTextFormat(Qt::RichText);
  m_pExportLabel->setOpenExternalLinks(true);
  statusBar()->addWidget(m_pExportLabel);
  m_pServerLabel = new QLabel(this);
  statusBar()->addPermanentWidget(m_pServerLabel);
  m_pSecurityLabel = new QLabel(this);
  statusBar()->addPermanentWidget(m_pSecurityLabel);
  m_pPausedLabel = new QLabel(this);
  statusBar()->addPermanentWidget(m_pPausedLabel);
  m_pRateLabel = new QLabel(this);
  statusBar()->addPermanentWidget(m_pRateLabel);
  m_pDataAgeLabel = new QLabel(this);
  statusBar()->addPermanentWidget(m_pDataAgeLabel);
  ShowServerState(eLinkState::kConnecting);
  ShowLinkDetails({});
  ShowLinkSecurity(false, {});

  const QSettings settings;
  restoreGeometry(settings.value(kGeometryKey).toByteArray());
  FillRecentExports();
}

void CHostMainFrame::ShowExportedFile(const QString& strPath) {
  const QFileInfo file(strPath);
  const QString strFolderUrl = QUrl::fromLocalFile(file.absolutePath()).toString();
  m_pExportLabel->setText(QStringLiteral("Exported to %1 (<a href=\"%2\">open folder</a>)")
                              .arg(strPath.toHtmlEscaped(), strFolderUrl.toHtmlEscaped()));
  QSettings settings;
  QStringList arrRecent = settings.value(kRecentExportsKey).toStringList();
  arrRecent.removeAll(strPath);
  arrRecent.prepend(strPath);
  while (arrRecent.size() > kRecentExportCount) arrRecent.removeLast();
  settings.setValue(kRecentExportsKey, arrRecent);
  FillRecentExports();
}

void CHostMainFrame::FillRecentExports() {
  m_pRecentExports->clear();
  const QStringList arrRecent = QSettings().value(kRecentExportsKey).toStringList();
  for (const QString& strPath : arrRecent) {
    m_pRecentExports->addAction(strPath, this,
                                [strPath] { QDesktopServices::openUrl(QUrl::fromLocalFile(strPath)); });
  }
  m_pRecentExports->setEnabled(!arrRecent.isEmpty());
}

void CHostMainFrame::SetPluginDescription(const QString& strDescription) {
  m_strPluginDescription = strDescription;
  m_pPluginLabel->setText(strDescription);
}

void CHostMainFrame::ShowServerState(eLinkState eState) {
  m_pServerLabel->setText(QString::fromLatin1(DescribeLinkState(eState)));
}

void CHostMainFrame::ShowLinkSecurity(bool bEncrypted, const QString& strKeyProblem) {
  m_pSecurityLabel->setText(bEncrypted ? QStringLiteral("encrypted") : QStringLiteral("not encrypted"));
  if (!strKeyProblem.isEmpty())
    m_pSecurityLabel->setToolTip(strKeyProblem);
  else if (bEncrypted)
    m_pSecurityLabel->setToolTip(QStringLiteral(
        "The link to the risk server is encrypted and authenticated (CURVE): the terminal talks "
        "only to the server holding the key it pins, and the server lets in only the keys it lists."));
  else
    m_pSecurityLabel->setToolTip(QStringLiteral("The link to the risk server is plain TCP on this machine."));
}

void CHostMainFrame::ShowLinkDetails(const sLinkDetails& details) {
  m_pRateLabel->setText(QLocale().toString(details.nDeliveredPerSecond) + QStringLiteral(" msg/s"));
  m_pDataAgeLabel->setText(QString::fromStdString(DescribeDataAge(details.nDataAgeMs)));
  if (details.pausedSince) {
    const QDateTime since = QDateTime::fromMSecsSinceEpoch(
        std::chrono::duration_cast<std::chrono::milliseconds>(details.pausedSince->time_since_epoch()).count());
    m_pPausedLabel->setText(QStringLiteral("Delivery paused since ") + since.toString(QStringLiteral("HH:mm:ss")));
  } else {
    m_pPausedLabel->clear();
  }
  m_pPausedLabel->setVisible(details.pausedSince.has_value());
  m_pServerLabel->setToolTip(QStringLiteral("Malformed messages dropped: %1\nConnections lost: %2")
                                 .arg(QLocale().toString(static_cast<qulonglong>(details.nMalformed)),
                                      QLocale().toString(static_cast<qulonglong>(details.nDropped))));
}

void CHostMainFrame::SetCloseHandler(std::function<void()> fnOnClose) { m_fnOnClose = std::move(fnOnClose); }

void CHostMainFrame::RestoreDockLayout() {
  if (std::exchange(m_bLayoutRestored, true)) return;
  const QSettings settings;
  restoreState(settings.value(kLayoutKey).toByteArray(), kLayoutVersion);
}

void CHostMainFrame::SaveDockLayout(int nVersion) {
  QSettings settings;
  settings.setValue(kLayoutKey, saveState(nVersion));
  settings.setValue(kGeometryKey, saveGeometry());
}

bool CHostMainFrame::event(QEvent* pEvent) {
  if (pEvent->type() == CWindowMessageEvent::GetEventType()) {
    auto* pMessage = static_cast<CWindowMessageEvent*>(pEvent);
    if (pMessage->m_nMessage == kMsgDockedWindows) {
      ListDockedWindows(reinterpret_cast<const void*>(pMessage->m_wParam));
      // The plug-in has docked its windows and decides next which to show (it shows them all
      // when none is): the saved layout must be in place before that, not after its start.
      RestoreDockLayout();
      pMessage->m_nResult = 1;
    }
    return true;
  }
  return QMainWindow::event(pEvent);
}

void CHostMainFrame::closeEvent(QCloseEvent* pEvent) {
  // The plug-in saves and destroys its windows while the frame is still whole.
  if (!m_bClosed && m_fnOnClose) m_fnOnClose();
  m_bClosed = true;
  QMainWindow::closeEvent(pEvent);
}

void CHostMainFrame::ListDockedWindows(const void* pTable) {
  if (pTable == nullptr) return;
  const auto& table = *static_cast<const CDockedWindowTable*>(pTable);
  m_pWindowMenu->clear();
  for (const auto& [pDock, nId] : table) {
    if (pDock != nullptr) m_pWindowMenu->addAction(pDock->toggleViewAction());
  }
  m_pWindowMenu->setEnabled(!m_pWindowMenu->isEmpty());
}

void CHostMainFrame::ShowAbout() {
  QMessageBox::about(
      this, QStringLiteral("About Halvo Trader"),
      QStringLiteral("Halvo Trader\n\nPlug-in: ") +
          (m_strPluginDescription.isEmpty() ? QStringLiteral("none") : m_strPluginDescription));
}
