#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <string>
#include <vector>

#include "lists/dialogs/RepositionColumns.h"
#include "lists/dialogs/UserDefinedColDlg.h"
#include "tests/support/ListTestSupport.h"

namespace {

// The dialog's messages as the user reads them.
constexpr const char* kTextInvalid = "Invalid Expression, Please check the expression again";
constexpr const char* kTextInUse = "This column name already present,Please choose different column Name";
constexpr const char* kTextNoneToEdit = "No user defined column selected to edit";

// Rows of Name, Cash, Margin, shown in this order.
const std::vector<TextRecord> kRows = {{"a", "10.00", "4.00"}, {"b", "3.00", "0.00"}};
const std::vector<std::string> kNames = {"Name", "Cash", "Margin"};

class CUserDefinedColDlgTest : public CSettingsFixture {
 protected:
  std::unique_ptr<sTextList> MakeList() const {
    return std::make_unique<sTextList>(kNames, kRows, std::vector<int32_t>{1, 2});
  }

  static CUserDefinedColDlg& Dialog() { return CUserDefinedColDlg::GetInstance(); }

  static void SelectColumn(const std::string& strName) {
    QListWidget* pList = Dialog().GetColumnList();
    const auto arrFound = pList->findItems(QString::fromStdString(strName), Qt::MatchExactly);
    ASSERT_EQ(arrFound.size(), 1) << strName;
    pList->setCurrentItem(arrFound.front());
  }

  static void Click(const QString& strLabel, Qt::KeyboardModifiers nModifiers = Qt::NoModifier) {
    QPushButton* pButton = Dialog().GetButton(strLabel);
    ASSERT_NE(pButton, nullptr) << strLabel.toStdString();
    const QPointF pt(pButton->rect().center());
    QMouseEvent press(QEvent::MouseButtonPress, pt, pButton->mapToGlobal(pt), Qt::LeftButton, Qt::LeftButton,
                      nModifiers);
    QApplication::sendEvent(pButton, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, pt, pButton->mapToGlobal(pt), Qt::LeftButton,
                        Qt::NoButton, nModifiers);
    QApplication::sendEvent(pButton, &release);
  }

  static std::string Expression() { return Dialog().GetExpressionBox()->toPlainText().toStdString(); }

  // Adds a column through the dialog's controls; the boxes shown on the way.
  std::vector<std::string> AddColumn(sTextList& list, const std::string& strName,
                                     const std::string& strDisplay, int32_t nCommand = kCmdAddCustomColumns) {
    m_arrBoxes.clear();
    list.pList->OnCommand(nCommand);
    Dialog().GetNameBox()->setText(QString::fromStdString(strName));
    Dialog().GetExpressionBox()->setPlainText(QString::fromStdString(strDisplay));
    Dialog().GetConfirmButton()->click();
    return m_arrBoxes;
  }

  static void Choose(const std::string& strName) {
    QComboBox* pChooser = Dialog().GetChooser();
    const int nIndex = pChooser->findText(QString::fromStdString(strName));
    ASSERT_GE(nIndex, 0) << strName;
    pChooser->setCurrentIndex(nIndex);
  }
};

TEST_F(CUserDefinedColDlgTest, AddThroughButtonsShowsSavesAndReloads) {
  auto pList = MakeList();
  pList->pList->OnCommand(kCmdAddCustomColumns);
  EXPECT_TRUE(Dialog().isVisible());
  EXPECT_EQ(Dialog().windowTitle().toStdString(), "TestList: Add Custom Columns");
  EXPECT_EQ(Dialog().GetConfirmButton()->text().toStdString(), "Add");
  EXPECT_FALSE(Dialog().GetChooser()->isVisibleTo(&Dialog()));
  ASSERT_EQ(Dialog().GetColumnList()->count(), 2);  // the text column is not offered
  EXPECT_EQ(Dialog().GetColumnList()->item(0)->text().toStdString(), "Cash");

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
  Dialog().GetConfirmButton()->click();

  EXPECT_TRUE(m_arrBoxes.empty());
  EXPECT_FALSE(Dialog().isVisible());
  EXPECT_EQ(GetHeaderTexts(*pList->pList), (std::vector<std::string>{"Name", "Cash", "Margin", "Ratio"}));
  EXPECT_EQ(pList->pList->GetHeaderItems().back().nWidth, 100);
  EXPECT_EQ(pList->pList->GetHeaderTip(3).toStdString(), "\"Cash\" / \"Margin\"");
  EXPECT_EQ(GetShownTexts(*pList->pList, 3), (std::vector<std::string>{"2.50", "Divided by ZERO error"}));
  EXPECT_NE(ReadFile("OrvaneSetting.ini").find("Ratio# \"1\" / \"2\"#\"Cash\" / \"Margin\""),
            std::string::npos)
      << ReadFile("OrvaneSetting.ini");

  pList.reset();
  auto pReloaded = MakeList();
  EXPECT_EQ(GetHeaderTexts(*pReloaded->pList), (std::vector<std::string>{"Name", "Cash", "Margin", "Ratio"}));
  EXPECT_EQ(GetShownTexts(*pReloaded->pList, 3), (std::vector<std::string>{"2.50", "Divided by ZERO error"}));
}

TEST_F(CUserDefinedColDlgTest, ButtonsWithoutSelectedColumnShowTheirMessage) {
  auto pList = MakeList();
  pList->pList->OnCommand(kCmdAddCustomColumns);
  m_arrBoxes.clear();
  Click("+");
  Click("End");
  EXPECT_EQ(m_arrBoxes, (std::vector<std::string>{"Please select a Column Name", "No column is selected"}));
  EXPECT_EQ(Expression(), "");
  Click("(", Qt::ControlModifier);
  EXPECT_EQ(Expression(), "(");
}

TEST_F(CUserDefinedColDlgTest, AddFailuresShowTheCoreMessageAndKeepTheDialog) {
  struct sRow {
    const char* szCase;
    const char* szName;
    const char* szExpression;
    const char* szMessage;
  };
  const sRow arrRows[] = {
      {"empty name", "  ", "\"Cash\"", "Please Enter the column Name"},
      {"no operator", "X", "\"Cash\" \"Margin\"", kTextInvalid},
      {"name in use", "Cash", "\"Margin\" * 2", kTextInUse},
      {"name in use in other letter case", "cash", "\"Margin\" * 2", kTextInUse},
  };
  auto pList = MakeList();
  for (const sRow& row : arrRows) {
    EXPECT_EQ(AddColumn(*pList, row.szName, row.szExpression), (std::vector<std::string>{row.szMessage}))
        << row.szCase;
    EXPECT_TRUE(Dialog().isVisible()) << row.szCase;
    EXPECT_EQ(Dialog().GetNameBox()->text().toStdString(), row.szName) << row.szCase;
    EXPECT_EQ(pList->pList->GetLayout().m_arrColumns.size(), 3U) << row.szCase;
  }
  EXPECT_FALSE(std::filesystem::exists(m_dir / "OrvaneSetting.ini"));
  // A quoted name matches in any case.
  EXPECT_TRUE(AddColumn(*pList, "Double", "\"MARGIN\" * 2").empty());
  EXPECT_EQ(GetShownTexts(*pList->pList, 3), (std::vector<std::string>{"8.00", "0.00"}));
}

TEST_F(CUserDefinedColDlgTest, ProtectedColumnsAreNeverOfferedForEditOrDelete) {
  auto pList = MakeList();
  ASSERT_TRUE(AddColumn(*pList, "Kept", "\"Cash\" + 1", kCmdAddProtectedCustomColumns).empty());
  ASSERT_TRUE(AddColumn(*pList, "Net", "\"Cash\" - \"Margin\"").empty());
  EXPECT_NE(ReadFile("OrvaneSetting.ini").find("PROTECTEDCOLUMNPROFILE=,3,3,100,Kept#"), std::string::npos)
      << ReadFile("OrvaneSetting.ini");
  for (const int32_t nCommand : {kCmdEditCustomColumns, kCmdDeleteCustomColumns}) {
    pList->pList->OnCommand(nCommand);
    ASSERT_EQ(Dialog().GetChooser()->count(), 1);
    EXPECT_EQ(Dialog().GetChooser()->itemText(0).toStdString(), "Net");
    EXPECT_FALSE(Dialog().GetNameBox()->isVisibleTo(&Dialog()));
  }
  EXPECT_EQ(Dialog().windowTitle().toStdString(), "TestList: Delete Custom Columns");
  EXPECT_EQ(Dialog().GetConfirmButton()->text().toStdString(), "Delete");
}

TEST_F(CUserDefinedColDlgTest, EditReplacesTheExpression) {
  auto pList = MakeList();
  ASSERT_TRUE(AddColumn(*pList, "Net", "\"Cash\" - \"Margin\"").empty());
  pList->pList->OnCommand(kCmdEditCustomColumns);
  EXPECT_EQ(Dialog().GetConfirmButton()->text().toStdString(), "Save");
  m_arrBoxes.clear();
  Dialog().GetConfirmButton()->click();
  EXPECT_EQ(m_arrBoxes, (std::vector<std::string>{kTextNoneToEdit}));

  Choose("Net");
  EXPECT_EQ(Expression(), "\"Cash\" - \"Margin\"");
  Dialog().GetExpressionBox()->setPlainText("\"Cash\" + \"Margin\"");
  m_arrBoxes.clear();
  Dialog().GetConfirmButton()->click();
  EXPECT_TRUE(m_arrBoxes.empty());
  EXPECT_FALSE(Dialog().isVisible());
  EXPECT_EQ(GetShownTexts(*pList->pList, 3), (std::vector<std::string>{"14.00", "3.00"}));
  EXPECT_NE(ReadFile("OrvaneSetting.ini").find("#\"Cash\" + \"Margin\""), std::string::npos);
  // The header item keeps its tip, through another column's addition, until the column
  // profile dialog applies a view.
  EXPECT_EQ(pList->pList->GetHeaderTip(3).toStdString(), "\"Cash\" - \"Margin\"");
  ASSERT_TRUE(AddColumn(*pList, "Twice", "\"Cash\" * 2").empty());
  EXPECT_EQ(pList->pList->GetHeaderTip(3).toStdString(), "\"Cash\" - \"Margin\"");
  pList->pList->OnCommand(kCmdRepositionColumns);
  pList->pList->GetRepositionDialog()->GetButton("&View")->click();
  EXPECT_EQ(pList->pList->GetHeaderTip(3).toStdString(), "\"Cash\" + \"Margin\"");
}

TEST_F(CUserDefinedColDlgTest, DeleteRemovesTheColumnAndBothDependents) {
  auto pList = MakeList();
  ASSERT_TRUE(AddColumn(*pList, "Sum", "\"Cash\" + \"Margin\"").empty());
  ASSERT_TRUE(AddColumn(*pList, "Twice", "\"Sum\" * 2").empty());
  ASSERT_TRUE(AddColumn(*pList, "Less", "\"Sum\" - 1").empty());
  ASSERT_TRUE(AddColumn(*pList, "Own", "\"Cash\" * 3").empty());
  EXPECT_EQ(GetShownTexts(*pList->pList, 4), (std::vector<std::string>{"28.00", "6.00"}));

  pList->pList->OnCommand(kCmdDeleteCustomColumns);
  Choose("Sum");
  Dialog().GetConfirmButton()->click();

  EXPECT_FALSE(Dialog().isVisible());
  EXPECT_EQ(GetHeaderTexts(*pList->pList), (std::vector<std::string>{"Name", "Cash", "Margin", "Own"}));
  EXPECT_EQ(pList->pList->GetHeaderTip(3).toStdString(), "\"Cash\" * 3");
  const std::string strFile = ReadFile("OrvaneSetting.ini");
  EXPECT_EQ(strFile.find("Twice"), std::string::npos) << strFile;
  EXPECT_EQ(strFile.find("Less"), std::string::npos) << strFile;

  pList.reset();
  auto pReloaded = MakeList();
  EXPECT_EQ(GetHeaderTexts(*pReloaded->pList), (std::vector<std::string>{"Name", "Cash", "Margin", "Own"}));
  EXPECT_EQ(GetShownTexts(*pReloaded->pList, 3), (std::vector<std::string>{"30.00", "9.00"}));
}

// References follow their columns by name, in any letter case, through a deletion and a reload;
// a deletion that takes or breaks other columns or alert rules asks first; what is left without
// its column shows the reference failure.
TEST_F(CUserDefinedColDlgTest, ReferencesFollowTheirColumnsByName) {
  auto pList = MakeList();
  pList->pList->SetAlertRulesFn([](std::span<const std::string> arrNames) {
    std::vector<std::string> arrRules;
    for (const std::string& strName : arrNames)
      if (strName == "D") arrRules.push_back("\"D\" greater than or equal to 5");
    return arrRules;
  });
  const std::pair<const char*, const char*> arrColumns[] = {{"A", "\"Cash\" + 1"},
                                                            {"B", "\"Cash\" * 2"},
                                                            {"C", "\"Margin\" * 3"},
                                                            {"D", "\"b\" + 1"},
                                                            {"E", "\"D\" * 2"}};
  for (const auto& [szName, szDisplay] : arrColumns)
    ASSERT_TRUE(AddColumn(*pList, szName, szDisplay).empty());
  const auto deleteColumn = [&](const char* szName) {
    pList->pList->OnCommand(kCmdDeleteCustomColumns);
    Choose(szName);
    Dialog().GetConfirmButton()->click();
  };

  deleteColumn("A");
  EXPECT_TRUE(m_arrQuestions.empty()) << "nothing uses A";
  EXPECT_EQ(GetHeaderTexts(*pList->pList),
            (std::vector<std::string>{"Name", "Cash", "Margin", "B", "C", "D", "E"}));
  EXPECT_EQ(GetShownTexts(*pList->pList, 5), (std::vector<std::string>{"21.00", "7.00"}))
      << "D is still B + 1";

  m_bAnswerYes = false;
  deleteColumn("B");
  EXPECT_EQ(m_arrQuestions, std::vector<std::string>{
                                "Deleting \"B\" also deletes the custom columns that use it: \"D\".\n"
                                "These custom columns use a deleted one and will show \"Invalid reference\": "
                                "\"E\".\n"
                                "These custom alert rules will not fire while their column is missing: \"D\" "
                                "greater than or equal to 5.\n"
                                "Delete \"B\"?"});
  EXPECT_TRUE(Dialog().isVisible()) << "No keeps the dialog and every column";
  EXPECT_EQ(GetHeaderTexts(*pList->pList).size(), 7U);
  m_bAnswerYes = true;
  Dialog().GetConfirmButton()->click();
  EXPECT_EQ(GetHeaderTexts(*pList->pList), (std::vector<std::string>{"Name", "Cash", "Margin", "C", "E"}));
  EXPECT_EQ(GetShownTexts(*pList->pList, 3), (std::vector<std::string>{"12.00", "0.00"}));
  EXPECT_EQ(GetShownTexts(*pList->pList, 4),
            (std::vector<std::string>{"Invalid reference", "Invalid reference"}));

  pList.reset();
  auto pReloaded = MakeList();
  EXPECT_EQ(GetShownTexts(*pReloaded->pList, 3), (std::vector<std::string>{"12.00", "0.00"}));
  EXPECT_EQ(GetShownTexts(*pReloaded->pList, 4),
            (std::vector<std::string>{"Invalid reference", "Invalid reference"}));
}

}  // namespace
