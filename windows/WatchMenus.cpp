#include "windows/WatchMenus.h"

#include <QMenu>
#include <QPainter>
#include <QPixmap>

#include "link/WatchLists.h"
#include "windows/WatchCommands.h"

namespace {

void AddWatchTitles(std::vector<sWatchMenuEntry>& arrEntries, const sWatchMenuState& state, int nSkip) {
  for (int nWindow = 1; nWindow <= kWatchWindowCount; ++nWindow) {
    if (state.nWatchCount < nWindow || nWindow == nSkip) continue;
    arrEntries.push_back({state.arrTitles[static_cast<size_t>(nWindow - 1)], GetToggleWatchCommand(nWindow)});
  }
}

void AddListCommands(std::vector<sWatchMenuEntry>& arrEntries) {
  arrEntries.push_back({"Write to Excel \t Shift+E", kCmdWindowWriteToExcel});
  arrEntries.push_back({"Gridlines \t Shift+G", kCmdWindowGridlines});
  arrEntries.push_back({"Customize \t Ctrl+Shift+C", kCmdWindowCustomize});
  arrEntries.push_back({"Copy To Clip Board \t Ctrl+C", kCmdWindowCopyToClipboard});
}

// A small envelope for the e-mail entries.
const QPixmap& GetMailPicture() {
  static const QPixmap s_picture = [] {
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setPen(QColor(40, 40, 40));
    painter.setBrush(QColor(250, 240, 200));
    painter.drawRect(1, 3, 13, 9);
    painter.drawLine(1, 3, 8, 8);
    painter.drawLine(14, 3, 8, 8);
    return picture;
  }();
  return s_picture;
}

}  // namespace

std::vector<sWatchMenuEntry> GetWatchBarMenuEntries(int nSelf, const sWatchMenuState& state) {
  std::vector<sWatchMenuEntry> arrEntries;
  AddWatchTitles(arrEntries, state, nSelf);
  arrEntries.push_back({"Orvane Watch Alerts", kCmdToggleAlerts});
  arrEntries.push_back({});
  arrEntries.push_back({"Change Title", kCmdChangeTitle});
  arrEntries.push_back({"Custom Column Alert Setting", kCmdCustomAlertSetting});
  arrEntries.push_back({});
  if (state.bCalcEnabled) {
    arrEntries.push_back({"Send SMS", kCmdSendSms});
    arrEntries.push_back({"Send Email", kCmdSendEmail});
    arrEntries.push_back({"Send SMS and Email", kCmdSendSmsAndEmail});
    arrEntries.push_back({});
  }
  arrEntries.push_back({"NewObligationCall", kCmdNewObligationCall});
  arrEntries.push_back({"NewMarginCall", kCmdNewMarginCall});
  arrEntries.push_back({"Call History", kCmdCallHistory});
  if (state.bMarginCallColumns) arrEntries.push_back({"Send Margin Call Email", kCmdMarginCallEmail, true});
  if (state.bObligationCallColumns)
    arrEntries.push_back({"Send Obligation Call Email", kCmdObligationCallEmail, true});
  arrEntries.push_back({});
  AddListCommands(arrEntries);
  arrEntries.push_back({});
  arrEntries.push_back({"Refresh", kCmdRefresh});
  return arrEntries;
}

std::vector<sWatchMenuEntry> GetAlertsMenuEntries(const sWatchMenuState& state) {
  std::vector<sWatchMenuEntry> arrEntries;
  AddWatchTitles(arrEntries, state, 0);
  arrEntries.push_back({});
  arrEntries.push_back({"Clear All", kCmdClearAll});
  arrEntries.push_back({});
  AddListCommands(arrEntries);
  arrEntries.push_back({});
  arrEntries.push_back({"Acknowledge Alerts \t Space", kCmdAcknowledgeAlerts});
  arrEntries.push_back({"Beep on New Alerts", kCmdAlertBeep, false, true, state.bAlertBeep});
  return arrEntries;
}

std::unique_ptr<QMenu> CreateWatchMenu(std::span<const sWatchMenuEntry> arrEntries, QWidget* pParent,
                                       const std::function<void(int32_t)>& fnCommand) {
  auto pMenu = std::make_unique<QMenu>(pParent);
  for (const sWatchMenuEntry& entry : arrEntries) {
    if (entry.IsSeparator()) {
      pMenu->addSeparator();
      continue;
    }
    // Titles are the user's own text: '&' must show as itself, not mark a shortcut.
    QString strCaption = QString::fromStdString(entry.strCaption);
    strCaption.replace(QLatin1Char('&'), QStringLiteral("&&"));
    QAction* pAction = pMenu->addAction(strCaption);
    pAction->setData(entry.nCommand);
    if (entry.bPicture) pAction->setIcon(QIcon(GetMailPicture()));
    pAction->setCheckable(entry.bCheckable);
    pAction->setChecked(entry.bChecked);
    const int32_t nCommand = entry.nCommand;
    QObject::connect(pAction, &QAction::triggered, pMenu.get(),
                     [fnCommand, nCommand] { fnCommand(nCommand); });
  }
  return pMenu;
}
