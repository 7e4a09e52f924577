#include "excel/ExcelSheetWriter.h"

#include <xlsxwriter.h>

#include <algorithm>

#include "excel/ExcelNumber.h"
#include "excel/ExcelText.h"

namespace {

// Column widths in characters: no narrower than the spreadsheet's default, no wider than a
// screenful; a header needs room for its bold text and the filter button.
constexpr double g_dMinColumnWidth = 8.43;
constexpr double g_dMaxColumnWidth = 60.0;
constexpr size_t g_nHeaderPadding = 4;
constexpr size_t g_nCellPadding = 1;

// The text as a cell can hold it: valid UTF-8, cut to the longest text of a cell.
std::string MakeCellText(std::string_view strText) {
  std::string strCell = MakeValidUtf8(strText);
  strCell.resize(CutUtf8Chars(strCell, EXCEL_MAX_CELL_CHARS).size());
  return strCell;
}

}  // namespace

CExcelSheetWriter::CExcelSheetWriter(const std::string& strPath, const std::string& strSheetName) {
  m_pWorkbook = workbook_new(strPath.c_str());
  if (m_pWorkbook == nullptr) return;
  m_pHeaderFormat = workbook_add_format(m_pWorkbook);
  if (m_pHeaderFormat == nullptr) return;
  format_set_bold(m_pHeaderFormat);
  m_pSheet = workbook_add_worksheet(m_pWorkbook, strSheetName.c_str());
}

CExcelSheetWriter::~CExcelSheetWriter() {
  if (m_pWorkbook != nullptr) lxw_workbook_free(m_pWorkbook);
}

bool CExcelSheetWriter::WriteHeader(int nColumn, std::string_view strText) {
  const std::string strCell = MakeCellText(strText);
  NoteWidth(nColumn, CountUtf8Chars(strCell) + g_nHeaderPadding);
  const auto nCol = static_cast<lxw_col_t>(nColumn);
  return worksheet_write_string(m_pSheet, 0, nCol, strCell.c_str(), m_pHeaderFormat) == LXW_NO_ERROR;
}

bool CExcelSheetWriter::WriteCell(int nRow, int nColumn, std::string_view strText, bool bNumericColumn) {
  const auto nLxwRow = static_cast<lxw_row_t>(nRow);
  const auto nLxwCol = static_cast<lxw_col_t>(nColumn);
  if (bNumericColumn) {
    if (const auto number = ParseExcelNumber(strText)) {
      NoteWidth(nColumn, strText.size() + g_nCellPadding);
      lxw_format* pFormat = number->nDecimals < 0 ? nullptr : FindNumberFormat(number->nDecimals);
      return worksheet_write_number(m_pSheet, nLxwRow, nLxwCol, number->dValue, pFormat) == LXW_NO_ERROR;
    }
  }
  const std::string strCell = MakeCellText(strText);
  NoteWidth(nColumn, CountUtf8Chars(strCell) + g_nCellPadding);
  return worksheet_write_string(m_pSheet, nLxwRow, nLxwCol, strCell.c_str(), nullptr) == LXW_NO_ERROR;
}

bool CExcelSheetWriter::Close(int nRowCount, int nColumnCount) {
  for (size_t nColumn = 0; nColumn < m_arrWidths.size(); ++nColumn) {
    const auto nCol = static_cast<lxw_col_t>(nColumn);
    const double dWidth = std::clamp(m_arrWidths[nColumn], g_dMinColumnWidth, g_dMaxColumnWidth);
    if (worksheet_set_column(m_pSheet, nCol, nCol, dWidth, nullptr) != LXW_NO_ERROR) return false;
  }
  if (nRowCount > 0 && nColumnCount > 0) {
    worksheet_freeze_panes(m_pSheet, 1, 0);
    const auto nLastRow = static_cast<lxw_row_t>(nRowCount - 1);
    const auto nLastCol = static_cast<lxw_col_t>(nColumnCount - 1);
    if (worksheet_autofilter(m_pSheet, 0, 0, nLastRow, nLastCol) != LXW_NO_ERROR) return false;
  }
  // workbook_close frees the workbook whatever it returns.
  lxw_workbook* pWorkbook = m_pWorkbook;
  m_pWorkbook = nullptr;
  m_pSheet = nullptr;
  return workbook_close(pWorkbook) == LXW_NO_ERROR;
}

lxw_format* CExcelSheetWriter::FindNumberFormat(int nDecimals) {
  auto it = m_mapNumberFormats.find(nDecimals);
  if (it != m_mapNumberFormats.end()) return it->second;
  lxw_format* pFormat = workbook_add_format(m_pWorkbook);
  if (pFormat != nullptr) format_set_num_format(pFormat, GetNumberFormat(nDecimals).c_str());
  m_mapNumberFormats.emplace(nDecimals, pFormat);
  return pFormat;
}

void CExcelSheetWriter::NoteWidth(int nColumn, size_t nChars) {
  const auto nIndex = static_cast<size_t>(nColumn);
  if (nIndex >= m_arrWidths.size()) m_arrWidths.resize(nIndex + 1, 0.0);
  m_arrWidths[nIndex] = std::max(m_arrWidths[nIndex], static_cast<double>(nChars));
}
