// The filter list in data mode: filter bar, popup, sorting, keys, live updates, options.
#include "tests/lists/ListWidgetTest.h"

#include "lists/widgets/FilterText.h"
#include "plugin/SettingsAccess.h"

namespace {

const Texts kNames = {"Name", "Segment", "Amount"};
const std::vector<TextRecord> kRows = {{"Reliance", "CM", "1500"},
                                       {"relaxo", "FO", "-700"},
                                       {"Balance", "CM", "20"},
                                       {"Alliance", "cm", "-1200"},
                                       {"Bharat", "CDS", "abc"}};

void Type(QWidget* pWidget, const char* szKeys) {
  for (; *szKeys != 0; ++szKeys) SendKey(pWidget, Qt::Key_unknown, Qt::NoModifier, QString(QChar(*szKeys)));
}

// The ticked header menu commands, or the two filter-and-sort options with their ticks.
std::vector<std::pair<int, bool>> GetMenuEntries(CFilterListCtrl& list, bool bTickedOnly) {
  std::vector<std::pair<int, bool>> arrEntries;
  const std::unique_ptr<QMenu> pMenu = list.CreateHeaderMenu();
  for (const QAction* pAction : pMenu->actions()) {
    const int nCommand = pAction->data().toInt();
    if (bTickedOnly ? pAction->isChecked() : nCommand == kCmdLiveFilterSort || nCommand == kCmdKeepFilterSort)
      arrEntries.emplace_back(nCommand, pAction->isChecked());
  }
  return arrEntries;
}

class FilterListCtrlTest : public CSettingsFixture {
 protected:
  void SetUp() override {
    CSettingsFixture::SetUp();
    m_pData = std::make_unique<sTextList>(kNames, kRows, std::vector<int32_t>{2});
    CFilterListCtrl* pList = m_pData->pList.get();
    QObject::connect(pList, &CFilterListCtrl::FilterChanged, [this, pList](int nPosition) {
      m_arrNotified.push_back(nPosition);
      pList->Filter();
    });
  }
  void TearDown() override {
    m_pData.reset();
    CSettingsFixture::TearDown();
  }

  CFilterListCtrl& List() { return *m_pData->pList; }
  Texts Names() { return GetShownTexts(List(), 0); }

  std::unique_ptr<sTextList> m_pData;
  std::vector<int> m_arrNotified;
};

TEST_F(FilterListCtrlTest, TypedFilterReachesTheOwnerAfterTheTimeOut) {
  CColorHeaderCtrl* pHeader = List().GetHeader();
  ASSERT_TRUE(pHeader->IsFilterBarShown());
  EXPECT_EQ(pHeader->GetFilterTimer().interval(), 500);
  QLineEdit* pEdit = pHeader->GetFilterEdit(0);
  ASSERT_NE(pEdit, nullptr);
  Type(pEdit, "rel");
  EXPECT_TRUE(m_arrNotified.empty()) << "nothing before the time-out";
  ASSERT_TRUE(RunEventsUntil([this] { return !m_arrNotified.empty(); }));
  EXPECT_EQ(m_arrNotified, std::vector<int>{0});
  EXPECT_EQ(Names(), (Texts{"Reliance", "relaxo"}));
  // Typing in a second column reports the first change at once, then its own after its time-out.
  pEdit->clear();
  Type(pEdit, "*an*");
  Type(pHeader->GetFilterEdit(1), "c");
  EXPECT_EQ(m_arrNotified, (std::vector<int>{0, 0}));
  ASSERT_TRUE(RunEventsUntil([this] { return m_arrNotified.size() == 3; }));
  EXPECT_EQ(Names(), (Texts{"Reliance", "Balance", "Alliance"}));
  // A filter set by the owner replaces a waiting edit of its column: typing elsewhere then
  // reports nothing at once.
  Type(pEdit, "x");
  pHeader->SetFilterText(0, "*an*");
  m_arrNotified.clear();
  Type(pHeader->GetFilterEdit(1), "m");
  EXPECT_TRUE(m_arrNotified.empty());
}

TEST_F(FilterListCtrlTest, FilterValuePopupJoinsTheChosenEntries) {
  List().GetHeader()->GetFilterButton(1)->click();
  CFilterText* pPopup = CFilterText::GetInstance();
  ASSERT_NE(pPopup, nullptr);
  EXPECT_TRUE(pPopup->isVisible());
  EXPECT_EQ(pPopup->GetPosition(), 1);
  QListWidget* pBox = pPopup->GetListBox();
  Texts arrEntries;
  for (int i = 0; i < pBox->count(); ++i) arrEntries.push_back(pBox->item(i)->text().toStdString());
  EXPECT_EQ(arrEntries, (Texts{"CM", "FO", "CDS"}));
  pBox->item(2)->setSelected(true);
  pBox->item(0)->setSelected(true);
  SendKey(pBox, Qt::Key_Return);
  EXPECT_FALSE(pPopup->isVisible());
  EXPECT_EQ(List().GetHeader()->GetFilterText(1), "CM~CDS");
  EXPECT_EQ(Names(), (Texts{"Reliance", "Balance", "Alliance", "Bharat"}));
}

TEST_F(FilterListCtrlTest, SortsByClicksWithHeaderImages) {
  const auto images = [this] {
    return std::vector<int32_t>{List().GetSortImage(0), List().GetSortImage(1), List().GetSortImage(2)};
  };
  const std::tuple<int32_t, Texts, std::vector<int32_t>> arrSteps[] = {
      {2, {"Alliance", "relaxo", "Bharat", "Balance", "Reliance"}, {-1, -1, 0}},
      {2, {"Reliance", "Balance", "Bharat", "relaxo", "Alliance"}, {-1, -1, 1}},
      {0, {"Alliance", "Balance", "Bharat", "Reliance", "relaxo"}, {0, -1, -1}},
  };
  for (const auto& [nPosition, arrNames, arrImages] : arrSteps) {
    List().GetHeader()->sectionClicked(nPosition);
    EXPECT_EQ(Names(), arrNames) << "click on " << nPosition;
    EXPECT_EQ(images(), arrImages) << "click on " << nPosition;
  }
  List().SetFilter(0, "zzz", false);
  ASSERT_EQ(List().GetItemCount(), 0);
  List().GetHeader()->sectionClicked(1);
  EXPECT_EQ(images(), (std::vector<int32_t>{0, -1, -1})) << "an empty view ignores clicks";
}

TEST_F(FilterListCtrlTest, FilterBarKeys) {
  CColorHeaderCtrl* pHeader = List().GetHeader();
  List().activateWindow();
  ASSERT_TRUE(RunEventsUntil([this] { return List().isActiveWindow(); }));
  List().setFocus();
  SendKey(&List(), Qt::Key_F, Qt::ControlModifier);
  EXPECT_FALSE(pHeader->IsFilterBarShown());
  EXPECT_FALSE(pHeader->GetFilterEdit(0)->isVisible());
  const int nClosedHeight = pHeader->height();
  SendKey(&List(), Qt::Key_F, Qt::ControlModifier);
  ASSERT_TRUE(pHeader->IsFilterBarShown());
  EXPECT_EQ(pHeader->height(), nClosedHeight + pHeader->GetFilterBarHeight());
  EXPECT_EQ(QApplication::focusWidget(), pHeader->GetFilterEdit(0));
  // Both ways round the ends of the bar, and one step each way inside it.
  const std::pair<int, int> arrSteps[] = {
      {Qt::Key_Backtab, 2}, {Qt::Key_Tab, 0}, {Qt::Key_Tab, 1}, {Qt::Key_Backtab, 0}};
  for (const auto& [nKey, nFocused] : arrSteps) {
    SendKey(QApplication::focusWidget(), nKey, nKey == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
    EXPECT_EQ(pHeader->GetFocusedFilterPosition(), nFocused) << nKey;
  }
  // Ctrl+F in a filter edit hides the bar and gives the list the focus back.
  SendKey(QApplication::focusWidget(), Qt::Key_F, Qt::ControlModifier);
  EXPECT_FALSE(pHeader->IsFilterBarShown());
  EXPECT_EQ(QApplication::focusWidget(), &List());
}

TEST_F(FilterListCtrlTest, DeletingMovesTheSelectionToTheFollowingRow) {
  List().selectRow(1);
  ASSERT_TRUE(List().DeleteRow(1));
  EXPECT_EQ(Names(), (Texts{"Reliance", "Balance", "Alliance", "Bharat"}));
  EXPECT_EQ(List().GetSelectedRows(), std::vector<int32_t>{1}) << "the following row is selected";
}

TEST_F(FilterListCtrlTest, LiveChangesReachTheViewAfterTheTurnAndTheSelectionFollowsItsRecord) {
  List().SetLiveFilterSort(true);
  List().SetFilter(2, ">0", false);
  List().GetHeader()->sectionClicked(2);  // ascending by amount
  ASSERT_EQ(Names(), (Texts{"Balance", "Reliance"}));
  List().selectRow(1);
  std::vector<TextRecord>& arrRecords = m_pData->arrRecords;
  // Reliance, relaxo, Balance, Alliance
  for (const auto& [nRecord, szAmount] :
       {std::pair<size_t, const char*>{0, "5"}, {1, "900"}, {2, "-1"}, {3, "50"}}) {
    arrRecords[nRecord][2] = szAmount;
    List().RefreshRecord(&arrRecords[nRecord]);
  }
  EXPECT_EQ(Names(), (Texts{"Reliance", "Alliance", "relaxo"}));
  EXPECT_EQ(List().model()->rowCount(), 2) << "the view follows once the turn is over";
  ASSERT_TRUE(RunEventsUntil([this] { return List().model()->rowCount() == 3; }));
  EXPECT_EQ(List().GetSelectedRows(), std::vector<int32_t>{0}) << "Reliance stays selected";
  EXPECT_EQ(List().selectionModel()->currentIndex().row(), 0);
}

TEST_F(FilterListCtrlTest, OptionsAreKeptPerListAndRestoredBeforeTheRows) {
  WriteFile(kSettingsFileName, "[TestList]\nTITLE=Mine\n");
  EXPECT_TRUE(GetMenuEntries(List(), false).empty()) << "offered only once loaded";
  List().LoadViewOptions();
  using Entries = std::vector<std::pair<int, bool>>;
  EXPECT_EQ(GetMenuEntries(List(), false),
            (Entries{{kCmdLiveFilterSort, false}, {kCmdKeepFilterSort, false}}));
  EXPECT_EQ(GetMenuEntries(List(), true), (Entries{{kCmdDigitGroupingNone, true}})) << "all off";
  for (const int32_t nCommand :
       {kCmdLiveFilterSort, kCmdKeepFilterSort, kCmdAlertsOnEveryRow, kCmdNumbersUncut, kCmdFrozenFirstColumn,
        kCmdDigitGroupingInternational, kCmdDigitGroupingIndian})
    EXPECT_TRUE(List().OnCommand(nCommand));
  const Entries arrAllOn = {{kCmdLiveFilterSort, true},    {kCmdKeepFilterSort, true},
                            {kCmdAlertsOnEveryRow, true},  {kCmdNumbersUncut, true},
                            {kCmdFrozenFirstColumn, true}, {kCmdDigitGroupingIndian, true}};
  EXPECT_EQ(GetMenuEntries(List(), true), arrAllOn);
  List().SetFilters(std::vector<int32_t>{0, 2}, Texts{"*a*", ">-1000"}, false);
  List().GetHeader()->sectionClicked(0);
  List().GetHeader()->sectionClicked(0);  // descending
  const Texts arrKept = {"relaxo", "Reliance", "Balance"};
  ASSERT_EQ(Names(), arrKept);
  const std::string strWritten = ReadFile(kSettingsFileName);
  EXPECT_EQ(strWritten,
            "[TestList]\nTITLE=Mine\nLIVEFILTERSORT=1\nKEEPFILTERSORT=1\nFILTERS=Name:*a*,Amount:>-1000\n"
            "SORT=Name,descending\nALERTEVERYROW=1\nNUMBERSUNCUT=1\nFROZENFIRSTCOLUMN=1\nDIGITGROUPING=indian\n");
  // The same list after a restart: filtered and sorted before its rows arrive.
  sTextList restarted(kNames, {}, {2});
  CFilterListCtrl& list = *restarted.pList;
  QObject::connect(&list, &CFilterListCtrl::FilterChanged, [&list](int) { list.Filter(); });
  list.LoadViewOptions();
  EXPECT_EQ(GetMenuEntries(list, true), arrAllOn);
  EXPECT_EQ(std::pair(list.GetHeader()->GetFilterText(0), list.GetHeader()->GetFilterText(2)),
            std::pair(QString("*a*"), QString(">-1000")));
  EXPECT_EQ(list.GetSortImage(0), 1);
  restarted.arrRecords = kRows;
  for (const TextRecord& record : restarted.arrRecords) list.InsertRow(0, &record);
  EXPECT_EQ(GetShownTexts(list, 0), arrKept);
  EXPECT_EQ(ReadFile(kSettingsFileName), strWritten) << "restoring writes nothing";
}

}  // namespace
