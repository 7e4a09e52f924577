// One workbook with one worksheet, written cell by cell: a bold header row, numbers as numeric
// cells with a format that shows as many decimals as their text, the header frozen and an
// autofilter over the header and the data, column widths from the longest text.
// The file is written by Close; a writer destroyed before Close writes nothing.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

class CExcelSheetWriter {
 public:
  CExcelSheetWriter(const std::string& strPath, const std::string& strSheetName);
  ~CExcelSheetWriter();
  CExcelSheetWriter(const CExcelSheetWriter&) = delete;
  CExcelSheetWriter& operator=(const CExcelSheetWriter&) = delete;

  // False when the workbook or the sheet could not be created.
  bool IsOpen() const { return m_pSheet != nullptr; }

  // Writes a header cell of row 0 in bold.
  bool WriteHeader(int nColumn, std::string_view strText);
  // Writes a data cell (nRow > 0); in a numeric column a number text becomes a number.
  bool WriteCell(int nRow, int nColumn, std::string_view strText, bool bNumericColumn);
  // Sets the column widths, freezes the header row and puts the autofilter over the
  // nRowCount x nColumnCount cells, then writes the file. False when libxlsxwriter fails.
  bool Close(int nRowCount, int nColumnCount);

 private:
  // The format of numbers with nDecimals decimals, made once per workbook.
  lxw_format* FindNumberFormat(int nDecimals);
  void NoteWidth(int nColumn, size_t nChars);

  lxw_workbook* m_pWorkbook = nullptr;
  lxw_worksheet* m_pSheet = nullptr;
  lxw_format* m_pHeaderFormat = nullptr;
  std::map<int, lxw_format*> m_mapNumberFormats;
  // The widest text of each column so far, in characters, with its padding.
  std::vector<double> m_arrWidths;
};
