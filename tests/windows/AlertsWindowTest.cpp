// The alerts window inside the controller's frame: merging raised alerts, message alerts,
// "Clear All" per tab, new alerts standing out, the tabs, the menu, the layout and the title.
#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QTabBar>

#include "WatchFixture.h"
#include "windows/BarDoubleClick.h"

namespace {

// Column, list, value, client, time, level.
std::unique_ptr<RaisedAlert> MakeAlert(const std::vector<std::string>& arrTexts) {
  return std::make_unique<RaisedAlert>(
      RaisedAlert{arrTexts[0], arrTexts[1], arrTexts[2], arrTexts[3], arrTexts[4], arrTexts[5]});
}

std::unique_ptr<sMessageAlert> MakeMessageAlert(const std::string& strValue, const std::string& strTime) {
  return std::make_unique<sMessageAlert>(
      sMessageAlert{"RISK07", "C1", "CM", "NRML", strTime, strValue, "SMS"});
}

class AlertsWindowTest : public CWatchFixture {
 protected:
  void SetUp() override {
    CWatchFixture::SetUp();
    m_frame.resize(900, 700);
    Start(2);
  }
  // The controller's windows afresh for a configured count.
  void Start(int32_t nWatchCount) {
    m_dlg.DestroyWindows();
    g_pluginContext.watchCount = nWatchCount;
    ASSERT_TRUE(m_dlg.CreateWatchWindows());
    m_pAlerts = m_dlg.GetAlertsWindow();
  }
  std::array<bool, 2> GetWatchHidden() {
    return {m_dlg.GetWatchBar(1)->isHidden(), m_dlg.GetWatchBar(2)->isHidden()};
  }

  COrvaneWatchDocAlerts* m_pAlerts = nullptr;
};

TEST_F(AlertsWindowTest, RaisedAlertsMergeByClientColumnListAndLevel) {
  const std::vector<std::string> first = {"Loss", "Watch 1", "-10", "C1", "10:00:00", "CM-NSE"};
  const std::vector<std::string> again = {"Loss", "Watch 1", "-25", "C1", "10:00:05", "CM-NSE"};
  const std::tuple<const char*, std::vector<std::string>, bool> arrCases[] = {
      // name, second alert, merges
      {"same rule twice", again, true},
      {"other client", {"Loss", "Watch 1", "-1", "C2", "t", "CM-NSE"}, false},
      {"two windows", {"Loss", "Watch 2", "-10", "C1", "t", "CM-NSE"}, false},
      {"other column", {"loss", "Watch 1", "-2", "C1", "t", "CM-NSE"}, false},
      {"other level", {"Loss", "Watch 1", "-3", "C1", "t", "CM"}, false},
  };
  for (const auto& [szName, second, bMerges] : arrCases) {
    Start(2);
    m_pAlerts->AddRaisedAlert(MakeAlert(first));
    m_pAlerts->AddRaisedAlert(MakeAlert(second));
    const Rows arrExpected = bMerges ? Rows{second} : Rows{first, second};
    EXPECT_EQ(ReadRows(m_pAlerts->GetAlertList()), arrExpected) << szName;
    EXPECT_EQ(m_pAlerts->GetRaisedAlerts().size(), arrExpected.size()) << szName;
  }
  m_pAlerts->AddRaisedAlert(MakeAlert(again));  // an earlier row is updated where it stands
  EXPECT_EQ(ReadRows(m_pAlerts->GetAlertList()), (Rows{again, std::get<1>(arrCases[4])}));
}

TEST_F(AlertsWindowTest, MessageAlertsAppendAndClearAllEmptiesOnlyTheSelectedTab) {
  m_pAlerts->AddRaisedAlert(MakeAlert({"Loss", "Watch 1", "-1", "C1", "t", "L"}));
  m_pAlerts->AddMessageAlert(MakeMessageAlert("1500.5", "10:00:00"));
  m_dlg.AddMessageAlert(MakeMessageAlert("1600", "10:00:05"));
  // "Value" comes before "Time Stamp": the sixth entry string shows fifth.
  EXPECT_EQ(ReadRows(m_pAlerts->GetMessageAlertList()),
            (Rows{{"RISK07", "C1", "CM", "NRML", "1500.5", "10:00:00", "SMS"},
                  {"RISK07", "C1", "CM", "NRML", "1600", "10:00:05", "SMS"}}));
  EXPECT_EQ(m_pAlerts->GetMessageAlertList().GetHeaderItems()[4].strText, "Value");
  for (const auto& [nTab, nAlerts] : {std::pair{1, 1}, {1, 1}, {0, 0}}) {
    m_pAlerts->GetTabBar().setCurrentIndex(nTab);
    EXPECT_TRUE(m_pAlerts->OnCommand(kCmdClearAll));
    EXPECT_EQ(
        std::tuple(m_pAlerts->GetRaisedAlerts().size(), m_pAlerts->GetAlertList().GetItemCount(),
                   m_pAlerts->GetMessageAlerts().size(), m_pAlerts->GetMessageAlertList().GetItemCount()),
        std::tuple(static_cast<size_t>(nAlerts), nAlerts, 0u, 0))
        << nTab;
  }
}

TEST_F(AlertsWindowTest, NewAlertsStandOutAndCountUntilSeenOrAcknowledged) {
  int nBeeps = 0;
  m_pAlerts->SetBeepFn([&nBeeps] { ++nBeeps; });
  const auto addAlert = [this](const char* szClient, const char* szValue) {
    m_pAlerts->AddRaisedAlert(MakeAlert({"Loss", "Watch 1", szValue, szClient, "t", "L"}));
    m_pAlerts->RepaintAlertList();
    QCoreApplication::processEvents();
  };
  CFilterListCtrl& list = m_pAlerts->GetAlertList();
  const auto isHighlighted = [&list](int32_t nRow) {
    sCellText cell;
    list.GetStore().GetCellText(list.GetStore().GetRecord(nRow), 0, cell);
    return cell.nBackColour != kColourUnset;
  };
  QTabBar& tabs = m_pAlerts->GetTabBar();
  const auto captions = [&] {
    return (tabs.tabText(0) + "|" + tabs.tabText(1) + "|" + m_pAlerts->windowTitle()).toStdString();
  };
  addAlert("C1", "-1");
  addAlert("C2", "-2");
  m_pAlerts->AddMessageAlert(MakeMessageAlert("1500", "10:00:00"));
  QCoreApplication::processEvents();
  EXPECT_EQ(captions(), "Orvane Alerts (2)|Message Alerts (1)|Orvane Watch Alerts (3 new)");
  EXPECT_TRUE(isHighlighted(0) && isHighlighted(1));
  EXPECT_EQ(nBeeps, 0);
  // Selecting a row sees it; the same alert again makes it new again.
  list.selectionModel()->select(list.model()->index(0, 0),
                                QItemSelectionModel::Select | QItemSelectionModel::Rows);
  EXPECT_EQ(m_pAlerts->GetUnseenCount(0), 1);
  EXPECT_FALSE(isHighlighted(0));
  addAlert("C1", "-5");
  EXPECT_EQ(m_pAlerts->GetUnseenCount(0), 2);
  EXPECT_TRUE(isHighlighted(0));
  // Acknowledging clears the selected tab only; the captions are their own again.
  EXPECT_TRUE(m_pAlerts->OnCommand(kCmdAcknowledgeAlerts));
  EXPECT_FALSE(isHighlighted(0) || isHighlighted(1));
  EXPECT_EQ(captions(), "Orvane Alerts|Message Alerts (1)|Orvane Watch Alerts (1 new)");
  tabs.setCurrentIndex(1);
  EXPECT_TRUE(m_pAlerts->OnCommand(kCmdClearAll));
  EXPECT_EQ(m_pAlerts->windowTitle().toStdString(), "Orvane Watch Alerts");
  // The beep is kept in the list's section and sounds once per check.
  EXPECT_TRUE(m_pAlerts->OnCommand(kCmdAlertBeep));
  EXPECT_NE(ReadFile("OrvaneSetting.ini").find("[Orvane_watchAlerts]\nBEEP=1"), std::string::npos);
  m_pAlerts->AddRaisedAlert(MakeAlert({"Gain", "Watch 1", "1", "C1", "t", "L"}));
  addAlert("C3", "-3");
  EXPECT_EQ(nBeeps, 1);
  Start(2);
  EXPECT_TRUE(m_pAlerts->IsBeepOn());
}

TEST_F(AlertsWindowTest, DoubleClickSelectsTheEntityInItsWatchWindow) {
  AddEntities({"A1", "A2", "A3"});
  const auto& record = *static_cast<const CRmsDetails*>(GetList(2).GetStore().GetRecord(1));
  RaisedAlert alert{
      "Loss", "Watch 2", "-1", std::string(record.GetEntityId()), "t", std::string(record.GetLevelText())};
  EXPECT_FALSE(m_pAlerts->ShowAlertEntity(alert));
  alert.nWindow = 2;
  EXPECT_TRUE(m_pAlerts->ShowAlertEntity(alert));
  EXPECT_EQ(GetList(2).GetSelectedRows(), std::vector<int32_t>{1});
  EXPECT_TRUE(GetList(1).GetSelectedRows().empty());
  alert.strLevel = "other";
  EXPECT_FALSE(m_pAlerts->ShowAlertEntity(alert));
}

TEST_F(AlertsWindowTest, ListNamesAndTheTabsThatShowThem) {
  for (const auto& [szName, nControlId] :
       {std::pair{"Orvane_watchAlerts", 1235}, {"Orvane_watchMsgAlerts", 9007}}) {
    const auto* pList = m_pAlerts->findChild<CFilterListCtrl*>(QString::fromLatin1(szName));
    ASSERT_NE(pList, nullptr) << szName;
    EXPECT_EQ(std::tuple(pList->GetProfileName(), pList->GetControlId(), pList->IsDataMode(),
                         pList->IsFilterBarShown()),
              std::tuple(std::string(szName), nControlId, true, true));
  }
  QTabBar& tabs = m_pAlerts->GetTabBar();
  EXPECT_EQ(tabs.property("controlId").toInt(), 9006);
  EXPECT_EQ(tabs.tabText(0) + "|" + tabs.tabText(1), QStringLiteral("Orvane Alerts|Message Alerts"));
  for (const int nTab : {-1, 1, 1, 0}) {
    if (nTab >= 0) tabs.setCurrentIndex(nTab);
    const bool bAlerts = nTab <= 0;
    EXPECT_EQ(std::tuple(m_pAlerts->GetAlertList().isHidden(), m_pAlerts->GetMessageAlertList().isHidden(),
                         &m_pAlerts->GetSelectedList()),
              std::tuple(!bAlerts, bAlerts,
                         bAlerts ? &m_pAlerts->GetAlertList() : &m_pAlerts->GetMessageAlertList()))
        << nTab;
  }
  // The commands reach the selected list.
  tabs.setCurrentIndex(1);
  EXPECT_TRUE(m_pAlerts->OnCommand(kCmdWindowGridlines));
  EXPECT_TRUE(m_pAlerts->GetMessageAlertList().HasGridLines());
  EXPECT_FALSE(m_pAlerts->GetAlertList().HasGridLines());
}

TEST_F(AlertsWindowTest, MenuListsTheWatchWindowsByCountWithCurrentTitlesAndTogglesThem) {
  const std::vector<sWatchMenuEntry> arrTail = {{},
                                                {"Clear All", 1924},
                                                {},
                                                {"Write to Excel \t Shift+E", 4006},
                                                {"Gridlines \t Shift+G", 2222},
                                                {"Customize \t Ctrl+Shift+C", 33762},
                                                {"Copy To Clip Board \t Ctrl+C", 4010},
                                                {},
                                                {"Acknowledge Alerts \t Space", 2024},
                                                {"Beep on New Alerts", 2124, false, true, false}};
  const std::vector<sWatchMenuEntry> arrTitles = {
      {"Orvane Watch 1", 1324}, {"Night desk", 1724}, {"Orvane Watch 3", 1424}, {"Orvane Watch 4", 1524}};
  for (const int32_t nCount : {0, 2, 4}) {
    Start(nCount);
    if (COrvaneWatchDlgBar* pBar = m_dlg.GetWatchBar(2)) pBar->setWindowTitle(QStringLiteral("Night desk"));
    std::vector<sWatchMenuEntry> arrExpected(arrTitles.begin(), arrTitles.begin() + nCount);
    arrExpected.insert(arrExpected.end(), arrTail.begin(), arrTail.end());
    EXPECT_EQ(m_pAlerts->GetMenuEntries(), arrExpected) << nCount;
  }
  const std::tuple<int32_t, bool, std::array<bool, 2>> arrSteps[] = {
      // command, handled, watch windows hidden
      {kCmdToggleWatch2, true, {false, true}},  {kCmdToggleWatch2, true, {false, false}},
      {kCmdToggleWatch1, true, {true, false}},  {kCmdToggleWatch4, true, {true, false}},
      {kCmdToggleAlerts, false, {true, false}}, {kCmdRefresh, false, {true, false}}};
  for (const auto& [nCommand, bHandled, arrHidden] : arrSteps) {
    EXPECT_EQ(m_pAlerts->OnCommand(nCommand), bHandled) << nCommand;
    EXPECT_EQ(GetWatchHidden(), arrHidden) << nCommand;
    EXPECT_FALSE(m_pAlerts->isHidden()) << nCommand;
  }
}

TEST_F(AlertsWindowTest, LayoutFollowsTheSizeAndDoubleClickFloatsAndDocksBack) {
  m_frame.show();
  for (const QSize& size : {QSize(600, 400), QSize(300, 200)}) {
    m_pAlerts->widget()->resize(size);
    QApplication::processEvents();
    const QSize actual = m_pAlerts->widget()->size();
    const QRect rcList(QPoint(5, 15), QPoint(actual.width() - 11, actual.height() - 46));
    EXPECT_EQ(std::tuple(m_pAlerts->GetTabBar().geometry(), m_pAlerts->GetAlertList().geometry(),
                         m_pAlerts->GetMessageAlertList().geometry()),
              std::tuple(QRect(2, actual.height() - 30, actual.width() - 10, 40), rcList, rcList))
        << actual.width();
  }
  const QRect rcDocked(m_pAlerts->mapToGlobal(QPoint(0, 0)), m_pAlerts->size());
  const auto DoubleClick = [this](int nY) {
    QMouseEvent event(QEvent::MouseButtonDblClick, QPointF(10, nY),
                      QPointF(m_pAlerts->mapToGlobal(QPoint(10, nY))), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(m_pAlerts, &event);
  };
  DoubleClick(m_pAlerts->widget()->geometry().top() + 5);  // on the content, not the title
  EXPECT_FALSE(m_pAlerts->isFloating());
  DoubleClick(2);
  ASSERT_TRUE(m_pAlerts->isFloating());
  EXPECT_EQ(m_pAlerts->geometry(), rcDocked.adjusted(2, -2, 2, 23));
  // The offscreen platform gives a floating window a system title, which Qt never sees.
  HandleBarDoubleClick(*m_pAlerts, m_frame);
  EXPECT_FALSE(m_pAlerts->isFloating());
  EXPECT_EQ(m_frame.dockWidgetArea(m_pAlerts), Qt::TopDockWidgetArea);
  m_frame.tabifyDockWidget(m_dlg.GetWatchBar(1), m_pAlerts);  // tabbed with a watch window: it stays docked
  HandleBarDoubleClick(*m_pAlerts, m_frame);
  EXPECT_FALSE(m_pAlerts->isFloating());
}

}  // namespace
