// Column profiles: reading saved lines, bad ones included, saving, loading and call-amount keys.
#include <gtest/gtest.h>

#include "lists/ColumnProfile.h"
#include "tests/lists/MemorySettingsFile.h"

namespace {

using Columns = std::vector<int32_t>;

constexpr const char* kSection = "Orvane_watch1";

const sColumnDef kColumns[] = {{"C0", kAlignLeft, kSortText},
                               {"C1", kAlignRight, kSortDecimal},
                               {"C2", kAlignRight, kSortDecimal},
                               {"Perc Change ", kAlignRight, kSortDecimal},
                               {"C4", kAlignRight, kSortLong}};

// Five standard columns with record widths 80, 81, 82, 83, 84.
CListLayout MakeLayout() {
  CListLayout layout;
  layout.LoadColumnTable(kSection, kColumns);
  for (size_t i = 0; i < layout.m_arrColumns.size(); ++i)
    layout.m_arrColumns[i].nWidth = 80 + static_cast<int32_t>(i);
  layout.RecordCatalogueCount();
  return layout;
}

Columns GetHeaderOrder(const CListLayout& layout) {
  Columns arrOrder;
  for (int32_t nPosition = 0; nPosition < layout.GetHeaderCount(); ++nPosition)
    arrOrder.push_back(layout.GetColumnAt(nPosition));
  return arrOrder;
}

sHalvoColInfo MakeCustomColumn(const char* szName, int32_t nKind, const char* szFormula, const char* szText) {
  sHalvoColInfo column;
  SetColumnName(column, szName);
  column.nWidth = 100;
  column.nFormat = kAlignRight;
  column.nDataType = kSortDecimal;
  column.nKind = nKind;
  column.strFormula = szFormula;
  column.strFormulaText = szText;
  return column;
}

}  // namespace

TEST(ColumnProfile, ReadsSavedLines) {
  // The case, the saved value, the column at each header position and the widths of those columns.
  const std::tuple<const char*, std::string, Columns, Columns> arrRows[] = {
      {"three columns, the third hidden", "0,0,80,1,1,120,2,-1,0", {0, 1}, {80, 120}},
      {"a field that is not a number", "0,0,90,x,1,91,2,2,92", {0, 2}, {90, 92}},
      {"blanks around fields", " 0 , 0 ,90,\t1,1, 91 ", {0, 1}, {90, 91}},
      {"a number with text after it", "0,0,90,1,1,91px", {0}, {90}},
      {"out of the 32-bit range", "0,0,90,1,99999999999,91", {0}, {90}},
      {"repeated index: the last counts", "0,0,90,1,1,91,0,3,95", {1, 0}, {91, 95}},
      {"positions past the header", "0,7,90,1,3,91", {1, 0}, {91, 90}},
      {"same position: read order", "2,0,92,1,0,91", {2, 1}, {92, 91}},
      {"index outside the list", "9,0,90,-1,1,90,1,0,91", {1}, {91}},
      {"widths not positive: the record's", "0,0,0,1,1,-7", {0, 1}, {80, 81}},
      {"empty: every column", "", {0, 1, 2, 3, 4}, {80, 81, 82, 83, 84}},
  };
  for (const auto& [szName, strValue, arrHeader, arrExpectedWidths] : arrRows) {
    SCOPED_TRACE(szName);
    CListLayout layout = MakeLayout();
    ApplyProfileEntries(layout, ReadProfileEntries(strValue));
    EXPECT_EQ(GetHeaderOrder(layout), arrHeader);
    Columns arrWidths;
    for (const int32_t nColumn : GetHeaderOrder(layout)) arrWidths.push_back(layout.GetColumnWidth(nColumn));
    EXPECT_EQ(arrWidths, arrExpectedWidths);
    EXPECT_EQ(layout.m_nFirstColumn, arrHeader.front());
  }
}

TEST(ColumnProfile, BuildsTheSavedValues) {
  CListLayout layout = MakeLayout();
  layout.m_arrColumns.resize(3);
  layout.RecordCatalogueCount();
  layout.SetPositions(std::vector<int32_t>{0, 1, -1});
  layout.AppendShownColumn(MakeCustomColumn("Net", kColumnCustom, " \"1\" - \"0\"", "\"C1\" - \"C0\""));
  layout.AppendShownColumn(MakeCustomColumn("Fixed", kColumnProtectedCustom, " \"1\"", "\"C1\""));
  const sHeaderItem arrHeader[] = {{"C0", 80}, {"C1", 120}, {"Net", 100}, {"Fixed", 90}};
  const sProfileValues values = BuildProfileValues(layout, arrHeader);
  EXPECT_EQ(std::tie(values.strColumnProfile, values.strUserColumnProfile, values.strProtectedColumnProfile),
            std::tuple("0,0,80,1,1,120,2,-1,0", ",3,2,100,Net# \"1\" - \"0\"#\"C1\" - \"C0\"",
                       ",4,3,90,Fixed# \"1\"#\"C1\""));
}

TEST(ColumnProfile, CallAmountKeysAreReadWithAProfileOnly) {
  CMemorySettingsFile file;
  file.m_mapSections["Orvane_watch2"] = {{kColumnProfileKey, "1,0,90"}};  // another list's
  file.m_mapSections[kSection] = {{"MCA", "C1"},
                                  {"MCU", "c2"},
                                  {"MCS", "Perc Change "},
                                  {"OCA", "Perc Change"},
                                  {"OCU", "C4 "},
                                  {"OCS", "C0"},
                                  {"USERCOLUMNPROFILE", ",5,0,100,Net# \"1\"#\"C1\""}};
  CListLayout layout = MakeLayout();
  layout.m_arrCallAmountColumns[0] = 3;
  int nCustomReads = 0;
  const auto readCustom = [&nCustomReads](CListLayout&, const ProfileReadFn&) {
    ++nCustomReads;
    return std::vector<sProfileEntry>();
  };
  ReadStoredProfile(file, kSection, layout, readCustom);
  EXPECT_EQ(nCustomReads, 0);
  EXPECT_EQ(GetHeaderOrder(layout), (Columns{0, 1, 2, 3, 4}));
  EXPECT_EQ(layout.GetColumnWidth(4), 84);
  EXPECT_EQ(layout.m_arrCallAmountColumns, (std::array<int32_t, 6>{-1, -1, -1, -1, -1, -1}));
  file.m_mapSections[kSection][kColumnProfileKey] = "0,0,80,1,1,80,2,2,80,3,3,80,4,4,80";
  layout = MakeLayout();
  ReadStoredProfile(file, kSection, layout, readCustom);
  EXPECT_EQ(nCustomReads, 1);
  EXPECT_EQ(layout.m_arrCallAmountColumns, (std::array<int32_t, 6>{1, -1, 3, -1, -1, 0}));
}

TEST(ColumnProfile, AFailedWriteLeavesTheOthersAndSaysWhatFailed) {
  CListLayout layout = MakeLayout();
  layout.ShowAllColumns();
  CMemorySettingsFile file;
  file.m_mapFailures = {{kColumnProfileKey, "File Open Failed"}, {kProtectedColumnProfileKey, nullptr}};
  std::vector<std::string> arrTold;  // each failure text as told, after the keys written by then
  sProfileSave save = WriteStoredProfile(file, kSection, layout, {}, [&](const std::string& strText) {
    arrTold.push_back(std::to_string(file.m_mapSections[kSection].size()) + " " + strText);
  });
  EXPECT_EQ(arrTold, (std::vector<std::string>{"0 File Open Failed", "0 Error while saving column profile",
                                               "1 Error while saving column profile"}));
  EXPECT_EQ(std::pair(save.bAllWritten, save.arrFailureTexts.size()), std::pair(false, arrTold.size()));
  file.m_mapFailures.clear();
  save = WriteStoredProfile(file, kSection, layout, {});
  EXPECT_TRUE(save.bAllWritten && save.arrFailureTexts.empty());
  // A column without a header item is written with width 0.
  EXPECT_EQ(file.m_mapSections[kSection][kColumnProfileKey], "0,0,0,1,1,0,2,2,0,3,3,0,4,4,0");
}

TEST(ListLayout, PositionMapStaysWithoutGaps) {
  CListLayout layout = MakeLayout();
  layout.SetPositions(std::vector<int32_t>{4, -1, 9, 4});  // column 4 has no entry: hidden
  EXPECT_EQ(GetHeaderOrder(layout), (Columns{0, 3, 2}));
  EXPECT_EQ(layout.GetPositions(), (std::vector<int32_t>{0, -1, 2, 1, -1}));
  const int32_t nAdded = layout.AppendShownColumn(MakeCustomColumn("Net", kColumnCustom, "", ""));
  EXPECT_EQ(std::tuple(nAdded, layout.GetPosition(nAdded), layout.GetColumnWidth(nAdded)),
            std::tuple(5, 3, 100));
  layout.RemoveColumn(3);  // shown at 1: the later positions move down
  EXPECT_EQ(std::pair(layout.m_arrColumns.size(), std::string(layout.m_arrColumns[4].szName)),
            std::pair(size_t{5}, std::string("Net")));
  EXPECT_EQ(GetHeaderOrder(layout), (Columns{0, 2, 4}));
  layout.RemoveColumn(1);  // hidden
  EXPECT_EQ(GetHeaderOrder(layout), (Columns{0, 1, 3}));
  EXPECT_EQ(layout.GetColumnAt(3), -1);
}
