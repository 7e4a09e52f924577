#include "controls/AppearanceLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

sAppearanceInfo MakeAppearance(uint32_t clrBackground, uint32_t clrText, const std::string& strFont,
                               const std::string& strSize, int32_t nColumn,
                               const std::vector<std::string>& arrKeywords, const std::vector<uint32_t>& arrColours) {
  sAppearanceInfo appearance;
  appearance.clrBackground = clrBackground;
  appearance.clrText = clrText;
  appearance.strFontName = strFont;
  appearance.strFontSize = strSize;
  appearance.nKeywordColumn = nColumn;
  if (!arrKeywords.empty()) {
    appearance.pKeywords = std::make_shared<std::vector<std::string>>(arrKeywords);
    appearance.pKeywordColours = std::make_shared<std::vector<uint32_t>>(arrColours);
  }
  return appearance;
}

std::vector<std::string> GetKeywords(const sAppearanceInfo& appearance) {
  return appearance.pKeywords != nullptr ? *appearance.pKeywords : std::vector<std::string>{};
}

std::vector<uint32_t> GetColours(const sAppearanceInfo& appearance) {
  return appearance.pKeywordColours != nullptr ? *appearance.pKeywordColours : std::vector<uint32_t>{};
}

TEST(AppearanceLineTest, KeysNameListAndControl) {
  EXPECT_EQ(FormatAppearanceKey("Orvane_watch2", 1232), "Orvane_watch2-1232");
  EXPECT_EQ(FormatAppearanceKey("Orvane_watchMsgAlerts", 9007), "Orvane_watchMsgAlerts-9007");
  EXPECT_EQ(FormatAppearanceKey("Call History", 10015), "Call History-10015");
}

TEST(AppearanceLineTest, ValuesAreWrittenAndReadBack) {
  const struct {
    const char* szName;
    sAppearanceInfo appearance;
    const char* szValue;
  } arrCases[] = {
      {"white on black, no keywords", MakeAppearance(0xFFFFFF, 0, "Arial", "10", -1, {}, {}), "FFFFFF,0,Arial,10"},
      {"default", g_defaultAppearance, "0,FF00,MS Shell Dlg 2,8"},
      {"keywords on column 3", MakeAppearance(0xFFFFFF, 0, "Arial", "10", 3, {"sell", "buy"}, {0xFF, 0xFF}),
       "FFFFFF,0,Arial,10,3,sell,FF,buy,FF,"},
      {"column 0, upper-case hex", MakeAppearance(0xABCDEF, 0x10, "DejaVu Sans", "12", 0, {"margin"}, {0x123456}),
       "ABCDEF,10,DejaVu Sans,12,0,margin,123456,"},
  };
  for (const auto& test : arrCases) {
    SCOPED_TRACE(test.szName);
    EXPECT_EQ(FormatAppearanceValue(test.appearance, FormatKeywordPart(test.appearance)), test.szValue);
    sAppearanceInfo appearance;
    ASSERT_TRUE(ParseAppearanceValue(test.szValue, appearance));
    EXPECT_EQ(appearance.clrBackground, test.appearance.clrBackground);
    EXPECT_EQ(appearance.clrText, test.appearance.clrText);
    EXPECT_EQ(appearance.strFontName, test.appearance.strFontName);
    EXPECT_EQ(appearance.strFontSize, test.appearance.strFontSize);
    EXPECT_EQ(appearance.nKeywordColumn, test.appearance.nKeywordColumn);
    EXPECT_EQ(GetKeywords(appearance), GetKeywords(test.appearance));
    EXPECT_EQ(GetColours(appearance), GetColours(test.appearance));
  }
}

TEST(AppearanceLineTest, ReadingOddLines) {
  const struct {
    const char* szName;
    const char* szValue;
    bool bRead;
    uint32_t clrBackground;
    const char* szFont;
    int32_t nColumn;
    std::vector<std::string> arrKeywords;
    std::vector<uint32_t> arrColours;
  } arrCases[] = {
      {"missing", "String not found", false, 0, "MS Shell Dlg 2", -1, {}, {}},
      {"empty", "", false, 0, "MS Shell Dlg 2", -1, {}, {}},
      {"three fields", "FFFFFF,0,Arial", false, 0, "MS Shell Dlg 2", -1, {}, {}},
      {"keyword without colour", "FF,0,Arial,10,3,sell,FF,buy", true, 0xFF, "Arial", 3, {}, {}},
      {"keyword with empty colour", "FF,0,Arial,10,3,sell,FF,buy,", true, 0xFF, "Arial", 3, {}, {}},
      {"keywords lower-cased", "FF,0,Arial,10,1,SELL,FF,Buy,FF00,", true, 0xFF, "Arial", 1, {"sell", "buy"},
       {0xFF, 0xFF00}},
      {"column -1 ignores keywords", "FF,0,Arial,10,-1,sell,FF,", true, 0xFF, "Arial", -1, {}, {}},
      {"an empty keyword ends the list", "FF,0,Arial,10,2,sell,FF,,buy,FF,", true, 0xFF, "Arial", 2, {"sell"},
       {0xFF}},
  };
  for (const auto& test : arrCases) {
    SCOPED_TRACE(test.szName);
    sAppearanceInfo appearance;
    EXPECT_EQ(ParseAppearanceValue(test.szValue, appearance), test.bRead);
    EXPECT_EQ(appearance.clrBackground, test.clrBackground);
    EXPECT_EQ(appearance.strFontName, test.szFont);
    EXPECT_EQ(appearance.nKeywordColumn, test.nColumn);
    EXPECT_EQ(GetKeywords(appearance), test.arrKeywords);
    EXPECT_EQ(GetColours(appearance), test.arrColours);
  }
}

TEST(AppearanceLineTest, NewKeywordsGoBeforeNoLongerOnes) {
  const struct {
    const char* szName;
    std::vector<std::string> arrAdded;
    std::vector<std::string> arrTable;
  } arrCases[] = {
      {"longer first", {"buy", "sell"}, {"sell", "buy"}},
      {"equal length: newest first", {"buy", "put", "bid"}, {"bid", "put", "buy"}},
      {"shorter last", {"margin", "buy", "ok"}, {"margin", "buy", "ok"}},
      {"duplicates kept", {"buy", "buy"}, {"buy", "buy"}},
      {"middle", {"margin", "ok", "sell"}, {"margin", "sell", "ok"}},
  };
  for (const auto& test : arrCases) {
    std::vector<std::string> arrTable;
    for (const std::string& strKeyword : test.arrAdded) {
      arrTable.insert(arrTable.begin() + static_cast<std::ptrdiff_t>(FindKeywordInsertRow(arrTable, strKeyword)),
                      strKeyword);
    }
    EXPECT_EQ(arrTable, test.arrTable) << test.szName;
  }
}

TEST(AppearanceLineTest, FirstKeywordInTheCellColoursTheRow) {
  const sAppearanceInfo appearance = MakeAppearance(0, 0, "Arial", "8", 2, {"sell", "buy", "ell"}, {1, 2, 3});
  const struct {
    const char* szText;
    bool bMatch;
    uint32_t clrColour;
  } arrCases[] = {
      {"SELL 100", true, 1}, {"Buy", true, 2},      {"bell", true, 3}, {"hold", false, 99},
      {"", false, 99},       {"sel l", false, 99}, {"buyer sells", true, 1},
  };
  for (const auto& test : arrCases) {
    uint32_t clrColour = 99;
    EXPECT_EQ(MatchKeywordColour(appearance, test.szText, clrColour), test.bMatch) << test.szText;
    EXPECT_EQ(clrColour, test.clrColour) << test.szText;
  }
  sAppearanceInfo noColumn = appearance;
  noColumn.nKeywordColumn = -1;
  uint32_t clrColour = 99;
  EXPECT_FALSE(MatchKeywordColour(noColumn, "sell", clrColour)) << "no keyword column, no colour";
  EXPECT_FALSE(MatchKeywordColour(g_defaultAppearance, "sell", clrColour));
}

}  // namespace
