// The list of text cells and colour boxes: its messages, rows and records, and clicks.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <optional>
#include <set>

#include "controls/ColorChooser.h"
#include "controls/ColorRef.h"
#include "controls/XListCtrl.h"
#include "platform/qt/RegisteredMessage.h"
#include "platform/qt/WindowMessage.h"
#include "tests/support/QtTestApp.h"

namespace {

// A dialog stand-in that takes ownership of posted texts, as a real receiver must.
class CNotifiedParent : public QWidget {
 public:
  std::vector<std::string> m_arrPosted;  // "message|text|colour"

 protected:
  bool event(QEvent* pEvent) override {
    if (pEvent->type() != CWindowMessageEvent::GetEventType()) return QWidget::event(pEvent);
    auto* pMessage = static_cast<CWindowMessageEvent*>(pEvent);
    char* pText = reinterpret_cast<char*>(pMessage->m_wParam);
    m_arrPosted.push_back(std::to_string(pMessage->m_nMessage) + "|" + pText + "|" +
                          std::to_string(pMessage->m_lParam));
    delete[] pText;
    return true;
  }
};

constexpr uint32_t kRed = MakeColorRef(255, 0, 0);
constexpr uint32_t kGreen = MakeColorRef(0, 160, 0);
constexpr uint32_t kBlue = MakeColorRef(0, 0, 255);
constexpr uint32_t kYellow = MakeColorRef(255, 255, 0);

// Three rows: a keyword and a colour box each.
class XListCtrlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_parent.resize(240, 160);
    m_pList->setGeometry(0, 0, 240, 160);
    m_pList->InsertColumn(0, "Keyword", 100);
    m_pList->InsertColumn(1, "Color", 100);
    const char* arrKeywords[] = {"loss", "margin", "limit"};
    for (int nRow = 0; nRow < 3; ++nRow) {
      m_pList->InsertItem(nRow, arrKeywords[nRow]);
      m_pList->SetColorBox(nRow, 1, m_arrColors[nRow]);
    }
    m_parent.show();
  }
  void TearDown() override { SetColorChooser({}); }

  QRect CellRect(int nRow, int nColumn) const {
    return m_pList->visualRect(m_pList->model()->index(nRow, nColumn));
  }

  CNotifiedParent m_parent;
  CXListCtrl* m_pList = new CXListCtrl(&m_parent);
  const uint32_t m_arrColors[3] = {kRed, kGreen, kBlue};
};

TEST_F(XListCtrlTest, ColorBoxesFollowTheirRowsAndRefuseCellsOutOfRange) {
  // A row inserted above and one deleted: the records move with their rows.
  EXPECT_EQ(m_pList->InsertItem(0, "new"), 0);
  EXPECT_TRUE(m_pList->DeleteItem(2));
  const std::tuple<const char*, int, int, bool, uint32_t> arrCases[] = {
      // name, row, column, colour box, colour
      {"new row, not a colour box", 0, 1, false, 0},
      {"moved down one row", 1, 1, true, kRed},
      {"the row after the deleted one", 2, 1, true, kBlue},
      {"negative row", -1, 1, false, 0},
      {"row past the end", 3, 1, false, 0},
      {"column past the end", 1, 2, false, 0},
  };
  for (const auto& [szName, nRow, nColumn, bExpected, clrExpected] : arrCases) {
    uint32_t clrColor = 0;
    EXPECT_EQ(m_pList->GetColorBox(nRow, nColumn, clrColor), bExpected) << szName;
    EXPECT_EQ(clrColor, clrExpected) << szName;
    EXPECT_EQ(m_pList->SetColorBox(nRow, nColumn, kYellow),
              nRow >= 0 && nRow < 3 && nColumn >= 0 && nColumn < 2)
        << szName;
  }
}

TEST_F(XListCtrlTest, ClickOnAColorBoxAsksTheChooserAndNotifiesTheParent) {
  const struct {
    int nRow, nColumn;
    bool bDisableRow;
    std::optional<uint32_t> optChoice;  // empty: the user cancels
    bool bChooserOpened;
    uint32_t clrAfter;  // the colour box of the clicked row afterwards
    bool bPosted;
  } arrCases[] = {
      {1, 1, false, kYellow, true, kYellow, true},      // confirmed colour
      {2, 1, false, std::nullopt, true, kBlue, false},  // cancelled
      {0, 1, true, kYellow, false, kRed, false},        // row with a disabled first cell
      {2, 0, false, kYellow, false, kBlue, false},      // text cell
  };
  for (const auto& test : arrCases) {
    SCOPED_TRACE(test.nRow * 10 + test.nColumn);
    m_pList->SetEnabled(test.nRow, !test.bDisableRow);
    m_parent.m_arrPosted.clear();
    std::optional<uint32_t> optPreselected;
    SetColorChooser([&](QWidget* pParent, uint32_t& clrColor) {
      EXPECT_EQ(pParent, m_pList);
      optPreselected = clrColor;
      if (test.optChoice) clrColor = *test.optChoice;
      return test.optChoice.has_value();
    });
    const QPoint ptCell = CellRect(test.nRow, test.nColumn).center();
    SendLeftPress(m_pList->viewport(), ptCell);
    SendLeftRelease(m_pList->viewport(), ptCell);
    QCoreApplication::sendPostedEvents(&m_parent, CWindowMessageEvent::GetEventType());

    EXPECT_EQ(optPreselected, test.bChooserOpened ? std::optional(m_arrColors[test.nRow]) : std::nullopt);
    uint32_t clrAfter = 0;
    EXPECT_TRUE(m_pList->GetColorBox(test.nRow, 1, clrAfter) && clrAfter == test.clrAfter) << clrAfter;
    const std::string strPosted = std::to_string(RegisterWindowMessage("WM_XLISTCTRL_COLORBOX_CLICKED")) +
                                  "|" + std::to_string(test.nRow) + "|1|" + std::to_string(test.clrAfter);
    EXPECT_EQ(m_parent.m_arrPosted,
              test.bPosted ? std::vector<std::string>{strPosted} : std::vector<std::string>{});
  }
  // A click on a text cell is the list's own: it selects the row.
  EXPECT_EQ(m_pList->currentRow(), 2);
}

}  // namespace
