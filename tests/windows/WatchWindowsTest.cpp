// The controller in-process: its windows in a frame, the first requests through receive
// controls that this test program offers as the host would, and rows following the server's
// records. Titles read at start and kept at shutdown are the terminal's run tests'.
#include "WatchFixture.h"
#include "lists/widgets/FilterListCtrl.h"
#include "model/RmsDetails.h"
#include "platform/qt/MainFrame.h"
#include "windows/OrvaneWatchDlgBar.h"
#include "windows/OrvaneWatchDocAlerts.h"
#include "windows/WatchTitles.h"

namespace {

using WatchWindowsTest = CWatchFixture;

TEST_F(WatchWindowsTest, WindowCountFollowsTheSetting) {
  // Without a frame nothing is created, toggled or sent.
  SetMainFrame(nullptr);
  EXPECT_FALSE(m_dlg.CreateWatchWindows());
  EXPECT_FALSE(m_dlg.ToggleWindow(0));
  EXPECT_TRUE(m_dlg.m_mapBars.empty());
  EXPECT_EQ(m_dlg.GetLink(), nullptr);
  EXPECT_TRUE(g_controls[0].m_arrRequests.empty());
  SetMainFrame(&m_frame);
  const struct {
    int32_t nWatchCount;
    std::vector<int32_t> arrIds;
  } arrCases[] = {{0, {995}}, {-3, {995}}, {2, {991, 992, 995}}, {9, {991, 992, 993, 994, 995}}};
  for (const auto& c : arrCases) {
    SCOPED_TRACE(c.nWatchCount);
    g_pluginContext.watchCount = c.nWatchCount;
    EXPECT_TRUE(m_dlg.CreateWatchWindows());
    std::vector<int32_t> arrIds;
    for (const auto& [pBar, nId] : m_dlg.m_mapBars) {
      arrIds.push_back(nId);
      EXPECT_TRUE(pBar->parent() == &m_frame && m_frame.dockWidgetArea(pBar) == Qt::TopDockWidgetArea &&
                  !pBar->isHidden())
          << nId;
    }
    std::sort(arrIds.begin(), arrIds.end());
    EXPECT_EQ(arrIds, c.arrIds);
    for (int nWindow = 1; nWindow <= 4; ++nWindow) {
      COrvaneWatchDlgBar* pBar = m_dlg.GetWatchBar(nWindow);
      ASSERT_EQ(pBar != nullptr, nWindow <= c.nWatchCount) << nWindow;
      if (pBar == nullptr) continue;
      EXPECT_EQ(pBar->windowTitle().toStdString(), GetDefaultWatchTitle(nWindow));
      EXPECT_EQ(pBar->objectName(), QStringLiteral("OrvaneWatch%1").arg(nWindow));
      EXPECT_EQ(pBar->GetList().GetProfileName(), GetWatchSectionName(nWindow));
      EXPECT_EQ(pBar->GetList().GetControlId(), 1230 + nWindow);
      EXPECT_TRUE(pBar->GetList().IsDataMode());
      EXPECT_EQ(pBar->GetAlertListKey(), "list" + std::to_string(nWindow));
    }
    EXPECT_EQ(m_dlg.GetAlertsWindow()->windowTitle(), QStringLiteral("Orvane Watch Alerts"));
    m_dlg.DestroyWindows();
    EXPECT_TRUE(m_frame.findChildren<QDockWidget*>().isEmpty());
  }
}

// A second start creates no window twice and keeps the link, but asks again; it shows every
// window when all are hidden, and leaves them as they are when one is shown.
TEST_F(WatchWindowsTest, ASecondStartAsksAgainAndShowsWindowsOnlyWhenAllAreHidden) {
  const std::vector<std::string> arrFirst = {"om_get_user_peer_data", "mrv_rst_show_tree_all", "roth_rst",
                                             "mrv_surv_alert_show_tree_all"};
  g_pluginContext.watchCount = 2;
  ASSERT_TRUE(m_dlg.CreateWatchWindows());
  EXPECT_EQ(GetRequestNames(), arrFirst);
  const RmsLink* pLink = m_dlg.GetLink();
  ASSERT_NE(pLink, nullptr);
  for (const auto& [pBar, nId] : m_dlg.m_mapBars) pBar->hide();
  ASSERT_TRUE(m_dlg.CreateWatchWindows());
  EXPECT_EQ(m_dlg.m_mapBars.size(), 3u);
  EXPECT_EQ(m_dlg.GetLink(), pLink);
  EXPECT_EQ(GetRequestNames().size(), 8u);
  for (const auto& [pBar, nId] : m_dlg.m_mapBars) EXPECT_FALSE(pBar->isHidden()) << nId;

  m_dlg.GetWatchBar(1)->hide();
  ASSERT_TRUE(m_dlg.CreateWatchWindows());
  EXPECT_TRUE(m_dlg.GetWatchBar(1)->isHidden());
  EXPECT_FALSE(m_dlg.GetWatchBar(2)->isHidden());
  EXPECT_TRUE(m_arrBoxes.empty());
}

TEST_F(WatchWindowsTest, ToggleWindowByIndex) {
  g_pluginContext.watchCount = 2;
  ASSERT_TRUE(m_dlg.CreateWatchWindows());
  const struct {
    int nIndex;
    bool bWindow1Hidden, bWindow2Hidden, bAlertsHidden;
  } arrSteps[] = {
      {0, false, true, false},   // index 0 is watch window 2
      {0, false, false, false},  // and back
      {2, false, false, false},  // watch window 4 does not exist
      {3, true, false, false},   // index 3 is watch window 1
      {4, true, false, true},    // index 4 is the alerts window
      {7, true, false, true},    // unknown index
      {-1, true, false, true},
  };
  for (const auto& step : arrSteps) {
    EXPECT_TRUE(m_dlg.ToggleWindow(step.nIndex));
    EXPECT_EQ(m_dlg.GetWatchBar(1)->isHidden(), step.bWindow1Hidden) << step.nIndex;
    EXPECT_EQ(m_dlg.GetWatchBar(2)->isHidden(), step.bWindow2Hidden) << step.nIndex;
    EXPECT_EQ(m_dlg.GetAlertsWindow()->isHidden(), step.bAlertsHidden) << step.nIndex;
  }
}

TEST_F(WatchWindowsTest, RecordsAddAndRemoveRowsInEveryWatchList) {
  g_pluginContext.watchCount = 3;
  ASSERT_TRUE(m_dlg.CreateWatchWindows());
  // Many tree responses in one go: every one becomes a row, in arrival order.
  std::vector<std::string> arrEntities;
  for (int n = 1; n <= 2000; ++n) arrEntities.push_back("account-B" + std::to_string(n));
  AddEntities(arrEntities);
  ASSERT_EQ(g_mapRmsDetails.size(), 2000u);
  const CRmsDetails* pRecord = g_mapRmsDetails.at("5|B1|CM-NSE-NRML").get();
  for (int nWindow = 1; nWindow <= 3; ++nWindow) {
    EXPECT_EQ(m_dlg.GetWatchBar(nWindow)->GetList().GetItemCount(), 2000) << nWindow;
    EXPECT_EQ(m_dlg.GetWatchBar(nWindow)->GetList().GetStore().GetRecord(0), pRecord) << nWindow;
  }

  const CTestMessage deleted(
      {{64050, "account-B1"}, {54244, "CM-NSE-NRML"}, {54211, "rms prsnt value publish"}, {20008, ""}});
  m_dlg.OnRmsPublish(deleted.Get());
  for (int nWindow = 1; nWindow <= 3; ++nWindow) {
    const CFilterListStore& store = m_dlg.GetWatchBar(nWindow)->GetList().GetStore();
    EXPECT_EQ(store.GetStoreCount(), 1999) << nWindow;
    for (int32_t nIndex = 0; nIndex < store.GetStoreCount(); ++nIndex)
      ASSERT_NE(store.GetStoreRecord(nIndex), pRecord);
  }
  // The records go at shutdown.
  m_dlg.SaveAndRelease();
  EXPECT_TRUE(g_mapRmsDetails.empty());
}

// A list with both options on starts with its kept filter and sort and follows the feed; the
// other lists show every record as it came.
TEST_F(WatchWindowsTest, AListWithLiveFilterAndKeptSortFollowsTheFeedFromTheStart) {
  const std::string strSettings =
      "[Orvane_watch1]\nLIVEFILTERSORT=1\nKEEPFILTERSORT=1\nFILTERS=Unrealized MTM Prsnt:<0\n"
      "SORT=Unrealized MTM Prsnt,descending\n";
  WriteFile("OrvaneSetting.ini", strSettings);
  g_pluginContext.watchCount = 2;
  ASSERT_TRUE(m_dlg.CreateWatchWindows());
  // The column shows the negated value of field 64116.
  const auto send = [this](const char* szEntity, const char* szValue) {
    const CTestMessage response({{64050, szEntity},
                                 {54244, "CM-NSE-NRML"},
                                 {54211, "rms prsnt value publish"},
                                 {64116, szValue},
                                 {32767, "mrv_rst_show_tree_all"},
                                 {32766, "5"}});
    m_dlg.OnRmsResponse(response.Get());
  };
  const auto shown = [this](int nWindow) {
    const CFilterListCtrl& list = m_dlg.GetWatchBar(nWindow)->GetList();
    std::vector<std::string> arrTexts;
    for (int32_t nRow = 0; nRow < list.GetItemCount(); ++nRow) arrTexts.push_back(list.GetCellText(nRow, 70));
    return arrTexts;
  };
  send("A1", "100");
  send("A2", "-50");
  send("A3", "300");
  EXPECT_EQ(shown(1), (std::vector<std::string>{"-100.00", "-300.00"}));
  EXPECT_EQ(shown(2), (std::vector<std::string>{"-100.00", "50.00", "-300.00"}));
  send("A2", "10");
  send("A1", "-5");
  EXPECT_EQ(shown(1), (std::vector<std::string>{"-10.00", "-300.00"}));
  EXPECT_EQ(shown(2), (std::vector<std::string>{"5.00", "-10.00", "-300.00"}));
  EXPECT_EQ(ReadFile("OrvaneSetting.ini"), strSettings) << "restoring writes nothing";
}

TEST_F(WatchWindowsTest, ConfiguredCustomColumnsAreRedBelowZero) {
  g_pluginContext.watchCount = 1;
  g_pluginContext.colouredCustomColumns[0] = "Loss";
  g_pluginContext.colouredCustomCount = 1;
  ASSERT_TRUE(m_dlg.CreateWatchWindows());
  AddEntities({"account-A1"});
  const int32_t nLoss = AddCustomColumns(1, {{"Loss", "0 - 5"}, {"Other", "0 - 5"}});
  for (const auto& [nColumn, nColour] : {std::pair{nLoss, 255}, std::pair{nLoss + 1, kColourUnset}}) {
    sCellText cell;
    ASSERT_TRUE(m_dlg.GetWatchBar(1)->GetList().GetStore().GetCellText(g_mapRmsDetails.begin()->second.get(),
                                                                       nColumn, cell));
    EXPECT_EQ(cell.strText, "-5.00");
    EXPECT_EQ(cell.nTextColour, nColour) << nColumn;
  }
}

}  // namespace
