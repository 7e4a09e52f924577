#include "controls/FontSettingDlg.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QFontDatabase>

#include "controls/HotFontCombo.h"
#include "platform/qt/ModalDialog.h"

namespace {

TEST(FontSettingDlgTest, PresetSizesAndFaces) {
  QStringList arrFamilies = QFontDatabase::families(QFontDatabase::Latin);
  ASSERT_FALSE(arrFamilies.isEmpty());
  std::sort(arrFamilies.begin(), arrFamilies.end(),
            [](const QString& strA, const QString& strB) { return strA.toStdString() < strB.toStdString(); });
  const std::string strFamily = arrFamilies.front().toStdString();
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
    SetModalDialogHook([&test](QDialog& dialog) {
      test.nResult == QDialog::Accepted ? dialog.accept() : dialog.reject();
      return dialog.result();
    });
    CFontSettingDlg dialog(test.strFont, test.strSize);
    EXPECT_EQ(dialog.DoModal(), test.nResult);
    EXPECT_EQ(dialog.GetFontName(), test.strFontOut);
    EXPECT_EQ(dialog.GetFontSize(), test.strSizeOut);
  }
  SetModalDialogHook({});
}

TEST(HotFontComboTest, FamiliesInByteOrderAndExactSelection) {
  CHotFontCombo combo;
  combo.SetCurrentFontName("no such family");
  combo.FillFonts();
  const std::vector<std::string> arrEntries = combo.GetEntries();
  ASSERT_FALSE(arrEntries.empty());
  EXPECT_TRUE(std::is_sorted(arrEntries.begin(), arrEntries.end()));
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
