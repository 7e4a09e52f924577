// The column profile dialog: moving columns between the shown and hidden lists, View and Save.
#include "tests/lists/ListWidgetTest.h"

#include "controls/HvDragListCtrl.h"
#include "lists/dialogs/RepositionColumns.h"
#include "platform/qt/WindowMessage.h"

namespace {

const Texts kNames = {"A", "B", "C", "D", "E"};

Texts GetTexts(const CHvDragListCtrl& list) {
  Texts arrTexts;
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
    List().GetLayout().SetPositions(std::vector<int32_t>{0, 1, 2, -1, -1});
    List().BuildHeader();
    List().SetFixedColumnNames({"A"});
    List().OnCommand(kCmdRepositionColumns);
    m_pDialog = List().GetRepositionDialog();
    ASSERT_NE(m_pDialog, nullptr);
  }

  CFilterListCtrl& List() const { return *m_pList->pList; }
  void Press(const char* szLabel) const { m_pDialog->GetButton(szLabel)->click(); }
  CHvDragListCtrl& Hidden() const { return *m_pDialog->GetHiddenList(); }
  CHvDragListCtrl& Shown() const { return *m_pDialog->GetShownList(); }

  static void Select(CHvDragListCtrl& list, const std::vector<int>& arrRows) {
    list.clearSelection();
    for (const int nRow : arrRows) list.SetItemSelected(nRow, true);
  }

  std::unique_ptr<sTextList> m_pList;
  CRepositionColumns* m_pDialog = nullptr;
};

TEST_F(CRepositionColumnsTest, MovesColumnsBothWaysAndRefusesFixedOnes) {
  EXPECT_EQ(GetTexts(Shown()), (Texts{"A", "B", "C"}));
  EXPECT_EQ(GetTexts(Hidden()), (Texts{"E", "D"}));
  Shown().setCurrentCell(1, 0);
  Select(Hidden(), {1});
  Press(">");
  EXPECT_EQ(GetTexts(Shown()), (Texts{"A", "D", "B", "C"}));
  EXPECT_EQ(GetTexts(Hidden()), (Texts{"E"}));

  Select(Shown(), {0, 2});
  Press("<");
  EXPECT_EQ(m_arrBoxes, (Texts{"A cannot be removed"}));
  EXPECT_EQ(GetTexts(Shown()), (Texts{"A", "D", "C"}));
  EXPECT_EQ(GetTexts(Hidden()), (Texts{"E", "B"}));

  // A double click moves the selected hidden entry too.
  Select(Hidden(), {0});
  emit Hidden().cellDoubleClicked(0, 0);
  EXPECT_EQ(GetTexts(Hidden()), (Texts{"B"}));
  EXPECT_EQ(Shown().GetItemCount(), 4);
  for (const auto& [szName, bFixed] : {std::pair{"A", true}, {"B", false}}) {
    const auto nName = reinterpret_cast<uintptr_t>(szName);
    EXPECT_EQ(SendWindowMessage(m_pDialog, kMsgFixedColumnQuery, nName, 0) != 0, bFixed) << szName;
  }
}

TEST_F(CRepositionColumnsTest, ViewAppliesWithoutSavingAndSaveWrites) {
  // A hidden column comes back with its record's width, not its last header width.
  List().GetLayout().SetColumnWidth(3, 33);
  Select(Hidden(), {1});
  Press(">");
  Press("&View");
  EXPECT_EQ(GetHeaderTexts(List()), (Texts{"A", "B", "C", "D"}));
  EXPECT_EQ(List().GetHeaderItems().back().nWidth, List().GetLayout().m_arrColumns[3].nWidth);
  EXPECT_EQ(GetShownTexts(List(), 3), (Texts{"4"}));
  EXPECT_FALSE(std::filesystem::exists(m_dir / "OrvaneSetting.ini"));

  Press("&Save");
  m_pList = std::make_unique<sTextList>(kNames, std::vector<TextRecord>{{"1", "2", "3", "4", "5"}});
  EXPECT_EQ(GetHeaderTexts(List()), (Texts{"A", "B", "C", "D"}));
}

}  // namespace
