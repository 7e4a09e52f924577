// The font choice: heights, entries and captions, the dialog and its face list.
#include "controls/FontSettingDlg.h"

#include <gtest/gtest.h>

#include <QFontDatabase>

#include "controls/FontChoice.h"
#include "controls/HotFontCombo.h"
#include "platform/qt/ModalDialog.h"

namespace {

TEST(FontChoiceTest, HeightsEntriesAndCaptions) {
  // 10.67 rounds up, 13.33 down; another resolution; a unit after the number; no number.
  const std::tuple<const char*, int32_t, int32_t> arrHeights[] = {
      {"8", 96, -11}, {"10", 96, -13}, {"72", 120, -120}, {"12pt", 96, -16}, {"abc", 96, 0}};
  for (const auto& [szSize, nDpi, nHeight] : arrHeights)
    EXPECT_EQ(GetFontHeight(szSize, nDpi), nHeight) << szSize;
  const std::vector<std::string> arrSizes = GetFontSizeTexts();
  ASSERT_EQ(arrSizes.size(), 16U);
  for (const auto& [szPreset, nIndex] : {std::pair{"8", 0}, {"1", 2}, {"15", -1}, {"7", 15}})
    EXPECT_EQ(FindEntryWithPrefix(arrSizes, szPreset), nIndex) << szPreset;
  const std::vector<std::string> arrFaces = {"Arial", "Arial Black", "DejaVu Sans", "DejaVu Sans Mono"};
  EXPECT_EQ(FindEntryWithPrefix(arrFaces, "arial b"), 1);
  EXPECT_EQ(FindEntryWithPrefix(arrFaces, "MS Shell Dlg 2"), -1);
  EXPECT_EQ(FindEntryIgnoringCase(arrFaces, "dejavu sans mono"), 3);
  EXPECT_EQ(FindEntryIgnoringCase(arrFaces, "DejaVu"), -1);
  // The caption names the style, none for -1 and "Regular" for an unknown one.
  EXPECT_EQ(FormatFontCaption("Arial", "10", -1) + "|" + FormatFontCaption("Arial", "10", 3) + "|" +
                FormatFontCaption("Arial", "10", 7),
            "Arial (10)|Arial (Bold Italic , 10)|Arial (Regular , 10)");
}

TEST(FontSettingDlgTest, PresetSizesAndFaces) {
  QStringList arrFamilies = QFontDatabase::families(QFontDatabase::Latin);
  ASSERT_FALSE(arrFamilies.isEmpty());
  std::sort(arrFamilies.begin(), arrFamilies.end(),
            [](const QString& strA, const QString& strB) { return strA.toStdString() < strB.toStdString(); });
  const std::string strFamily = arrFamilies.front().toStdString();
  const bool bArial = !QFontDatabase::families().filter(QStringLiteral("Arial")).isEmpty();
  // An unknown face leaves the default choice: Arial when installed, else no selection, so the
  // preset comes back. Each row: name, face, size in; accepted; face, size out.
  const std::tuple<const char*, std::string, std::string, bool, std::string, std::string> arrCases[] = {
      {"size not offered leaves 8", strFamily, "15", true, strFamily, "8"},
      {"face by prefix, any case", strFamily.substr(0, 3), "9", true, strFamily, "9"},
      {"unknown face", "MS Shell Dlg 2", "8", true, bArial ? "Arial" : "MS Shell Dlg 2", "8"},
      {"cancel keeps the presets", strFamily, "15", false, strFamily, "15"},
  };
  for (const auto& [szName, strFont, strSize, bAccept, strFontOut, strSizeOut] : arrCases) {
    SetModalDialogHook([bAccept](QDialog& dialog) {
      bAccept ? dialog.accept() : dialog.reject();
      return dialog.result();
    });
    CFontSettingDlg dialog(strFont, strSize);
    EXPECT_EQ(dialog.DoModal(), bAccept ? QDialog::Accepted : QDialog::Rejected) << szName;
    EXPECT_EQ(dialog.GetFontName() + "|" + dialog.GetFontSize(), strFontOut + "|" + strSizeOut) << szName;
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

}  // namespace
