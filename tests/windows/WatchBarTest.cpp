// The watch windows' menus and commands, driven in-process: which entries a right-click shows,
// what each command sends to the risk server, and the link's state on the windows.
#include <QComboBox>
#include <QItemSelectionModel>

#include "WatchFixture.h"
#include "platform/ShellOpen.h"
#include "platform/qt/ModalDialog.h"
#include "windows/DataFreshness.h"
#include "windows/NewCallStatusDlg.h"

namespace {

std::vector<std::string> GetCaptions(const std::vector<sWatchMenuEntry>& arrEntries) {
  std::vector<std::string> arrCaptions;
  for (const sWatchMenuEntry& entry : arrEntries)
    arrCaptions.push_back(entry.IsSeparator() ? "-" : entry.strCaption);
  return arrCaptions;
}

class WatchBarTest : public CWatchFixture {
 protected:
  void SetUp() override {
    CWatchFixture::SetUp();
    SetShellOpenSink([this](const std::string& strText) { m_arrOpened.push_back(strText); });
  }
  void TearDown() override {
    SetShellOpenSink({});
    CWatchFixture::TearDown();
  }

  // Starts with the windows, four entities in every list, and rows selected in window 1.
  COrvaneWatchDlgBar& StartWithSelection(std::initializer_list<int> arrRows) {
    EXPECT_TRUE(m_dlg.CreateWatchWindows());
    AddEntities({"A1", "A2", "A3", "A4"});
    CFilterListCtrl& list = GetList(1);
    for (const int nRow : arrRows)
      list.selectionModel()->select(list.model()->index(nRow, 0),
                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
    g_controls[0].m_arrRequests.clear();
    return *m_dlg.GetWatchBar(1);
  }

  // Runs a command that opens the call status dialog and answers the dialog with fnAnswer.
  static void AnswerCallStatus(COrvaneWatchDlgBar& bar, int32_t nCommand,
                               const std::function<void(CNewCallStatus&)>& fnAnswer) {
    SetModalDialogHook([&fnAnswer](QDialog& dialog) {
      fnAnswer(static_cast<CNewCallStatus&>(dialog));
      return dialog.result();
    });
    bar.OnCommand(nCommand);
    SetModalDialogHook({});
  }

  std::vector<std::string> m_arrOpened;
};

TEST_F(WatchBarTest, MenuFollowsCountConfigurationAndWindow) {
  const auto Expected = [](std::vector<std::string> arrAll, bool bCalc) {
    arrAll.insert(arrAll.end(),
                  {"Orvane Watch Alerts", "-", "Change Title", "Custom Column Alert Setting", "-"});
    if (bCalc) arrAll.insert(arrAll.end(), {"Send SMS", "Send Email", "Send SMS and Email", "-"});
    arrAll.insert(arrAll.end(),
                  {"NewObligationCall", "NewMarginCall", "Call History", "-", "Write to Excel \t Shift+E",
                   "Gridlines \t Shift+G", "Customize \t Ctrl+Shift+C", "Copy To Clip Board \t Ctrl+C", "-",
                   "Refresh"});
    return arrAll;
  };
  const std::tuple<int32_t, int, bool, std::vector<std::string>> arrCases[] = {
      // count, window, calc, head
      {1, 1, false, {}},
      {4, 3, false, {"Orvane Watch 1", "Orvane Watch 2", "Orvane Watch 4"}},
      {4, 1, true, {"Orvane Watch 2", "Orvane Watch 3", "Orvane Watch 4"}}};
  for (const auto& [nWatchCount, nWindow, bCalc, arrHead] : arrCases) {
    g_pluginContext.watchCount = nWatchCount;
    g_pluginContext.calcEnabled = bCalc;
    ASSERT_TRUE(m_dlg.CreateWatchWindows());
    EXPECT_EQ(GetCaptions(m_dlg.GetWatchBar(nWindow)->GetMenuEntries()), Expected(arrHead, bCalc))
        << nWatchCount << " " << nWindow << " " << bCalc;
    m_dlg.DestroyWindows();
  }
  // The e-mail entries follow "Call History" once all three columns of their kind are set.
  g_pluginContext.watchCount = 4;
  ASSERT_TRUE(m_dlg.CreateWatchWindows());
  COrvaneWatchDlgBar& bar = *m_dlg.GetWatchBar(3);
  auto& arrAmounts = bar.GetList().GetLayout().m_arrCallAmountColumns;
  const auto AfterHistory = [&bar] {
    const std::vector<sWatchMenuEntry> arrAll = bar.GetMenuEntries();
    const auto it = std::find(arrAll.begin(), arrAll.end(), sWatchMenuEntry{"Call History", kCmdCallHistory});
    return std::vector<sWatchMenuEntry>(it + 1, it + 3);
  };
  arrAmounts = {10, 11, 12, 20, -1, 22};
  const sWatchMenuEntry margin{"Send Margin Call Email", kCmdMarginCallEmail, true};
  EXPECT_EQ(AfterHistory(), (std::vector<sWatchMenuEntry>{margin, {}}));
  arrAmounts[4] = 21;
  EXPECT_EQ(AfterHistory(), (std::vector<sWatchMenuEntry>{
                                margin, {"Send Obligation Call Email", kCmdObligationCallEmail, true}}));
  // A watch window toggles the others and the alerts window, and refuses commands it does not know.
  EXPECT_TRUE(bar.OnCommand(kCmdToggleWatch1) && m_dlg.GetWatchBar(1)->isHidden());
  EXPECT_TRUE(bar.OnCommand(kCmdToggleWatch2) && m_dlg.GetWatchBar(2)->isHidden());
  EXPECT_TRUE(bar.OnCommand(kCmdToggleAlerts) && m_dlg.GetAlertsWindow()->isHidden());
  EXPECT_FALSE(bar.OnCommand(12345));
}

// Refresh asks for the topmost selected entity only; a manual alert is published per entity
// and shows one box. Nothing selected: nothing asked or sent, and the box still shows, empty.
TEST_F(WatchBarTest, RefreshAndManualAlertsFollowTheSelection) {
  COrvaneWatchDlgBar& bar = StartWithSelection({2, 0});
  EXPECT_TRUE(bar.OnCommand(kCmdRefresh));
  ASSERT_EQ(g_controls[0].m_arrRequests.size(), 1u);
  const FieldList& arrFields = g_controls[0].m_arrRequests[0];
  EXPECT_EQ(FieldList(arrFields.begin(), arrFields.begin() + 2),
            (FieldList{{arrFields[0].first, "rms_get_prsnt_values_rst"}, {54001, "A1"}}));
  const std::vector<FieldList>& arrSent = g_controls[0].m_arrPublications;
  EXPECT_TRUE(bar.OnCommand(kCmdSendSmsAndEmail));
  ASSERT_EQ(arrSent.size(), 2u);
  EXPECT_EQ(arrSent[0][1].second + arrSent[1][1].second, "A1A3");
  bar.GetList().clearSelection();
  EXPECT_TRUE(bar.OnCommand(kCmdRefresh) && bar.OnCommand(kCmdSendSms));
  EXPECT_EQ(std::pair(g_controls[0].m_arrRequests.size(), arrSent.size()), std::pair(size_t{1}, size_t{2}));
  EXPECT_EQ(m_arrBoxes, (std::vector<std::string>{"SMS and Mail Alert Sent Successfully..!!", ""}));
}

TEST_F(WatchBarTest, CallStatusIsPublishedOnlyForAPickedStatus) {
  COrvaneWatchDlgBar& bar = StartWithSelection({0, 1, 3});
  const std::vector<FieldList>& arrSent = g_controls[0].m_arrPublications;
  AnswerCallStatus(bar, kCmdNewMarginCall, [](CNewCallStatus& dialog) { dialog.reject(); });
  AnswerCallStatus(bar, kCmdNewMarginCall, [](CNewCallStatus& dialog) { dialog.SetStatus(); });
  EXPECT_TRUE(arrSent.empty());
  AnswerCallStatus(bar, kCmdNewObligationCall, [](CNewCallStatus& dialog) {
    dialog.GetStatusBox()->setCurrentIndex(2);
    dialog.SetStatus();
  });
  ASSERT_EQ(arrSent.size(), 3u);
  for (const FieldList& arrFields : arrSent)  // one time for all three
    EXPECT_EQ(std::tuple(arrFields[0].second, arrFields[3].second, arrFields[4].second),
              std::tuple("rms prsnt value publish ZEL", "SELL OFF", arrSent[0][4].second));
}

TEST_F(WatchBarTest, AQuietLinkShowsABannerAndOldRowsAreDimmed) {
  const std::pair<sHalvoLinkStatus, const char*> arrCases[] = {
      {{kLinkConnected, 1, 200}, ""},
      {{kLinkDisconnected, 2, 119'999}, "Risk server: no data for 119 s"},
      {{kLinkConnecting, 2, 7'199'999}, "Risk server: no data for 119 min"},
      {{kLinkHandshakeRefused, 1, 5'000}, "Risk server: handshake refused, no data for 5 s"},
      {{kLinkKeyProblem, 0, -1}, "Risk server: not connected, key problem"},
  };
  SetFixedClock(int64_t{1'700'000'000} * 1'000'000);
  COrvaneWatchDlgBar& bar = StartWithSelection({});
  const CFilterListStore& store = bar.GetList().GetStore();
  const auto& record = *static_cast<const CRmsDetails*>(store.GetRecord(0));
  for (const auto& [status, szBanner] : arrCases) {
    SCOPED_TRACE(szBanner);
    bar.ShowLinkStatus(status);
    EXPECT_EQ(bar.GetBannerText().toStdString(), szBanner);
    EXPECT_EQ(bar.IsRowDimmed(record), *szBanner != '\0');
  }
  // Rows age by their own newest value, past the default five minutes or the list's limit.
  bar.ShowLinkStatus({kLinkConnected, 1, 0});
  SetFixedClock(int64_t{1'700'000'300} * 1'000'000);
  EXPECT_FALSE(bar.IsRowDimmed(record));
  SetFixedClock(int64_t{1'700'000'301} * 1'000'000);
  EXPECT_TRUE(bar.IsRowDimmed(record));
  // "Last Update" holds the row's age in seconds; only a profile shows it, and custom columns come after it.
  const CListLayout& layout = bar.GetList().GetLayout();
  EXPECT_EQ(layout.GetPosition(kLastUpdateColumn), -1);
  sCellText cell;
  store.GetCellText(&record, kLastUpdateColumn, cell);
  EXPECT_EQ(cell.strText, "301");
  EXPECT_EQ(FormatRowAge(0, 5'000'000), "-");
  EXPECT_EQ(AddCustomColumns(1, {{"Net", "\"289\" * 2"}}), kLastUpdateColumn + 1);
  cell.Reset();
  store.GetCellText(&record, kLastUpdateColumn + 1, cell);
  EXPECT_EQ(cell.strText, "602.00");
  EXPECT_EQ(std::pair(ParseDimAfterSeconds("60", true), ParseDimAfterSeconds("1m", true)),
            std::pair(60, 300));
  EXPECT_FALSE(IsRowAged(0, 1'000'000'000, 60) || IsRowAged(1, 1'000'000'000, 0));
}

// Each kind's link for an account: its subject, the local time of a zone with daylight saving (in
// winter and in summer) with the list's amounts in the order of the kind's columns, and the copy
// addresses last.
TEST_F(WatchBarTest, CallEmailsCarryTheAmountsAndTheLocalTime) {
  const struct {
    int32_t nCommand;
    std::array<int32_t, 6> arrColumns;
    const char* szCc;
    int64_t nSeconds;
    std::vector<std::string> arrPieces;  // in order: the first starts the link, the last ends it
  } arrRows[] = {
      {kCmdMarginCallEmail, {70, 0, 83, -1, -1, -1}, "", 1796411100,
       {"mailto:?subject=Initial Margin call for Account [C1001]&body=",
        "As on 02:05 PM Dec 04,2026 today, your margin stood at Rs.-1500.50 as against the requirement of "
        "Rs.C1001 i.e a deficit / shortfall of Rs.CM-NSE-NRML .", "&cc="}},
      {kCmdObligationCallEmail, {-1, -1, -1, 83, 70, 0}, "risk@example.com;desk@example.com", 1783171800,
       {"mailto:?subject=Cash Obligation Short Fall for Account [C1001]&body=",
        "As on 09:30 AM Jul 04,2026 today, your margin stood at Rs.CM-NSE-NRML as against the requirement of "
        "Rs.-1500.50 i.e a deficit / shortfall of Rs.C1001 .", "&cc=risk@example.com;desk@example.com"}},
  };
  const char* szOldZone = std::getenv("TZ");
  const std::string strOldZone = szOldZone != nullptr ? szOldZone : "";
  setenv("TZ", "America/New_York", 1);
  tzset();
  EXPECT_TRUE(m_dlg.CreateWatchWindows());
  AddEntities({"account-C1001", "account-C1002"});  // one link for each selected entity
  COrvaneWatchDlgBar& bar = *m_dlg.GetWatchBar(1);
  bar.GetList().selectAll();
  for (const auto& row : arrRows) {
    SCOPED_TRACE(row.nCommand);
    m_arrOpened.clear();
    bar.GetList().GetLayout().m_arrCallAmountColumns = row.arrColumns;
    g_pluginContext.mailCc = row.szCc;
    SetFixedClock(row.nSeconds * 1000000);
    EXPECT_TRUE(bar.OnCommand(row.nCommand));
    ASSERT_EQ(m_arrOpened.size(), 2u);
    size_t nAt = 0;
    for (const std::string& strPiece : row.arrPieces) {
      nAt = m_arrOpened[0].find(strPiece, nAt);
      ASSERT_NE(nAt, std::string::npos) << strPiece << "\n" << m_arrOpened[0];
    }
    EXPECT_TRUE(m_arrOpened[0].starts_with(row.arrPieces.front()) &&
                m_arrOpened[0].ends_with(row.arrPieces.back()));
    EXPECT_NE(m_arrOpened[1].find("[C1002]&body="), std::string::npos);
  }
  szOldZone != nullptr ? setenv("TZ", strOldZone.c_str(), 1) : unsetenv("TZ");
  tzset();
}

}  // namespace
