// The controller in-process: its windows in a frame, the first requests through receive
// controls that this test program offers as the host would, rows following the server's
// records, and the titles the windows keep.
#include "WatchFixture.h"
#include "tests/support/ListTestSupport.h"

namespace {

using WatchTitlesTest = CSettingsFixture;
using WatchWindowsTest = CWatchFixture;

TEST_F(WatchTitlesTest, WrittenTitlesReadBackAndKeepTheFileReadable) {
  const std::string strRest =
      "[CONFIG]\nDIALOG COUNT=2\n[Orvane_watch3]\nTITLE=Desk C\n[Orvane_watch4]\nTITLE=\n";
  WriteFile("OrvaneSetting.ini", "[orvane_watch1]\nCOLUMNPROFILE=1#2\ntitle=Old\n" + strRest);
  EXPECT_EQ(
      (std::vector<std::string>{ReadWatchTitle(1), ReadWatchTitle(2), ReadWatchTitle(3), ReadWatchTitle(4)}),
      (std::vector<std::string>{"Old", "Orvane Watch 2", "Desk C", "Orvane Watch 4"}));
  // Line breaks are joined with a blank; an empty title reads as the default.
  for (const auto& [szTitle, szRead] : {std::pair{"two\nlines\r\n", "two lines"}, {"", "Orvane Watch 1"}}) {
    EXPECT_TRUE(WriteWatchTitle(GetWatchSectionName(1), szTitle));
    EXPECT_EQ(ReadWatchTitle(1), szRead);
  }
  EXPECT_TRUE(WriteWatchTitle(GetWatchSectionName(1), "Night desk"));
  EXPECT_EQ(ReadFile("OrvaneSetting.ini"),
            "[orvane_watch1]\nCOLUMNPROFILE=1#2\ntitle=Night desk\n" + strRest);
}

TEST_F(WatchWindowsTest, WindowCountFollowsTheSetting) {
  for (const int32_t nWatchCount : {0, 2, 9}) {
    SCOPED_TRACE(nWatchCount);
    g_pluginContext.watchCount = nWatchCount;
    EXPECT_TRUE(m_dlg.CreateWatchWindows());
    // The alerts window and at most four watch windows, docked at the top and shown.
    EXPECT_EQ(m_dlg.m_mapBars.size(), static_cast<size_t>(std::min(nWatchCount, 4) + 1));
    for (const auto& [pBar, nId] : m_dlg.m_mapBars)
      EXPECT_TRUE(pBar->parent() == &m_frame && m_frame.dockWidgetArea(pBar) == Qt::TopDockWidgetArea &&
                  !pBar->isHidden())
          << nId;
    for (int nWindow = 1; nWindow <= 4; ++nWindow) {
      COrvaneWatchDlgBar* pBar = m_dlg.GetWatchBar(nWindow);
      ASSERT_EQ(pBar != nullptr, nWindow <= nWatchCount) << nWindow;
      if (pBar == nullptr) continue;
      const CFilterListCtrl& list = pBar->GetList();
      EXPECT_EQ(
          std::tuple(pBar->windowTitle().toStdString(), pBar->objectName(), list.GetProfileName(),
                     list.GetControlId(), list.IsDataMode(), pBar->GetAlertListKey()),
          std::tuple(GetDefaultWatchTitle(nWindow), QStringLiteral("OrvaneWatch%1").arg(nWindow),
                     GetWatchSectionName(nWindow), 1230 + nWindow, true, "list" + std::to_string(nWindow)));
    }
    m_dlg.DestroyWindows();
    EXPECT_TRUE(m_frame.findChildren<QDockWidget*>().isEmpty());
  }
}

// A second start creates no window twice and keeps the link, but asks again; it shows every
// window when all are hidden, and leaves them as they are when one is shown.
TEST_F(WatchWindowsTest, ASecondStartAsksAgainAndShowsWindowsOnlyWhenAllAreHidden) {
  g_pluginContext.watchCount = 2;
  ASSERT_TRUE(m_dlg.CreateWatchWindows());
  EXPECT_EQ(g_controls[0].m_arrRequests.size(), 4u);
  const RmsLink* pLink = m_dlg.GetLink();
  ASSERT_NE(pLink, nullptr);
  for (const auto& [pBar, nId] : m_dlg.m_mapBars) pBar->hide();
  ASSERT_TRUE(m_dlg.CreateWatchWindows());
  EXPECT_EQ(m_dlg.m_mapBars.size(), 3u);
  EXPECT_EQ(m_dlg.GetLink(), pLink);
  EXPECT_EQ(g_controls[0].m_arrRequests.size(), 8u);
  for (const auto& [pBar, nId] : m_dlg.m_mapBars) EXPECT_FALSE(pBar->isHidden()) << nId;
  m_dlg.GetWatchBar(1)->hide();
  ASSERT_TRUE(m_dlg.CreateWatchWindows());
  EXPECT_TRUE(m_dlg.GetWatchBar(1)->isHidden());
  EXPECT_FALSE(m_dlg.GetWatchBar(2)->isHidden());
  EXPECT_TRUE(m_arrBoxes.empty());
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
    EXPECT_EQ(GetList(nWindow).GetItemCount(), 2000) << nWindow;
    EXPECT_EQ(GetList(nWindow).GetStore().GetRecord(0), pRecord) << nWindow;
  }
  const CTestMessage deleted(
      {{64050, "account-B1"}, {54244, "CM-NSE-NRML"}, {54211, "rms prsnt value publish"}, {20008, ""}});
  m_dlg.OnRmsPublish(deleted.Get());
  for (int nWindow = 1; nWindow <= 3; ++nWindow) {
    const CFilterListStore& store = GetList(nWindow).GetStore();
    EXPECT_EQ(store.GetStoreCount(), 1999) << nWindow;
    for (int32_t nIndex = 0; nIndex < store.GetStoreCount(); ++nIndex)
      ASSERT_NE(store.GetStoreRecord(nIndex), pRecord);
  }
}

// A list with both options on starts with its kept filter and sort and follows the feed; the
// other lists show every record as it came. The column shows the negated value of field 64116.
TEST_F(WatchWindowsTest, AListWithLiveFilterAndKeptSortFollowsTheFeedFromTheStart) {
  const std::string strSettings =
      "[Orvane_watch1]\nLIVEFILTERSORT=1\nKEEPFILTERSORT=1\nFILTERS=Unrealized MTM Prsnt:<0\n"
      "SORT=Unrealized MTM Prsnt,descending\n";
  WriteFile("OrvaneSetting.ini", strSettings);
  g_pluginContext.watchCount = 2;
  ASSERT_TRUE(m_dlg.CreateWatchWindows());
  const auto shown = [this](int nWindow) { return GetShownTexts(GetList(nWindow), 70); };
  for (const auto& [szEntity, szValue] : {std::pair{"A1", "100"}, {"A2", "-50"}, {"A3", "300"}})
    SendTreeValue(szEntity, szValue);
  EXPECT_EQ(shown(1), (std::vector<std::string>{"-100.00", "-300.00"}));
  EXPECT_EQ(shown(2), (std::vector<std::string>{"-100.00", "50.00", "-300.00"}));
  SendTreeValue("A2", "10");
  SendTreeValue("A1", "-5");
  EXPECT_EQ(shown(1), (std::vector<std::string>{"-10.00", "-300.00"}));
  EXPECT_EQ(shown(2), (std::vector<std::string>{"5.00", "-10.00", "-300.00"}));
  EXPECT_EQ(ReadFile("OrvaneSetting.ini"), strSettings) << "restoring writes nothing";
}

}  // namespace
