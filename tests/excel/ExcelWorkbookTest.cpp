// Exports written by CExcelInterface and read back by another reader (openpyxl, through
// read_workbook.py), which shows what a spreadsheet program would find in the file.
#include <gtest/gtest.h>

#include <filesystem>

#include "excel/ExcelInterface.h"
#include "platform/Clock.h"
#include "tests/support/ProcessRun.h"
#include "tests/support/ScratchFolder.h"

namespace {

// 2024-03-05 14:07:09 UTC.
constexpr int64_t g_nFixedSeconds = 1709647629;

// The time part of every export's file name.
std::string Stamp() { return FormatLocalTime(g_nFixedSeconds, "%Y%m%d_%H%M%S"); }

// A list as the export sees it: header texts with their value types, then rows of texts.
struct sTestList {
  std::vector<sExcelCell> arrHeader;
  std::vector<std::vector<std::string>> arrRows;
  int nCalls = 0;
  bool bThrow = false;
};

sExcelCell GetTestCell(void* pList, int nRow, int nColumn) {
  auto& list = *static_cast<sTestList*>(pList);
  ++list.nCalls;
  if (list.bThrow) throw std::runtime_error("the list went away");
  if (nRow == 0) return list.arrHeader.at(static_cast<size_t>(nColumn));
  return {list.arrRows.at(static_cast<size_t>(nRow - 1)).at(static_cast<size_t>(nColumn)), -1};
}

int Export(sTestList& list, const std::string& strFolder, const std::string& strListName, std::string& strPath) {
  const int nRows = static_cast<int>(list.arrRows.size()) + 1;
  CExcelInterface excel(list.arrHeader.empty() && list.arrRows.empty() ? 0 : nRows,
                        static_cast<int>(list.arrHeader.size()));
  excel.m_pList = &list;
  excel.m_pfnGetCell = GetTestCell;
  excel.m_strFolder = strFolder;
  excel.m_strListName = strListName;
  const int nResult = excel.WriteToExcel();
  strPath = excel.GetFilePath();
  return nResult;
}

// The Python interpreter that can import openpyxl (the one on the PATH may be another than the
// system's), or an empty text.
const std::string& FindReader() {
  static const std::string s_strPython = [] {
    for (const char* szPython : {"python3", "/usr/bin/python3"}) {
      const std::string strProbe = std::string(szPython) + " -c 'import openpyxl' >/dev/null 2>&1";
      if (std::system(strProbe.c_str()) == 0) return std::string(szPython);
    }
    return std::string();
  }();
  return s_strPython;
}

std::string QuoteForShell(const std::string& strText) {
  std::string strQuoted = "'";
  for (const char c : strText) strQuoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return strQuoted + "'";
}

// What read_workbook.py prints for the workbook, error output included.
std::string ReadWorkbook(const std::string& strPath) {
  return RunProcess(FindReader() + " " + QuoteForShell(ORVANE_WORKBOOK_READER) + " " + QuoteForShell(strPath) + " 2>&1")
      .strOutput;
}

bool HasLine(const std::string& strOutput, const std::string& strLine) {
  return ("\n" + strOutput).find("\n" + strLine + "\n") != std::string::npos;
}

class ExcelWorkbook : public testing::Test {
 protected:
  void SetUp() override {
    if (FindReader().empty()) {
      GTEST_SKIP() << "no python3 that can import openpyxl (Debian package python3-openpyxl) to read "
                      "the workbooks back";
    }
    SetFixedClock(g_nFixedSeconds * 1000000);
  }
  void TearDown() override { SetFixedClock(std::nullopt); }

  CScratchFolder m_scratch;
};

void ExpectLines(const std::string& strOutput, const std::vector<std::string>& arrLines) {
  for (const std::string& strLine : arrLines)
    EXPECT_TRUE(HasLine(strOutput, strLine)) << strLine.substr(0, 80) << "\n" << strOutput.substr(0, 2000);
}

// One column per case: the header names the case and gives the column's value type, row 2
// holds the text; the reader's line for that cell, or "" when the cell stays empty.
TEST_F(ExcelWorkbook, NumbersBecomeNumericCellsOnlyInNumericColumns) {
  const std::tuple<const char*, int, const char*, const char*> arrCases[] = {
      {"decimal", 2, "1500.50", "n 1500.5 0.00"}, {"integer", 1, "12", "n 12 0"},
      {"three decimals", 5, "0.123", "n 0.123 0.000"}, {"negative", 7, "-20.00", "n -20 0.00"},
      {"blanks around", 9, " 42 ", "n 42 0"}, {"exponent", 2, "1.5e3", "n 1500 General"}, {"empty", 2, "", ""},
      {"text column", 3, "1500.50", "s \"1500.50\" General"},
      {"date column", 6, "20240131", "s \"20240131\" General"}};
  sTestList list;
  list.arrRows.emplace_back();
  for (const auto& [szName, nValueType, szText, szExpected] : arrCases) {
    list.arrHeader.push_back({szName, nValueType});
    list.arrRows.back().push_back(szText);
  }
  std::string strPath;
  ASSERT_EQ(Export(list, m_scratch.GetPath(), "Cells", strPath), 1);
  const std::string strOutput = ReadWorkbook(strPath);
  char cColumn = 'A';
  for (const auto& [szName, nValueType, szText, szExpected] : arrCases) {
    const std::string strCell = std::string("cell ") + cColumn++ + "2 ";
    EXPECT_TRUE(*szExpected == '\0' ? strOutput.find(strCell) == std::string::npos
                                    : HasLine(strOutput, strCell + szExpected)) << szName << "\n" << strOutput;
  }
}

// The list name gives the sheet and file names; an export in the same second gets a numbered
// name. A backslash in the folder is a path separator, and the folder is made when missing.
TEST_F(ExcelWorkbook, HeaderIsBoldFrozenAndFilteredAndTheListNamesSheetAndFile) {
  sTestList list{{{"Name", 3}, {"Cash", 2}, {"Remarks", 3}},
                 {{"ACC1", "1500.50", "short"}, {"ACC2", "-", std::string(100, 'r')}, {"ACC3", "7.25", ""}}};
  std::string strFirst, strSecond;
  ASSERT_EQ(Export(list, m_scratch.GetPath() + "\\Exports", "P&L <today>: a/b", strFirst), 1);
  list.arrRows[0][0] = "ACC9";
  ASSERT_EQ(Export(list, m_scratch.GetPath() + "\\Exports", "P&L <today>: a/b", strSecond), 1);
  const std::string strBase = m_scratch.GetPath("Exports") + "/P&L _today__ a_b_" + Stamp();
  EXPECT_EQ(std::pair(strFirst, strSecond), std::pair(strBase + ".xlsx", strBase + "_2.xlsx"));
  // Widths: the default for short texts, wide for long ones, but capped.
  ExpectLines(ReadWorkbook(strFirst), {"sheet \"P&L <today> ab\"", "freeze A2", "filter A1:C4",
      "cell A1 s \"Name\" General bold", "cell C1 s \"Remarks\" General bold", "cell A2 s \"ACC1\" General",
      "cell B4 n 7.25 0.00", "cell B3 s \"-\" General", "width A 9.14062", "width C 60.7109"});
  ExpectLines(ReadWorkbook(strSecond), {"cell A2 s \"ACC9\" General"});
}

// Header and cell texts are made valid UTF-8 and cut to what a cell holds.
TEST_F(ExcelWorkbook, AnyTextGivesAReadableFile) {
  const std::string strFffd = "\xEF\xBF\xBD";
  sTestList list{{{"Bad \xE9", 3}, {"Num", 2}, {"Longest", 3}},
                 {{"caf\xE9", "1\xFF", std::string(40000, 'y')}}};
  std::string strPath;
  ASSERT_EQ(Export(list, m_scratch.GetPath(), "Texts", strPath), 1);
  ExpectLines(ReadWorkbook(strPath), {"cell A1 s \"Bad " + strFffd + "\" General bold",
      "cell A2 s \"caf" + strFffd + "\" General", "cell B2 s \"1" + strFffd + "\" General",
      "cell C2 s \"" + std::string(32767, 'y') + "\" General"});
}

// Failures need no reader: the result is 0, no path, and no file left behind.
TEST(ExcelExport, FailuresReturnZeroAndLeaveNoFile) {
  CScratchFolder scratch;
  scratch.WriteFile("plain", "not a folder");
  // We run as root, so permissions stop nothing: a folder under a regular file cannot be made.
  const struct {
    const char* szName;
    std::string strFolder;
    int nRows, nColumns;
    bool bCallback, bThrow;
  } arrCases[] = {
      {"folder under a regular file", scratch.GetPath("plain/Exports"), 2, 1, true, false},
      {"no folder", "", 2, 1, true, false},
      {"no callback", scratch.GetPath(), 2, 1, false, false}, {"callback throws", scratch.GetPath(), 2, 1, true, true},
      {"more rows than a sheet", scratch.GetPath(), 1048577, 1, true, false},
      {"more columns than a sheet", scratch.GetPath(), 2, 16385, true, false}};
  for (const auto& row : arrCases) {
    sTestList list{{{"Name", 3}}, {{"ACC1"}}};
    list.bThrow = row.bThrow;
    CExcelInterface excel(row.nRows, row.nColumns);
    excel.m_pList = &list;
    excel.m_pfnGetCell = row.bCallback ? GetTestCell : nullptr;
    excel.m_strFolder = row.strFolder;
    excel.m_strListName = "Fail";
    SCOPED_TRACE(row.szName);
    EXPECT_EQ(excel.WriteToExcel(), 0);
    EXPECT_EQ(excel.GetFilePath(), "");
    EXPECT_EQ(scratch.CountEntries(), 1u);
    // Too large a list is refused before the list is asked for anything.
    EXPECT_TRUE((row.nRows <= 2 && row.nColumns <= 1) || list.nCalls == 0);
  }
}

}  // namespace
