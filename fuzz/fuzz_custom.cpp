// Any input, cut at NUL bytes into a column name, a display expression, a user and a protected
// profile value and two rows of cell texts: the profile values are loaded, the name and
// expression go through adding, editing and deleting, and every custom column's cell is
// computed for both rows (cycles and stale references included). Nothing may crash, hang or
// read out of bounds; the header must stay gapless; a cell must show a number, one of the fixed
// texts or what it held; and columns whose texts hold no delimiter must survive save and load.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "lists/CustomColumnEdit.h"
#include "lists/CustomColumnProfile.h"
#include "lists/CustomColumnText.h"
#include "lists/FilterListStore.h"
#include "platform/MessageBox.h"

namespace {

constexpr int32_t kStandardCount = 5;
constexpr const char* kUntouched = "untouched";

const sColumnDef kColumns[kStandardCount] = {{"Name", kAlignLeft, kSortText},
                                             {"MToM Loss", kAlignRight, kSortDecimal},
                                             {"Margin Used", kAlignRight, kSortDecimal},
                                             {"Qty", kAlignRight, kSortInteger},
                                             {"Cash Margin Avail", kAlignRight, kSortDecimal}};

struct sFuzzRow {
  std::string arrCells[kStandardCount];
};

bool GetRowText(const void* pRecord, int32_t nColumn, sCellText& cell) {
  if (nColumn < 0 || nColumn >= kStandardCount) return false;
  cell.strText = static_cast<const sFuzzRow*>(pRecord)->arrCells[nColumn];
  return true;
}

std::vector<std::string_view> CutAtNul(std::string_view strInput, size_t nParts) {
  std::vector<std::string_view> arrParts;
  while (arrParts.size() + 1 < nParts) {
    const size_t nNul = strInput.find('\0');
    if (nNul == std::string_view::npos) break;
    arrParts.push_back(strInput.substr(0, nNul));
    strInput.remove_prefix(nNul + 1);
  }
  arrParts.push_back(strInput);
  arrParts.resize(nParts);
  return arrParts;
}

bool IsNumberText(const std::string& strText) {
  if (strText == "inf" || strText == "-inf" || strText == "nan" || strText == "-nan") return true;
  const size_t nPoint = strText.find('.');
  return nPoint != std::string::npos && nPoint + 3 == strText.size() &&
         strText.find_first_not_of("-0123456789.") == std::string::npos;
}

bool IsAllowedCell(const std::string& strText) {
  return strText == kUntouched || strText == kDividedByZeroText || strText == kCircularReferenceText ||
         strText == kNestingTooDeepText || strText == kInvalidReferenceText || IsNumberText(strText);
}

void CheckHeader(const CListLayout& layout) {
  for (int32_t nPosition = 0; nPosition < layout.GetHeaderCount(); ++nPosition) {
    const int32_t nColumn = layout.GetColumnAt(nPosition);
    if (nColumn < 0 || layout.GetPosition(nColumn) != nPosition) std::abort();
  }
}

void ComputeAllCells(CListLayout& layout, const sFuzzRow (&arrRows)[2]) {
  CFilterListStore store(layout);
  CCustomColumnText customText(layout);
  store.SetCellTextFn(GetRowText);
  ConnectCustomColumns(store, customText, {});
  const std::string arrColoured[] = {"Net", "A"};
  customText.SetColouredNames(arrColoured);
  for (const sFuzzRow& row : arrRows) {
    for (int32_t nColumn = layout.m_nCatalogueCount; static_cast<size_t>(nColumn) < layout.m_arrColumns.size(); ++nColumn) {
      sCellText cell;
      cell.strText = kUntouched;
      store.GetCellText(&row, nColumn, cell);
      if (!IsAllowedCell(cell.strText)) std::abort();
    }
  }
}

// Whether a column's texts read back as they were written.
bool IsSavable(const sHalvoColInfo& column) {
  const std::string_view strName(column.szName);
  return !strName.empty() && strName.find_first_of("#,") == std::string_view::npos &&
         column.strFormula.find_first_of("#,") == std::string::npos &&
         column.strFormulaText.find(',') == std::string::npos;
}

void CheckSaveAndLoad(const CListLayout& layout) {
  bool bAllSavable = true;
  for (size_t i = static_cast<size_t>(layout.m_nCatalogueCount); i < layout.m_arrColumns.size(); ++i)
    bAllSavable = bAllSavable && IsSavable(layout.m_arrColumns[i]);
  const sProfileValues values = BuildProfileValues(layout, {});
  CListLayout loaded;
  loaded.LoadColumnTable("fuzz", kColumns);
  LoadColumnProfile(
      loaded,
      [&values](const std::string& strKey, std::string& strValue) {
        strValue = strKey == kColumnProfileKey          ? values.strColumnProfile
                   : strKey == kUserColumnProfileKey    ? values.strUserColumnProfile
                   : strKey == kProtectedColumnProfileKey ? values.strProtectedColumnProfile
                                                          : std::string();
        return !strValue.empty();
      },
      ReadCustomColumns);
  if (bAllSavable && loaded.m_arrColumns.size() != layout.m_arrColumns.size()) std::abort();
  CheckHeader(loaded);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  SetMessageBoxSink([](const std::string&) {});
  const std::vector<std::string_view> arrParts =
      CutAtNul(std::string_view(reinterpret_cast<const char*>(pData), nSize), 6);
  const sFuzzRow arrRows[2] = {{{"ACC1", "10.00", "4.00", "3", "-2.50"}},
                               {{std::string(arrParts[4]), std::string(arrParts[5]), "0.00", "--NA--", ""}}};

  CListLayout layout;
  layout.LoadColumnTable("fuzz", kColumns);
  LoadColumnProfile(
      layout,
      [&arrParts](const std::string& strKey, std::string& strValue) {
        strValue = strKey == kColumnProfileKey          ? std::string("0,0,80,1,1,80,2,2,80,3,-1,0,4,3,80")
                   : strKey == kUserColumnProfileKey    ? std::string(arrParts[2])
                   : strKey == kProtectedColumnProfileKey ? std::string(arrParts[3])
                                                          : std::string();
        return !strValue.empty();
      },
      ReadCustomColumns);
  CheckHeader(layout);
  ComputeAllCells(layout, arrRows);

  const std::string strName(arrParts[0]);
  const std::string strDisplay(arrParts[1]);
  AddCustomColumn(layout, GetExpressionColumns(layout), strName, strDisplay, nSize % 2 == 1);
  CheckHeader(layout);
  const std::vector<sColumnChoice> arrChooser = GetEditableCustomColumns(layout);
  if (!arrChooser.empty()) {
    EditCustomColumn(layout, GetExpressionColumns(layout), &arrChooser[nSize % arrChooser.size()], strDisplay);
  }
  ComputeAllCells(layout, arrRows);
  CheckSaveAndLoad(layout);

  if (!arrChooser.empty()) {
    const sCustomColumnChange change = DeleteCustomColumn(layout, &arrChooser[(nSize / 3) % arrChooser.size()]);
    if (!change.Succeeded()) std::abort();
    CheckHeader(layout);
    ComputeAllCells(layout, arrRows);
  }
  SetMessageBoxSink({});
  return 0;
}
