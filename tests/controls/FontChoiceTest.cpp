#include "controls/FontChoice.h"

#include <gtest/gtest.h>

namespace {

TEST(FontChoiceTest, HeightOfASize) {
  const std::tuple<const char*, int32_t, int32_t> arrCases[] = {
      {"8", 96, -11},   // 10.67 rounds up
      {"10", 96, -13},  // 13.33 rounds down
      {"9", 96, -12},  {"72", 120, -120}, {"12pt", 96, -16}, {"abc", 96, 0},
  };
  for (const auto& [szSize, nDpi, nHeight] : arrCases)
    EXPECT_EQ(GetFontHeight(szSize, nDpi), nHeight) << szSize;
}

TEST(FontChoiceTest, EntriesByPrefixAndExactName) {
  const std::vector<std::string> arrSizes = GetFontSizeTexts();
  ASSERT_EQ(arrSizes.size(), 16U);
  for (const auto& [szPreset, nIndex] : {std::pair{"8", 0}, {"1", 2}, {"15", -1}, {"7", 15}, {"36", 13}})
    EXPECT_EQ(FindEntryWithPrefix(arrSizes, szPreset), nIndex) << szPreset;
  const std::vector<std::string> arrFaces = {"Arial", "Arial Black", "DejaVu Sans", "DejaVu Sans Mono"};
  EXPECT_EQ(FindEntryWithPrefix(arrFaces, "arial b"), 1);
  EXPECT_EQ(FindEntryWithPrefix(arrFaces, "MS Shell Dlg 2"), -1);
  EXPECT_EQ(FindEntryIgnoringCase(arrFaces, "dejavu sans mono"), 3);
  EXPECT_EQ(FindEntryIgnoringCase(arrFaces, "DejaVu"), -1);
}

TEST(FontChoiceTest, CaptionNamesTheFont) {
  const std::pair<int32_t, const char*> arrCases[] = {
      {-1, "Arial (10)"},          {1, "Arial (Bold , 10)"},
      {2, "Arial (Italic , 10)"},  {3, "Arial (Bold Italic , 10)"},
      {0, "Arial (Regular , 10)"}, {7, "Arial (Regular , 10)"},
  };
  for (const auto& [nStyle, szCaption] : arrCases)
    EXPECT_EQ(FormatFontCaption("Arial", "10", nStyle), szCaption);
}

}  // namespace
