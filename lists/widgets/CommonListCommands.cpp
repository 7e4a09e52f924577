// The commands of CCommonListCtrl: fitting, grid lines, clipboard, spreadsheet export, menus
// and the base sort.
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <algorithm>
#include <cstring>
#include <numeric>

#include "controls/ColorHeaderCtrl.h"
#include "excel/ExcelInterface.h"
#include "lists/ListCommands.h"
#include "lists/widgets/CommonListCtrl.h"
#include "lists/widgets/ListRowPainter.h"
#include "platform/MessageBox.h"
#include "plugin/PluginContext.h"

namespace {

// Room a measured text needs besides its glyphs: the cell margins and a little air.
constexpr int kFitDataPadding = 2 * kCellTextMargin + 6;
// The header item's margins and its sort image.
constexpr int kFitHeaderPadding = 20;

// The spreadsheet writer's cell callback: row 0 the header with the value type of the column of
// that name (-1 when none has it), rows from 1 the list's items.
sExcelCell GetExcelCell(void* pList, int nRow, int nColumn) {
  const auto* pListCtrl = static_cast<const CCommonListCtrl*>(pList);
  sExcelCell cell;
  if (nRow > 0) {
    cell.strText = pListCtrl->GetCellText(nRow - 1, nColumn);
    return cell;
  }
  const sHalvoColInfo* pShown = pListCtrl->GetColumnAtPosition(nColumn);
  cell.strText = pShown != nullptr ? pShown->szName : "";
  const std::vector<sHalvoColInfo>& arrColumns = pListCtrl->GetLayout().m_arrColumns;
  const auto it = std::find_if(arrColumns.begin(), arrColumns.end(), [&cell](const sHalvoColInfo& column) {
    return cell.strText == column.szName;
  });
  cell.nValueType = it != arrColumns.end() ? it->nDataType : -1;
  return cell;
}

}  // namespace

bool CCommonListCtrl::OnCommand(int32_t nCommand) {
  switch (nCommand) {
    case kCmdFitToData:
      FitToData();
      return true;
    case kCmdFitToHeaderSize:
      FitToHeaderSize();
      return true;
    case kCmdFitToWindow:
      FitToWindow();
      return true;
    case kCmdRepositionColumns:
      OpenRepositionDialog();
      return true;
    case kCmdWriteToExcel:
      WriteToExcel();
      return true;
    case kCmdReadFromExcel:
      return true;
    case kCmdDrawGridLines:
      ToggleGridLines();
      return true;
    case kCmdCustomize:
      ShowAppearanceDialog();
      return true;
    case kCmdCopyToClipboard:
      CopyToClipboard();
      return true;
    default:
      return false;
  }
}

sListMenuState CCommonListCtrl::GetMenuState() const {
  sListMenuState state;
  state.bExportEnabled = m_bExportEnabled;
  state.bImportEnabled = m_bImportEnabled;
  state.bCustomizeEnabled = m_bCustomizeEnabled;
  state.bRepositionEnabled = m_bRepositionEnabled;
  return state;
}

std::unique_ptr<QMenu> CCommonListCtrl::CreateContextMenu() {
  return CreateListMenu(GetContextMenuEntries(GetMenuState()), this,
                        [this](int32_t nCommand) { OnCommand(nCommand); });
}

std::unique_ptr<QMenu> CCommonListCtrl::CreateHeaderMenu() {
  return CreateListMenu(GetHeaderMenuEntries(GetMenuState()), this,
                        [this](int32_t nCommand) { OnCommand(nCommand); });
}

int32_t CCommonListCtrl::MeasureDataWidth(int32_t nPosition) const {
  // The rows in view: measuring every row of a long list would stall the window.
  const int32_t nCount = GetItemCount();
  const int32_t nFirst = std::max(rowAt(0), 0);
  int32_t nLast = rowAt(viewport()->height() - 1);
  if (nLast < 0) {
    nLast = nCount - 1;
  }
  int32_t nWidest = 0;
  for (int32_t nRow = nFirst; nRow <= nLast && nRow < nCount; ++nRow) {
    nWidest = std::max(nWidest,
                       fontMetrics().horizontalAdvance(QString::fromStdString(GetCellText(nRow, nPosition))));
  }
  return nWidest > 0 ? nWidest + kFitDataPadding : 0;
}

int32_t CCommonListCtrl::MeasureHeaderWidth(int32_t nPosition) const {
  const sHalvoColInfo* pColumn = GetColumnAtPosition(nPosition);
  if (pColumn == nullptr) {
    return 0;
  }
  return GetHeader()->fontMetrics().horizontalAdvance(QString::fromUtf8(pColumn->szName)) + kFitHeaderPadding;
}

void CCommonListCtrl::SetColumnWidths(const std::vector<int32_t>& arrWidths) {
  setUpdatesEnabled(false);
  for (size_t i = 0; i < arrWidths.size() && static_cast<int>(i) < GetHeader()->count(); ++i) {
    GetHeader()->resizeSection(static_cast<int>(i), arrWidths[i]);
  }
  setUpdatesEnabled(true);
  GetHeader()->viewport()->update();
  viewport()->update();
}

void CCommonListCtrl::FitToData() {
  std::vector<int32_t> arrWidths;
  for (int32_t nPosition = 0; nPosition < GetLayout().GetHeaderCount(); ++nPosition) {
    arrWidths.push_back(GetFitWidth(MeasureDataWidth(nPosition)));
  }
  SetColumnWidths(arrWidths);
}

void CCommonListCtrl::FitToHeaderSize() {
  std::vector<int32_t> arrWidths;
  for (int32_t nPosition = 0; nPosition < GetLayout().GetHeaderCount(); ++nPosition) {
    arrWidths.push_back(GetFitWidth(MeasureHeaderWidth(nPosition)));
  }
  SetColumnWidths(arrWidths);
}

void CCommonListCtrl::FitToWindow() {
  const int32_t nCount = GetLayout().GetHeaderCount();
  const int32_t nWidth = GetFitToWindowWidth(viewport()->width(), nCount);
  SetColumnWidths(std::vector<int32_t>(static_cast<size_t>(std::max(nCount, 0)), nWidth));
}

void CCommonListCtrl::ToggleGridLines() {
  m_bGridLines = !m_bGridLines;
  viewport()->update();
}

void CCommonListCtrl::CopyToClipboard() {
  const std::vector<int32_t> arrRows = GetSelectedRows();
  m_strClipboardText = BuildClipboardText(arrRows, GetLayout().GetHeaderCount(),
                                          [this](int32_t nRow, int32_t nPosition, std::string& strText) {
                                            strText = GetCellText(nRow, nPosition);
                                          });
  QGuiApplication::clipboard()->setText(QString::fromStdString(m_strClipboardText));
}

void CCommonListCtrl::WriteToExcel() {
  const int32_t nCount = GetItemCount();
  if (nCount == 0) {
    ShowMessageBox(g_szExcelNoItems);
    return;
  }
  CExcelInterface excel(nCount + 1, GetLayout().GetHeaderCount());
  excel.m_pList = this;
  excel.m_pfnGetCell = &GetExcelCell;
  excel.m_strFolder = g_pluginContext.settingsDir + "\\Exports";
  excel.m_strListName = GetProfileName();
  ShowMessageBox(excel.WriteToExcel() != 0 ? g_szExcelFileGenerated : g_szExcelFileFailed);
}

void CCommonListCtrl::SortByColumnClick(int32_t nPosition) { SortItems(nPosition); }

void CCommonListCtrl::SortItems(int32_t nPosition) {
  const sSortClick click = m_sortState.Click(nPosition);
  const sHalvoColInfo* pColumn = GetColumnAtPosition(nPosition);
  m_nSortValueType = pColumn != nullptr ? pColumn->nDataType : 0;
  std::vector<int32_t> arrOrder(m_arrItems.size());
  std::iota(arrOrder.begin(), arrOrder.end(), 0);
  SortRowsByText(
      arrOrder,
      [this, nPosition](int32_t nRow, std::string& strText) { strText = GetItemText(nRow, nPosition); },
      eSortRule::kBase, m_nSortValueType, click.nDirection);

  // Items keep their selection and check flags as they move.
  const std::vector<int32_t> arrSelected = GetSelectedRows();
  std::vector<bool> arrWasSelected(m_arrItems.size(), false);
  for (const int32_t nRow : arrSelected) {
    arrWasSelected[static_cast<size_t>(nRow)] = true;
  }
  std::vector<std::vector<std::string>> arrItems;
  std::vector<uint32_t> arrChecks;
  QItemSelection selection;
  for (size_t i = 0; i < arrOrder.size(); ++i) {
    const size_t nOld = static_cast<size_t>(arrOrder[i]);
    arrItems.push_back(std::move(m_arrItems[nOld]));
    arrChecks.push_back(m_arrItemChecks[nOld]);
    if (arrWasSelected[nOld]) {
      const QModelIndex index = model()->index(static_cast<int>(i), 0);
      selection.select(index, index);
    }
  }
  m_arrItems = std::move(arrItems);
  m_arrItemChecks = std::move(arrChecks);
  selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);

  if (click.nClearImagePosition >= 0) {
    SetSortImage(click.nClearImagePosition, 2);
  }
  SetSortImage(nPosition, click.nDirection < 0 ? 0 : 1);
  viewport()->update();
}
