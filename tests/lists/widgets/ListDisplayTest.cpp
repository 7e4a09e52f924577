// How a list shows its cells: grouped digits, "###" for a number cut, the frozen first column.
#include "tests/lists/ListWidgetTest.h"

#include "controls/ColorHeaderCtrl.h"

namespace {

using ListDisplayTest = CSettingsFixture;

QImage GrabCell(CFilterListCtrl& list, int32_t nPosition) {
  QApplication::processEvents();
  return list.viewport()
      ->grab(QRect(list.columnViewportPosition(nPosition), list.rowViewportPosition(0),
                   list.columnWidth(nPosition), list.rowHeight(0)))
      .toImage();
}

void Click(QWidget* pTarget, const QPoint& pt) {
  SendLeftPress(pTarget, pt);
  SendLeftRelease(pTarget, pt);
}

TEST_F(ListDisplayTest, NumbersShowGroupedOrAsHashesWhileReadersGetThePlainText) {
  // The case, the position (0 a text column, 1 a numeric one), the text, the options, the column
  // width, and the text a list without the options would show the same.
  using enum eDigitGrouping;
  const std::tuple<const char*, size_t, const char*, eDigitGrouping, bool, int, const char*> arrCases[] = {
      {"international", 1, "-1234567.89", kInternational, false, 150, "-1,234,567.89"},
      {"digits of a text column", 0, "1234567", kIndian, false, 150, "1234567"},
      {"a number cut", 1, "1585860499.80", kNone, true, 50, "###"},
      {"a grouped number cut", 1, "158586049.80", kIndian, true, 80, "###"},
      {"a text cut", 1, "Invalid reference", kNone, true, 50, "Invalid reference"},
      {"digits of a text column cut", 0, "12345678901234", kNone, true, 50, "12345678901234"},
  };
  const std::vector<std::string> arrNames = {"Name", "Amount"};
  for (const auto& [szCase, nPosition, szText, eGrouping, bUncut, nColumnWidth, szShown] : arrCases) {
    SCOPED_TRACE(szCase);
    const auto nAt = static_cast<int32_t>(nPosition);
    TextRecord row = {"ACC1", "1.00"};
    row[nPosition] = szText;
    sTextList shown(arrNames, {row}, {1});
    shown.pList->SetDigitGrouping(eGrouping);
    shown.pList->SetNumbersUncut(bUncut);
    row[nPosition] = szShown;
    // Twice: the cut form of a text follows its column's width.
    for (const int nWidth : {nColumnWidth, nColumnWidth + 10}) {
      sTextList plain(arrNames, {row}, {1});
      for (sTextList* pData : {&shown, &plain}) pData->pList->GetHeader()->resizeSection(nAt, nWidth);
      EXPECT_TRUE(GrabCell(*shown.pList, nAt) == GrabCell(*plain.pList, nAt)) << nWidth;
    }
    EXPECT_EQ(shown.pList->GetCellText(0, nAt), szText) << "export, clipboard, filters, sort";
  }
}

TEST_F(ListDisplayTest, FrozenFirstColumnStaysWhileTheListScrollsSideways) {
  const std::vector<std::string> arrNames = {"Name", "A", "B", "C", "D", "E"};
  std::vector<TextRecord> arrRows;
  for (int nRow = 0; nRow < 5; ++nRow) {
    TextRecord row = {"ACC" + std::to_string(nRow)};
    for (int nColumn = 1; nColumn < 6; ++nColumn) row.push_back(std::to_string(nRow * 100 + nColumn) + ".00");
    arrRows.push_back(row);
  }
  sTextList data(arrNames, arrRows, {1, 2, 3, 4, 5});
  CFilterListCtrl& list = *data.pList;
  CColorHeaderCtrl& header = *list.GetHeader();
  for (int nPosition = 0; nPosition < 6; ++nPosition) header.resizeSection(nPosition, 150);
  list.SetFirstColumnFrozen(true);
  // Left of the column's edge, which shows once the others pass under it.
  const auto grabFrozen = [&list, &header] {
    QApplication::processEvents();
    const int nWidth = list.columnWidth(0) - 1;
    return std::pair(list.viewport()->grab(QRect(0, 0, nWidth, list.viewport()->height())).toImage(),
                     header.viewport()->grab(QRect(0, 0, nWidth, header.height())).toImage());
  };
  const auto unscrolled = grabFrozen();
  // The column under the frozen one starts left of the page: a click there would bring it in.
  list.horizontalScrollBar()->setValue(200);
  ASSERT_EQ(list.horizontalScrollBar()->value(), 200);
  const auto scrolled = grabFrozen();
  EXPECT_TRUE(scrolled.first == unscrolled.first) << "cells";
  EXPECT_TRUE(scrolled.second == unscrolled.second) << "header item and filter bar";

  list.SetHeaderTip(0, "Entity");
  list.SetHeaderTip(1, "Formula");
  QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), header.viewport()->mapToGlobal(QPoint(5, 5)));
  QApplication::sendEvent(header.viewport(), &help);
  EXPECT_EQ(QToolTip::text().toStdString(), "Entity");
  Click(header.viewport(), QPoint(5, 5));
  EXPECT_EQ(list.GetSortImage(0), 0) << "the click sorts the frozen column";
  EXPECT_EQ(list.GetSortImage(1), -1);
  // The row clicked on the frozen column, then the next one by key: the list stays where it is.
  Click(list.viewport(), QPoint(5, list.rowViewportPosition(2) + 2));
  SendKey(&list, Qt::Key_Down);
  EXPECT_EQ(list.GetSelectedRows(), std::vector<int32_t>{3});
  EXPECT_EQ(list.horizontalScrollBar()->value(), 200) << "no sideways scroll";
  // A cell partly under the frozen column is brought out just beside it.
  list.scrollTo(list.model()->index(0, 2));
  EXPECT_EQ(std::pair(list.horizontalScrollBar()->value(), list.columnViewportPosition(2)), std::pair(150, 150));
}

}  // namespace
