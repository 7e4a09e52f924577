// The stored appearance line of a list (colours, font, keywords) and the keyword colouring a row.
#include "lists/AppearanceLine.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

sAppearanceInfo MakeAppearance(uint32_t clrBackground, uint32_t clrText, const std::string& strSize,
                               int32_t nColumn, const std::vector<std::string>& arrKeywords,
                               const std::vector<uint32_t>& arrColours) {
  sAppearanceInfo appearance;
  appearance.clrBackground = clrBackground;
  appearance.clrText = clrText;
  appearance.strFontName = "Arial";
  appearance.strFontSize = strSize;
  appearance.nKeywordColumn = nColumn;
  if (!arrKeywords.empty()) {
    appearance.pKeywords = std::make_shared<std::vector<std::string>>(arrKeywords);
    appearance.pKeywordColours = std::make_shared<std::vector<uint32_t>>(arrColours);
  }
  return appearance;
}

// Every field of the stored line in one text, so that a row states the whole outcome.
std::string Describe(const sAppearanceInfo& appearance) {
  std::ostringstream stream;
  stream << std::hex << std::uppercase << appearance.clrBackground << ',' << appearance.clrText << ','
         << appearance.strFontName << ',' << appearance.strFontSize << std::dec << " column "
         << appearance.nKeywordColumn << " keywords";
  if (appearance.pKeywords != nullptr)
    for (const std::string& strKeyword : *appearance.pKeywords) stream << ' ' << strKeyword;
  stream << " colours" << std::hex;
  if (appearance.pKeywordColours != nullptr)
    for (const uint32_t clrColour : *appearance.pKeywordColours) stream << ' ' << clrColour;
  return stream.str();
}

TEST(AppearanceLineTest, ValuesAreWrittenAndReadBackOddLinesAsFarAsTheyGo) {
  EXPECT_EQ(FormatAppearanceKey("Orvane_watchMsgAlerts", 9007), "Orvane_watchMsgAlerts-9007");
  const std::pair<sAppearanceInfo, const char*> arrCases[] = {
      {MakeAppearance(0xFFFFFF, 0, "10", -1, {}, {}), "FFFFFF,0,Arial,10"},
      {MakeAppearance(0xFFFFFF, 0, "10", 3, {"sell", "buy"}, {0xFF, 0xFF}),
       "FFFFFF,0,Arial,10,3,sell,FF,buy,FF,"},
      {MakeAppearance(0xABCDEF, 0x10, "12", 0, {"margin"}, {0x123456}),
       "ABCDEF,10,Arial,12,0,margin,123456,"},
  };
  for (const auto& [appearanceIn, szValue] : arrCases) {
    EXPECT_EQ(FormatAppearanceValue(appearanceIn, FormatKeywordPart(appearanceIn)), szValue);
    sAppearanceInfo appearance;
    ASSERT_TRUE(ParseAppearanceValue(szValue, appearance));
    EXPECT_EQ(Describe(appearance), Describe(appearanceIn));
  }
  // Odd lines: what is read, and the whole outcome.
  const std::string strDefault = Describe(sAppearanceInfo{});
  const std::tuple<const char*, bool, std::string> arrOddCases[] = {
      {"String not found", false, strDefault},
      {"FFFFFF,0,Arial", false, strDefault},
      {"FF,0,Arial,10,3,sell,FF,buy", true, "FF,0,Arial,10 column 3 keywords colours"},  // no colour
      {"FF,0,Arial,10,3,sell,FF,buy,", true, "FF,0,Arial,10 column 3 keywords colours"},
      {"FF,0,Arial,10,1,SELL,FF,Buy,FF00,", true, "FF,0,Arial,10 column 1 keywords sell buy colours FF FF00"},
      {"FF,0,Arial,10,-1,sell,FF,", true, "FF,0,Arial,10 column -1 keywords colours"},
      {"FF,0,Arial,10,2,sell,FF,,buy,FF,", true,
       "FF,0,Arial,10 column 2 keywords sell colours FF"},  // ends the list
  };
  for (const auto& [szValue, bRead, strRead] : arrOddCases) {
    sAppearanceInfo appearance;
    EXPECT_EQ(ParseAppearanceValue(szValue, appearance), bRead) << szValue;
    EXPECT_EQ(Describe(appearance), strRead) << szValue;
  }
}

TEST(AppearanceLineTest, FirstKeywordInTheCellColoursTheRow) {
  sAppearanceInfo appearance = MakeAppearance(0, 0, "8", 2, {"sell", "buy", "ell"}, {1, 2, 3});
  const std::pair<const char*, uint32_t> arrCases[] = {{"SELL 100", 1}, {"Buy", 2},    {"bell", 3},
                                                       {"hold", 99},    {"sel l", 99}, {"buyer sells", 1}};
  for (const auto& [szText, clrExpected] : arrCases) {
    uint32_t clrColour = 99;
    EXPECT_EQ(MatchKeywordColour(appearance, szText, clrColour), clrExpected != 99) << szText;
    EXPECT_EQ(clrColour, clrExpected) << szText;
  }
  uint32_t clrColour = 99;
  EXPECT_FALSE(MatchKeywordColour(g_defaultAppearance, "sell", clrColour));
  appearance.nKeywordColumn = -1;
  EXPECT_FALSE(MatchKeywordColour(appearance, "sell", clrColour)) << "no keyword column, no colour";
}

}  // namespace
