// The plug-in's controller inside this program acting as the terminal, with the real transport
// and the host's exported services, against rms-sim as a process of its own: start-up answers,
// records in every list, and a manual alert and a call status making the round trip.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QMainWindow>

#include "bench/BenchProcess.h"
#include "host/HostServices.h"
#include "host/transport/RmsTransport.h"
#include "lists/widgets/FilterListCtrl.h"
#include "model/CallStatusEntry.h"
#include "model/RmsDetails.h"
#include "platform/qt/MainFrame.h"
#include "plugin/PluginContext.h"
#include "rmssim/EntityTree.h"
#include "tests/support/EventWait.h"
#include "tests/support/QtTestApp.h"
#include "tests/support/ScratchFolder.h"
#include "windows/CallHistoryDlg.h"
#include "windows/OrvaneWatchDlg.h"
#include "windows/OrvaneWatchDlgBar.h"
#include "windows/OrvaneWatchDocAlerts.h"

namespace {

TEST(LinkIntegrationTest, StartUpAnswersFillTheWindowsAndAlertsAndCallsMakeTheRoundTrip) {
  CScratchFolder folder("orvane-integration");
  g_pluginContext = PluginContext{};
  g_pluginContext.settingsDir = folder.GetPath();
  g_pluginContext.userId = "RISK01";
  g_pluginContext.watchCount = 4;
  g_pluginContext.hostModule = dlopen(nullptr, RTLD_NOW);
  g_mapRmsDetails.clear();
  QMainWindow frame;
  SetMainFrame(&frame);
  // A small tree: 1 broker, 2 branches, 3 dealers, 2 groups, 20 accounts.
  benchprocess::CChildProcess sim;
  const std::optional<std::string> strAddress = benchprocess::StartRiskServer(
      sim, {"--brokers", "1", "--branches", "2", "--dealers", "3", "--groups", "2",
            "--accounts", "20", "--seed", "7", "--rate", "50", "--delete-every", "0"});
  ASSERT_TRUE(strAddress.has_value());
  auto pTransport = std::make_unique<CRmsTransport>(halvowire::ParseServerAddress(*strAddress).value());
  ConfigureHostServices(folder.GetPath(), {}, pTransport.get());
  COrvaneWatchDlg dlg;
  ASSERT_TRUE(dlg.CreateWatchWindows());

  // The tree answer: every record of the server's tree in the map and in every list; then the
  // server's kept calls and alerts.
  const auto GetCallCount = [&] {
    return dlg.HasCallHistory() ? dlg.GetCallHistory().GetList().GetItemCount() : 0;
  };
  const auto GetAlertCount = [&] { return dlg.GetAlertsWindow()->GetMessageAlerts().size(); };
  const auto nTreeRecords = std::ssize(CEntityTree(sTreeSize{1, 2, 3, 2, 20}, 7).GetRecords());
  const auto AreListsFull = [&] {
    for (int nWindow = 1; nWindow <= 4; ++nWindow)
      if (dlg.GetWatchBar(nWindow)->GetList().GetStore().GetStoreCount() != nTreeRecords) return false;
    return std::ssize(g_mapRmsDetails) == nTreeRecords;
  };
  ASSERT_TRUE(RunEventsUntil([&] { return AreListsFull() && GetCallCount() >= 3 && GetAlertCount() >= 3; }))
      << g_mapRmsDetails.size() << " of " << nTreeRecords << ", " << GetCallCount() << " calls";

  // Sent as a watch window's commands send them.
  const CRmsDetails* pRecord = g_mapRmsDetails.begin()->second.get();
  const std::string strEntityId(pRecord->GetEntityId());
  std::string strResult;
  EXPECT_EQ(dlg.GetRequests().SendManualAlert(*pRecord, 1234.5, kAlertMail, strResult), eLinkFailure::kNone);
  EXPECT_EQ(dlg.GetRequests().PublishCallStatus(*pRecord, "OPEN", "07/12/2026 10:15:00 AM", kCallObligation),
            eLinkFailure::kNone);
  ASSERT_TRUE(RunEventsUntil([&] { return GetAlertCount() > 3 && GetCallCount() > 3; }));
  const sMessageAlert& alert = *dlg.GetAlertsWindow()->GetMessageAlerts().back();
  EXPECT_EQ(alert.strUserId + " " + alert.strClientId + " " + alert.strValue + " " + alert.strType,
            "RISK01 " + strEntityId + " 1234.50 MAIL");
  const auto& call =
      *static_cast<const sCallStatusEntry*>(dlg.GetCallHistory().GetList().GetStore().GetRecord(0));
  EXPECT_NE(call.strEntity.find(strEntityId), std::string::npos) << call.strEntity;
  EXPECT_EQ(call.strCallType + " " + call.strStatus + " " + call.strModifiedBy, "OBLIGATION OPEN RISK01");

  // The stored record carries the call.
  ASSERT_TRUE(RunEventsUntil([&] { return pRecord->GetCallText(0) == "OPEN"; }));
  EXPECT_EQ(pRecord->GetCallText(1), "07/12/2026 10:15:00 AM");

  dlg.CloseLink();
  dlg.DestroyWindows();
  ConfigureHostServices({}, {}, nullptr);
  pTransport.reset();
  SetMainFrame(nullptr);
  g_mapRmsDetails.clear();
  g_pluginContext = PluginContext{};
}

}  // namespace
