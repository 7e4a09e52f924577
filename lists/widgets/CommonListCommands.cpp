// The commands of CCommonListCtrl: fitting, grid lines, clipboard, spreadsheet export, menus
// and the base sort.
#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>
#include <numeric>
#include <span>
#include <utility>

#include "controls/ColorHeaderCtrl.h"
#include "excel/ExcelInterface.h"
#include "lists/FitToDataPass.h"
#include "lists/ListCommands.h"
#include "lists/widgets/CommonListCtrl.h"
#include "lists/widgets/ListRowPainter.h"
#include "platform/MessageBox.h"
#include "platform/qt/MainFrame.h"
#include "plugin/PluginContext.h"

namespace {

// The texts of a column measured with the font: the widest by their characters' advances.
constexpr size_t kFitMeasuredTexts = 8;
// The longest a slice of "Fit to Data" reads rows in one turn of the event loop.
constexpr std::chrono::milliseconds kFitSlice{20};
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

// The rows of a list whose cells are read one by one.
class CListFitSource final : public IFitToDataSource {
 public:
  explicit CListFitSource(const CCommonListCtrl& list) : m_list(list) {}

  int32_t GetRowCount() const override { return m_list.GetItemCount(); }
  void ReadCell(int32_t nRow, int32_t nPosition, sCellText& cell) override {
    cell.strText = m_list.GetCellText(nRow, nPosition);
  }
  bool ReadShapes(int32_t, int32_t, std::span<sTextShape>) override { return false; }

 private:
  const CCommonListCtrl& m_list;
};

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

sListMenuState CCommonListCtrl::GetMenuState() const { return m_commands; }

std::unique_ptr<QMenu> CCommonListCtrl::CreateContextMenu() {
  return CreateListMenu(GetContextMenuEntries(GetMenuState()), this,
                        [this](int32_t nCommand) { OnCommand(nCommand); });
}

std::unique_ptr<QMenu> CCommonListCtrl::CreateHeaderMenu() {
  return CreateListMenu(GetHeaderMenuEntries(GetMenuState()), this,
                        [this](int32_t nCommand) { OnCommand(nCommand); });
}

std::vector<int32_t> CCommonListCtrl::GetHeaderColumns() const {
  std::vector<int32_t> arrColumns;
  for (int32_t nPosition = 0; nPosition < GetLayout().GetHeaderCount(); ++nPosition) {
    arrColumns.push_back(GetLayout().GetColumnAt(nPosition));
  }
  return arrColumns;
}

std::unique_ptr<IFitToDataSource> CCommonListCtrl::CreateFitSource() const {
  return std::make_unique<CListFitSource>(*this);
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
  GetHeader()->ResizeSections(arrWidths);
  setUpdatesEnabled(true);
  GetHeader()->viewport()->update();
  viewport()->update();
}

void CCommonListCtrl::FitToData() {
  // Every row counts, so a long value further down is not cut. Texts are ranked by the sum of
  // their characters' advances, and only the few widest of each column are measured with the
  // font, which covers kerning and shaping. A list whose descriptor tells its cells' shapes reads
  // only the numbers that may be among the widest; still, a long list of many columns can take
  // longer than one turn of the event loop may, so the rows are read in slices, one per turn,
  // and the widths are set once the last row was read; a short list is done at once.
  const QFontMetrics metrics = fontMetrics();
  m_pFitPass = std::make_shared<CFitToDataPass>(
      GetHeaderColumns(),
      [metrics](char32_t nCharacter) { return metrics.horizontalAdvance(QString::fromUcs4(&nCharacter, 1)); },
      kFitMeasuredTexts);
  ContinueFitToData();
}

void CCommonListCtrl::ContinueFitToData() {
  // Held here as well: a custom column's message box runs the event loop, which may start
  // another pass in the middle of this slice.
  const std::shared_ptr<CFitToDataPass> pPass = m_pFitPass;
  if (pPass == nullptr) {
    return;
  }
  if (pPass->GetColumns() != GetHeaderColumns()) {
    FitToData();  // the columns changed since the pass began: it starts over for the new ones
    return;
  }
  const bool bDone = pPass->Run(*CreateFitSource(), std::chrono::steady_clock::now() + kFitSlice);
  if (pPass != m_pFitPass) {
    return;  // replaced meanwhile; the new pass goes on by itself
  }
  if (!bDone) {
    if (!std::exchange(m_bFitContinuationQueued, true)) {
      QTimer::singleShot(0, this, [this] {
        m_bFitContinuationQueued = false;
        ContinueFitToData();
      });
    }
    return;
  }
  m_pFitPass.reset();
  const QFontMetrics metrics = fontMetrics();
  std::vector<int32_t> arrWidths;
  for (int32_t nPosition = 0; nPosition < pPass->GetPositionCount(); ++nPosition) {
    int32_t nWidest = 0;
    // Measured as shown: grouped digits take more room than the plain text.
    const int32_t nColumn = pPass->GetColumns()[static_cast<size_t>(nPosition)];
    for (const std::string& strText : pPass->GetTexts(nPosition)) {
      nWidest = std::max(nWidest,
                         metrics.horizontalAdvance(QString::fromStdString(GetShownText(nColumn, strText))));
    }
    arrWidths.push_back(GetFitWidth(nWidest > 0 ? nWidest + kFitDataPadding : 0));
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
  const bool bWritten = excel.WriteToExcel() != 0;
  // Where the file went shows in the frame while the box (which does not say) is open.
  if (bWritten) ShowExportInMainFrame(excel.GetFilePath());
  ShowMessageBox(bWritten ? g_szExcelFileGenerated : g_szExcelFileFailed);
}

void CCommonListCtrl::SortByColumnClick(int32_t nPosition) {
  const sHalvoColInfo* pColumn = GetColumnAtPosition(nPosition);
  // The rows keep their selection as they move (their check flags move in the store).
  std::vector<bool> arrWasSelected(static_cast<size_t>(m_plainRows.GetItemCount()), false);
  for (const int32_t nRow : GetSelectedRows()) {
    arrWasSelected[static_cast<size_t>(nRow)] = true;
  }
  const sPlainSort sort = m_plainRows.SortByClick(nPosition, pColumn != nullptr ? pColumn->nDataType : 0);
  QItemSelection selection;
  for (size_t i = 0; i < sort.arrOldRows.size(); ++i) {
    if (arrWasSelected[static_cast<size_t>(sort.arrOldRows[i])]) {
      const QModelIndex index = model()->index(static_cast<int>(i), 0);
      selection.select(index, index);
    }
  }
  selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);

  if (sort.click.nClearImagePosition >= 0) {
    SetSortImage(sort.click.nClearImagePosition, 2);
  }
  SetSortImage(nPosition, sort.click.nDirection < 0 ? 0 : 1);
  viewport()->update();
}
