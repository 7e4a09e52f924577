// The appearance dialog of a list: what it opens on, what Apply changes and stores, keywords.
#include "lists/dialogs/CustomizedAppearance.h"

#include "tests/lists/ListWidgetTest.h"

#include <QGroupBox>

#include "controls/ClrButton.h"
#include "controls/ColorChooser.h"
#include "controls/ColorRef.h"
#include "controls/FontSettingDlg.h"
#include "controls/HotFontCombo.h"
#include "controls/XListCtrl.h"
#include "platform/qt/ModalDialog.h"

namespace {

constexpr uint32_t kRed = MakeColorRef(255, 0, 0);
constexpr uint32_t kWhite = MakeColorRef(255, 255, 255);

// The font dialog answers with the font and size given.
void ChooseFont(const char* szFont, const char* szSize) {
  SetModalDialogHook([szFont, szSize](QDialog& modal) {
    auto& fontDialog = dynamic_cast<CFontSettingDlg&>(modal);
    fontDialog.GetFontChoice()->setCurrentText(QString::fromLatin1(szFont));
    fontDialog.GetSizeChoice()->setCurrentText(QString::fromLatin1(szSize));
    modal.accept();
    return modal.result();
  });
}

class CustomizedAppearanceTest : public CSettingsFixture {
 protected:
  void SetUp() override {
    CSettingsFixture::SetUp();
    m_pText = MakeList();
  }

  void TearDown() override {
    SetColorChooser({});
    SetModalDialogHook({});
    if (CCustomizedAppearance* pDialog = CCustomizedAppearance::FindInstance()) pDialog->hide();
    m_pText.reset();
    CSettingsFixture::TearDown();
  }

  static std::unique_ptr<sTextList> MakeList() {
    return std::make_unique<sTextList>(Texts{"Id", "Side", "Qty", "Type"},
                                       std::vector<TextRecord>{{"1", "buy", "10", "A"}});
  }

  CFilterListCtrl& List() const { return *m_pText->pList; }

  CCustomizedAppearance& Open() const {
    List().OnCommand(kCmdCustomize);
    CCustomizedAppearance* pDialog = CCustomizedAppearance::FindInstance();
    EXPECT_NE(pDialog, nullptr);
    return *pDialog;
  }

  static void PickColour(CCustomizedAppearance& dialog, uint32_t clrChosen) {
    SetColorChooser([clrChosen](QWidget*, uint32_t& clrColour) {
      clrColour = clrChosen;
      return true;
    });
    dialog.GetColourButton()->click();
  }

  static void SelectProperty(CCustomizedAppearance& dialog, const char* szProperty) {
    dialog.GetPropertyChoice()->setCurrentText(QString::fromLatin1(szProperty));
  }

  static void AddKeyword(CCustomizedAppearance& dialog, const std::string& strKeyword) {
    dialog.GetKeywordBox()->setText(
        QString::fromLatin1(strKeyword.data(), static_cast<qsizetype>(strKeyword.size())));
    dialog.GetAddButton()->click();
  }

  static Texts GetKeywordRows(const CCustomizedAppearance& dialog) {
    Texts arrRows;
    for (int nRow = 0; nRow < dialog.GetKeywordTable()->GetItemCount(); ++nRow)
      arrRows.push_back(dialog.GetKeywordTable()->GetItemText(nRow, 0).toStdString());
    return arrRows;
  }

  std::string GetStoredLine() const {
    const std::string strFile = ReadFile("OrvaneSetting.ini");
    const size_t nStart = strFile.find("TestList-0=");
    return nStart == std::string::npos
               ? ""
               : strFile.substr(nStart + 11, strFile.find_first_of("\r\n", nStart) - nStart - 11);
  }

  std::unique_ptr<sTextList> m_pText;
};

TEST_F(CustomizedAppearanceTest, OpensOnTheListsAppearance) {
  CCustomizedAppearance& dialog = Open();
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_FALSE(dialog.isModal()) << "the lists stay usable while it is open";
  EXPECT_EQ(dialog.GetTarget(), static_cast<IAppearanceList*>(&List()));
  EXPECT_EQ(dialog.GetColourButton()->GetFaceColour(), 0U) << "black background";
  EXPECT_FALSE(dialog.GetKeywordGroup()->isVisible());
  EXPECT_EQ(dialog.GetFontButton()->text().toStdString(), "MS Shell Dlg 2 (8)");
  EXPECT_EQ(dialog.GetColumnChoice()->count(), 4) << "the list's column headings";
  EXPECT_FALSE(dialog.GetColumnChoice()->isEnabled());

  const int nHeight = dialog.height();
  SelectProperty(dialog, kPropertyText);
  QApplication::processEvents();
  EXPECT_EQ(dialog.GetColourButton()->GetFaceColour(), MakeColorRef(0, 255, 0)) << "green text";
  EXPECT_TRUE(dialog.GetKeywordGroup()->isVisible());
  EXPECT_GT(dialog.height(), nHeight) << "the keyword group makes the dialog taller";
  SelectProperty(dialog, kPropertyBackground);
  QApplication::processEvents();
  EXPECT_FALSE(dialog.GetKeywordGroup()->isVisible());
  EXPECT_EQ(dialog.height(), nHeight);
  dialog.GetCancelButton()->click();
  EXPECT_FALSE(dialog.isVisible());
}

TEST_F(CustomizedAppearanceTest, ApplyChangesTheListAndStoresItsLine) {
  CCustomizedAppearance& dialog = Open();
  PickColour(dialog, kWhite);
  SelectProperty(dialog, kPropertyText);
  PickColour(dialog, 0);
  ChooseFont("DejaVu Sans", "10");
  dialog.GetFontButton()->click();
  EXPECT_EQ(List().GetAppearance().clrBackground, 0U) << "nothing changes before Apply";
  EXPECT_FALSE(List().IsCustomized());

  dialog.GetApplyButton()->click();
  EXPECT_TRUE(dialog.isVisible()) << "the dialog stays open";
  EXPECT_EQ(GetStoredLine(), "FFFFFF,0,DejaVu Sans,10");
  EXPECT_TRUE(List().IsCustomized());
  EXPECT_EQ(std::pair(List().GetAppearance().clrBackground, List().GetAppearance().clrText),
            std::pair(kWhite, 0U));
  EXPECT_EQ(List().font().family().toStdString(), "DejaVu Sans");
}

TEST_F(CustomizedAppearanceTest, KeywordTableEditsAreStoredAndReopened) {
  CCustomizedAppearance& dialog = Open();
  SelectProperty(dialog, kPropertyText);
  PickColour(dialog, kRed);
  dialog.GetChangeColumnButton()->click();
  dialog.GetColumnChoice()->setCurrentIndex(3);
  AddKeyword(dialog, "");
  EXPECT_EQ(m_arrBoxes, Texts{"Enter text to add a new keyword to list"});
  for (const char* szKeyword : {"a", "bb", "ccc", "dd"}) AddKeyword(dialog, szKeyword);
  ASSERT_EQ(GetKeywordRows(dialog), (Texts{"ccc", "dd", "bb", "a"}));
  EXPECT_TRUE(dialog.GetKeywordBox()->text().isEmpty());
  uint32_t clrCell = 0;
  ASSERT_TRUE(dialog.GetKeywordTable()->GetColorBox(0, 1, clrCell));
  EXPECT_EQ(clrCell, kRed) << "a new keyword takes the text colour";
  CXListCtrl& table = *dialog.GetKeywordTable();
  table.clearSelection();
  table.selectRow(1);
  table.selectionModel()->select(table.model()->index(3, 0),
                                 QItemSelectionModel::Select | QItemSelectionModel::Rows);
  SendKey(&table, Qt::Key_Delete);
  EXPECT_EQ(GetKeywordRows(dialog), (Texts{"ccc", "bb"})) << "exactly the two selected rows";

  // Mixed-case keywords are stored in lower case.
  AddKeyword(dialog, "MiXed");
  dialog.GetApplyButton()->click();
  EXPECT_EQ(GetStoredLine(), "0,FF,MS Shell Dlg 2,8,3,mixed,FF,ccc,FF,bb,FF,");
  EXPECT_EQ(*List().GetAppearance().pKeywords, (Texts{"mixed", "ccc", "bb"}));
  EXPECT_EQ(List().GetAppearance().nKeywordColumn, 3);

  // Opened again, the dialog lists the stored keywords on their column.
  dialog.GetCancelButton()->click();
  Open();
  EXPECT_EQ(GetKeywordRows(dialog), (Texts{"mixed", "ccc", "bb"}));
  EXPECT_EQ(dialog.GetColumnChoice()->currentIndex(), 3);
  // Choosing another column empties the table.
  dialog.GetChangeColumnButton()->click();
  dialog.GetColumnChoice()->activated(1);
  EXPECT_TRUE(GetKeywordRows(dialog).empty());
}

// A keyword the stored line could not give back is refused when it is added; one with a NUL is
// stored whole; choosing the column the keywords are on again keeps them.
TEST_F(CustomizedAppearanceTest, KeywordsReadBackAsTyped) {
  CCustomizedAppearance& dialog = Open();
  SelectProperty(dialog, kPropertyText);
  AddKeyword(dialog, "buy");
  AddKeyword(dialog, "buy,sell");
  EXPECT_EQ(m_arrBoxes, (Texts{"Please choose the column for Keywords before adding a keyword",
                               "\",\" is not allowed in a keyword, please enter a different keyword"}));
  EXPECT_TRUE(GetKeywordRows(dialog).empty());
  EXPECT_TRUE(dialog.GetColumnChoice()->isEnabled()) << "the column can be chosen at once";

  dialog.GetColumnChoice()->setCurrentIndex(1);
  dialog.GetColumnChoice()->activated(1);
  const std::string strLong(900, 'x');
  const std::string strNul("se\0ll", 5);
  AddKeyword(dialog, strNul);
  AddKeyword(dialog, strLong);
  dialog.GetColumnChoice()->activated(1);
  EXPECT_EQ(GetKeywordRows(dialog), (Texts{strLong, strNul}));
  m_arrBoxes.clear();
  AddKeyword(dialog, std::string(100, 'y'));
  EXPECT_EQ(
      m_arrBoxes,
      Texts{
          "The keywords of this list do not fit its settings, please remove a keyword or use shorter ones"});

  dialog.GetApplyButton()->click();
  const std::unique_ptr<sTextList> pReloaded = MakeList();
  ASSERT_NE(pReloaded->pList->GetAppearance().pKeywords, nullptr);
  EXPECT_EQ(*pReloaded->pList->GetAppearance().pKeywords, (Texts{strLong, strNul}));
  EXPECT_EQ(sTextList(Texts{"Id", "Side"}, {}).pList->GetAppearance().nKeywordColumn, 1);
}

TEST_F(CustomizedAppearanceTest, OneDialogFollowsTheLastList) {
  CCustomizedAppearance& dialog = Open();
  auto pOther = std::make_unique<sTextList>(Texts{"X"}, std::vector<TextRecord>{{"1"}});
  pOther->pList->SetControlId(1232);
  pOther->pList->OnCommand(kCmdCustomize);
  EXPECT_EQ(CCustomizedAppearance::FindInstance(), &dialog);
  EXPECT_EQ(dialog.GetTarget(), static_cast<IAppearanceList*>(pOther->pList.get()));
  pOther.reset();
  EXPECT_EQ(dialog.GetTarget(), nullptr) << "a list that goes away is forgotten";
  dialog.GetApplyButton()->click();
  EXPECT_EQ(ReadFile("OrvaneSetting.ini").find("CUSTOMIZE_LISTS"), std::string::npos) << "no target, no line";
}

}  // namespace
