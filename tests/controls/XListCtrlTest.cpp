#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "controls/ColorChooser.h"
#include "controls/ColorRef.h"
#include "controls/XListCtrl.h"
#include "platform/qt/RegisteredMessage.h"
#include "platform/qt/WindowMessage.h"
#include "tests/support/QtTestApp.h"

namespace {

struct sPosted {
  uint32_t nMessage;
  std::string strText;
  uint32_t clrColor;
};

// A dialog stand-in that takes ownership of posted texts, as a real receiver must.
class CNotifiedParent : public QWidget {
 public:
  std::vector<sPosted> m_arrPosted;

 protected:
  bool event(QEvent* pEvent) override {
    if (pEvent->type() != CWindowMessageEvent::GetEventType()) return QWidget::event(pEvent);
    auto* pMessage = static_cast<CWindowMessageEvent*>(pEvent);
    char* pText = reinterpret_cast<char*>(pMessage->m_wParam);
    m_arrPosted.push_back({pMessage->m_nMessage, pText, static_cast<uint32_t>(pMessage->m_lParam)});
    delete[] pText;
    return true;
  }
};

constexpr uint32_t kRed = MakeColorRef(255, 0, 0);
constexpr uint32_t kGreen = MakeColorRef(0, 160, 0);
constexpr uint32_t kBlue = MakeColorRef(0, 0, 255);
constexpr uint32_t kYellow = MakeColorRef(255, 255, 0);

class XListCtrlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_parent.resize(240, 160);
    m_pList = new CXListCtrl(&m_parent);
    m_pList->setGeometry(0, 0, 240, 160);
    m_pList->InsertColumn(0, "Keyword", 100);
    m_pList->InsertColumn(1, "Color", 100);
    const char* arrKeywords[] = {"loss", "margin", "limit"};
    const uint32_t arrColors[] = {kRed, kGreen, kBlue};
    for (int nRow = 0; nRow < 3; ++nRow) {
      m_pList->InsertItem(nRow, arrKeywords[nRow]);
      m_pList->SetColorBox(nRow, 1, arrColors[nRow]);
    }
    m_parent.show();
  }
  void TearDown() override { SetColorChooser({}); }

  QPoint CellCentre(int nRow, int nColumn) const {
    return m_pList->visualRect(m_pList->model()->index(nRow, nColumn)).center();
  }
  void ClickCell(int nRow, int nColumn) {
    SendLeftPress(m_pList->viewport(), CellCentre(nRow, nColumn));
    SendLeftRelease(m_pList->viewport(), CellCentre(nRow, nColumn));
    QCoreApplication::sendPostedEvents(&m_parent, CWindowMessageEvent::GetEventType());
  }

  CNotifiedParent m_parent;
  CXListCtrl* m_pList = nullptr;
};

TEST(XListCtrlMessages, AreRegisteredOnceByNameIgnoringCase) {
  RegisterXListCtrlMessages();
  const uint32_t nColorBox = GetColorBoxClickedMessage();
  const uint32_t nCheckBox = GetCheckBoxClickedMessage();
  const uint32_t nCombo = GetComboSelectionMessage();
  struct sCase {
    const char* szName;
    uint32_t nExpected;
  };
  const sCase arrCases[] = {
      {"WM_XLISTCTRL_COLORBOX_CLICKED", nColorBox},
      {"wm_xlistctrl_colorbox_clicked", nColorBox},
      {"WM_XLISTCTRL_CHECKBOX_CLICKED", nCheckBox},
      {"WM_XLISTCTRL_COMBO_SELECTION", nCombo},
      {"", 0},
  };
  for (const sCase& test : arrCases)
    EXPECT_EQ(RegisterWindowMessage(test.szName), test.nExpected) << test.szName;
  EXPECT_GE(std::min({nColorBox, nCheckBox, nCombo}), kFirstRegisteredMessage);
  EXPECT_EQ(std::set<uint32_t>({nColorBox, nCheckBox, nCombo}).size(), 3U) << "three distinct messages";
}

TEST_F(XListCtrlTest, ColorBoxesFollowTheirRowsAndRefuseCellsOutOfRange) {
  struct sCase {
    const char* szName;
    int nRow;
    int nColumn;
    bool bExpected;
    uint32_t clrExpected;
  };
  // A row inserted above and one deleted: the records move with their rows.
  EXPECT_EQ(m_pList->InsertItem(0, "new"), 0);
  EXPECT_TRUE(m_pList->DeleteItem(2));
  const sCase arrCases[] = {
      {"new row, not a colour box", 0, 1, false, 0},
      {"moved down one row", 1, 1, true, kRed},
      {"text cell", 1, 0, false, 0},
      {"the row after the deleted one", 2, 1, true, kBlue},
      {"negative row", -1, 1, false, 0},
      {"row past the end", 3, 1, false, 0},
      {"column past the end", 1, 2, false, 0},
  };
  for (const sCase& test : arrCases) {
    SCOPED_TRACE(test.szName);
    uint32_t clrColor = 0;
    EXPECT_EQ(m_pList->GetColorBox(test.nRow, test.nColumn, clrColor), test.bExpected);
    EXPECT_EQ(clrColor, test.clrExpected);
    EXPECT_EQ(m_pList->SetColorBox(test.nRow, test.nColumn, kYellow),
              test.nRow >= 0 && test.nRow < 3 && test.nColumn >= 0 && test.nColumn < 2);
  }

  EXPECT_EQ(m_pList->InsertItem(-1, "x"), -1);
  EXPECT_EQ(m_pList->InsertItem(99, "appended"), 3);
  EXPECT_EQ(m_pList->GetItemText(3, 0), "appended");
  EXPECT_TRUE(m_pList->SetItemData(3, 0x1234567890ULL));
  EXPECT_EQ(m_pList->GetItemData(3), 0x1234567890ULL);
  m_pList->DeleteAllItems();
  EXPECT_EQ(m_pList->GetItemCount(), 0);
  EXPECT_EQ(m_pList->GetCell(0, 0), nullptr);
}

TEST_F(XListCtrlTest, ClickOnAColorBoxAsksTheChooserAndNotifiesTheParent) {
  struct sCase {
    const char* szName;
    int nRow;
    int nColumn;
    bool bDisableRow;
    std::optional<uint32_t> optChoice;  // empty: the user cancels
    bool bChooserOpened;
    uint32_t clrAfter;     // the colour box of the clicked row afterwards
    const char* szPosted;  // null: nothing posted
  };
  const sCase arrCases[] = {
      {"confirmed colour", 1, 1, false, kYellow, true, kYellow, "1|1"},
      {"cancelled", 2, 1, false, std::nullopt, true, kBlue, nullptr},
      {"row with a disabled first cell", 0, 1, true, kYellow, false, kRed, nullptr},
      {"text cell", 2, 0, false, kYellow, false, kBlue, nullptr},
  };
  for (const sCase& test : arrCases) {
    SCOPED_TRACE(test.szName);
    m_pList->SetEnabled(test.nRow, !test.bDisableRow);
    m_parent.m_arrPosted.clear();
    std::optional<uint32_t> optPreselected;
    SetColorChooser([&](QWidget* pParent, uint32_t& clrColor) {
      EXPECT_EQ(pParent, m_pList);
      optPreselected = clrColor;
      if (!test.optChoice) return false;
      clrColor = *test.optChoice;
      return true;
    });
    uint32_t clrBefore = 0;
    m_pList->GetColorBox(test.nRow, 1, clrBefore);

    ClickCell(test.nRow, test.nColumn);

    EXPECT_EQ(optPreselected.has_value(), test.bChooserOpened);
    if (optPreselected) {
      EXPECT_EQ(*optPreselected, clrBefore);
    }
    uint32_t clrAfter = 0;
    EXPECT_TRUE(m_pList->GetColorBox(test.nRow, 1, clrAfter));
    EXPECT_EQ(clrAfter, test.clrAfter);
    if (test.szPosted == nullptr) {
      EXPECT_TRUE(m_parent.m_arrPosted.empty());
    } else {
      ASSERT_EQ(m_parent.m_arrPosted.size(), 1U);
      EXPECT_EQ(m_parent.m_arrPosted[0].nMessage, RegisterWindowMessage("WM_XLISTCTRL_COLORBOX_CLICKED"));
      EXPECT_EQ(m_parent.m_arrPosted[0].strText, test.szPosted);
      EXPECT_EQ(m_parent.m_arrPosted[0].clrColor, *test.optChoice);
    }
  }
  // A click on a text cell is the list's own: it selects the row.
  EXPECT_EQ(m_pList->currentRow(), 2);
}

TEST_F(XListCtrlTest, NewRowsTakeTheDefaultColorsOfTheCurrentPalette) {
  QPalette pal = m_pList->palette();
  const uint32_t clrOldBase = ToColorRef(pal.color(QPalette::Base));
  pal.setColor(QPalette::Text, ToQColor(kGreen));
  pal.setColor(QPalette::Base, ToQColor(kYellow));
  m_pList->setPalette(pal);
  const int nRow = m_pList->InsertItem(3, "new");
  EXPECT_EQ(m_pList->GetCell(nRow, 1)->clrText, kGreen);
  EXPECT_EQ(m_pList->GetCell(nRow, 1)->clrBackground, kYellow);
  // Rows that existed keep the colours they were given.
  ASSERT_NE(m_pList->GetCell(0, 0), nullptr);
  EXPECT_EQ(m_pList->GetCell(0, 0)->clrBackground, clrOldBase);
}

TEST_F(XListCtrlTest, DrawsColorBoxesSolidAndTextCellsInTheirColors) {
  m_pList->SetEnabled(2, false);
  m_pList->SetItemColors(1, 0, kBlue, kYellow);
  QPixmap pixImage(12, 12);
  pixImage.fill(ToQColor(kGreen));
  m_pList->SetImageList({pixImage});
  m_pList->SetItemImage(0, 0, 0);

  const QImage image = m_pList->grab().toImage();
  if (const char* szDir = std::getenv("ORVANE_CONTROLS_PNG_DIR"))
    image.save(QString::fromLocal8Bit(szDir) + "/xlistctrl.png");

  const QPoint ptOffset = m_pList->viewport()->pos();
  const auto PixelAt = [&](const QPoint& pt) { return ToColorRef(image.pixelColor(pt + ptOffset)); };
  const auto CellRect = [&](int nRow, int nColumn) {
    return m_pList->visualRect(m_pList->model()->index(nRow, nColumn));
  };
  // Colour boxes fill their whole cell, corners included.
  const uint32_t arrColors[] = {kRed, kGreen, kBlue};
  for (int nRow = 0; nRow < 3; ++nRow) {
    SCOPED_TRACE(nRow);
    EXPECT_EQ(PixelAt(CellRect(nRow, 1).center()), arrColors[nRow]);
    EXPECT_EQ(PixelAt(CellRect(nRow, 1).topLeft()), arrColors[nRow]);
    EXPECT_EQ(PixelAt(CellRect(nRow, 1).bottomRight()), arrColors[nRow]);
  }
  // Row 1's text cell: its own background; row 0's image sits one gap in from the left.
  EXPECT_EQ(PixelAt(CellRect(1, 0).topRight()), kYellow);
  EXPECT_EQ(PixelAt(CellRect(0, 0).topLeft() + QPoint(6 + 5, CellRect(0, 0).height() / 2)), kGreen);
  EXPECT_NE(PixelAt(CellRect(0, 0).topLeft() + QPoint(3, CellRect(0, 0).height() / 2)), kGreen);

  // Text pixels (smoothed at their edges): the text colour in row 1, the disabled colour in row 2.
  const auto DistanceToText = [&](int nRow, uint32_t clrText) {
    const QColor colorText = ToQColor(clrText);
    int nBest = 255;
    const QRect rcCell = CellRect(nRow, 0);
    for (int nY = rcCell.top(); nY <= rcCell.bottom(); ++nY) {
      for (int nX = rcCell.left(); nX <= rcCell.right(); ++nX) {
        const QColor color = ToQColor(PixelAt(QPoint(nX, nY)));
        nBest = std::min(nBest, std::max({std::abs(color.red() - colorText.red()),
                                          std::abs(color.green() - colorText.green()),
                                          std::abs(color.blue() - colorText.blue())}));
      }
    }
    return nBest;
  };
  const QPalette& pal = m_pList->palette();
  EXPECT_LE(DistanceToText(1, kBlue), 48);
  EXPECT_LE(DistanceToText(2, ToColorRef(pal.color(QPalette::Disabled, QPalette::Text))), 48);
  EXPECT_GT(DistanceToText(2, ToColorRef(pal.color(QPalette::Active, QPalette::Text))), 96);
}

}  // namespace
