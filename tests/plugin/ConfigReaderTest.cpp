#include <gtest/gtest.h>

#include "tests/support/SettingsFixture.h"
#include "plugin/ConfigReader.h"

namespace {

constexpr const char* kFile = "OrvaneSetting.ini";

std::vector<std::string> Names(const ConfigNameList& arrNames, int nCount) {
  return {arrNames.begin(), arrNames.begin() + nCount};
}

TEST(SplitCommaListTest, CutsAtCommasAndKeepsBlanks) {
  struct sCase {
    const char* szValue;
    std::vector<std::string> arrExpected;
  };
  const sCase arrCases[] = {
      {",A,,B,", {"A", "B"}},
      {"A, B", {"A", " B"}},
      {"", {}},
      {",,,", {}},
      {" Cash ,Limit", {" Cash ", "Limit"}},
  };
  for (const sCase& c : arrCases) {
    ConfigNameList arrNames;
    const int nCount = SplitCommaList(c.szValue, arrNames);
    EXPECT_EQ(Names(arrNames, nCount), c.arrExpected) << c.szValue;
  }
  // The lists hold fifty names; the rest are dropped.
  std::string strValue;
  std::vector<std::string> arrFifty;
  for (int i = 1; i <= 60; ++i) {
    strValue += "C" + std::to_string(i) + ",";
    if (i <= 50) arrFifty.push_back("C" + std::to_string(i));
  }
  ConfigNameList arrNames;
  const int nCount = SplitCommaList(strValue, arrNames);
  EXPECT_EQ(Names(arrNames, nCount), arrFifty);
}

TEST(ParseLeadingIntTest, TakesLeadingDigits) {
  const std::pair<const char*, int32_t> arrCases[] = {
      {" 7x", 7},
      {"abc", 0},
      {"-3", -3},
      {"+4", 4},
      {"99999999999", 2147483647},
      {"-99999999999", -2147483647 - 1},
      {"", 0},
      {"- 3", 0},
  };
  for (const auto& [szText, nExpected] : arrCases) EXPECT_EQ(ParseLeadingInt(szText), nExpected) << szText;
}

class ConfigReaderTest : public CSettingsFixture {
 protected:
  // A fresh context after reading a settings file of the given content.
  const PluginContext& ReadWith(const std::string& strContent) {
    g_pluginContext = PluginContext{};
    g_pluginContext.settingsDir = m_dir.string();
    WriteFile(kFile, strContent);
    ReadConfiguration(g_pluginContext);
    return g_pluginContext;
  }
};

TEST_F(ConfigReaderTest, ReadsEveryKey) {
  const PluginContext& c = ReadWith(
      "[CONFIG]\n"
      "CALC=\"Cash\"+\"Limit\"\n"
      "CREDIT=,A,,B,\n"
      "DEBIT=C\n"
      "DIALOG COUNT=2\n"
      "MAIL_CC=risk@example.com\n"
      "COLORING CUSTOM COLUMN=Net,Gross\n");
  EXPECT_TRUE(c.calcEnabled);
  // Matching outer quotes are dropped as the profile functions drop them; the formula cuts the same.
  EXPECT_EQ(c.calcFormula, "Cash\"+\"Limit");
  EXPECT_EQ(Names(c.creditColumns, c.creditCount), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(Names(c.debitColumns, c.debitCount), std::vector<std::string>{"C"});
  EXPECT_EQ(c.watchCount, 2);
  EXPECT_EQ(c.mailCc, "risk@example.com");
  EXPECT_EQ(Names(c.colouredCustomColumns, c.colouredCustomCount),
            (std::vector<std::string>{"Net", "Gross"}));
}

TEST_F(ConfigReaderTest, CalcDecidesWhetherCreditAndDebitAreRead) {
  const std::pair<const char*, bool> arrCases[] = {
      {"CALC=0\n", true}, {"CALC=\n", false}, {"", false}, {"calc=x\n", true}};
  for (const auto& [szCalcLine, bEnabled] : arrCases) {
    const PluginContext& c = ReadWith(std::string("[config]\n") + szCalcLine + "CREDIT=A\nDEBIT=B\n");
    EXPECT_EQ(c.calcEnabled, bEnabled) << szCalcLine;
    EXPECT_EQ(c.creditCount, bEnabled ? 1 : 0) << szCalcLine;
    EXPECT_EQ(c.debitCount, bEnabled ? 1 : 0) << szCalcLine;
  }
}

TEST_F(ConfigReaderTest, WindowCount) {
  const std::pair<const char*, int32_t> arrCases[] = {{"DIALOG COUNT=0\n", 0},
                                                      {"DIALOG COUNT=9\n", 9},
                                                      {"DIALOG COUNT=\n", 4},
                                                      {"", 4},
                                                      {"DIALOG COUNT=x\n", 0}};
  for (const auto& [szLine, nExpected] : arrCases)
    EXPECT_EQ(ReadWith(std::string("[CONFIG]\n") + szLine).watchCount, nExpected) << szLine;
}

TEST_F(ConfigReaderTest, BadFilesKeepDefaultsAndAreLeftAlone) {
  std::string strGarbage =
      "\x7f"
      "ELF\x01\x02";
  strGarbage += std::string("\0\0[CONFIG\n=\n==\nCALC\n\xff\xfe", 20);
  const std::pair<const char*, std::string> arrFiles[] = {
      {"empty", ""},
      {"garbage", strGarbage},
      {"lines without equals", "[CONFIG]\nCALC\nDIALOG COUNT\nMAIL_CC\n"},
  };
  for (const auto& [szName, strContent] : arrFiles) {
    const PluginContext& c = ReadWith(strContent);
    EXPECT_FALSE(c.calcEnabled) << szName;
    EXPECT_EQ(c.watchCount, 4) << szName;
    EXPECT_EQ(c.mailCc, "") << szName;
    EXPECT_EQ(ReadFile(kFile), strContent) << szName;
  }
  std::filesystem::remove(m_dir / kFile);
  ReadConfiguration(g_pluginContext);
  EXPECT_EQ(g_pluginContext.watchCount, 4);
  EXPECT_FALSE(std::filesystem::exists(m_dir / kFile));
  EXPECT_TRUE(m_arrBoxes.empty());
}

}  // namespace
