#include "controls/FontChoice.h"

#include <gtest/gtest.h>

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
  EXPECT_EQ(FindEntryIgnoringCase(arrFaces, "dejavu sans mono"), 3);
  EXPECT_EQ(FindEntryIgnoringCase(arrFaces, "DejaVu"), -1);
  // The caption names the style, none for -1 and "Regular" for an unknown one.
  EXPECT_EQ(FormatFontCaption("Arial", "10", -1) + "|" + FormatFontCaption("Arial", "10", 3) + "|" +
                FormatFontCaption("Arial", "10", 7),
            "Arial (10)|Arial (Bold Italic , 10)|Arial (Regular , 10)");
}

}  // namespace
