// The custom column dialog over a list: its buttons, its messages, and what it saves.
#include "tests/lists/ListWidgetTest.h"

#include <algorithm>

#include <QMouseEvent>
#include <QPlainTextEdit>

#include "lists/dialogs/UserDefinedColDlg.h"

namespace {

CUserDefinedColDlg& Dialog() { return CUserDefinedColDlg::GetInstance(); }
std::string Expression() { return Dialog().GetExpressionBox()->toPlainText().toStdString(); }

void SelectColumn(const std::string& strName) {
  const auto arrFound =
      Dialog().GetColumnList()->findItems(QString::fromStdString(strName), Qt::MatchExactly);
  ASSERT_EQ(arrFound.size(), 1) << strName;
  Dialog().GetColumnList()->setCurrentItem(arrFound.front());
}

void Click(const QString& strLabel, Qt::KeyboardModifiers nModifiers = Qt::NoModifier) {
  QPushButton* pButton = Dialog().GetButton(strLabel);
  ASSERT_NE(pButton, nullptr) << strLabel.toStdString();
  const QPointF pt(pButton->rect().center());
  for (const QEvent::Type eType : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    QMouseEvent event(eType, pt, pButton->mapToGlobal(pt), Qt::LeftButton,
                      eType == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, nModifiers);
    QApplication::sendEvent(pButton, &event);
  }
}

// A list of Name, Cash and Margin over two rows, made again for each reload.
class CUserDefinedColDlgTest : public CSettingsFixture {
 protected:
  void SetUp() override {
    CSettingsFixture::SetUp();
    Reload();
  }
  void Reload() {
    m_pData.reset();
    m_pData = std::make_unique<sTextList>(
        Texts{"Name", "Cash", "Margin"},
        std::vector<TextRecord>{{"a", "10.00", "4.00"}, {"b", "3.00", "0.00"}}, std::vector<int32_t>{1, 2});
  }
  CFilterListCtrl& List() const { return *m_pData->pList; }
  Texts Shown(int32_t nPosition) const { return GetShownTexts(List(), nPosition); }
  Texts Header() const { return GetHeaderTexts(List()); }

  // Adds a column through the dialog's controls; the boxes shown on the way.
  Texts AddColumn(const std::string& strName, const std::string& strDisplay) {
    m_arrBoxes.clear();
    List().OnCommand(kCmdAddCustomColumns);
    Dialog().GetNameBox()->setText(QString::fromStdString(strName));
    Dialog().GetExpressionBox()->setPlainText(QString::fromStdString(strDisplay));
    Dialog().GetConfirmButton()->click();
    return m_arrBoxes;
  }
  void DeleteColumn(const char* szName) {
    List().OnCommand(kCmdDeleteCustomColumns);
    Dialog().GetChooser()->setCurrentIndex(Dialog().GetChooser()->findText(szName));
    Dialog().GetConfirmButton()->click();
  }

  std::unique_ptr<sTextList> m_pData;
};

TEST_F(CUserDefinedColDlgTest, AddThroughButtonsShowsSavesAndReloads) {
  List().OnCommand(kCmdAddCustomColumns);
  EXPECT_TRUE(Dialog().isVisible());
  EXPECT_FALSE(Dialog().GetChooser()->isVisibleTo(&Dialog()));
  SelectColumn("Cash");
  Click("/");
  SelectColumn("Margin");
  Click("End");
  EXPECT_EQ(Expression(), "\"Cash\" / \"Margin\"");
  Click("*", Qt::ControlModifier);
  EXPECT_EQ(Expression(), "\"Cash\" / \"Margin\"*");
  Click("Clear");
  EXPECT_EQ(Expression(), "");
  Dialog().GetExpressionBox()->setPlainText("\"Cash\" / \"Margin\"");
  Dialog().GetNameBox()->setText("  Ratio ");
  m_arrBoxes.clear();
  Dialog().GetConfirmButton()->click();
  EXPECT_TRUE(m_arrBoxes.empty());
  EXPECT_FALSE(Dialog().isVisible());
  EXPECT_EQ(List().GetHeaderTip(3).toStdString(), "\"Cash\" / \"Margin\"");
  EXPECT_NE(ReadFile("OrvaneSetting.ini").find("Ratio# \"1\" / \"2\"#\"Cash\" / \"Margin\""),
            std::string::npos);
  for (int nLoad = 0; nLoad < 2; ++nLoad, Reload()) {
    EXPECT_EQ(Header(), (Texts{"Name", "Cash", "Margin", "Ratio"}));
    EXPECT_EQ(Shown(3), (Texts{"2.50", "Divided by ZERO error"}));
  }
}

// A deletion that takes or breaks other columns or alert rules asks first; what is left without
// its column shows the reference failure.
TEST_F(CUserDefinedColDlgTest, ReferencesFollowTheirColumnsByName) {
  List().SetAlertRulesFn([](std::span<const std::string> arrNames) {
    return std::ranges::find(arrNames, "D") != arrNames.end() ? Texts{"\"D\" greater than or equal to 5"}
                                                              : Texts{};
  });
  for (const auto& [szName, szDisplay] : {std::pair{"A", "\"Cash\" + 1"},
                                          {"B", "\"Cash\" * 2"},
                                          {"C", "\"Margin\" * 3"},
                                          {"D", "\"b\" + 1"},
                                          {"E", "\"D\" * 2"}})
    ASSERT_TRUE(AddColumn(szName, szDisplay).empty());
  DeleteColumn("A");
  EXPECT_TRUE(m_arrQuestions.empty()) << "nothing uses A";
  EXPECT_EQ(Header(), (Texts{"Name", "Cash", "Margin", "B", "C", "D", "E"}));
  EXPECT_EQ(Shown(5), (Texts{"21.00", "7.00"})) << "D is still B + 1";
  m_bAnswerYes = false;
  DeleteColumn("B");
  EXPECT_EQ(
      m_arrQuestions,
      Texts{"Deleting \"B\" also deletes the custom columns that use it: \"D\".\n"
            "These custom columns use a deleted one and will show \"Invalid reference\": \"E\".\n"
            "These custom alert rules will not fire while their column is missing: \"D\" greater than or "
            "equal to 5.\nDelete \"B\"?"});
  EXPECT_TRUE(Dialog().isVisible()) << "No keeps the dialog and every column";
  EXPECT_EQ(Header().size(), 7U);
  m_bAnswerYes = true;
  Dialog().GetConfirmButton()->click();
  EXPECT_EQ(List().GetHeaderTip(3).toStdString(), "\"Margin\" * 3");
  for (int nLoad = 0; nLoad < 2; ++nLoad, Reload()) {
    EXPECT_EQ(Header(), (Texts{"Name", "Cash", "Margin", "C", "E"}));
    EXPECT_EQ(Shown(3), (Texts{"12.00", "0.00"}));
    EXPECT_EQ(Shown(4), (Texts{"Invalid reference", "Invalid reference"}));
  }
}

}  // namespace
