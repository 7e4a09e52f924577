// Custom alert rules: their stored form, the comparison, the dialog that edits them, their
// loading and saving across a restart, and the checks that raise alerts.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "WatchFixture.h"
#include "tests/support/ListTestSupport.h"
#include "windows/CustomAlertSettingDlg.h"

namespace {

constexpr const char* kLe = kLessOrEqualText;
constexpr const char* kGe = kGreaterOrEqualText;

CustomAlertSetting MakeRule(const char* szExpression, const char* szValue) {
  return {szExpression, "Net Loss", szValue, "Net Loss|list1", "289"};
}

// A stored rule line: key=name|comparison|value|column|key.
std::string MakeLine(const std::string& strName, const char* szExpression, const std::string& strValue,
                     int32_t nColumn, const char* szList) {
  const std::string strKey = strName + "|" + szList;
  return strKey + "=" + strName + "|" + szExpression + "|" + strValue + "|" + std::to_string(nColumn) + "|" +
         strKey + "\r\n";
}

TEST(CustomAlertRulesTest, RulesCompareInSinglePrecision) {
  const std::tuple<CustomAlertSetting, const char*, bool> arrCases[] = {
      // rule, column text, fires
      {MakeRule(kGe, "100"), "99.99", false},
      {MakeRule(kLe, "100"), "100.01", false},
      {MakeRule(kGe, "100000000"), "100000001.00", true},   // equal as floats
      {MakeRule(kLe, "0"), "Divided by ZERO error", true},  // a word reads 0
      {MakeRule("equal to", "5"), "5", false},
      {{"", "", "", "Net Loss|list1", "289"}, "0", false},  // deleted
  };
  for (const auto& [rule, szColumnText, bFires] : arrCases)
    EXPECT_EQ(DoesRuleFire(rule, szColumnText), bFires)
        << rule.strExpression << " " << rule.strValue << " " << szColumnText;
}

using CustomAlertFileTest = CSettingsFixture;

TEST_F(CustomAlertFileTest, LoadAndSaveKeepTheFileInStep) {
  WriteFile(kCustomAlertFileName, "[CUSTOMIZE_WINDOW]\r\n" + MakeLine("Loss", kLe, "-10", 290, "list1") +
                                      "Gone|list1=NULL\r\n" + MakeLine("Other", kGe, "1", 291, "list3"));
  CCustomAlertRules rules;
  EXPECT_EQ(rules.Load("Gone|list1"), nullptr);
  ASSERT_NE(rules.Load("Loss|list1"), nullptr);
  EXPECT_TRUE(rules.HasLiveRules("list1") && !rules.HasLiveRules("list3"));
  rules.MarkDeleted("Loss|list1");
  EXPECT_FALSE(rules.HasLiveRules("list1"));
  EXPECT_EQ(rules.Load("Loss|list1"), nullptr) << "a deleted rule is not read again from the file";
  rules.Set({kGe, "Loss", "5", "Loss|list2", "290"});
  rules.SaveAll();
  EXPECT_FALSE(rules.HasLiveRules("list2"));
  CCustomAlertRules restarted;
  EXPECT_EQ(restarted.Load("Loss|list1"), nullptr);
  ASSERT_NE(restarted.Load("Loss|list2"), nullptr);
  EXPECT_EQ(restarted.Find("Loss|list2")->strValue, "5");
  EXPECT_NE(restarted.Load("Other|list3"), nullptr) << "keys the map did not hold stay";
}

class CustomAlertsTest : public CWatchFixture {
 protected:
  void SetUp() override {
    CWatchFixture::SetUp();
    g_pluginContext.watchCount = 2;
    m_frame.show();  // as in the terminal, the frame is shown before the windows are created
    ASSERT_TRUE(m_dlg.CreateWatchWindows());
    m_pDialog = &m_dlg.GetCustomAlertDialog();
  }

  void Populate(int nWindow) {
    m_pDialog->PopulateAlertSettings(GetList(nWindow), m_dlg.GetWatchBar(nWindow)->GetAlertListKey());
  }
  // Chooses a column as the user does, a comparison and a value, and presses "Update".
  void EnterRule(int nName, int nExpression, const char* szValue) {
    m_pDialog->GetNamesBox().setCurrentIndex(nName);
    emit m_pDialog->GetNamesBox().activated(nName);
    m_pDialog->GetExpressionBox().setCurrentIndex(nExpression);
    m_pDialog->GetValueEdit().setText(QString::fromLatin1(szValue));
    m_pDialog->GetUpdateButton().click();
  }
  Rows GetRuleRows() const { return ReadRows(m_pDialog->GetRuleList()); }
  const std::vector<std::unique_ptr<RaisedAlert>>& GetAlerts() const {
    return m_dlg.GetAlertsWindow()->GetRaisedAlerts();
  }
  // The time stamp of the alert for client strClient, "none" without one.
  std::string GetAlertTime(const std::string& strClient) const {
    for (const auto& pAlert : GetAlerts())
      if (pAlert->strClientId == strClient) return pAlert->strTimeStamp;
    return "none";
  }

  CCustomAlertSettingDlg* m_pDialog = nullptr;
};

// Update refuses an incomplete rule with the first message in order; Delete needs a selected
// row. A deleted rule is kept as NULL at once, as when the terminal is killed now,
// and again at a clean close, and gets no row after a restart.
TEST_F(CustomAlertsTest, RulesAreUpdatedEditedAndDeletedInTheDialog) {
  const int32_t nFirst = AddCustomColumns(1, {{"Loss", "100"}, {"Gain", "5"}});
  Populate(1);
  CFilterListCtrl& list = m_pDialog->GetRuleList();
  SendKey(&list, Qt::Key_Delete);
  m_pDialog->GetUpdateButton().click();
  m_pDialog->GetNamesBox().setCurrentIndex(1);  // chosen without the numbers following
  m_pDialog->GetUpdateButton().click();
  emit m_pDialog->GetNamesBox().activated(1);
  m_pDialog->GetUpdateButton().click();
  m_pDialog->GetExpressionBox().setCurrentIndex(1);
  m_pDialog->GetUpdateButton().click();
  EXPECT_EQ(m_pDialog->GetRules().GetCount(), 0u);
  EnterRule(1, 1, "5");
  EnterRule(0, 0, "100");
  EnterRule(1, 1, "7");  // the newest row shows at the top; a second update of Gain replaces it
  EXPECT_EQ(GetRuleRows(), (Rows{{"Loss", kLe, "100", std::to_string(nFirst)},
                                 {"Gain", kGe, "7", std::to_string(nFirst + 1)}}));
  SendKey(&list, Qt::Key_Delete);
  EXPECT_EQ(list.GetItemCount(), 2) << "nothing is selected";
  list.selectRow(0);
  SendKey(&list, Qt::Key_Delete);
  EXPECT_EQ(m_arrBoxes,
            (std::vector<std::string>{"No item in the list to delete", "Please select a custom column",
                                      "Please select a expression", "Please select a expression",
                                      "Please enter some value", "Please select a rule to delete"}));
  for (const bool bClosed : {false, true}) {
    if (bClosed) m_dlg.SaveAndRelease();
    const std::string strFile = ReadFile(kCustomAlertFileName);
    EXPECT_NE(strFile.find("Loss|list1=NULL"), std::string::npos) << bClosed << strFile;
    EXPECT_NE(strFile.find("Gain|list1=Gain|greater than or equal to|7|"), std::string::npos)
        << bClosed << strFile;
  }
  AddCustomColumns(2, {{"Gain", "5"}});
  Populate(2);
  EXPECT_TRUE(GetRuleRows().empty()) << "the rules of a list are its own";
  Populate(1);
  ASSERT_EQ(GetRuleRows().size(), 1u) << "no row for the deleted rule";
  m_pDialog->GetNamesBox().setCurrentIndex(0);
  m_pDialog->EditRuleAt(0);
  EXPECT_EQ(
      (std::vector<QString>{m_pDialog->GetNamesBox().currentText(), m_pDialog->GetNumbersBox().currentText(),
                            m_pDialog->GetExpressionBox().currentText(), m_pDialog->GetValueEdit().text()}),
      (std::vector<QString>{"Gain", QString::number(nFirst + 1), kGe, "7"}));
}

// A rule compares the column its name names; the numbers stored with Odd (a catalogue column),
// list2's Loss (past the last column) and Gain (Loss's) are stale, as a deletion leaves them.
TEST_F(CustomAlertsTest, ChecksRaiseAlertsFromTheRulesColumn) {
  const int32_t nFirst = AddCustomColumns(1, {{"Loss", "100"}, {"Odd", "0 + 5"}});
  const int32_t nFirst2 = AddCustomColumns(2, {{"Loss", "100"}, {"Gain", "5"}});
  const std::string strList1 = m_dlg.GetWatchBar(1)->windowTitle().toStdString();
  const std::string strList2 = m_dlg.GetWatchBar(2)->windowTitle().toStdString();
  WriteFile(kCustomAlertFileName, "[CUSTOMIZE_WINDOW]\r\n" + MakeLine("Loss", kGe, "100", nFirst, "list1") +
                                      MakeLine("Odd", kLe, "5", 3, "list1") +
                                      MakeLine("Loss", kLe, "100", nFirst2 + 2, "list2") +
                                      MakeLine("Gain", kGe, "5", nFirst2, "list2"));
  Populate(1);
  Populate(2);
  SetFixedClock(int64_t{1'700'000'000} * 1'000'000);
  AddEntities({"account-A1"});
  const std::string strTime = FormatLocalTime(1'700'000'000, "%d/%m/%Y %H:%M:%S");
  const Rows arrExpected = {{"Loss", strList1, "100.00"},
                            {"Odd", strList1, "5.00"},
                            {"Loss", strList2, "100.00"},
                            {"Gain", strList2, "5.00"}};
  const auto ReadAlerts = [this, &strTime] {
    Rows arrRows;
    for (const auto& pAlert : GetAlerts()) {
      EXPECT_EQ(pAlert->strClientId + " " + pAlert->strTimeStamp + " " + pAlert->strLevel,
                "A1 " + strTime + " CM-NSE-NRML");
      arrRows.push_back({pAlert->strColumnName, pAlert->strListName, pAlert->strValue});
    }
    return arrRows;
  };
  EXPECT_EQ(ReadAlerts(), arrExpected);
  // What a deletion of custom columns names before it asks.
  const std::string arrNames[] = {"Loss", "None", "Odd"};
  EXPECT_EQ(
      GetList(1).DescribeAlertRulesOn(arrNames),
      (std::vector<std::string>{"\"Loss\" greater than or equal to 100", "\"Odd\" less than or equal to 5"}));
}

// A rule set in the dialog is compared at once with the rows on the list's page, and with every
// row under "Alerts on Every Row", which also checks a changed row wherever the list holds it.
TEST_F(CustomAlertsTest, AlertsOnEveryRowCheckRowsOffThePage) {
  AddCustomColumns(1, {{"Loss", "100"}});
  std::vector<std::string> arrEntities;
  for (int nEntity = 0; nEntity < 200; ++nEntity)
    arrEntities.push_back("account-A" + std::to_string(nEntity));
  AddEntities(arrEntities);
  Populate(1);
  CFilterListCtrl& list = GetList(1);
  int32_t nFirst = 0;
  int32_t nLast = -1;
  ASSERT_TRUE(list.GetVisibleRows(nFirst, nLast));
  ASSERT_LT(nLast, 199) << "the last row is off the page";
  EnterRule(0, 1, "1000");  // greater than or equal to 1000: not met by 100
  EXPECT_TRUE(GetAlerts().empty());
  EnterRule(0, 1, "100");
  EXPECT_EQ(GetAlerts().size(), static_cast<size_t>(nLast - nFirst + 1));
  int64_t nSeconds = 1'700'000'000;
  for (const bool bOn : {false, true}) {
    ASSERT_TRUE(list.IsAlertsOnEveryRow() == bOn || list.OnCommand(kCmdAlertsOnEveryRow));
    const std::string strBefore = GetAlertTime("A199");
    SetFixedClock(++nSeconds * 1'000'000);
    AddEntities({"account-A199"});
    EXPECT_EQ(GetAlertTime("A199"), bOn ? FormatLocalTime(nSeconds, "%d/%m/%Y %H:%M:%S") : strBefore) << bOn;
  }
  EnterRule(0, 1, "100");
  EXPECT_EQ(GetAlerts().size(), 200u) << "a rule set while on";
}

// A watch window out of sight still checks the rows on its page: closed by the layout the
// frame restores at start, before the event loop ran; behind another tab; closed later.
TEST_F(CustomAlertsTest, HiddenWatchWindowsCheckTheRowsOnTheirPage) {
  const int32_t nLoss = AddCustomColumns(1, {{"Loss", "100"}});
  WriteFile(kCustomAlertFileName, "[CUSTOMIZE_WINDOW]\r\n" + MakeLine("Loss", kGe, "100", nLoss, "list1"));
  Populate(1);
  COrvaneWatchDlgBar* pBar1 = m_dlg.GetWatchBar(1);
  COrvaneWatchDlgBar* pBar2 = m_dlg.GetWatchBar(2);
  AddEntities({"account-A1"});
  ASSERT_EQ(GetAlerts().size(), 1u);
  const std::pair<const char*, std::function<void()>> arrCases[] = {
      {"closed at start", [&] { pBar1->hide(); }},
      {"behind another tab",
       [&] {
         pBar1->show();
         m_frame.tabifyDockWidget(pBar1, pBar2);
         QApplication::processEvents();
         pBar2->raise();
       }},
      {"closed", [&] { pBar1->close(); }},
  };
  int64_t nSeconds = 1'700'000'000;
  for (const auto& [szCase, fnHide] : arrCases) {
    SCOPED_TRACE(szCase);
    fnHide();
    QApplication::processEvents();
    ASSERT_TRUE(GetList(1).visibleRegion().isEmpty());
    SetFixedClock(++nSeconds * 1'000'000);
    AddEntities({"account-A1"});
    ASSERT_EQ(GetAlerts().size(), 1u);
    EXPECT_EQ(GetAlerts()[0]->strTimeStamp, FormatLocalTime(nSeconds, "%d/%m/%Y %H:%M:%S")) << "not checked";
  }
}

}  // namespace
