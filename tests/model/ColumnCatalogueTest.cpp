// The column catalogue: loading, appended columns and cut names.
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
  for (const sHalvoColInfo& column : list.m_arrColumns) setNames.insert(column.szName);
  EXPECT_EQ(setNames.size(), 289u);

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
  sHalvoColInfo column;  // names are cut to 63 bytes
  std::memset(column.szName, 'x', sizeof(column.szName));
  SetColumnName(column, std::string(64, 'b'));
  EXPECT_EQ(std::string(column.szName), std::string(63, 'b'));
}

}  // namespace
