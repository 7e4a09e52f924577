#include "controls/FontSettingDlg.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QFontDatabase>
#include <algorithm>

#include "controls/HotFontCombo.h"
#include "platform/qt/ModalDialog.h"

namespace {

// Answers the font dialog with OK or Cancel, after an optional change of the selections.
class CFontSettingDlgTest : public ::testing::Test {
 protected:
  void TearDown() override { SetModalDialogHook({}); }

  void Answer(int nResult) {
    SetModalDialogHook([this, nResult](QDialog& dialog) {
      auto& fontDialog = dynamic_cast<CFontSettingDlg&>(dialog);
      m_strShownFont = fontDialog.GetFontChoice()->currentText().toStdString();
      m_strShownSize = fontDialog.GetSizeChoice()->currentText().toStdString();
      nResult == QDialog::Accepted ? dialog.accept() : dialog.reject();
      return dialog.result();
    });
  }

  std::string m_strShownFont;
  std::string m_strShownSize;
};

std::string GetFirstFamily() {
  QStringList arrFamilies = QFontDatabase::families(QFontDatabase::Latin);
  std::vector<std::string> arrNames;
  for (const QString& strFamily : arrFamilies) arrNames.push_back(strFamily.toStdString());
  std::sort(arrNames.begin(), arrNames.end());
  return arrNames.empty() ? std::string() : arrNames.front();
}

TEST_F(CFontSettingDlgTest, PresetSizesAndFaces) {
  const std::string strFamily = GetFirstFamily();
  ASSERT_FALSE(strFamily.empty());
  const bool bArial = !QFontDatabase::families().filter(QStringLiteral("Arial")).isEmpty();
  const struct {
    const char* szName;
    std::string strFont;
    std::string strSize;
    int nResult;
    std::string strFontOut;
    std::string strSizeOut;
  } arrCases[] = {
      {"size not offered leaves 8", strFamily, "15", QDialog::Accepted, strFamily, "8"},
      {"size 1 selects 10", strFamily, "1", QDialog::Accepted, strFamily, "10"},
      {"face by prefix, any case", strFamily.substr(0, 3), "9", QDialog::Accepted, strFamily, "9"},
      // An unknown face leaves the default choice: Arial when installed, else no selection,
      // so the preset comes back.
      {"unknown face", "MS Shell Dlg 2", "8", QDialog::Accepted, bArial ? "Arial" : "MS Shell Dlg 2", "8"},
      {"cancel keeps the presets", strFamily, "15", QDialog::Rejected, strFamily, "15"},
  };
  for (const auto& test : arrCases) {
    SCOPED_TRACE(test.szName);
    Answer(test.nResult);
    CFontSettingDlg dialog(test.strFont, test.strSize);
    EXPECT_EQ(dialog.DoModal(), test.nResult);
    EXPECT_EQ(dialog.GetFontName(), test.strFontOut);
    EXPECT_EQ(dialog.GetFontSize(), test.strSizeOut);
  }
}

TEST(HotFontComboTest, FamiliesInByteOrderAndExactSelection) {
  CHotFontCombo combo;
  combo.SetCurrentFontName("no such family");
  combo.FillFonts();
  const std::vector<std::string> arrEntries = combo.GetEntries();
  ASSERT_FALSE(arrEntries.empty());
  EXPECT_TRUE(std::is_sorted(arrEntries.begin(), arrEntries.end()));
  EXPECT_EQ(arrEntries.size(), static_cast<size_t>(QFontDatabase::families(QFontDatabase::Latin).size()));
  EXPECT_EQ(combo.currentIndex(), -1) << "nothing selected without an exact match";

  std::string strUpper = arrEntries.back();
  std::transform(strUpper.begin(), strUpper.end(), strUpper.begin(), ::toupper);
  combo.SetCurrentFontName(strUpper);
  combo.FillFonts();
  EXPECT_EQ(combo.currentIndex(), static_cast<int>(arrEntries.size()) - 1);

  combo.textActivated(QString::fromStdString(arrEntries.front()));
  EXPECT_EQ(combo.GetCurrentFontName(), arrEntries.front()) << "a chosen entry becomes the current name";
}

TEST(HotFontComboTest, HotWhileFocusedOrDisabled) {
  QWidget window;
  auto* pCombo = new CHotFontCombo(&window);
  auto* pOther = new QComboBox(&window);
  pCombo->move(20, 20);
  pOther->move(20, 80);
  // Away from the cursor, which the offscreen platform keeps at the origin.
  window.setGeometry(300, 300, 200, 150);
  QCursor::setPos(0, 0);
  window.show();
  QApplication::setActiveWindow(&window);
  for (const bool bFocused : {false, true, false}) {
    (bFocused ? static_cast<QWidget*>(pCombo) : pOther)->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(pCombo->IsHot(), bFocused);
  }
  pCombo->setEnabled(false);
  EXPECT_TRUE(pCombo->IsHot()) << "a disabled control is drawn hot";
}

}  // namespace
