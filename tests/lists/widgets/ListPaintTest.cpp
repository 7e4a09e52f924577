// How a watch list looks: filtered entity records, one selected row with and without the focus,
// negative values in red.
#include "tests/lists/ListWidgetTest.h"

#include <cstdlib>
#include <random>

#include "lists/widgets/ListRowPainter.h"
#include "model/ColumnCatalogue.h"
#include "model/RmsDetails.h"

namespace {

constexpr int32_t kShownColumns[] = {0, 7, 1, 4, 8, 10, 11, 15};
constexpr int32_t kShownWidths[] = {90, 72, 112, 104, 96, 96, 104, 110};
constexpr int32_t kMtomColumn = 8;
constexpr int32_t kRed = 255;
const char* const kCategories[] = {"Retail", "HNI", "Corporate", "Retail", "Prop"};

std::string FormatAmount(std::mt19937& random, int nSpread) {
  // Tenths only, so every amount ends in "0" and right-aligned texts end at the same pixel.
  const int nTenths = static_cast<int>(random() % static_cast<unsigned>(2 * nSpread)) - nSpread;
  return QString::number(nTenths / 10.0, 'f', 2).toStdString();
}

class ListPaintTest : public CSettingsFixture {
 protected:
  void SetUp() override {
    CSettingsFixture::SetUp();
    // The shown columns with their positions and widths; a column the profile leaves out is hidden.
    std::string strProfile;
    for (size_t n = 0; n < std::size(kShownColumns); ++n)
      strProfile += (n != 0 ? "," : "") + std::to_string(kShownColumns[n]) + "," + std::to_string(n) + "," +
                    std::to_string(kShownWidths[n]);
    WriteFile("OrvaneSetting.ini", "[Orvane_watch1]\nCOLUMNPROFILE=" + strProfile + "\n");

    std::mt19937 random(7);
    m_arrRecords.resize(300);
    for (size_t i = 0; i < m_arrRecords.size(); ++i) {
      CRmsDetails& record = m_arrRecords[i];
      record.SetEntityId(QStringLiteral("ACC%1").arg(i + 1, 5, 10, QChar('0')).toStdString());
      record.SetColumnSlotText(7, kCategories[i % std::size(kCategories)]);
      for (const int32_t nColumn : {1, 4, 10, 11, 15})
        record.SetColumnSlotText(nColumn, FormatAmount(random, nColumn == 1 ? 9000000 : 30000000));
      record.SetColumnSlotText(kMtomColumn, FormatAmount(random, 2000000));
    }

    m_pList = std::make_unique<CFilterListCtrl>();
    CFilterListCtrl& list = *m_pList;
    list.GetLayout().LoadColumnTable("Orvane_watch1", GetCatalogueColumns());
    list.LoadProfile();
    // Negative values red, as the coloured custom columns are drawn.
    list.SetCellTextFn([](const void* pRecord, int32_t nColumn, sCellText& cell) {
      const bool bDone = GetColumnText(static_cast<const CRmsDetails*>(pRecord), nColumn, cell.strText) != 0;
      if (nColumn == kMtomColumn && std::atof(cell.strText.c_str()) < 0) cell.nTextColour = kRed;
      return bDone;
    });
    QObject::connect(&list, &CFilterListCtrl::FilterChanged, [&list] { list.Filter(); });
    list.SetDataMode(true);
    for (const CRmsDetails& record : m_arrRecords) list.InsertRow(0, &record);
    list.resize(880, 420);
    list.show();
    list.activateWindow();
    ASSERT_TRUE(RunEventsUntil([&list] { return list.isActiveWindow(); }));
    list.SetFilter(7, "Retail", false);
    list.selectRow(2);
    list.setFocus();
    QApplication::processEvents();
  }

  void TearDown() override {
    m_pList.reset();
    CSettingsFixture::TearDown();
  }

  // The cell rectangle of a row and header position, in the list's own coordinates.
  QRect GetCellRect(int32_t nRow, int32_t nPosition) const {
    const QPoint ptOrigin = m_pList->viewport()->mapTo(m_pList.get(), QPoint(0, 0));
    return QRect(m_pList->columnViewportPosition(nPosition), m_pList->rowViewportPosition(nRow),
                 m_pList->columnWidth(nPosition), m_pList->rowHeight(nRow))
        .translated(ptOrigin);
  }

  // The right-most column of the area holding a pixel that is not the background, or -1.
  static int FindInkRight(const QImage& image, const QRect& rcArea) {
    for (int nX = rcArea.right(); nX >= rcArea.left(); --nX)
      for (int nY = rcArea.top(); nY <= rcArea.bottom(); ++nY)
        if (ToColorRef(image.pixelColor(nX, nY)) != 0) return nX;
    return -1;
  }

  int32_t FindRow(bool bNegativeMtom) const {
    for (int32_t nRow = 3; nRow < m_pList->GetItemCount(); ++nRow)
      if ((std::atof(m_pList->GetCellText(nRow, 4).c_str()) < 0) == bNegativeMtom) return nRow;
    return -1;
  }

  // The colours at the top and the bottom of a row's first cell.
  std::pair<uint32_t, uint32_t> GetEdgeColours(const QImage& image, int32_t nRow) const {
    const QRect rcCell = GetCellRect(nRow, 0);
    return {ToColorRef(image.pixelColor(rcCell.left() + 1, rcCell.top())),
            ToColorRef(image.pixelColor(rcCell.left() + 1, rcCell.bottom()))};
  }

  std::vector<CRmsDetails> m_arrRecords;
  std::unique_ptr<CFilterListCtrl> m_pList;
};

TEST_F(ListPaintTest, LooksLikeItsColoursWithAndWithoutTheFocus) {
  ASSERT_EQ(m_pList->GetItemCount(), 120);
  ASSERT_TRUE(m_pList->hasFocus());
  const QImage image = m_pList->grab().toImage();
  const uint32_t clrGreen = MakeColorRef(0, 255, 0);

  const QRect rcId = GetCellRect(0, 0);
  EXPECT_EQ(ToColorRef(image.pixelColor(rcId.left() + 1, rcId.top() + 1)), 0U) << "black background";
  EXPECT_GT(CountPixelsNear(image, rcId, clrGreen), 10) << "green text";

  EXPECT_EQ(GetEdgeColours(image, 2), std::pair(kSelectedFocusTop, kSelectedFocusBottom));

  const int32_t nNegative = FindRow(true);
  const int32_t nPositive = FindRow(false);
  ASSERT_GE(nNegative, 0);
  ASSERT_GE(nPositive, 0);
  EXPECT_GT(CountPixelsNear(image, GetCellRect(nNegative, 4), MakeColorRef(255, 0, 0)), 5)
      << "negative in red";
  EXPECT_EQ(CountPixelsNear(image, GetCellRect(nPositive, 4), MakeColorRef(255, 0, 0)), 0);
  EXPECT_GT(CountPixelsNear(image, GetCellRect(nPositive, 4), clrGreen), 5);

  // Right-aligned amounts end at the same pixel, 3 pixels inside their cell or more.
  const int nInkRight = FindInkRight(image, GetCellRect(0, 2));
  for (int32_t nRow = 3; nRow < 8; ++nRow)
    EXPECT_EQ(FindInkRight(image, GetCellRect(nRow, 2)), nInkRight) << "row " << nRow;
  EXPECT_LE(nInkRight, GetCellRect(0, 2).right() - kCellTextMargin);
  EXPECT_GE(nInkRight, GetCellRect(0, 2).right() - kCellTextMargin - 2);

  // Another window active: the selection is grey.
  QLineEdit other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(RunEventsUntil([&other] { return other.isActiveWindow(); }));
  ASSERT_FALSE(m_pList->hasFocus());
  EXPECT_EQ(GetEdgeColours(m_pList->grab().toImage(), 2), std::pair(kSelectedTop, kSelectedBottom));

  // The gradient option: each row from its background at the top to white at the bottom.
  m_pList->SetGradient(true);
  EXPECT_EQ(GetEdgeColours(m_pList->grab().toImage(), 0), std::pair(0U, MakeColorRef(255, 255, 255)));
}

}  // namespace
