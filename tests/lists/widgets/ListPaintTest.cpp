// How a list looks: black background, green text, one selected row with and without the focus,
// a cell's own text colour.
#include "tests/lists/ListWidgetTest.h"

#include "lists/widgets/ListRowPainter.h"

namespace {

constexpr uint32_t kRed = MakeColorRef(255, 0, 0);
constexpr uint32_t kGreen = MakeColorRef(0, 255, 0);

using ListPaintTest = CSettingsFixture;

TEST_F(ListPaintTest, LooksLikeItsColoursWithAndWithoutTheFocus) {
  sTextList data({"Id", "Amount"}, {{"ACC1", "1.50"}, {"ACC2", "-1234.50"}, {"ACC3", "20.00"}}, {1});
  CFilterListCtrl& list = *data.pList;
  // Negative amounts red, as the coloured custom columns are drawn.
  list.SetCellTextFn([](const void* pRecord, int32_t nColumn, sCellText& cell) {
    cell.strText = static_cast<const TextRecord*>(pRecord)->at(static_cast<size_t>(nColumn));
    if (nColumn == 1 && cell.strText.starts_with('-')) cell.nTextColour = 255;
    return true;
  });
  list.activateWindow();
  ASSERT_TRUE(RunEventsUntil([&list] { return list.isActiveWindow(); }));
  list.selectRow(0);
  list.setFocus();
  QApplication::processEvents();
  // The cell rectangle of a row and header position, in the list's own coordinates.
  const auto cellRect = [&list](int32_t nRow, int32_t nPosition) {
    return QRect(list.columnViewportPosition(nPosition), list.rowViewportPosition(nRow), list.columnWidth(nPosition),
                 list.rowHeight(nRow))
        .translated(list.viewport()->mapTo(&list, QPoint(0, 0)));
  };
  // The colours at the top and the bottom of a row's first cell.
  const auto edgeColours = [&list, &cellRect](int32_t nRow) {
    const QImage image = list.grab().toImage();
    const QRect rcCell = cellRect(nRow, 0);
    return std::pair(ToColorRef(image.pixelColor(rcCell.left() + 1, rcCell.top())),
                     ToColorRef(image.pixelColor(rcCell.left() + 1, rcCell.bottom())));
  };

  const QImage image = list.grab().toImage();
  const QRect rcId = cellRect(1, 0);
  EXPECT_EQ(ToColorRef(image.pixelColor(rcId.left() + 1, rcId.top() + 1)), 0U) << "black background";
  EXPECT_GT(CountPixelsNear(image, rcId, kGreen), 10) << "green text";
  EXPECT_EQ(edgeColours(0), std::pair(kSelectedFocusTop, kSelectedFocusBottom));
  EXPECT_GT(CountPixelsNear(image, cellRect(1, 1), kRed), 5) << "negative in red";
  EXPECT_EQ(CountPixelsNear(image, cellRect(2, 1), kRed), 0);
  EXPECT_GT(CountPixelsNear(image, cellRect(2, 1), kGreen), 5);
  // Another window active: the selection is grey.
  QLineEdit other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(RunEventsUntil([&other] { return other.isActiveWindow(); }));
  EXPECT_EQ(edgeColours(0), std::pair(kSelectedTop, kSelectedBottom));
}

}  // namespace
