#include "excel/ExcelInterface.h"

#include <cstdio>
#include <filesystem>
#include <vector>

#include "excel/ExcelNumber.h"
#include "excel/ExcelSheetWriter.h"
#include "excel/ExcelText.h"
#include "platform/Clock.h"
#include "platform/PlatformPath.h"

namespace {

// The size of a worksheet.
constexpr int g_nMaxRows = 1048576;
constexpr int g_nMaxColumns = 16384;
// How many numbered names to try when exports fall in the same second.
constexpr int g_nMaxNameAttempts = 1000;

std::string FormatTimeStamp(const sSystemTime& time) {
  char szStamp[32];
  std::snprintf(szStamp, sizeof(szStamp), "%04d%02d%02d_%02d%02d%02d", time.nYear, time.nMonth, time.nDay,
                time.nHour, time.nMinute, time.nSecond);
  return szStamp;
}

bool MakeFolder(const std::string& strFolder) {
  std::error_code error;
  std::filesystem::create_directories(strFolder, error);
  return std::filesystem::is_directory(strFolder, error);
}

}  // namespace

CExcelInterface::CExcelInterface(int nRowCount, int nColumnCount)
    : m_nRowCount(nRowCount > 0 ? nRowCount : 0), m_nColumnCount(nColumnCount > 0 ? nColumnCount : 0) {}

int CExcelInterface::WriteToExcel() {
  m_strFilePath.clear();
  try {
    return WriteWorkbook() ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

bool CExcelInterface::WriteWorkbook() {
  if (m_pfnGetCell == nullptr || m_strFolder.empty()) return false;
  if (m_nRowCount > g_nMaxRows || m_nColumnCount > g_nMaxColumns) return false;
  const std::string strFolder = MapPlatformPath(m_strFolder);
  if (!MakeFolder(strFolder)) return false;
  const std::string strPath = ChooseFilePath(strFolder);
  if (strPath.empty()) return false;
  // A callback that throws leaves before Close, so no file is written.
  if (!WriteCells(strPath)) {
    // The name was free before, so whatever is there now is a part of this export.
    std::error_code error;
    std::filesystem::remove(strPath, error);
    return false;
  }
  m_strFilePath = strPath;
  return true;
}

std::string CExcelInterface::ChooseFilePath(const std::string& strFolder) const {
  std::string strBase = strFolder;
  if (strBase.back() != '/') strBase += '/';
  strBase += MakeFileNameStem(m_strListName) + "_" + FormatTimeStamp(GetLocalTimeNow());
  for (int nAttempt = 1; nAttempt <= g_nMaxNameAttempts; ++nAttempt) {
    std::string strPath = strBase;
    if (nAttempt > 1) strPath.append("_").append(std::to_string(nAttempt));
    strPath.append(".xlsx");
    std::error_code error;
    const auto status = std::filesystem::symlink_status(strPath, error);
    if (status.type() == std::filesystem::file_type::not_found) return strPath;
  }
  return std::string();
}

bool CExcelInterface::WriteCells(const std::string& strPath) const {
  CExcelSheetWriter writer(strPath, MakeSheetName(m_strListName));
  if (!writer.IsOpen()) return false;
  std::vector<bool> arrNumeric(static_cast<size_t>(m_nColumnCount), false);
  for (int nRow = 0; nRow < m_nRowCount; ++nRow) {
    for (int nColumn = 0; nColumn < m_nColumnCount; ++nColumn) {
      const sExcelCell cell = m_pfnGetCell(m_pList, nRow, nColumn);
      bool bWritten = false;
      if (nRow == 0) {
        arrNumeric[static_cast<size_t>(nColumn)] = IsNumericExportType(cell.nValueType);
        bWritten = writer.WriteHeader(nColumn, cell.strText);
      } else {
        bWritten = writer.WriteCell(nRow, nColumn, cell.strText, arrNumeric[static_cast<size_t>(nColumn)]);
      }
      if (!bWritten) return false;
    }
  }
  return writer.Close(m_nRowCount, m_nColumnCount);
}
