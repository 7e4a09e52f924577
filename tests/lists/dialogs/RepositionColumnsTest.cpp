#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <string>
#include <vector>

#include "controls/HvDragListCtrl.h"
#include "lists/dialogs/RepositionColumns.h"
#include "platform/qt/WindowMessage.h"
#include "tests/support/ListTestSupport.h"

namespace {

const std::vector<std::string> kNames = {"A", "B", "C", "D", "E"};

std::vector<std::string> GetTexts(const CHvDragListCtrl& list) {
  std::vector<std::string> arrTexts;
  for (int nRow = 0; nRow < list.GetItemCount(); ++nRow)
    arrTexts.push_back(list.GetItemText(nRow).toStdString());
  return arrTexts;
}

// A list showing A, B, C with D and E hidden, opened in the column profile dialog.
class CRepositionColumnsTest : public CSettingsFixture {
 protected:
  void SetUp() override {
    CSettingsFixture::SetUp();
    m_pList = std::make_unique<sTextList>(kNames, std::vector<TextRecord>{{"1", "2", "3", "4", "5"}});
    CListLayout& layout = m_pList->pList->GetLayout();
    layout.SetPositions(std::vector<int32_t>{0, 1, 2, -1, -1});
    m_pList->pList->BuildHeader();
    m_pList->pList->SetFixedColumnNames({"A"});
    m_pList->pList->OnCommand(kCmdRepositionColumns);
    m_pDialog = m_pList->pList->GetRepositionDialog();
    ASSERT_NE(m_pDialog, nullptr);
  }

  CHvDragListCtrl& Hidden() const { return *m_pDialog->GetHiddenList(); }
  CHvDragListCtrl& Shown() const { return *m_pDialog->GetShownList(); }

  static void Select(CHvDragListCtrl& list, const std::vector<int>& arrRows) {
    list.clearSelection();
    for (const int nRow : arrRows) list.SetItemSelected(nRow, true);
  }

  std::unique_ptr<sTextList> m_pList;
  CRepositionColumns* m_pDialog = nullptr;
};

TEST_F(CRepositionColumnsTest, OpensWithShownAndHiddenColumns) {
  EXPECT_EQ(m_pDialog->windowTitle().toStdString(), " Column Profile");
  EXPECT_EQ(GetTexts(Shown()), (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_EQ(GetTexts(Hidden()), (std::vector<std::string>{"E", "D"}));
  EXPECT_FALSE(m_pDialog->GetSortEdit()->isVisibleTo(m_pDialog));
}

TEST_F(CRepositionColumnsTest, MovesColumnsBothWaysAndRefusesFixedOnes) {
  Shown().setCurrentCell(1, 0);
  Select(Hidden(), {1});
  m_pDialog->GetButton(">")->click();
  EXPECT_EQ(GetTexts(Shown()), (std::vector<std::string>{"A", "D", "B", "C"}));
  EXPECT_EQ(GetTexts(Hidden()), (std::vector<std::string>{"E"}));

  Select(Shown(), {0, 2});
  m_pDialog->GetButton("<")->click();
  EXPECT_EQ(m_arrBoxes, (std::vector<std::string>{"A cannot be removed"}));
  EXPECT_EQ(GetTexts(Shown()), (std::vector<std::string>{"A", "D", "C"}));
  EXPECT_EQ(GetTexts(Hidden()), (std::vector<std::string>{"E", "B"}));

  // A double click moves the selected hidden entry too.
  Select(Hidden(), {0});
  emit Hidden().cellDoubleClicked(0, 0);
  EXPECT_EQ(GetTexts(Hidden()), (std::vector<std::string>{"B"}));
  EXPECT_EQ(Shown().GetItemCount(), 4);

  const std::string strFixed = "A";
  const std::string strFree = "B";
  EXPECT_NE(
      SendWindowMessage(m_pDialog, kMsgFixedColumnQuery, reinterpret_cast<uintptr_t>(strFixed.c_str()), 0),
      0);
  EXPECT_EQ(
      SendWindowMessage(m_pDialog, kMsgFixedColumnQuery, reinterpret_cast<uintptr_t>(strFree.c_str()), 0), 0);
}

TEST_F(CRepositionColumnsTest, ViewAppliesWithoutSavingAndSaveWrites) {
  // A hidden column comes back with its record's width, not its last header width.
  m_pList->pList->GetLayout().SetColumnWidth(3, 33);
  Select(Hidden(), {1});
  m_pDialog->GetButton(">")->click();
  m_pDialog->GetButton("&View")->click();
  EXPECT_EQ(GetHeaderTexts(*m_pList->pList), (std::vector<std::string>{"A", "B", "C", "D"}));
  EXPECT_EQ(m_pList->pList->GetHeaderItems().back().nWidth,
            m_pList->pList->GetLayout().m_arrColumns[3].nWidth);
  EXPECT_EQ(GetShownTexts(*m_pList->pList, 3), (std::vector<std::string>{"4"}));
  EXPECT_FALSE(std::filesystem::exists(m_dir / "OrvaneSetting.ini"));

  m_pDialog->GetButton("&Save")->click();
  const std::string strFile = ReadFile("OrvaneSetting.ini");
  EXPECT_NE(strFile.find("[TestList]"), std::string::npos) << strFile;

  m_pList = std::make_unique<sTextList>(kNames, std::vector<TextRecord>{{"1", "2", "3", "4", "5"}});
  EXPECT_EQ(GetHeaderTexts(*m_pList->pList), (std::vector<std::string>{"A", "B", "C", "D"}));
}

// A window that keeps the numbered messages it is sent.
class CMessageWindow : public QWidget {
 public:
  bool event(QEvent* pEvent) override {
    if (pEvent->type() != CWindowMessageEvent::GetEventType()) return QWidget::event(pEvent);
    const auto* pMessage = static_cast<CWindowMessageEvent*>(pEvent);
    m_arrMessages.emplace_back(pMessage->m_nMessage, pMessage->m_wParam);
    return true;
  }
  std::vector<std::pair<uint32_t, uintptr_t>> m_arrMessages;
};

TEST_F(CRepositionColumnsTest, ViewAsksTheWindowOfAPlainListToRefresh) {
  CMessageWindow window;
  auto* pList = new CCommonListCtrl(&window);
  pList->SetControlId(1231);
  pList->GetLayout().LoadColumnTable("Plain", std::vector<sColumnDef>{{"A", kAlignLeft, kSortText}});
  pList->LoadProfile();
  pList->OnCommand(kCmdRepositionColumns);
  pList->GetRepositionDialog()->GetButton("&View")->click();
  EXPECT_EQ(window.m_arrMessages, (std::vector<std::pair<uint32_t, uintptr_t>>{{1147, 1231}}));
}

TEST_F(CRepositionColumnsTest, DefaultSortTextSurvivesReopeningOnTheDealerList) {
  m_pList->pList->SetProfileName(kSortControlsListName);
  m_pList->pList->OnCommand(kCmdRepositionColumns);
  m_pDialog = m_pList->pList->GetRepositionDialog();
  QLineEdit* pEdit = m_pDialog->GetSortEdit();
  ASSERT_TRUE(pEdit->isVisibleTo(m_pDialog));
  emit Shown().cellClicked(1, 0);
  EXPECT_EQ(pEdit->text().toStdString(), "B");
  m_pDialog->GetButton("Sort")->click();
  pEdit->setText("C");
  m_pDialog->GetButton("&Default")->click();
  EXPECT_EQ(pEdit->text().toStdString(), "B");

  m_pList->pList->OnCommand(kCmdRepositionColumns);
  m_pDialog = m_pList->pList->GetRepositionDialog();
  EXPECT_EQ(m_pDialog->GetSortEdit()->text().toStdString(), "B");
}

}  // namespace
