// Spreadsheet export of a list. The list names the rows and columns, gives itself and a cell
// callback, a folder and its name, and calls WriteToExcel, which asks for every cell and writes
// them as one worksheet of a new .xlsx file.
//
// The callback answers (list, row, column) with the cell's text and value type. Row 0 is the
// header: the header text and the column's sort kind (1 integers, 2, 5, 7, 9 decimals, 3, 8
// text, 4 long integers, 6 dates, -1 unknown). Rows 1 and on are the data cells, value type -1.
// The header's value type decides for the whole column whether number texts become numbers.
//
// The file is "<list name>_<YYYYMMDD_HHMMSS>.xlsx" (local time), with "_2", "_3", ... added
// before ".xlsx" when that name is taken; the folder is created when missing. Nothing here
// throws or shows a message; the caller tells the user the outcome with the texts below.
#pragma once

#include <string>

// What the list shows: before an export of an empty list, after a success, after a failure.
inline constexpr const char* g_szExcelNoItems = "No Items in the List";
inline constexpr const char* g_szExcelFileGenerated = "File is generated";
inline constexpr const char* g_szExcelFileFailed = "File generation Failed";

// One cell as the list gives it.
struct sExcelCell {
  std::string strText;
  int nValueType = -1;
};

using PFN_ExcelGetCell = sExcelCell (*)(void* pList, int nRow, int nColumn);

class CExcelInterface {
 public:
  // nRowCount counts the header row (item count + 1); negative counts are taken as 0.
  CExcelInterface(int nRowCount, int nColumnCount);

  // Writes the workbook. Non-zero on success; zero when the callback is missing, the counts
  // exceed a worksheet (1048576 rows, 16384 columns), the folder cannot be created or written,
  // the library fails or the callback throws. A failed export leaves no file behind.
  int WriteToExcel();

  // The path of the file the last successful WriteToExcel wrote; empty otherwise.
  const std::string& GetFilePath() const { return m_strFilePath; }

  // Set by the list before WriteToExcel.
  void* m_pList = nullptr;
  PFN_ExcelGetCell m_pfnGetCell = nullptr;
  // The folder of the file; backslashes count as path separators. Must not be empty.
  std::string m_strFolder;
  // Names the file and the worksheet (both made safe: see excel/ExcelText.h).
  std::string m_strListName;

 private:
  bool WriteWorkbook();
  // A path in the folder that no file has yet, or an empty text.
  std::string ChooseFilePath(const std::string& strFolder) const;
  bool WriteCells(const std::string& strPath) const;

  int m_nRowCount;
  int m_nColumnCount;
  std::string m_strFilePath;
};
