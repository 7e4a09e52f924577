// The filter list in data mode: filter bar, filters, popup, sorting, keys, live updates, options.
#include "tests/lists/ListWidgetTest.h"

#include "lists/widgets/FilterText.h"
#include "lists/widgets/ListRowPainter.h"
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

void ExpectLines(const std::string& strWritten, std::initializer_list<const char*> arrLines) {
  for (const char* szLine : arrLines)
    EXPECT_NE(strWritten.find(szLine), std::string::npos) << szLine << strWritten;
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

// Filters the owner sets reach the header and the rows; which filters are accepted and which rows
// pass them is the store's rule.
TEST_F(FilterListCtrlTest, ProgrammaticFilters) {
  EXPECT_TRUE(List().SetFilters(std::vector<int32_t>{0, 1}, Texts{"relaxo~Bala", "fo"}, true));
  EXPECT_FALSE(List().SetFilters(std::vector<int32_t>{0, 1}, Texts{"x"}, false)) << "sizes differ";
  EXPECT_EQ(Names(), Texts{"relaxo"});
  EXPECT_EQ(List().GetHeader()->GetFilterText(0), "relaxo~Bala");
  // "Match Filter Exactly" applies the first filter again under the exact rule.
  List().OnCommand(kCmdResetFilters);
  EXPECT_EQ(List().GetHeader()->GetFilterText(0), "");
  List().SetFilter(1, "cm", false);
  List().OnCommand(kCmdMatchFilterExactly);
  EXPECT_EQ(Names(), (Texts{"Reliance", "Balance", "Alliance"}));
  List().SetFilter(1, "c", false);
  EXPECT_EQ(Names(), Texts{}) << "exact: 'c' is no whole cell";
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
  EXPECT_EQ(pBox->horizontalScrollBar()->maximum() + pBox->viewport()->width(),
            CFilterText::kHorizontalExtent);
  pBox->item(2)->setSelected(true);
  pBox->item(0)->setSelected(true);
  SendKey(pBox, Qt::Key_Return);
  EXPECT_FALSE(pPopup->isVisible());
  EXPECT_EQ(List().GetHeader()->GetFilterText(1), "CM~CDS");
  EXPECT_EQ(Names(), (Texts{"Reliance", "Balance", "Alliance", "Bharat"}));
  // Re-targeted at the next use, over the rows now shown.
  List().OpenFilterValues(0, QPoint(10, 10));
  EXPECT_EQ(CFilterText::GetInstance(), pPopup);
  EXPECT_EQ(pBox->count(), 4);
  pPopup->hide();
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

TEST_F(FilterListCtrlTest, FilterWidgetsFollowTheirItemsAndTabScrollsAnEditIntoView) {
  CColorHeaderCtrl* pHeader = List().GetHeader();
  pHeader->resizeSection(0, 150);
  const QRect rcEdit = pHeader->GetFilterEdit(1)->geometry();
  const QRect rcButton = pHeader->GetFilterButton(1)->geometry();
  EXPECT_EQ(std::pair(rcEdit.left(), rcButton.right()), std::pair(152, 150 + 80 - 3));
  EXPECT_TRUE(rcEdit.top() >= pHeader->GetTitleHeight() && rcEdit.bottom() <= pHeader->height());
  EXPECT_LT(rcEdit.right(), rcButton.left());
  List().GetHeader()->resizeSection(0, 400);
  List().GetHeader()->resizeSection(1, 400);
  QApplication::processEvents();
  SendKey(List().GetHeader()->GetFilterEdit(0), Qt::Key_Tab);
  EXPECT_EQ(List().columnViewportPosition(1) + List().columnWidth(1), List().viewport()->width() - 50);
  EXPECT_EQ(List().GetHeader()->GetFilterEdit(1)->geometry().left(), List().columnViewportPosition(1) + 2)
      << "the edits scroll with the header";
}

TEST_F(FilterListCtrlTest, DeletingMovesTheSelectionAndLeavingDataModeClears) {
  List().selectRow(1);
  ASSERT_TRUE(List().DeleteRow(1));
  EXPECT_EQ(Names(), (Texts{"Reliance", "Balance", "Alliance", "Bharat"}));
  EXPECT_EQ(List().GetSelectedRows(), std::vector<int32_t>{1}) << "the following row is selected";
  List().SetCheckBoxes(true);
  SendLeftPress(List().viewport(), QPoint(List().columnViewportPosition(0) + 5,
                                          List().rowViewportPosition(2) + List().rowHeight(2) / 2));
  EXPECT_EQ(List().GetStore().GetCheck(2), 1U);
  List().SetFilter(1, "cm", false);
  List().SetDataMode(false);
  EXPECT_EQ(List().GetItemCount() + List().GetStore().GetStoreCount(), 0);
  EXPECT_TRUE(List().GetStore().GetFilterColumns().empty());
  EXPECT_EQ(List().GetHeader()->GetFilterEdit(0), nullptr);
}

TEST_F(FilterListCtrlTest, AppendedRowsReachTheModelTogetherAfterTheTurn) {
  std::vector<TextRecord> arrMore;
  for (int n = 0; n < 50; ++n) arrMore.push_back({"N" + std::to_string(n), "CM", std::to_string(n)});
  int nInserts = 0;
  QObject::connect(List().model(), &QAbstractItemModel::rowsInserted, [&nInserts] { ++nInserts; });
  const int32_t nBefore = List().model()->rowCount();
  for (const TextRecord& record : arrMore) List().InsertRow(0, &record);
  EXPECT_EQ(List().model()->rowCount(), nBefore) << "not before the turn is over";
  QApplication::processEvents();
  EXPECT_EQ(std::pair(List().model()->rowCount(), nInserts), std::pair(nBefore + 50, 1));
  // A row deleted meanwhile finds the model in step with the store first.
  for (size_t n = 0; n < 10; ++n) List().InsertRow(0, &arrMore[n]);
  ASSERT_TRUE(List().DeleteRow(nBefore + 55));
  EXPECT_EQ(List().model()->rowCount(), List().GetItemCount());
  EXPECT_EQ(GetShownTexts(List(), 0).back(), "N9");
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
  // A record that keeps its place is on the page or not by the rows the page showed.
  arrRecords[0][1] = "renamed";
  EXPECT_TRUE(List().RefreshRecord(&arrRecords[0]));
  arrRecords[2][2] = "-2";
  EXPECT_FALSE(List().RefreshRecord(&arrRecords[2])) << "Balance stays filtered out";
  EXPECT_EQ(ReadFile(kSettingsFileName).find("LIVEFILTERSORT"), std::string::npos) << "no options kept";
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
  ExpectLines(strWritten, {"TITLE=Mine\n", "LIVEFILTERSORT=1\n", "KEEPFILTERSORT=1\n", "ALERTEVERYROW=1\n",
                           "NUMBERSUNCUT=1\n", "FROZENFIRSTCOLUMN=1\n", "DIGITGROUPING=indian\n",
                           "FILTERS=Name:*a*,Amount:>-1000\n", "SORT=Name,descending\n"});
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

using FilterListPainting = CSettingsFixture;

TEST_F(FilterListPainting, IconCellsShowTheImageTheirTextNumbers) {
  sTextList data({"Name", "State"}, {{"a", "0"}, {"b", "7"}});
  CFilterListCtrl& list = *data.pList;
  list.GetLayout().m_arrColumns[1].nFormat = kAlignIcon;
  list.BuildHeader();
  QPixmap pixImage(16, 16);
  pixImage.fill(Qt::magenta);
  list.SetImageList({pixImage});
  const QImage image = list.viewport()->grab().toImage();
  const int nLeft = list.columnViewportPosition(1);
  const int nRight = nLeft + list.columnWidth(1) - 1;
  const auto countNear = [&](int32_t nRow, int nFrom, int nTo,
                             uint32_t clrColour = MakeColorRef(255, 0, 255)) {
    return CountPixelsNear(
        image, QRect(nFrom, list.rowViewportPosition(nRow), nTo - nFrom + 1, list.rowHeight(nRow)),
        clrColour);
  };
  EXPECT_EQ(countNear(0, nRight - 29, nRight), 16 * std::min(16, list.rowHeight(0)))
      << "the image, centred in the cell's last 30 pixels";
  EXPECT_EQ(countNear(0, nLeft, nRight - 30), 0);
  EXPECT_EQ(countNear(1, nLeft, nRight), 0) << "no image 7: the failure text instead";
  EXPECT_GT(countNear(1, nLeft, nRight, MakeColorRef(0, 255, 0)), 10);
}

TEST_F(FilterListPainting, ReadsEachVisibleCellOnceAndRepaintsOnlyVisibleRecords) {
  std::vector<TextRecord> arrRows;
  for (int i = 0; i < 2000; ++i) arrRows.push_back({"ACC" + std::to_string(i), "CM", std::to_string(i * 10)});
  sTextList data(kNames, arrRows, {2});
  CFilterListCtrl& list = *data.pList;
  const int nVisibleRows = list.rowAt(list.viewport()->height() - 1) + 1;
  ASSERT_GT(nVisibleRows, 5);
  data.nReads = 0;
  list.viewport()->repaint();
  EXPECT_EQ(data.nReads, nVisibleRows * 3) << "one read per visible cell";
  const auto settle = [] {
    for (int n = 0; n < 3; ++n) QApplication::processEvents();
  };

  // Updates within one event-loop turn: only on-screen records repaint, all in one paint.
  int nPaints = 0;
  struct CPaintCounter : QObject {
    int* pCount;
    explicit CPaintCounter(int* pCountIn) : pCount(pCountIn) {}
    bool eventFilter(QObject*, QEvent* pEvent) override {
      *pCount += pEvent->type() == QEvent::Paint ? 1 : 0;
      return false;
    }
  } counter(&nPaints);
  list.viewport()->installEventFilter(&counter);
  data.nReads = 0;
  EXPECT_TRUE(list.RefreshRecord(&data.arrRecords[1]));
  EXPECT_FALSE(list.RefreshRecord(&data.arrRecords[1500]));
  const void* arrBurst[] = {&data.arrRecords[3], &data.arrRecords[1999], &data.arrRecords[4]};
  EXPECT_EQ(list.RefreshRecords(arrBurst), 2);
  EXPECT_FALSE(list.IsRecordVisible(&data.arrRecords[1999]));
  ASSERT_TRUE(RunEventsUntil([&nPaints] { return nPaints > 0; }));
  QApplication::processEvents();
  EXPECT_EQ(nPaints, 1);
  EXPECT_EQ(data.nReads, 3 * 3) << "three rows repainted";
  list.viewport()->removeEventFilter(&counter);

  // Rows removed or added past the page leave it alone; a row removed on it repaints it.
  data.nReads = 0;
  ASSERT_TRUE(list.DeleteRow(1800));
  list.InsertRow(0, &data.arrRecords[1800]);
  settle();
  EXPECT_EQ(data.nReads, 0);
  ASSERT_TRUE(list.DeleteRow(2));
  ASSERT_TRUE(RunEventsUntil([&data] { return data.nReads > 0; }));
  QApplication::processEvents();
  EXPECT_EQ(data.nReads, nVisibleRows * 3);

  // Hidden inside a shown window (a closed dock), the list keeps the rows of its page for the
  // custom-alert rules, and paints nothing.
  QWidget window;
  list.setParent(&window);
  window.show();
  list.show();
  EXPECT_TRUE(list.IsRecordVisible(&data.arrRecords[1]));
  list.hide();
  data.nReads = 0;
  EXPECT_TRUE(list.RefreshRecord(&data.arrRecords[1]));
  EXPECT_EQ(list.RefreshRecords(arrBurst), 2);
  settle();
  EXPECT_EQ(data.nReads, 0);
  list.setParent(nullptr);
}

}  // namespace
