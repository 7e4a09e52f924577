// The column catalogue as data: headings, alignment and sort-kind exceptions, loading.
#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "model/AuxiliaryLists.h"
#include "model/ColumnCatalogue.h"
#include "model/ListColumns.h"

namespace {

TEST(ColumnCatalogueTest, LoadingGivesEveryColumnInIndexOrderAndAppends) {
  CListColumns list;
  list.LoadColumnTable("Orvane_watch1", GetCatalogueColumns());
  EXPECT_EQ(list.m_strListName, "Orvane_watch1");
  ASSERT_EQ(list.m_arrColumns.size(), 289u);
  EXPECT_STREQ(list.m_arrColumns[288].szName, "View Exposure Margin including factors");
  std::set<std::string> setNames;
  const std::set<int> setLeft = {0, 7, 201, 202, 203, 207};
  const std::set<int> setText = {0, 7, 19, 83, 106, 132, 201, 207, 229, 230, 281, 282, 283, 284};
  const std::set<int> setLong = {17, 84, 96, 124, 125, 131, 152};
  const std::set<int> setKind5 = {2, 20, 21};
  for (int i = 0; i < 289; ++i) {
    const sHalvoColInfo& column = list.m_arrColumns[static_cast<size_t>(i)];
    SCOPED_TRACE(testing::Message() << i << " " << column.szName);
    setNames.insert(column.szName);
    EXPECT_EQ(column.nWidth, 80);
    EXPECT_EQ(column.nKind, kColumnCatalogue);
    EXPECT_TRUE(column.strFormula.empty() && column.strFormulaText.empty());
    EXPECT_EQ(column.nFormat, setLeft.count(i) ? kAlignLeft : kAlignRight);
    EXPECT_EQ(column.nDataType, setText.count(i) ? 3 : setLong.count(i) ? 4 : setKind5.count(i) ? 5 : 2);
  }
  EXPECT_EQ(setNames.size(), 289u);
  // Headings keep their blanks and spellings.
  for (const auto& [szHeading, nIndex] : std::initializer_list<std::pair<const char*, int>>{
           {"EntityId", 0}, {"Perc Change ", 130}, {"Branch Adhoc To Clients ", 131}, {"View Unrealized  MTOM", 180},
           {"Cur Mis Brokerage Perc", 150}, {"Gross Exposure Derivative multiplier Present", 170},
           {"Gross Exposure Derivative Multiplier", 137}})
    EXPECT_STREQ(list.m_arrColumns[static_cast<size_t>(nIndex)].szName, szHeading);

  sHalvoColInfo custom;
  SetColumnName(custom, "My Ratio");
  custom.nKind = kColumnCustom;
  list.m_arrColumns.push_back(custom);
  list.RecordCatalogueCount();
  EXPECT_EQ(list.m_nCatalogueCount, 290);
  CListColumns alerts;
  alerts.LoadColumnTable(kMessageAlertListName, GetMessageAlertColumns());
  alerts.LoadColumnTable(kMessageAlertListName, GetMessageAlertColumns());
  EXPECT_EQ(alerts.m_arrColumns.size(), 14u);
  // Names are cut to 63 bytes.
  for (const size_t nLength : {0u, 64u}) {
    sHalvoColInfo column;
    std::memset(column.szName, 'x', sizeof(column.szName));
    SetColumnName(column, std::string(nLength, 'b'));
    EXPECT_EQ(std::string(column.szName), std::string(std::min<size_t>(nLength, 63), 'b'));
  }
}

}  // namespace
