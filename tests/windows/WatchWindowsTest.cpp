// The controller in-process: its windows in a frame, the first requests through receive
// controls that this test program offers as the host would, rows following the server's
// records, titles at shutdown and the release of the controls.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QMainWindow>
#include <algorithm>

#include "WatchFixture.h"
#include "lists/widgets/FilterListCtrl.h"
#include "model/RmsDetails.h"
#include "platform/qt/MainFrame.h"
#include "tests/support/TestMessage.h"
#include "windows/OrvaneWatchDlg.h"
#include "windows/OrvaneWatchDlgBar.h"
#include "windows/OrvaneWatchDocAlerts.h"
#include "windows/WatchTitles.h"

namespace {

using Fields = std::vector<std::pair<uint32_t, std::string>>;

Fields DeletePublication(const std::string& strEntity) {
  return {{64050, strEntity}, {54244, "CM-NSE-NRML"}, {54211, "rms prsnt value publish"}, {20008, ""}};
}

class WatchWindowsTest : public CWatchFixture {
 protected:
  std::vector<int32_t> GetWindowIds() const {
    std::vector<int32_t> arrIds;
    for (const auto& [pBar, nId] : m_dlg.m_mapBars) arrIds.push_back(nId);
    std::sort(arrIds.begin(), arrIds.end());
    return arrIds;
  }
};

TEST_F(WatchWindowsTest, WindowCountFollowsTheSetting) {
  struct sCase {
    const char* szName;
    int32_t nWatchCount;
    std::vector<int32_t> arrIds;
  };
  const sCase arrCases[] = {
      {"none", 0, {995}},
      {"two", 2, {991, 992, 995}},
      {"more than four", 9, {991, 992, 993, 994, 995}},
  };
  for (const sCase& c : arrCases) {
    g_pluginContext.watchCount = c.nWatchCount;
    EXPECT_TRUE(m_dlg.CreateWatchWindows()) << c.szName;
    EXPECT_EQ(GetWindowIds(), c.arrIds) << c.szName;
    for (const auto& [pBar, nId] : m_dlg.m_mapBars) {
      EXPECT_TRUE(pBar->parent() == &m_frame && m_frame.dockWidgetArea(pBar) == Qt::TopDockWidgetArea &&
                  !pBar->isHidden())
          << c.szName << " " << nId;
    }
    for (int nWindow = 1; nWindow <= 4; ++nWindow) {
      COrvaneWatchDlgBar* pBar = m_dlg.GetWatchBar(nWindow);
      ASSERT_EQ(pBar != nullptr, nWindow <= c.nWatchCount) << c.szName << " " << nWindow;
      if (pBar == nullptr) continue;
      EXPECT_EQ(pBar->windowTitle().toStdString(), GetDefaultWatchTitle(nWindow));
      EXPECT_EQ(pBar->objectName(), QStringLiteral("OrvaneWatch%1").arg(nWindow));
      EXPECT_EQ(pBar->GetList().GetProfileName(), GetWatchSectionName(nWindow));
      EXPECT_EQ(pBar->GetList().GetControlId(), 1230 + nWindow);
      EXPECT_TRUE(pBar->GetList().IsDataMode());
      EXPECT_EQ(pBar->GetAlertListKey(), "list" + std::to_string(nWindow));
    }
    ASSERT_NE(m_dlg.GetAlertsWindow(), nullptr);
    EXPECT_EQ(m_dlg.GetAlertsWindow()->windowTitle(), QStringLiteral("Orvane Watch Alerts"));
    m_dlg.DestroyWindows();
    EXPECT_TRUE(m_frame.findChildren<QDockWidget*>().isEmpty()) << c.szName;
  }
}

TEST_F(WatchWindowsTest, WithoutFrameNothingIsCreatedToggledOrSent) {
  SetMainFrame(nullptr);
  EXPECT_FALSE(m_dlg.CreateWatchWindows());
  EXPECT_FALSE(m_dlg.ToggleWindow(0));
  EXPECT_TRUE(m_dlg.m_mapBars.empty());
  EXPECT_EQ(m_dlg.GetLink(), nullptr);
  EXPECT_TRUE(g_controls[0].m_arrRequests.empty());
}

TEST_F(WatchWindowsTest, FirstRequestsGoOutInOrderAndAgainOnASecondStart) {
  const std::vector<std::string> arrFirst = {"om_get_user_peer_data", "mrv_rst_show_tree_all", "roth_rst",
                                             "mrv_surv_alert_show_tree_all"};
  ASSERT_TRUE(m_dlg.CreateWatchWindows());
  EXPECT_EQ(GetRequestNames(), arrFirst);
  const RmsLink* pLink = m_dlg.GetLink();
  ASSERT_NE(pLink, nullptr);

  // A second start creates no window twice and keeps the link, but asks again.
  ASSERT_TRUE(m_dlg.CreateWatchWindows());
  EXPECT_EQ(m_dlg.m_mapBars.size(), 5u);
  EXPECT_EQ(m_dlg.GetLink(), pLink);
  std::vector<std::string> arrTwice = arrFirst;
  arrTwice.insert(arrTwice.end(), arrFirst.begin(), arrFirst.end());
  EXPECT_EQ(GetRequestNames(), arrTwice);
  EXPECT_TRUE(m_arrBoxes.empty());
}

TEST_F(WatchWindowsTest, StartShowsEveryWindowWhenAllAreHidden) {
  g_pluginContext.watchCount = 2;
  ASSERT_TRUE(m_dlg.CreateWatchWindows());
  for (const auto& [pBar, nId] : m_dlg.m_mapBars) pBar->hide();
  ASSERT_TRUE(m_dlg.CreateWatchWindows());
  for (const auto& [pBar, nId] : m_dlg.m_mapBars) EXPECT_FALSE(pBar->isHidden()) << nId;

  // One window left shown: the hidden ones stay hidden.
  m_dlg.GetWatchBar(1)->hide();
  ASSERT_TRUE(m_dlg.CreateWatchWindows());
  EXPECT_TRUE(m_dlg.GetWatchBar(1)->isHidden());
  EXPECT_FALSE(m_dlg.GetWatchBar(2)->isHidden());
}

TEST_F(WatchWindowsTest, ToggleWindowByIndex) {
  g_pluginContext.watchCount = 2;
  ASSERT_TRUE(m_dlg.CreateWatchWindows());
  struct sStep {
    int nIndex;
    bool bWindow1Hidden, bWindow2Hidden, bAlertsHidden;
  };
  const sStep arrSteps[] = {
      {0, false, true, false},   // index 0 is watch window 2
      {0, false, false, false},  // and back
      {2, false, false, false},  // watch window 4 does not exist
      {3, true, false, false},   // index 3 is watch window 1
      {4, true, false, true},    // index 4 is the alerts window
      {7, true, false, true},    // unknown index
      {-1, true, false, true},
  };
  for (const sStep& step : arrSteps) {
    EXPECT_TRUE(m_dlg.ToggleWindow(step.nIndex));
    EXPECT_EQ(m_dlg.GetWatchBar(1)->isHidden(), step.bWindow1Hidden) << step.nIndex;
    EXPECT_EQ(m_dlg.GetWatchBar(2)->isHidden(), step.bWindow2Hidden) << step.nIndex;
    EXPECT_EQ(m_dlg.GetAlertsWindow()->isHidden(), step.bAlertsHidden) << step.nIndex;
  }
}

TEST_F(WatchWindowsTest, RecordsAddAndRemoveRowsInEveryWatchList) {
  g_pluginContext.watchCount = 3;
  ASSERT_TRUE(m_dlg.CreateWatchWindows());
  AddEntities({"account-A1"});
  ASSERT_EQ(g_mapRmsDetails.size(), 1u);
  const CRmsDetails* pRecord = g_mapRmsDetails.begin()->second.get();
  for (int nWindow = 1; nWindow <= 3; ++nWindow) {
    const CFilterListCtrl& list = m_dlg.GetWatchBar(nWindow)->GetList();
    ASSERT_EQ(list.GetItemCount(), 1) << nWindow;
    EXPECT_EQ(list.GetStore().GetRecord(0), pRecord) << nWindow;
  }

  // Many tree responses in one go: every one becomes a row, in arrival order.
  std::vector<std::string> arrMore;
  for (int n = 2; n <= 2000; ++n) arrMore.push_back("account-B" + std::to_string(n));
  AddEntities(arrMore);
  EXPECT_EQ(m_dlg.GetWatchBar(2)->GetList().GetItemCount(), 2000);
  EXPECT_EQ(m_dlg.GetWatchBar(2)->GetList().GetStore().GetRecord(0), pRecord);

  const CTestMessage deleted(DeletePublication("account-A1"));
  m_dlg.OnRmsPublish(deleted.Get());
  for (int nWindow = 1; nWindow <= 3; ++nWindow) {
    const CFilterListStore& store = m_dlg.GetWatchBar(nWindow)->GetList().GetStore();
    EXPECT_EQ(store.GetStoreCount(), 1999) << nWindow;
    for (int32_t nIndex = 0; nIndex < store.GetStoreCount(); ++nIndex)
      ASSERT_NE(store.GetStoreRecord(nIndex), pRecord) << nWindow;
  }
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

TEST_F(WatchWindowsTest, TitlesAreReadAtStartAndWrittenAtShutdown) {
  WriteFile("OrvaneSetting.ini", "[Orvane_watch3]\nTITLE=Night desk\n");
  ASSERT_TRUE(m_dlg.CreateWatchWindows());
  EXPECT_EQ(m_dlg.GetWatchBar(3)->windowTitle(), QStringLiteral("Night desk"));
  AddEntities({"account-A1"});
  ASSERT_FALSE(g_mapRmsDetails.empty());

  m_dlg.GetWatchBar(1)->setWindowTitle(QStringLiteral("Desk A"));
  m_dlg.SaveAndRelease();
  EXPECT_TRUE(g_mapRmsDetails.empty());
  EXPECT_EQ(ReadWatchTitle(1), "Desk A");
  EXPECT_EQ(ReadWatchTitle(2), "Orvane Watch 2");
  EXPECT_EQ(ReadWatchTitle(3), "Night desk");
  EXPECT_EQ(ReadWatchTitle(4), "Orvane Watch 4");
}

TEST_F(WatchWindowsTest, ClosingTheLinkReleasesBothControlsOrStops) {
  ASSERT_TRUE(m_dlg.CreateWatchWindows());
  // A host without the release service: control 0 is closed, the caller keeps the windows.
  g_pluginContext.hostModule = nullptr;
  EXPECT_FALSE(m_dlg.CloseLink());
  EXPECT_EQ(m_arrBoxes, std::vector<std::string>{"From ZEL Connection to pyxo failed"});
  EXPECT_EQ(g_controls[0].m_arrCloses, std::vector<int32_t>{0});
  EXPECT_TRUE(g_arrReleased.empty());
  EXPECT_EQ(m_dlg.m_mapBars.size(), 5u);

  g_pluginContext.hostModule = dlopen(nullptr, RTLD_NOW);
  EXPECT_TRUE(m_dlg.CloseLink());
  EXPECT_EQ(g_arrReleased, (std::vector<const CPyxoRxControl*>{&g_controls[0], &g_controls[1]}));
}

TEST_F(WatchWindowsTest, ConfiguredCustomColumnsAreRedBelowZero) {
  g_pluginContext.watchCount = 1;
  g_pluginContext.colouredCustomColumns[0] = "Loss";
  g_pluginContext.colouredCustomCount = 1;
  ASSERT_TRUE(m_dlg.CreateWatchWindows());
  AddEntities({"account-A1"});
  const CRmsDetails* pRecord = g_mapRmsDetails.begin()->second.get();

  const int32_t nLoss = AddCustomColumns(1, {{"Loss", "0 - 5"}, {"Other", "0 - 5"}});
  const CFilterListCtrl& list = m_dlg.GetWatchBar(1)->GetList();
  sCellText cell;
  ASSERT_TRUE(list.GetStore().GetCellText(pRecord, nLoss, cell));
  EXPECT_EQ(cell.strText, "-5.00");
  EXPECT_EQ(cell.nTextColour, 255);
  cell.Reset();
  ASSERT_TRUE(list.GetStore().GetCellText(pRecord, nLoss + 1, cell));
  EXPECT_EQ(cell.strText, "-5.00");
  EXPECT_EQ(cell.nTextColour, kColourUnset);
}

}  // namespace
