#include "lists/AppearanceLine.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/lists/MemorySettingsFile.h"

namespace {

sAppearanceInfo MakeAppearance(uint32_t clrBackground, uint32_t clrText, const std::string& strFont,
                               const std::string& strSize, int32_t nColumn,
                               const std::vector<std::string>& arrKeywords,
                               const std::vector<uint32_t>& arrColours) {
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

TEST(AppearanceLineTest, KeysNameListAndControl) {
  EXPECT_EQ(FormatAppearanceKey("Orvane_watch2", 1232), "Orvane_watch2-1232");
  EXPECT_EQ(FormatAppearanceKey("Orvane_watchMsgAlerts", 9007), "Orvane_watchMsgAlerts-9007");
}

TEST(AppearanceLineTest, ValuesAreWrittenAndReadBack) {
  const struct {
    const char* szName;
    sAppearanceInfo appearance;
    const char* szValue;
  } arrCases[] = {
      {"white on black, no keywords", MakeAppearance(0xFFFFFF, 0, "Arial", "10", -1, {}, {}),
       "FFFFFF,0,Arial,10"},
      {"keywords on column 3", MakeAppearance(0xFFFFFF, 0, "Arial", "10", 3, {"sell", "buy"}, {0xFF, 0xFF}),
       "FFFFFF,0,Arial,10,3,sell,FF,buy,FF,"},
      {"column 0, upper-case hex",
       MakeAppearance(0xABCDEF, 0x10, "DejaVu Sans", "12", 0, {"margin"}, {0x123456}),
       "ABCDEF,10,DejaVu Sans,12,0,margin,123456,"},
  };
  for (const auto& test : arrCases) {
    SCOPED_TRACE(test.szName);
    EXPECT_EQ(FormatAppearanceValue(test.appearance, FormatKeywordPart(test.appearance)), test.szValue);
    sAppearanceInfo appearance;
    ASSERT_TRUE(ParseAppearanceValue(test.szValue, appearance));
    EXPECT_EQ(Describe(appearance), Describe(test.appearance));
  }
}

TEST(AppearanceLineTest, ReadingOddLines) {
  const std::string strDefault = Describe(sAppearanceInfo{});
  const struct {
    const char* szName;
    const char* szValue;
    bool bRead;
    std::string strRead;
  } arrCases[] = {
      {"missing", "String not found", false, strDefault},
      {"empty", "", false, strDefault},
      {"three fields", "FFFFFF,0,Arial", false, strDefault},
      {"keyword without colour", "FF,0,Arial,10,3,sell,FF,buy", true,
       "FF,0,Arial,10 column 3 keywords colours"},
      {"keyword with empty colour", "FF,0,Arial,10,3,sell,FF,buy,", true,
       "FF,0,Arial,10 column 3 keywords colours"},
      {"keywords lower-cased", "FF,0,Arial,10,1,SELL,FF,Buy,FF00,", true,
       "FF,0,Arial,10 column 1 keywords sell buy colours FF FF00"},
      {"column -1 ignores keywords", "FF,0,Arial,10,-1,sell,FF,", true,
       "FF,0,Arial,10 column -1 keywords colours"},
      {"an empty keyword ends the list", "FF,0,Arial,10,2,sell,FF,,buy,FF,", true,
       "FF,0,Arial,10 column 2 keywords sell colours FF"},
  };
  for (const auto& test : arrCases) {
    sAppearanceInfo appearance;
    EXPECT_EQ(ParseAppearanceValue(test.szValue, appearance), test.bRead) << test.szName;
    EXPECT_EQ(Describe(appearance), test.strRead) << test.szName;
  }
}

TEST(AppearanceLineTest, AListsLineIsReadOverItsAppearance) {
  sAppearanceInfo current = MakeAppearance(0x123456, 0, "Current", "9", 2, {}, {});
  current.bKeywordsAvailable = true;
  const std::string strDefault = Describe(sAppearanceInfo{});
  const struct {
    const char* szName;
    const char* szLine;  // null: none
    bool bStored;
    std::string strRead;
  } arrCases[] = {
      {"no line: the default appearance", nullptr, false, strDefault},
      {"what the line does not hold stays", "FFFFFF,0,Arial,10", true,
       "FFFFFF,0,Arial,10 column 2 keywords colours"},
  };
  for (const auto& test : arrCases) {
    SCOPED_TRACE(test.szName);
    CMemorySettingsFile file;
    ASSERT_TRUE(test.szLine == nullptr || WriteStoredAppearance(file, "TestList-0", test.szLine));
    const sStoredAppearance stored = ReadStoredAppearance(file, "TestList-0", current);
    EXPECT_EQ(stored.bStored, test.bStored);
    EXPECT_EQ(Describe(stored.appearance), test.strRead);
    EXPECT_TRUE(stored.appearance.bKeywordsAvailable) << "the filter row offers keywords";
  }
}

TEST(AppearanceLineTest, NewKeywordsGoBeforeNoLongerOnes) {
  const std::pair<std::vector<std::string>, std::vector<std::string>> arrCases[] = {
      {{"buy", "put", "bid"}, {"bid", "put", "buy"}},  // equal length: newest first
      {{"margin", "ok", "sell"}, {"margin", "sell", "ok"}},
  };
  for (const auto& [arrAdded, arrExpected] : arrCases) {
    std::vector<std::string> arrTable;
    for (const std::string& strKeyword : arrAdded) {
      arrTable.insert(
          arrTable.begin() + static_cast<std::ptrdiff_t>(FindKeywordInsertRow(arrTable, strKeyword)),
          strKeyword);
    }
    EXPECT_EQ(arrTable, arrExpected);
  }
}

TEST(AppearanceLineTest, FirstKeywordInTheCellColoursTheRow) {
  const sAppearanceInfo appearance = MakeAppearance(0, 0, "Arial", "8", 2, {"sell", "buy", "ell"}, {1, 2, 3});
  const struct {
    const char* szText;
    bool bMatch;
    uint32_t clrColour;
  } arrCases[] = {
      {"SELL 100", true, 1}, {"Buy", true, 2},     {"bell", true, 3},
      {"hold", false, 99},   {"sel l", false, 99}, {"buyer sells", true, 1},
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
