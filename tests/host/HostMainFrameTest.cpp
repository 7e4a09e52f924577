// The terminal's frame: where a plug-in's export went, in the status bar and the File menu, and
// what the status bar says of the link.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QStatusBar>

#include "host/HostMainFrame.h"
#include "platform/qt/MainFrame.h"
#include "tests/support/QtTestApp.h"
#include "tests/support/ScratchFolder.h"

namespace {

std::vector<std::string> GetRecentExports(CHostMainFrame& frame) {
  std::vector<std::string> arrTexts;
  for (const QAction* pAction : frame.menuBar()->actions().front()->menu()->actions().front()->menu()->actions())
    arrTexts.push_back(pAction->text().toStdString());
  return arrTexts;
}

std::string GetStatusTexts(CHostMainFrame& frame) {
  std::string strTexts;
  for (const QLabel* pLabel : frame.statusBar()->findChildren<QLabel*>())
    strTexts += pLabel->text().toStdString() + "\n";
  return strTexts;
}

TEST(HostMainFrameTest, ExportsShowWhereTheyWentAndTheLastFiveStayListed) {
  const CScratchFolder folder("host-frame-test");
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(folder.GetPath()));
  QCoreApplication::setOrganizationName(QStringLiteral("halvo-trader"));
  std::vector<std::string> arrLastFive;
  for (int n = 6; n >= 2; --n) arrLastFive.push_back("/desk/Exports/W" + std::to_string(n) + ".xlsx");
  {
    CHostMainFrame frame;
    SetMainFrame(&frame);
    EXPECT_TRUE(GetRecentExports(frame).empty());
    for (int n = 1; n <= 6; ++n) ShowExportInMainFrame("/desk/Exports/W" + std::to_string(n) + ".xlsx");
    const std::string strStatus = GetStatusTexts(frame);
    EXPECT_NE(strStatus.find("Exported to /desk/Exports/W6.xlsx"), std::string::npos) << strStatus;
    EXPECT_NE(strStatus.find("href=\"file:///desk/Exports\""), std::string::npos) << strStatus;
    EXPECT_EQ(GetRecentExports(frame), arrLastFive);
    SetMainFrame(nullptr);
  }
  CHostMainFrame restarted;
  EXPECT_EQ(GetRecentExports(restarted), arrLastFive) << "kept for the next start";
}

TEST(HostMainFrameTest, TheStatusBarSaysWhetherTheLinkIsEncryptedAndThatAHandshakeWasRefused) {
  CHostMainFrame frame;
  frame.ShowServerState(eLinkState::kRefused);
  frame.ShowLinkSecurity(true, {});
  EXPECT_NE(GetStatusTexts(frame).find("Server: handshake refused\nencrypted\n"), std::string::npos)
      << GetStatusTexts(frame);

  const QString strProblem = QStringLiteral("The terminal's keys cannot be used: /desk/terminal.key does not exist.");
  frame.ShowServerState(eLinkState::kKeyProblem);
  frame.ShowLinkSecurity(false, strProblem);
  EXPECT_NE(GetStatusTexts(frame).find("Server: not connected, key problem\nnot encrypted\n"), std::string::npos)
      << GetStatusTexts(frame);
  const QList<QLabel*> arrLabels = frame.statusBar()->findChildren<QLabel*>();
  EXPECT_TRUE(std::any_of(arrLabels.begin(), arrLabels.end(),
                          [&](const QLabel* pLabel) { return pLabel->toolTip() == strProblem; }));
}

}  // namespace
