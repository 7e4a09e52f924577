// The alerts window inside the controller's frame: merging raised alerts, message alerts,
// "Clear All" per tab, new alerts standing out, and the title.
#include <QItemSelectionModel>
#include <QTabBar>

#include "WatchFixture.h"

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
  }
}

TEST_F(AlertsWindowTest, MessageAlertsAppendAndClearAllEmptiesOnlyTheSelectedTab) {
  m_pAlerts->AddRaisedAlert(MakeAlert({"Loss", "Watch 1", "-1", "C1", "t", "L"}));
  m_pAlerts->AddMessageAlert(MakeMessageAlert("1500.5", "10:00:00"));
  m_dlg.AddMessageAlert(MakeMessageAlert("1600", "10:00:05"));
  // "Value" comes before "Time Stamp": the sixth entry string shows fifth.
  EXPECT_EQ(ReadRows(m_pAlerts->GetMessageAlertList()),
            (Rows{{"RISK07", "C1", "CM", "NRML", "1500.5", "10:00:00", "SMS"},
                  {"RISK07", "C1", "CM", "NRML", "1600", "10:00:05", "SMS"}}));
  // Each tab shows its own list, which "Clear All" empties.
  for (const auto& [nTab, nAlerts] : {std::pair{1, 1}, {1, 1}, {0, 0}}) {
    m_pAlerts->GetTabBar().setCurrentIndex(nTab);
    EXPECT_TRUE(m_pAlerts->OnCommand(kCmdClearAll));
    const CFilterListCtrl& messages = m_pAlerts->GetMessageAlertList();
    EXPECT_EQ(std::tuple(m_pAlerts->GetRaisedAlerts().size(), m_pAlerts->GetAlertList().GetItemCount(),
                         m_pAlerts->GetMessageAlerts().size(), messages.GetItemCount(),
                         m_pAlerts->GetAlertList().isHidden(), messages.isHidden()),
              std::tuple(static_cast<size_t>(nAlerts), nAlerts, 0u, 0, nTab == 1, nTab == 0))
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
  // Selecting a row sees it.
  list.selectionModel()->select(list.model()->index(0, 0),
                                QItemSelectionModel::Select | QItemSelectionModel::Rows);
  EXPECT_EQ(m_pAlerts->GetUnseenCount(0), 1);
  EXPECT_FALSE(isHighlighted(0));
  // Acknowledging clears the selected tab only; the captions are their own again.
  EXPECT_TRUE(m_pAlerts->OnCommand(kCmdAcknowledgeAlerts));
  EXPECT_FALSE(isHighlighted(0) || isHighlighted(1));
  EXPECT_EQ(captions(), "Orvane Alerts|Message Alerts (1)|Orvane Watch Alerts (1 new)");
  // The beep sounds once per check, and stays on after a restart.
  EXPECT_TRUE(m_pAlerts->OnCommand(kCmdAlertBeep));
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

}  // namespace
