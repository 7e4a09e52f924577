// Custom columns in the column profile: written and hand-written values read back.
#include <gtest/gtest.h>

#include "lists/CustomColumnProfile.h"
#include "model/ColumnCatalogue.h"
#include "tests/lists/MemorySettingsFile.h"

namespace {

using Texts = std::vector<std::string>;
constexpr const char* kSection = "Orvane_watch1";

// name|stored|display|index|position|width of each entry, for comparing in one line.
Texts Describe(const std::vector<sCustomProfileEntry>& arrEntries) {
  Texts arrTexts;
  for (const sCustomProfileEntry& entry : arrEntries)
    arrTexts.push_back(entry.strName + "|" + entry.strStored + "|" + entry.strDisplay + "|" +
                       std::to_string(entry.place.nIndex) + "|" + std::to_string(entry.place.nPosition) +
                       "|" + std::to_string(entry.place.nWidth));
  return arrTexts;
}

CListLayout MakeCatalogueLayout() {
  CListLayout layout;
  layout.LoadColumnTable(kSection, GetCatalogueColumns());
  return layout;
}

// name|stored|display|kind|position of every custom column.
Texts DescribeCustomColumns(const CListLayout& layout) {
  Texts arrTexts;
  for (size_t i = static_cast<size_t>(layout.m_nCatalogueCount); i < layout.m_arrColumns.size(); ++i) {
    const sHalvoColInfo& column = layout.m_arrColumns[i];
    arrTexts.push_back(std::string(column.szName) + "|" + column.strFormula + "|" + column.strFormulaText +
                       "|" + std::to_string(column.nKind) + "|" +
                       std::to_string(layout.GetPosition(static_cast<int32_t>(i))));
  }
  return arrTexts;
}

}  // namespace

TEST(CustomColumnProfile, ReadsEntriesUpToTheFirstThatLacksAField) {
  const std::tuple<const char*, std::string, Texts> arrRows[] = {
      {"as written",
       ",289,3,100,Net# \"1\" - \"10\"#\"Cash Margin Avail\" - \"Margin Used\",290,-1,0,Half# "
       "\"289\"#\"Net\"",
       {"Net| \"1\" - \"10\"|\"Cash Margin Avail\" - \"Margin Used\"|289|3|100",
        "Half| \"289\"|\"Net\"|290|-1|0"}},
      {"empty display", ",5,1,90,A#s#,6,2,80,B#t#u", {"A|s||5|1|90", "B|t|u|6|2|80"}},
      {"hash in the display", ",5,1,90,A#s#d#e", {"A|s|d#e|5|1|90"}},
      {"empty name passed over", ",5,1,90,#s#d,6,2,80,B#t#u", {"B|t|u|6|2|80"}},
      {"second entry lacks its stored expression", ",5,1,90,A#s#d,6,2,80,B#t", {"A|s|d|5|1|90"}},
      {"missing hash swallows nothing", ",5,1,90,A# \"1\",6,2,80,B#t#u", {}},
  };
  for (const auto& [szCase, strValue, arrExpected] : arrRows)
    EXPECT_EQ(Describe(ReadCustomProfileEntries(strValue)), arrExpected) << szCase;
}

TEST(CustomColumnProfile, LoadingMakesRecordsAndRebuildsExpressions) {
  CMemorySettingsFile file;
  file.m_mapSections[kSection] = {
      {kColumnProfileKey, "0,1,80,1,2,80,8,3,80,10,4,80"},
      {kProtectedColumnProfileKey, ",300,0,70,Fixed# \"2\"#\"Margin Used\""},
      // Stored indices are stale: the rebuild takes them from the names, "net" in any letter
      // case. "Gone" is no column's name: it becomes a reference no column answers to.
      {kUserColumnProfileKey,
       ",301,6,110,Net# \"7\" - \"7\"#\"Cash Margin Avail\" - \"Margin Used\",302,-1,0,Half# \"3\" / "
       "2#\"Net\" / 2,303,5,95,Stale# \"5\"#\"Gone\" + \"Net\",304,7,90,Lower# \"1\"#\"net\","
       "305,8,90," +
           std::string(70, 'L') + "# 1#1"},
  };
  CListLayout layout = MakeCatalogueLayout();
  ReadStoredProfile(file, kSection, layout, ReadCustomColumns);
  EXPECT_EQ(DescribeCustomColumns(layout),
            (Texts{
                "Fixed| \"10\"|\"Margin Used\"|4|0",
                "Net| \"1\" - \"10\"|\"Cash Margin Avail\" - \"Margin Used\"|1|6",
                "Half| \"290\" / 2|\"Net\" / 2|1|-1",
                "Stale| \"?\" + \"290\"|\"Gone\" + \"Net\"|1|5",
                "Lower| \"290\"|\"net\"|1|7",
                std::string(63, 'L') + "| 1|1|1|8",
            }));
  for (size_t i = kCatalogueColumnCount; i < layout.m_arrColumns.size(); ++i)
    EXPECT_EQ(std::tie(layout.m_arrColumns[i].nWidth, layout.m_arrColumns[i].nFormat,
                       layout.m_arrColumns[i].nDataType),
              std::tuple(80, 1, 2));
  EXPECT_EQ(std::pair(layout.GetColumnWidth(kCatalogueColumnCount), layout.m_nFirstColumn),
            std::pair(70, kCatalogueColumnCount));
}
