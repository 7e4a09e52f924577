#include "plugin/ConfigReader.h"
#include "tests/support/SettingsFixture.h"

namespace {

std::string Join(const ConfigNameList& arrNames, int nCount) {
  std::string strJoined;
  for (int n = 0; n < nCount; ++n) strJoined += (n == 0 ? "" : "|") + arrNames[static_cast<size_t>(n)];
  return strJoined;
}

TEST(SplitCommaListTest, KeepsBlanksAndAtMostFiftyNames) {
  ConfigNameList arrNames;
  EXPECT_EQ(Join(arrNames, SplitCommaList(" Cash ,Limit", arrNames)), " Cash |Limit");
  std::string strValue;
  for (int i = 1; i <= 60; ++i) strValue += "C" + std::to_string(i) + ",";
  EXPECT_EQ(SplitCommaList(strValue, arrNames), 50);
  EXPECT_EQ(arrNames[49], "C50");
}

TEST(ParseLeadingIntTest, TakesLeadingDigits) {
  const std::pair<const char*, int32_t> arrCases[] = {{" 7x", 7}, {"abc", 0}, {"-3", -3}, {"+4", 4}, {"", 0},
      {"- 3", 0}, {"99999999999", 2147483647}, {"-99999999999", -2147483647 - 1}};
  for (const auto& [szText, nExpected] : arrCases) EXPECT_EQ(ParseLeadingInt(szText), nExpected) << szText;
}

using ConfigReaderTest = CSettingsFixture;

// CALC decides whether CREDIT and DEBIT are read; matching outer quotes are dropped as the
// profile functions drop them. A bad file keeps the defaults and is left as it was.
TEST_F(ConfigReaderTest, ReadsEveryKeyAndKeepsDefaultsForWhatIsWrong) {
  const std::string strGarbage("\177ELF\x01\x02\0\0[CONFIG\n=\n==\nCALC\n", 26);
  const std::tuple<const char*, std::string, std::string> arrCases[] = {
      // calc formula credit debit count mail coloured
      {"every key",
       "[CONFIG]\nCALC=\"Cash\"+\"Limit\"\nCREDIT=,A,,B,\nDEBIT=C\nDIALOG COUNT=2\nMAIL_CC=risk@example.com\n"
       "COLORING CUSTOM COLUMN=Net,Gross\n",
       "1 Cash\"+\"Limit A|B C 2 risk@example.com Net|Gross"},
      {"CALC=0 counts", "[config]\nCALC=0\nCREDIT=A\nDEBIT=B\n", "1 0 A B 4  "},
      {"no CALC", "[config]\nCREDIT=A\nDEBIT=B\n", "0    4  "},
      {"empty count", "[CONFIG]\nDIALOG COUNT=\n", "0    4  "},
      {"count not a number", "[CONFIG]\nDIALOG COUNT=x\n", "0    0  "},
      {"garbage", strGarbage, "0    4  "},
  };
  for (const auto& [szName, strContent, strRead] : arrCases) {
    SCOPED_TRACE(szName);
    g_pluginContext = PluginContext{};
    g_pluginContext.settingsDir = m_dir.string();
    WriteFile("OrvaneSetting.ini", strContent);
    ReadConfiguration(g_pluginContext);
    const PluginContext& c = g_pluginContext;
    EXPECT_EQ(std::to_string(c.calcEnabled) + " " + c.calcFormula + " " +
                  Join(c.creditColumns, c.creditCount) + " " + Join(c.debitColumns, c.debitCount) + " " +
                  std::to_string(c.watchCount) + " " + c.mailCc + " " +
                  Join(c.colouredCustomColumns, c.colouredCustomCount),
              strRead);
    EXPECT_EQ(ReadFile("OrvaneSetting.ini"), strContent);
  }
  std::filesystem::remove(m_dir / "OrvaneSetting.ini");
  ReadConfiguration(g_pluginContext);
  EXPECT_EQ(g_pluginContext.watchCount, 4);
  EXPECT_FALSE(std::filesystem::exists(m_dir / "OrvaneSetting.ini"));
  EXPECT_TRUE(m_arrBoxes.empty());
}

}  // namespace
