#include <gtest/gtest.h>

#include "SettingsFixture.h"
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
      {"MToM Loss", {"MToM Loss"}},
      {" Cash ,Limit", {" Cash ", "Limit"}},
  };
  for (const sCase& c : arrCases) {
    ConfigNameList arrNames;
    const int nCount = SplitCommaList(c.szValue, arrNames);
    EXPECT_EQ(Names(arrNames, nCount), c.arrExpected) << c.szValue;
  }
}

TEST(SplitCommaListTest, KeepsTheFirstFiftyNames) {
  std::string strValue;
  for (int i = 1; i <= 60; ++i) strValue += "C" + std::to_string(i) + ",";
  ConfigNameList arrNames;
  EXPECT_EQ(SplitCommaList(strValue, arrNames), 50);
  EXPECT_EQ(arrNames[0], "C1");
  EXPECT_EQ(arrNames[49], "C50");
}

TEST(ParseLeadingIntTest, TakesLeadingDigits) {
  const std::pair<const char*, int32_t> arrCases[] = {
      {"2", 2},
      {"0", 0},
      {"9", 9},
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

using ConfigReaderTest = CSettingsFixture;

TEST_F(ConfigReaderTest, ReadsEveryKey) {
  WriteFile(kFile,
            "[CONFIG]\n"
            "CALC=\"Cash\"+\"Limit\"\n"
            "CREDIT=,A,,B,\n"
            "DEBIT=C\n"
            "DIALOG COUNT=2\n"
            "MAIL_CC=risk@example.com\n"
            "COLORING CUSTOM COLUMN=Net,Gross\n");
  ReadConfiguration(g_pluginContext);
  const PluginContext& c = g_pluginContext;
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
  struct sCase {
    const char* szCalcLine;
    bool bEnabled;
    int nCreditCount;
  };
  const sCase arrCases[] = {
      {"CALC=0\n", true, 1},
      {"CALC=\n", false, 0},
      {"", false, 0},
      {"calc=x\n", true, 1},
  };
  for (const sCase& c : arrCases) {
    g_pluginContext = PluginContext{};
    g_pluginContext.settingsDir = m_dir.string();
    WriteFile(kFile, std::string("[config]\n") + c.szCalcLine + "CREDIT=A\nDEBIT=B\n");
    ReadConfiguration(g_pluginContext);
    EXPECT_EQ(g_pluginContext.calcEnabled, c.bEnabled) << c.szCalcLine;
    EXPECT_EQ(g_pluginContext.creditCount, c.nCreditCount) << c.szCalcLine;
    EXPECT_EQ(g_pluginContext.debitCount, c.nCreditCount) << c.szCalcLine;
  }
}

TEST_F(ConfigReaderTest, WindowCount) {
  const std::pair<const char*, int32_t> arrCases[] = {
      {"DIALOG COUNT=2\n", 2},
      {"DIALOG COUNT=0\n", 0},
      {"DIALOG COUNT=9\n", 9},
      {"DIALOG COUNT=\n", 4},
      {"", 4},
      {"DIALOG COUNT=x\n", 0},
  };
  for (const auto& [szLine, nExpected] : arrCases) {
    g_pluginContext = PluginContext{};
    g_pluginContext.settingsDir = m_dir.string();
    WriteFile(kFile, std::string("[CONFIG]\n") + szLine);
    ReadConfiguration(g_pluginContext);
    EXPECT_EQ(g_pluginContext.watchCount, nExpected) << szLine;
  }
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
    g_pluginContext = PluginContext{};
    g_pluginContext.settingsDir = m_dir.string();
    WriteFile(kFile, strContent);
    ReadConfiguration(g_pluginContext);
    EXPECT_FALSE(g_pluginContext.calcEnabled) << szName;
    EXPECT_EQ(g_pluginContext.watchCount, 4) << szName;
    EXPECT_EQ(g_pluginContext.mailCc, "") << szName;
    EXPECT_EQ(ReadFile(kFile), strContent) << szName;
  }
  std::filesystem::remove(m_dir / kFile);
  ReadConfiguration(g_pluginContext);
  EXPECT_EQ(g_pluginContext.watchCount, 4);
  EXPECT_FALSE(std::filesystem::exists(m_dir / kFile));
  EXPECT_TRUE(m_arrBoxes.empty());
}

}  // namespace
