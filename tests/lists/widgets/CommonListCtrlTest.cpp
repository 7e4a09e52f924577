// The common list control: profile, tips, fitting, keys, sort, check boxes, row height, appearance.
#include "tests/lists/ListWidgetTest.h"

#include <map>

#include <QClipboard>
#include <QFontInfo>
#include <QGuiApplication>

#include "lists/widgets/ListControlRegistry.h"

namespace {

using Widths = std::vector<int32_t>;
const sColumnDef kColumns[] = {{"Name", kAlignLeft, kSortText},
                               {"Amount", kAlignRight, kSortDecimal},
                               {"Count", kAlignRight, kSortInteger}};

// A plain list that records the appearance hook.
class CPlainList : public CCommonListCtrl {
 public:
  int m_nAppearanceCalls = 0;

 protected:
  void ShowAppearanceDialog() override { ++m_nAppearanceCalls; }
};

void LoadColumns(CCommonListCtrl& list, std::span<const sColumnDef> arrColumns = kColumns) {
  list.GetLayout().LoadColumnTable("TestList", arrColumns);
  list.LoadProfile();
}

void AddRows(CCommonListCtrl& list, const std::vector<Texts>& arrRows) {
  for (const Texts& arrRow : arrRows) {
    const int32_t nRow = list.InsertItem(list.GetItemCount(), arrRow[0]);
    for (size_t i = 1; i < arrRow.size(); ++i) list.SetItemText(nRow, static_cast<int32_t>(i), arrRow[i]);
  }
}

Widths GetHeaderWidths(const CCommonListCtrl& list) {
  Widths arrWidths;
  for (int32_t n = 0; n < list.GetHeader()->count(); ++n)
    arrWidths.push_back(list.GetHeader()->sectionSize(n));
  return arrWidths;
}

using CommonListCtrlTest = CSettingsFixture;

TEST_F(CommonListCtrlTest, SavesTheProfileOnRequestAndWhenDestroyed) {
  WriteFile("OrvaneSetting.ini", "[TestList]\nCOLUMNPROFILE=0,1,90,1,0,120,2,-1,0\nTITLE=Kept\n");
  {
    CCommonListCtrl list;
    LoadColumns(list);
    EXPECT_EQ(GetHeaderWidths(list), (Widths{120, 90}));
    list.GetHeader()->resizeSection(0, 130);
    ASSERT_TRUE(list.SaveProfile());
    EXPECT_EQ(ReadFile("OrvaneSetting.ini"),
              "[TestList]\nCOLUMNPROFILE=0,1,90,1,0,130,2,-1,0\nTITLE=Kept\n"
              "USERCOLUMNPROFILE=\nPROTECTEDCOLUMNPROFILE=\n");
    list.GetHeader()->resizeSection(1, 95);
  }
  EXPECT_NE(ReadFile("OrvaneSetting.ini").find("COLUMNPROFILE=0,1,95,1,0,130,2,-1,0\n"), std::string::npos);
  EXPECT_TRUE(m_arrBoxes.empty());
}

TEST_F(CommonListCtrlTest, CutCellsShowTheirWholeTextOnHover) {
  CCommonListCtrl list;
  LoadColumns(list);
  AddRows(list, {{"BRK01", "1585860499.80", "7"}});
  list.show();
  list.GetHeader()->resizeSection(1, 60);
  // An amount cut at its end, a text that fits, below the last row, a grouped amount shown as ###.
  const std::tuple<int32_t, int32_t, const char*, eDigitGrouping> arrCases[] = {
      {1, 0, "1585860499.80", eDigitGrouping::kNone},
      {0, 0, "", eDigitGrouping::kNone},
      {1, 3, "", eDigitGrouping::kNone},
      {1, 0, "1,585,860,499.80", eDigitGrouping::kInternational},
  };
  for (const auto& [nPosition, nRow, szTip, eGrouping] : arrCases) {
    SCOPED_TRACE(testing::Message() << nPosition << ", " << nRow << ": " << szTip);
    list.SetDigitGrouping(eGrouping);
    list.SetNumbersUncut(eGrouping != eDigitGrouping::kNone);
    QToolTip::hideText();  // a tip fades out: the next case starts without one
    ASSERT_TRUE(RunEventsUntil([] { return !QToolTip::isVisible(); }));
    const QPoint ptCell(list.columnViewportPosition(nPosition) + 5,
                        list.rowViewportPosition(0) + list.rowHeight(0) * nRow + 2);
    QHelpEvent help(QEvent::ToolTip, ptCell, list.viewport()->mapToGlobal(ptCell));
    QCoreApplication::sendEvent(list.viewport(), &help);
    EXPECT_EQ(QToolTip::isVisible() ? QToolTip::text().toStdString() : "", szTip);
  }
}

TEST_F(CommonListCtrlTest, FitsColumns) {
  std::vector<sColumnDef> arrSeven;
  for (const char* szName : {"A", "B", "C", "D", "E", "F", "A much longer column heading"})
    arrSeven.push_back({szName, 0, 3});
  CCommonListCtrl list;
  LoadColumns(list, arrSeven);
  // Every row counts, not only those on screen; a narrow text and an empty column get the
  // narrowest width.
  const std::string strFurtherDown = "a text further down, wider than the first one";
  std::vector<Texts> arrRows(40, Texts{"x"});
  arrRows.front() = {"x", "a text wider than fifty pixels for sure"};
  arrRows.push_back({"x", strFurtherDown});
  AddRows(list, arrRows);
  list.show();
  list.resize(600 + list.width() - list.viewport()->width(), 200);
  ASSERT_EQ(list.viewport()->width(), 600);
  list.OnCommand(kCmdFitToWindow);
  EXPECT_EQ(GetHeaderWidths(list), Widths(7, 85));
  list.OnCommand(kCmdFitToData);
  const Widths arrData = GetHeaderWidths(list);
  EXPECT_EQ(Widths(arrData.begin(), arrData.begin() + 3),
            (Widths{50, list.fontMetrics().horizontalAdvance(QString::fromStdString(strFurtherDown)) + 12, 50}));
  list.OnCommand(kCmdFitToHeaderSize);
  EXPECT_EQ(GetHeaderWidths(list)[0], 50);
  EXPECT_EQ(GetHeaderWidths(list)[6],
            list.GetHeader()->fontMetrics().horizontalAdvance("A much longer column heading") + 20);
}

TEST_F(CommonListCtrlTest, KeysCopySelectAndToggle) {
  CPlainList list;
  LoadColumns(list);
  AddRows(list, {{"r0", "1", "2"}, {"r1", "3", "4"}, {"r2", "5", ""}});
  list.show();
  list.selectRow(2);
  list.selectionModel()->select(list.model()->index(0, 0),
                                QItemSelectionModel::Select | QItemSelectionModel::Rows);
  SendKey(&list, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "r0\t1\t2\t\r\nr2\t5\t\t\r\n");
  EXPECT_EQ(list.m_nAppearanceCalls, 0);
  SendKey(&list, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(list.m_nAppearanceCalls, 1) << "Ctrl+Shift+C copies and customizes";
  list.SetCustomizeEnabled(false);
  SendKey(&list, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(list.m_nAppearanceCalls, 1);
  SendKey(&list, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(list.GetSelectedRows(), (std::vector<int32_t>{0, 1, 2}));
  SendKey(&list, Qt::Key_G, Qt::ShiftModifier, "G");
  EXPECT_TRUE(list.HasGridLines());
  SendKey(&list, Qt::Key_G, Qt::ShiftModifier, "G");
  EXPECT_FALSE(list.HasGridLines());
  int nRightClicks = 0;
  QObject::connect(&list, &CCommonListCtrl::RightClicked, [&nRightClicks] { ++nRightClicks; });
  SendKey(&list, Qt::Key_Menu);
  EXPECT_EQ(nRightClicks, 1);
  SendKey(&list, Qt::Key_E, Qt::ShiftModifier, "E");
  EXPECT_EQ(m_arrBoxes, (Texts{"File is generated"}));
}

TEST_F(CommonListCtrlTest, BaseSortByClicksWithHeaderImages) {
  CCommonListCtrl list;
  LoadColumns(list);
  AddRows(list, {{"a", "10"}, {"b", "NA"}, {"c", "-5"}, {"d", "-"}, {"e", "-0.5"}});
  list.show();
  list.selectRow(0);  // "a" stays selected as it moves
  // The order of the rows is CPlainListStore's; the list shows it and moves the selection along.
  const std::pair<int32_t, Widths> arrSteps[] = {
      {1, {-1, 0, -1}}, {1, {-1, 1, -1}}, {0, {0, 2, -1}}, {0, {1, 2, -1}}};
  for (const auto& [nPosition, arrImages] : arrSteps) {
    list.GetHeader()->sectionClicked(nPosition);
    EXPECT_EQ((Widths{list.GetSortImage(0), list.GetSortImage(1), list.GetSortImage(2)}), arrImages)
        << nPosition;
    EXPECT_EQ(list.model()->headerData(nPosition, Qt::Horizontal, kSortImageRole).toInt(),
              arrImages[static_cast<size_t>(nPosition)]);
  }
  EXPECT_EQ(GetShownTexts(list, 0), (Texts{"e", "d", "c", "b", "a"}));
  EXPECT_EQ(list.GetSelectedRows(), std::vector<int32_t>{4});

  // The arrow of the sort column: at the right end of its title, its point centred under its
  // base. Rows of arrow pixels by y: the first and last x.
  const QImage image = list.GetHeader()->grab().toImage();
  const int nSectionLeft = list.GetHeader()->sectionViewportPosition(0);
  const int nSectionRight = nSectionLeft + list.GetHeader()->sectionSize(0) - 1;
  std::map<int, std::pair<int, int>> mapRows;
  for (int nY = 0; nY < image.height(); ++nY)
    for (int nX = (nSectionLeft + nSectionRight) / 2; nX <= nSectionRight; ++nX)
      if (image.pixelColor(nX, nY) == QColor(40, 40, 40))
        mapRows.try_emplace(nY, nX, nX).first->second.second = nX;
  ASSERT_GE(mapRows.size(), 3u);
  const auto [nBaseFirst, nBaseLast] = mapRows.begin()->second;  // a falling arrow: base on top
  const auto [nPointFirst, nPointLast] = mapRows.rbegin()->second;
  // Two pixels inside the title, which ends before the text margin and the border line.
  EXPECT_NEAR(nBaseLast, nSectionRight - 1 - 4 - 2, 1);
  EXPECT_GT(nBaseLast - nBaseFirst, nPointLast - nPointFirst);
  EXPECT_NEAR(nPointFirst + nPointLast, nBaseFirst + nBaseLast, 2);
}

TEST_F(CommonListCtrlTest, CheckBoxesRowHeightAndRegistry) {
  CCommonListCtrl* pList = new CCommonListCtrl;
  EXPECT_TRUE(CListControlRegistry::Contains(pList));
  LoadColumns(*pList);
  AddRows(*pList, {{"a"}, {"b"}});
  pList->SetCheckBoxes(true);
  pList->show();
  const QPoint ptBox(pList->columnViewportPosition(0) + 5,
                     pList->rowViewportPosition(1) + pList->rowHeight(1) / 2);
  SendLeftPress(pList->viewport(), ptBox);
  SendLeftRelease(pList->viewport(), ptBox);
  EXPECT_EQ(std::pair(pList->GetCheck(0), pList->GetCheck(1)), std::pair(0U, 1U));
  EXPECT_EQ(pList->GetSelectedRows(), std::vector<int32_t>{1});
  SendLeftPress(pList->viewport(), ptBox);
  EXPECT_EQ(pList->GetCheck(1), 0U);
  SendLeftPress(pList->viewport(),
                QPoint(pList->columnViewportPosition(1) + 20, pList->rowViewportPosition(0) + 2));
  EXPECT_EQ(pList->GetCheck(0), 0U) << "a click on the label only selects";
  EXPECT_EQ(pList->GetSelectedRows(), std::vector<int32_t>{0});
  pList->SetListFont("DejaVu Sans", "12");
  EXPECT_EQ(QFontInfo(pList->font()).pixelSize(), 16);
  EXPECT_EQ(pList->rowHeight(0), 20);
  delete pList;
  EXPECT_FALSE(CListControlRegistry::Contains(pList));
}

}  // namespace
