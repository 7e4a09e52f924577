#include <gtest/gtest.h>

#include "link/AlertAmount.h"
#include "model/ColumnCatalogue.h"
#include "model/RmsValueParser.h"
#include "plugin/PluginContext.h"
#include "tests/support/TestMessage.h"

namespace {

// A watch list's columns and one account whose cells read: Cash Margin Avail 1000.00,
// MToM Loss -500.00, Margin Used 200.00, Adhoc Margin 50.00, Exposure Limit 0.00.
class AlertAmountTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_pluginContext = PluginContext{};
    m_layout.LoadColumnTable("Orvane_watch1", GetCatalogueColumns());
    m_layout.RecordCatalogueCount();
    m_record.nLevel = 5;
    ParseRmsValues(CTestMessage({{64031, "1000"}, {64155, "-500"}, {64157, "200"}, {64158, "50"}, {64033, "0"}}).Get(),
                   m_record);
    SetDebit({"Cash Margin Avail", "Margin Used", "Adhoc Margin", "Net"});
  }
  void TearDown() override { g_pluginContext = PluginContext{}; }

  static void SetList(const std::vector<std::string>& arrNames, ConfigNameList& arrList, int32_t& nCount) {
    nCount = static_cast<int32_t>(arrNames.size());
    std::copy(arrNames.begin(), arrNames.end(), arrList.begin());
  }
  static void SetDebit(const std::vector<std::string>& arrNames) {
    SetList(arrNames, g_pluginContext.debitColumns, g_pluginContext.debitCount);
  }
  static void SetCredit(const std::vector<std::string>& arrNames) {
    SetList(arrNames, g_pluginContext.creditColumns, g_pluginContext.creditCount);
  }
  double Column(const char* szName) const { return ColumnAmount(m_layout, m_record, szName); }
  void AddCustomColumn(const char* szName, const char* szStored) {
    sHalvoColInfo column{};
    SetColumnName(column, szName);
    column.nDataType = 2;
    column.nKind = 1;
    column.strFormula = szStored;
    m_layout.m_arrColumns.push_back(column);
  }
  double Amount(const char* szFormula) const { return ComputeAlertAmount(m_layout, m_record, szFormula); }

  CListLayout m_layout;
  CRmsDetails m_record;
};

TEST_F(AlertAmountTest, FormulaPiecesOperatorsAndGroups) {
  const std::pair<const char*, double> arrCases[] = {{"", 0}, {"\"Cash Margin Avail\"", 1000},
      {"\"Cash Margin Avail\"\"+\"\"Margin Used\"", 1200}, {"\"Cash Margin Avail\" \" - \" \"Margin Used\"", 800},
      {"\"Margin Used\"\"*\"\"(\"\"Cash Margin Avail\"\"+\"\"Adhoc Margin\"\")\"", 200 * 1050},
      {"\"(\"\"Cash Margin Avail\"\"-\"\"Adhoc Margin\"\")\"\"/\"\"2\"", 475},
      {"\"Cash Margin Avail\"\"/\"\"Exposure Limit\"", 1000}, {"\"Cash Margin Avail\"\"+\"\"-500\"", 1000},
      {"\"Cash Margin Avail\"\"+\"\"No Such Column\"", 1000}};
  for (const auto& [szFormula, dExpected] : arrCases)
    EXPECT_DOUBLE_EQ(Amount(szFormula), dExpected) << szFormula;
}

TEST_F(AlertAmountTest, SignFilterByCreditAndDebit) {
  EXPECT_DOUBLE_EQ(Column("MToM Loss"), 0);
  SetCredit({"MToM Loss"});
  EXPECT_DOUBLE_EQ(Column("MToM Loss"), -500);
  SetDebit({});
  EXPECT_DOUBLE_EQ(Column("Cash Margin Avail"), 0);
  SetCredit({"Cash Margin Avail"});
  EXPECT_DOUBLE_EQ(Column("Cash Margin Avail"), 0);
  SetDebit({"cash margin avail"});  // names compare exactly
  EXPECT_DOUBLE_EQ(Column("Cash Margin Avail"), 0);
}

TEST_F(AlertAmountTest, CustomColumnsAreComputedFromTheRecord) {
  AddCustomColumn("Net", " \"1\" - \"10\"");
  AddCustomColumn("Ratio", " \"1\" / \"33\" * 100");  // column 33 has no value: a zero divisor
  AddCustomColumn("Third", " \"1\" / 3");
  AddCustomColumn("Orphan", " \"?\" + 1000");  // its column was deleted: no value
  SetDebit({"Net", "Ratio", "Third", "Orphan"});
  EXPECT_EQ((std::vector<double>{Column("Net"), Column("Ratio"), Column("Third"), Column("Orphan")}),
            (std::vector<double>{800, 0, 333.33, 0}));
  EXPECT_DOUBLE_EQ(Amount("\"Net\"\"+\"\"Third\""), 1133.33);
}

}  // namespace
