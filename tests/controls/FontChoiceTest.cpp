#include "controls/FontChoice.h"

#include <gtest/gtest.h>

namespace {

TEST(FontChoiceTest, HeightOfASize) {
  const struct {
    const char* szSize;
    int32_t nDpi;
    int32_t nHeight;
  } arrCases[] = {
      {"8", 96, -11},   // 10.67 rounds up
      {"10", 96, -13},  // 13.33 rounds down
      {"9", 96, -12},   // 12 exactly
      {"72", 120, -120}, {"12pt", 96, -16}, {"abc", 96, 0},
  };
  for (const auto& test : arrCases) {
    EXPECT_EQ(GetFontHeight(test.szSize, test.nDpi), test.nHeight) << test.szSize << " at " << test.nDpi;
  }
}

TEST(FontChoiceTest, PresetSizesByPrefix) {
  const std::vector<std::string> arrSizes = GetFontSizeTexts();
  ASSERT_EQ(arrSizes.size(), 16U);
  const struct {
    const char* szPreset;
    int32_t nIndex;
  } arrCases[] = {
      {"8", 0}, {"1", 2}, {"15", -1}, {"7", 15}, {"36", 13},
  };
  for (const auto& test : arrCases) {
    EXPECT_EQ(FindEntryWithPrefix(arrSizes, test.szPreset), test.nIndex) << test.szPreset;
  }
}

TEST(FontChoiceTest, FacesByPrefixAndExactName) {
  const std::vector<std::string> arrFaces = {"Arial", "Arial Black", "DejaVu Sans", "DejaVu Sans Mono"};
  EXPECT_EQ(FindEntryWithPrefix(arrFaces, "arial b"), 1);
  EXPECT_EQ(FindEntryWithPrefix(arrFaces, "MS Shell Dlg 2"), -1);
  EXPECT_EQ(FindEntryIgnoringCase(arrFaces, "dejavu sans mono"), 3);
  EXPECT_EQ(FindEntryIgnoringCase(arrFaces, "DejaVu"), -1);
}

TEST(FontChoiceTest, CaptionNamesTheFont) {
  const struct {
    int32_t nStyle;
    const char* szCaption;
  } arrCases[] = {
      {-1, "Arial (10)"},          {1, "Arial (Bold , 10)"},
      {2, "Arial (Italic , 10)"},  {3, "Arial (Bold Italic , 10)"},
      {0, "Arial (Regular , 10)"}, {7, "Arial (Regular , 10)"},
  };
  for (const auto& test : arrCases) EXPECT_EQ(FormatFontCaption("Arial", "10", test.nStyle), test.szCaption);
  EXPECT_EQ(FormatFontCaption("MS Shell Dlg 2", "8", -1), "MS Shell Dlg 2 (8)");
}

}  // namespace
