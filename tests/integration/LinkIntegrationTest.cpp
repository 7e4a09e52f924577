// The plug-in's controller inside this program acting as the terminal: the real transport and
// the host's exported services, against rms-sim running as a process of its own. Start-up
// requests and answers, records following the feed, a manual alert and a call status making
// the round trip, and the link coming back after the server is killed.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QMainWindow>
#include <algorithm>
#include <filesystem>
#include <map>

#include "host/HostServices.h"
#include "host/transport/RmsTransport.h"
#include "lists/widgets/FilterListCtrl.h"
#include "model/CallStatusEntry.h"
#include "model/RmsDetails.h"
#include "platform/MessageBox.h"
#include "platform/qt/MainFrame.h"
#include "plugin/PluginContext.h"
#include "rmssim/EntityTree.h"
#include "tests/support/EventWait.h"
#include "tests/support/QtTestApp.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/SimProcess.h"
#include "windows/CallHistoryDlg.h"
#include "windows/OrvaneWatchDlg.h"
#include "windows/OrvaneWatchDlgBar.h"
#include "windows/OrvaneWatchDocAlerts.h"

namespace {

const std::vector<std::string> kStartUpRequests = {"om_get_user_peer_data", "mrv_rst_show_tree_all",
                                                   "roth_rst", "mrv_surv_alert_show_tree_all"};

// A small tree: 1 broker, 2 branches, 3 dealers, 2 groups, 20 accounts.
const sTreeSize kTree{1, 2, 3, 2, 20};
const QStringList kTreeOptions = {"--brokers", "1", "--branches", "2",  "--dealers", "3",
                                  "--groups",  "2", "--accounts", "20", "--seed",    "7"};

// Every slot text of a record, to notice any change of value.
std::string GetAllTexts(const CRmsDetails& record) {
  std::string strTexts;
  for (int nSlot = 0; nSlot < kRmsSlotCount; ++nSlot)
    strTexts.append(record.GetSlotText(nSlot)).push_back('|');
  return strTexts;
}

std::map<std::string, std::string> TakeSnapshot() {
  std::map<std::string, std::string> mapTexts;
  for (const auto& [strKey, pRecord] : g_mapRmsDetails) mapTexts[strKey] = GetAllTexts(*pRecord);
  return mapTexts;
}

bool AnyRecordChanged(const std::map<std::string, std::string>& mapBefore) {
  return std::any_of(g_mapRmsDetails.begin(), g_mapRmsDetails.end(), [&](const auto& entry) {
    const auto it = mapBefore.find(entry.first);
    return it != mapBefore.end() && it->second != GetAllTexts(*entry.second);
  });
}

class LinkIntegrationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_pluginContext = PluginContext{};
    g_pluginContext.settingsDir = m_dir.string();
    g_pluginContext.userId = "RISK01";
    g_pluginContext.watchCount = 4;
    g_pluginContext.hostModule = dlopen(nullptr, RTLD_NOW);
    g_mapRmsDetails.clear();
    SetMessageBoxSink([this](const std::string& strText) { m_arrBoxes.push_back(strText); });
    SetMainFrame(&m_frame);
  }

  void TearDown() override {
    m_dlg.CloseLink();
    m_dlg.DestroyWindows();
    ConfigureHostServices({}, {}, nullptr);
    m_pTransport.reset();
    m_sim.Kill();
    SetMainFrame(nullptr);
    SetMessageBoxSink({});
    g_mapRmsDetails.clear();
    g_pluginContext = PluginContext{};
  }

  // rms-sim with the small tree and the options given, then the terminal's transport and the
  // plug-in's start: windows, link, the four requests.
  void Start(const QStringList& arrOptions) {
    ASSERT_TRUE(m_sim.Start(kTreeOptions + arrOptions));
    m_pTransport = std::make_unique<CRmsTransport>(m_sim.GetEndpoints());
    ConfigureHostServices(m_dir.string(), {}, m_pTransport.get());
    ASSERT_TRUE(m_dlg.CreateWatchWindows());
  }

  // Every list has one row per stored record, and each row's record is a stored one.
  static bool ListsMatchTheMap(const COrvaneWatchDlg& dlg) {
    for (int nWindow = 1; nWindow <= 4; ++nWindow) {
      const CFilterListStore& store = dlg.GetWatchBar(nWindow)->GetList().GetStore();
      if (store.GetStoreCount() != static_cast<int32_t>(g_mapRmsDetails.size())) return false;
      for (int32_t nIndex = 0; nIndex < store.GetStoreCount(); ++nIndex) {
        const void* pRow = store.GetStoreRecord(nIndex);
        const bool bStored = std::any_of(g_mapRmsDetails.begin(), g_mapRmsDetails.end(),
                                         [pRow](const auto& entry) { return entry.second.get() == pRow; });
        if (!bStored) return false;
      }
    }
    return true;
  }

  size_t GetMessageAlertCount() const { return m_dlg.GetAlertsWindow()->GetMessageAlerts().size(); }

  // Rows of the call history, which the controller makes on the first call status.
  int32_t GetCallCount() {
    return m_dlg.HasCallHistory() ? m_dlg.GetCallHistory().GetList().GetItemCount() : 0;
  }
  // The newest call status: the top row.
  const sCallStatusEntry& GetNewestCall() {
    return *static_cast<const sCallStatusEntry*>(m_dlg.GetCallHistory().GetList().GetStore().GetRecord(0));
  }

  CScratchFolder m_folder{"orvane-integration"};
  const std::filesystem::path m_dir{m_folder.GetPath()};
  std::vector<std::string> m_arrBoxes;
  QMainWindow m_frame;
  CSimProcess m_sim;
  std::unique_ptr<CRmsTransport> m_pTransport;
  COrvaneWatchDlg m_dlg;
};

TEST_F(LinkIntegrationTest, StartUpAnswersFillTheWindowsAndTheFeedUpdatesAndDeletes) {
  ASSERT_NO_FATAL_FAILURE(Start({"--rate", "100", "--delete-every", "10"}));
  ASSERT_TRUE(RunEventsUntil([this] { return m_sim.GetRequestNames().size() >= 4; }));
  EXPECT_EQ(m_sim.GetRequestNames(), kStartUpRequests);

  // The tree answer: every record of the server's tree in the map and in every list (the feed
  // may already hold one or two of them deleted). Then the server's kept calls and alerts.
  const size_t nTreeRecords = CEntityTree(kTree, 7).GetRecords().size();
  ASSERT_TRUE(RunEventsUntil([&] {
    return g_mapRmsDetails.size() + 2 >= nTreeRecords && ListsMatchTheMap(m_dlg);
  })) << g_mapRmsDetails.size()
      << " of " << nTreeRecords;
  EXPECT_LE(g_mapRmsDetails.size(), nTreeRecords);
  ASSERT_TRUE(RunEventsUntil([this] { return GetCallCount() >= 3 && GetMessageAlertCount() >= 3; }))
      << GetCallCount() << " calls, " << GetMessageAlertCount() << " message alerts";
  EXPECT_EQ(GetCallCount(), 3);
  EXPECT_EQ(GetMessageAlertCount(), 3u);

  // The feed: values change in place, records are deleted from the map and every list, and
  // come back as new records. The lists never refer to a record the map no longer holds.
  const std::map<std::string, std::string> mapFirst = TakeSnapshot();
  bool bChanged = false;
  bool bDeleteSeen = false;
  bool bListsFollowed = true;
  ASSERT_TRUE(RunEventsUntil([&] {
    bChanged = bChanged || AnyRecordChanged(mapFirst);
    bDeleteSeen = bDeleteSeen || std::any_of(mapFirst.begin(), mapFirst.end(), [](const auto& entry) {
                    return !g_mapRmsDetails.contains(entry.first);
                  });
    bListsFollowed = bListsFollowed && ListsMatchTheMap(m_dlg);
    return bChanged && bDeleteSeen;
  })) << "changed "
      << bChanged << ", deleted " << bDeleteSeen;
  EXPECT_TRUE(bListsFollowed);
  ASSERT_TRUE(RunEventsUntil([&] { return g_mapRmsDetails.size() + 2 >= nTreeRecords; }));
  EXPECT_TRUE(m_arrBoxes.empty()) << m_arrBoxes.front();
}

TEST_F(LinkIntegrationTest, WithATreeStatusTheRecordsComeByPublication) {
  ASSERT_NO_FATAL_FAILURE(Start({"--tree-status", "7", "--rate", "200", "--delete-every", "0"}));
  ASSERT_TRUE(RunEventsUntil([this] { return m_sim.GetRequestNames().size() >= 4; }));
  EXPECT_EQ(m_sim.GetRequestNames(), kStartUpRequests);

  // No tree came: the records come from the feed, which runs only for a subscriber.
  const size_t nTreeRecords = CEntityTree(kTree, 7).GetRecords().size();
  ASSERT_TRUE(RunEventsUntil([&] { return g_mapRmsDetails.size() >= nTreeRecords / 2; }))
      << g_mapRmsDetails.size() << " of " << nTreeRecords;
  EXPECT_TRUE(ListsMatchTheMap(m_dlg));
  EXPECT_EQ(GetMessageAlertCount(), 0u);
  EXPECT_TRUE(m_arrBoxes.empty()) << m_arrBoxes.front();
}

TEST_F(LinkIntegrationTest, AManualAlertAndACallStatusComeBackFromTheServer) {
  ASSERT_NO_FATAL_FAILURE(Start({"--rate", "50", "--delete-every", "0"}));
  ASSERT_TRUE(RunEventsUntil(
      [this] { return !g_mapRmsDetails.empty() && GetMessageAlertCount() >= 3 && GetCallCount() >= 3; }));
  const CRmsDetails* pRecord = g_mapRmsDetails.begin()->second.get();
  const std::string strEntityId(pRecord->GetEntityId());
  const size_t nAlertsBefore = GetMessageAlertCount();
  const int32_t nCallsBefore = GetCallCount();

  // Sent as a watch window's commands send them.
  CRmsRequests& requests = m_dlg.GetRequests();
  std::string strResult;
  EXPECT_EQ(requests.SendManualAlert(*pRecord, 1234.5, kAlertMail, strResult), eLinkFailure::kNone);
  EXPECT_EQ(strResult, "Mail Alert Sent Successfully..!!");
  EXPECT_EQ(requests.PublishCallStatus(*pRecord, "OPEN", "07/12/2026 10:15:00 AM", kCallObligation),
            eLinkFailure::kNone);

  ASSERT_TRUE(RunEventsUntil([&] { return GetMessageAlertCount() > nAlertsBefore; }));
  const sMessageAlert& alert = *m_dlg.GetAlertsWindow()->GetMessageAlerts().back();
  EXPECT_EQ(alert.strUserId, "RISK01");
  EXPECT_EQ(alert.strClientId, strEntityId);
  EXPECT_EQ(alert.strValue, "1234.50");
  EXPECT_EQ(alert.strType, "MAIL");
  EXPECT_EQ(alert.strTimeStamp.size(), 19u) << alert.strTimeStamp;

  ASSERT_TRUE(RunEventsUntil([&] { return GetCallCount() > nCallsBefore; }));
  const sCallStatusEntry& call = GetNewestCall();
  EXPECT_NE(call.strEntity.find(strEntityId), std::string::npos) << call.strEntity;
  EXPECT_EQ(call.strCallType, "OBLIGATION");
  EXPECT_EQ(call.strStatus, "OPEN");
  EXPECT_EQ(call.strModifiedBy, "RISK01");
  // The stored record carries the call, and keeps it through later value publications.
  ASSERT_TRUE(RunEventsUntil([&] { return pRecord->GetCallText(0) == "OPEN"; }));
  EXPECT_EQ(pRecord->GetCallText(1), "07/12/2026 10:15:00 AM");
  const std::string strBefore = GetAllTexts(*pRecord);
  ASSERT_TRUE(RunEventsUntil([&] { return GetAllTexts(*pRecord) != strBefore; }));
  EXPECT_EQ(pRecord->GetCallText(0), "OPEN");

  EXPECT_TRUE(m_arrBoxes.empty()) << m_arrBoxes.front();
}

TEST_F(LinkIntegrationTest, RecordsFlowAgainAfterTheServerIsKilledAndRestarted) {
  ASSERT_NO_FATAL_FAILURE(Start({"--rate", "100", "--delete-every", "0"}));
  ASSERT_TRUE(RunEventsUntil([] { return !g_mapRmsDetails.empty(); }));
  const std::map<std::string, std::string> mapFirst = TakeSnapshot();
  ASSERT_TRUE(RunEventsUntil([&] { return AnyRecordChanged(mapFirst); }));

  const halvowire::sServerEndpoints endpoints = m_sim.GetEndpoints();
  m_sim.Kill();
  ASSERT_TRUE(RunEventsUntil([this] { return m_pTransport->GetLinkState() == eLinkState::kDisconnected; }));
  // Whatever arrived before the kill is delivered; from here on nothing changes.
  ASSERT_TRUE(RunEventsUntil([this] { return m_pTransport->GetStats().nQueued == 0; }));
  const std::map<std::string, std::string> mapDown = TakeSnapshot();

  // The same ports, another seed: the new server's values differ from every stored one.
  ASSERT_TRUE(m_sim.Start(kTreeOptions + QStringList{"--rate", "100", "--delete-every", "0", "--seed", "8"},
                          endpoints));
  ASSERT_TRUE(RunEventsUntil([this] { return m_pTransport->GetLinkState() == eLinkState::kConnected; }));
  ASSERT_TRUE(RunEventsUntil([&] { return AnyRecordChanged(mapDown); }));
  EXPECT_TRUE(ListsMatchTheMap(m_dlg));
  EXPECT_TRUE(m_arrBoxes.empty()) << m_arrBoxes.front();
}

}  // namespace
