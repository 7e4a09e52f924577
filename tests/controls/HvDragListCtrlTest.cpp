// The list that moves rows by dragging, within itself and onto another list, asking its parent
// whether a row may leave.
#include "controls/HvDragListCtrl.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <set>

#include "platform/qt/WindowMessage.h"
#include "tests/support/QtTestApp.h"
#include "tests/support/SettingsFixture.h"

namespace {

// A dialog stand-in that answers the fixed-column query: non-zero for the names it keeps.
class CAnsweringParent : public QWidget {
 public:
  std::string m_strFixed;  // one letter per fixed row
  std::string m_strAsked;  // the names asked about, one after the other

 protected:
  bool event(QEvent* pEvent) override {
    if (pEvent->type() != CWindowMessageEvent::GetEventType()) return QWidget::event(pEvent);
    auto* pMessage = static_cast<CWindowMessageEvent*>(pEvent);
    if (pMessage->m_nMessage != kMsgFixedColumnQuery) return QWidget::event(pEvent);
    const std::string strName = reinterpret_cast<const char*>(pMessage->m_wParam);
    m_strAsked += strName;
    pMessage->m_nResult = strName.size() == 1 && m_strFixed.find(strName) != std::string::npos;
    return true;
  }
};

// Rows named by single letters: "BD" stands for the rows B and D. What each row carries
// follows from its letter, so that a moved row can be checked anywhere.
QStringList Letters(const char* szLetters) { return QString(szLetters).split(QString(), Qt::SkipEmptyParts); }
uint64_t DataOf(const QString& strText) { return 1000 + strText.at(0).unicode(); }
int ImageOf(const QString& strText) { return strText.at(0).unicode() % 3; }
int CheckOf(const QString& strText) {
  return strText.at(0).unicode() % 3 == 0 ? -1 : strText.at(0).unicode() % 2;
}

class DragListTest : public CSettingsFixture {
 protected:
  void SetUp() override {
    CSettingsFixture::SetUp();
    m_parent.resize(420, 240);
    m_pSource->setGeometry(0, 0, 200, 240);
    m_pTarget->setGeometry(220, 0, 200, 240);
    m_pSource->InsertColumn(0, "Name", 150);
    m_pTarget->InsertColumn(0, "Name", 150);
    m_parent.show();
  }
  static void Fill(CHvDragListCtrl* pList, const char* szLetters) {
    pList->DeleteAllItems();
    for (const QString& strText : Letters(szLetters)) {
      const int nRow = pList->InsertItem(pList->GetItemCount(), strText);
      pList->SetItemData(nRow, DataOf(strText));
      pList->SetItemImage(nRow, ImageOf(strText));
      if (CheckOf(strText) >= 0) pList->SetCheck(nRow, CheckOf(strText) == 1);
    }
  }
  // The rows' texts, after checking that each row carries what its letter gives.
  static QStringList GetTexts(const CHvDragListCtrl* pList) {
    QStringList arrTexts;
    for (int nRow = 0; nRow < pList->GetItemCount(); ++nRow) {
      const QString strText = pList->GetItemText(nRow);
      arrTexts << strText;
      if (strText.size() != 1) continue;
      EXPECT_EQ(std::tuple(pList->GetItemData(nRow), pList->GetItemImage(nRow), pList->GetCheck(nRow)),
                std::tuple(DataOf(strText), ImageOf(strText), CheckOf(strText)))
          << strText.toStdString();
    }
    return arrTexts;
  }
  static void Drag(CHvDragListCtrl* pList, const std::vector<int>& arrRows) {
    pList->clearSelection();
    for (int nRow : arrRows) pList->SetItemSelected(nRow, true);
    ASSERT_TRUE(pList->BeginDrag());
  }

  CAnsweringParent m_parent;
  CHvDragListCtrl* m_pSource = new CHvDragListCtrl(&m_parent);
  CHvDragListCtrl* m_pTarget = new CHvDragListCtrl(&m_parent);
};

// Within its own list the dragged rows go after the highlighted row, in order, without asking;
// onto another list the parent is asked for each row, and those it keeps stay with a box each.
TEST_F(DragListTest, DropsMoveRowsAfterTheHighlightOrOntoAnotherListAskingForEachRow) {
  const struct {
    const char* szName;
    bool bOwnList;
    std::vector<int> arrSelected;
    int nRow;                         // own list: the highlighted row; other list: the row under the cursor
    const char* szFixed;              // rows the parent refuses to give up
    const char *szSource, *szTarget;  // both lists afterwards
    std::vector<int> arrTargetSelected;
    const char* szAsked;
  } arrCases[] = {
      {"after a later row", true, {1, 3}, 4, "", "ACEBDF", "XYZ", {0}, ""},
      {"after an earlier row", true, {3, 4}, 0, "", "ADEBCF", "XYZ", {0}, ""},
      {"no highlight goes to the end", true, {0, 2}, -1, "", "BDEFAC", "XYZ", {0}, ""},
      {"onto the rows themselves", true, {1, 2}, 1, "", "ABCDEF", "XYZ", {0}, ""},
      {"arrive reversed at the row", false, {0, 2}, 1, "", "BDEF", "XCAYZ", {1, 2}, "AC"},
      {"a refused row among others", false, {0, 2, 3}, 3, "C", "BCEF", "XYZDA", {3, 4}, "ACD"},
  };
  for (const auto& test : arrCases) {
    SCOPED_TRACE(test.szName);
    Fill(m_pSource, "ABCDEF");
    Fill(m_pTarget, "XYZ");
    m_pTarget->SetItemSelected(0, true);
    m_parent.m_strFixed = test.szFixed;
    m_parent.m_strAsked.clear();
    m_arrBoxes.clear();
    Drag(m_pSource, test.arrSelected);
    if (test.bOwnList) m_pSource->HighlightDropRow(test.nRow);
    m_pSource->DropRows(test.bOwnList ? m_pSource : m_pTarget, test.bOwnList ? 0 : test.nRow);
    std::vector<std::string> arrBoxes;
    for (const char* p = test.szFixed; *p != '\0'; ++p) arrBoxes.push_back(std::string(1, *p) + " cannot be removed");
    EXPECT_EQ(std::tuple(GetTexts(m_pSource), GetTexts(m_pTarget), m_pTarget->GetSelectedRows(), m_parent.m_strAsked,
                         m_arrBoxes),
              std::tuple(Letters(test.szSource), Letters(test.szTarget), test.arrTargetSelected,
                         std::string(test.szAsked), arrBoxes));
    if (test.bOwnList) {  // the target (this list) was deselected before the rows moved
      EXPECT_EQ(std::tuple(m_pSource->GetSelectedRows().empty(), m_pSource->GetDropHighlightRow(),
                           m_pSource->IsDragging()),
                std::tuple(true, -1, false));
    }
  }
}

TEST_F(DragListTest, TheMouseDragsRowsWithinAndBetweenLists) {
  Fill(m_pSource, "ABC");
  Fill(m_pTarget, "XY");
  QWidget* pFrom = m_pSource->viewport();
  const auto RowCentre = [](CHvDragListCtrl* pList, int nRow) {
    return pList->visualRect(pList->model()->index(nRow, 0)).center();
  };
  // Row A onto row Y of the other list.
  const QPoint ptPress = RowCentre(m_pSource, 0);
  SendLeftPress(pFrom, ptPress);
  SendLeftDragMove(pFrom, ptPress + QPoint(0, 30));
  EXPECT_TRUE(m_pSource->IsDragging());
  const QPoint ptOverY = pFrom->mapFromGlobal(m_pTarget->viewport()->mapToGlobal(RowCentre(m_pTarget, 1)));
  SendLeftDragMove(pFrom, ptOverY);
  SendLeftRelease(pFrom, ptOverY);
  EXPECT_FALSE(m_pSource->IsDragging());
  EXPECT_EQ(GetTexts(m_pSource), Letters("BC"));
  EXPECT_EQ(GetTexts(m_pTarget), Letters("XAY"));
  EXPECT_EQ(m_parent.m_strAsked, "A");
  // Row B after row C of its own list: the highlight follows the cursor.
  SendLeftPress(pFrom, RowCentre(m_pSource, 0));
  SendLeftDragMove(pFrom, RowCentre(m_pSource, 1));
  EXPECT_EQ(m_pSource->GetDropHighlightRow(), 1);
  SendLeftRelease(pFrom, RowCentre(m_pSource, 1));
  EXPECT_EQ(GetTexts(m_pSource), Letters("CB"));
}

}  // namespace
