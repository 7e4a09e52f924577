#include "lists/widgets/FilterListCtrl.h"

#include <QCursor>
#include <QLineEdit>
#include <QMenu>
#include <algorithm>
#include <utility>

#include "lists/CustomColumnProfile.h"
#include "lists/StoreFitSource.h"
#include "lists/widgets/ListTableModel.h"
#include "platform/MessageBox.h"

namespace {

// Shows what a store operation failed with, as the list that asked it.
const sStoreResult& ShowStoreFailure(const sStoreResult& result) {
  if (result.szFailure != nullptr) ShowMessageBox(result.szFailure);
  return result;
}

}  // namespace

CFilterListCtrl::CFilterListCtrl(QWidget* pParent)
    : CCommonListCtrl(pParent), m_store(GetLayout()), m_customText(GetLayout()) {
  // The store reaches the custom columns through the overridable hook, which shows their failures.
  ConnectCustomColumns(m_store, m_customText, {});
  m_store.SetCustomColumnFn([this](const void* pRecord, int32_t nColumn, sCellText& cell) {
    GetCustomColumnText(pRecord, nColumn, cell);
    return true;
  });
  CColorHeaderCtrl* pHeader = GetHeader();
  pHeader->SetFilterSource(this);
  pHeader->SetFilterEditKeyFilter(this);
  connect(pHeader, &CColorHeaderCtrl::FilterChanged, this, &CFilterListCtrl::OnHeaderFilterChanged);
  connect(pHeader, &CColorHeaderCtrl::FilterButtonClicked, this, [this](int nPosition) {
    OpenFilterValues(nPosition, QCursor::pos());
    emit FilterButtonClicked(nPosition);
  });
}

CFilterListCtrl::~CFilterListCtrl() {
  CUserDefinedColDlg::ForgetListIfOpen(*this);
  GetHeader()->SetFilterSource(nullptr);
  GetHeader()->SetFilterEditKeyFilter(nullptr);
}

void CFilterListCtrl::SetDataMode(bool bOn) {
  FlushLiveChanges();
  if (bOn) {
    DeleteAllItems();
    m_bDataMode = true;
    GetModel().SetRowCount(m_store.GetViewCount());
    GetHeader()->SetFilterBarStyle(true);
    GetHeader()->ShowFilterBar(m_bFilterBarShown);
  } else {
    GetHeader()->ClearAllFilters();
    GetHeader()->SetFilterBarStyle(false);
    m_store.DeleteAllRows();
    m_store.ResetFilters();
    GetModel().SetRowCount(0);
    m_bDataMode = false;
    DeleteAllItems();
  }
  SetKeywordsAvailable(bOn);
  UpdateHeaderGeometry();
  RepaintAll();
}

int32_t CFilterListCtrl::InsertRow(int32_t nPosition, const void* pRecord) {
  if (!m_bDataMode) {
    return -1;
  }
  const int32_t nViewCount = m_store.GetViewCount();
  if (m_store.IsLive()) {
    BeginLiveChange();
    const int32_t nRow = ShowStoreFailure(m_store.InsertRow(nPosition, pRecord)).nViewRow;
    m_liveSpan.AddMove(-1, nViewCount, nRow, m_store.GetViewCount());
    return nRow;
  }
  const int32_t nRow = ShowStoreFailure(m_store.InsertRow(nPosition, pRecord)).nViewRow;
  const bool bOneMore = m_store.GetViewCount() == nViewCount + 1;
  if (bOneMore && nRow == nViewCount) {
    // At the end of the view: the model hears of it with the turn's other appended rows.
    if (!std::exchange(m_bAppendsWaiting, true))
      QMetaObject::invokeMethod(this, [this] { FlushAppends(); }, Qt::QueuedConnection);
    return nRow;
  }
  // The rows appended before this one were at the end of the view.
  if (std::exchange(m_bAppendsWaiting, false)) GetModel().SetRowCount(nViewCount);
  if (bOneMore) {
    GetModel().InsertRows(nRow, 1);
    RepaintFromRow(nRow);
  } else {
    SyncRowCount();
  }
  return nRow;
}

void CFilterListCtrl::FlushAppends() {
  if (!std::exchange(m_bAppendsWaiting, false)) return;
  const int32_t nFirst = GetModel().rowCount();
  GetModel().SetRowCount(m_store.GetViewCount());
  RepaintFromRow(nFirst);
}

bool CFilterListCtrl::DeleteRow(int32_t nViewRow) {
  if (!m_bDataMode) {
    return false;
  }
  FlushLiveChanges();
  const bool bWasSelected = selectionModel()->isRowSelected(nViewRow, QModelIndex());
  const int32_t nViewCount = m_store.GetViewCount();
  const bool bDeleted = ShowStoreFailure(m_store.DeleteRow(nViewRow)).bDone;
  if (!bDeleted || m_store.GetViewCount() != nViewCount - 1) {
    SyncRowCount();
    return bDeleted;
  }
  GetModel().RemoveRows(nViewRow, 1);
  RepaintFromRow(nViewRow);
  // The selection moves to the row that took the deleted one's place.
  if (bWasSelected && nViewRow < m_store.GetViewCount()) {
    selectionModel()->setCurrentIndex(GetModel().index(nViewRow, 0),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
  }
  return true;
}

bool CFilterListCtrl::DeleteStoreRow(int32_t nStoreIndex) {
  if (!m_bDataMode) {
    return false;
  }
  FlushLiveChanges();
  const int32_t nViewRow = m_store.FindViewRow(nStoreIndex);
  if (nViewRow >= 0) {
    return DeleteRow(nViewRow);
  }
  const bool bDeleted = ShowStoreFailure(m_store.DeleteStoreRow(nStoreIndex)).bDone;
  SyncRowCount();
  return bDeleted;
}

void CFilterListCtrl::DeleteAllRows() {
  FlushLiveChanges();
  m_store.DeleteAllRows();
  SyncRowCount();
  RepaintAll();
}

void CFilterListCtrl::SetReverse(bool bReverse) {
  FlushLiveChanges();
  m_store.SetReverse(bReverse);
  viewport()->update();
}

void CFilterListCtrl::SyncRowCount() {
  m_bAppendsWaiting = false;
  GetModel().SetRowCount(GetItemCount());
  RepaintAll();
}

void CFilterListCtrl::RepaintAll() {
  viewport()->update();
  GetHeader()->viewport()->update();
}

void CFilterListCtrl::SetFilter(int32_t nColumn, const std::string& strText, bool bExact) {
  const sHeaderFilterWrite write = m_store.SetFilter(nColumn, strText, bExact);
  GetHeader()->SetFilterText(write.nPosition, QString::fromStdString(write.strText));
}

bool CFilterListCtrl::SetFilters(std::span<const int32_t> arrColumns, std::span<const std::string> arrTexts,
                                 bool bExact) {
  const auto arrWrites = m_store.SetFilters(arrColumns, arrTexts, bExact);
  if (!arrWrites) {
    return false;
  }
  CColorHeaderCtrl* pHeader = GetHeader();
  pHeader->ClearAllFilters();
  // Every filter is in place before the owner runs its one filtering pass, so the exact flag
  // holds for all of them.
  for (const sHeaderFilterWrite& write : *arrWrites) {
    if (QLineEdit* pEdit = pHeader->GetFilterEdit(write.nPosition)) {
      pEdit->setText(QString::fromStdString(write.strText));
    }
    m_store.SetColumnFilter(GetLayout().GetColumnAt(write.nPosition), write.strText);
  }
  RepaintAll();
  emit FilterChanged(arrWrites->front().nPosition);
  return true;
}

void CFilterListCtrl::OnHeaderFilterChanged(int nPosition) {
  const int32_t nColumn = GetLayout().GetColumnAt(nPosition);
  m_store.SetColumnFilter(nColumn, GetHeader()->GetFilterText(nPosition).toStdString());
  GetHeader()->viewport()->update();
  emit FilterChanged(nPosition);
}

void CFilterListCtrl::Filter() {
  if (!m_bDataMode) {
    return;
  }
  FlushLiveChanges();
  setUpdatesEnabled(false);
  ShowStoreFailure(m_store.Filter());
  GetModel().SetRowCount(m_store.GetViewCount());
  setUpdatesEnabled(true);
  RepaintAll();
  SaveKeptFilterSort(false);
}

void CFilterListCtrl::ResetFilters() {
  m_store.ResetFilters();
  GetHeader()->ClearAllFilters();
  GetHeader()->SetFilterText(0, QString());
}

void CFilterListCtrl::ToggleMatchExactly() {
  m_store.SetMatchExactly(!m_store.IsMatchExactly());
  const std::vector<int32_t>& arrColumns = m_store.GetFilterColumns();
  if (arrColumns.empty()) {
    return;
  }
  const int32_t nPosition = GetLayout().GetPosition(arrColumns.front());
  if (nPosition >= 0) {
    GetHeader()->SetFilterText(
        nPosition, QString::fromStdString(std::string(m_store.GetColumnFilter(arrColumns.front()))));
  }
}

void CFilterListCtrl::SetHeaderFilterText(int32_t nPosition, const std::string& strText) {
  m_store.SetExactForThisSetting(false);
  GetHeader()->SetFilterText(nPosition, QString::fromStdString(strText));
}

bool CFilterListCtrl::GetVisibleRows(int32_t& nFirst, int32_t& nLast) const {
  // From the scroll position and the rows that fit the page, which a hidden list (a closed
  // dock) keeps: its rows still count for the custom-alert rules, while Qt paints nothing of
  // it. A page without height holds no row.
  const int32_t nCount = model()->rowCount();
  const int nPageHeight = viewport()->height();
  nFirst = rowAt(0);
  if (nCount == 0 || nFirst < 0 || nPageHeight <= 0) {
    return false;
  }
  const int nRowHeight = std::max(1, verticalHeader()->defaultSectionSize());
  nLast = std::min(nCount - 1, nFirst + (nPageHeight - 1) / nRowHeight);
  return true;
}

int32_t CFilterListCtrl::FindVisibleRow(const void* pRecord) const {
  int32_t nFirst = 0;
  int32_t nLast = -1;
  if (pRecord == nullptr || !m_bDataMode || !GetVisibleRows(nFirst, nLast)) {
    return -1;
  }
  for (int32_t nRow = nFirst; nRow <= nLast; ++nRow) {
    if (m_store.GetRecord(nRow) == pRecord) {
      return nRow;
    }
  }
  return -1;
}

bool CFilterListCtrl::RefreshRecord(const void* pRecord) {
  if (m_bDataMode && m_store.IsLive()) {
    BeginLiveChange();
    const sLiveUpdate update = m_store.UpdateRecord(pRecord);
    m_liveSpan.Add(update.span.nFirst, update.span.nLast);
    const bool bMovedOntoPage = IsRowOnPage(update.nRow);
    return (update.bInPlace && RepaintLiveRecordInPlace(pRecord)) || bMovedOntoPage;
  }
  const int32_t nRow = FindVisibleRow(pRecord);
  if (nRow < 0) {
    return false;
  }
  RepaintRowIfVisible(nRow);
  return true;
}

int32_t CFilterListCtrl::RefreshRecords(std::span<const void* const> arrRecords) {
  if (m_bDataMode && m_store.IsLive()) {
    return static_cast<int32_t>(
        std::count_if(arrRecords.begin(), arrRecords.end(),
                      [this](const void* pRecord) { return RefreshRecord(pRecord); }));
  }
  int32_t nFirst = 0;
  int32_t nLast = -1;
  if (!m_bDataMode || !GetVisibleRows(nFirst, nLast)) {
    return 0;
  }
  int32_t nVisible = 0;
  for (int32_t nRow = nFirst; nRow <= nLast; ++nRow) {
    const void* pShown = m_store.GetRecord(nRow);
    if (pShown != nullptr && std::find(arrRecords.begin(), arrRecords.end(), pShown) != arrRecords.end()) {
      RepaintRowIfVisible(nRow);
      ++nVisible;
    }
  }
  return nVisible;
}

void CFilterListCtrl::SetLinesPerRow(int32_t nLines) {
  m_nLinesPerRow = nLines;
  UpdateRowHeight();
}

int32_t CFilterListCtrl::GetItemCount() const {
  return m_bDataMode ? m_store.GetViewCount() : CCommonListCtrl::GetItemCount();
}

std::string CFilterListCtrl::GetCellText(int32_t nRow, int32_t nPosition) const {
  if (!m_bDataMode) {
    return CCommonListCtrl::GetCellText(nRow, nPosition);
  }
  sCellText cell;
  m_store.GetViewCellText(nRow, nPosition, cell);
  return std::move(cell.strText);
}

std::unique_ptr<IFitToDataSource> CFilterListCtrl::CreateFitSource() const {
  if (!m_bDataMode) return CCommonListCtrl::CreateFitSource();
  return std::make_unique<CStoreFitSource>(m_store, GetLayout());
}

bool CFilterListCtrl::GetRowCellText(int32_t nRow, int32_t nColumn, sCellText& cell) const {
  if (!m_bDataMode) {
    return CCommonListCtrl::GetRowCellText(nRow, nColumn, cell);
  }
  // Without a data source the rows are left to the owner: nothing is drawn.
  const void* pRecord = m_store.GetRecord(nRow);
  return pRecord != nullptr && m_store.GetCellText(pRecord, nColumn, cell);
}

uint32_t CFilterListCtrl::GetCheck(int32_t nRow) const {
  return m_bDataMode ? m_store.GetCheck(nRow) : CCommonListCtrl::GetCheck(nRow);
}

bool CFilterListCtrl::SetCheck(int32_t nRow, uint32_t nCheck) {
  if (!m_bDataMode) {
    return CCommonListCtrl::SetCheck(nRow, nCheck);
  }
  const bool bSet = m_store.SetCheck(nRow, nCheck);
  RepaintRowIfVisible(nRow);
  return bSet;
}

sListMenuState CFilterListCtrl::GetMenuState() const {
  sListMenuState state = CCommonListCtrl::GetMenuState();
  state.bMatchExactly = m_store.IsMatchExactly();
  state.bCustomColumns = m_bDataMode && m_bCustomColumnsAllowed;
  state.bViewOptions = m_bViewOptionsOffered;
  state.bLiveFilterSort = IsLiveFilterSort();
  state.bKeepFilterSort = m_bKeepFilterSort;
  state.bAlertsOnEveryRow = m_bAlertsOnEveryRow;
  state.bNumbersUncut = AreNumbersUncut();
  state.bFrozenFirstColumn = IsFirstColumnFrozen();
  state.eGrouping = GetDigitGrouping();
  return state;
}

std::unique_ptr<QMenu> CFilterListCtrl::CreateHeaderMenu() {
  return CreateListMenu(GetFilterHeaderMenuEntries(GetMenuState()), this,
                        [this](int32_t nCommand) { OnCommand(nCommand); });
}

bool CFilterListCtrl::OnCommand(int32_t nCommand) {
  switch (nCommand) {
    case kCmdResetFilters:
      ResetFilters();
      return true;
    case kCmdMatchFilterExactly:
      ToggleMatchExactly();
      return true;
    case kCmdAddCustomColumns:
      OpenCustomColumnDialog(kCustomColumnAdd);
      return true;
    case kCmdAddProtectedCustomColumns:
      OpenCustomColumnDialog(kCustomColumnAddProtected);
      return true;
    case kCmdEditCustomColumns:
      OpenCustomColumnDialog(kCustomColumnEdit);
      return true;
    case kCmdDeleteCustomColumns:
      OpenCustomColumnDialog(kCustomColumnDelete);
      return true;
    case kCmdLiveFilterSort:
    case kCmdKeepFilterSort:
    case kCmdAlertsOnEveryRow:
    case kCmdNumbersUncut:
    case kCmdFrozenFirstColumn:
    case kCmdDigitGroupingNone:
    case kCmdDigitGroupingInternational:
    case kCmdDigitGroupingIndian:
      return ToggleViewOption(nCommand);
    default:
      return CCommonListCtrl::OnCommand(nCommand);
  }
}

void CFilterListCtrl::SortByColumnClick(int32_t nPosition) {
  if (!m_bDataMode) {
    CCommonListCtrl::SortByColumnClick(nPosition);
    return;
  }
  FlushLiveChanges();
  const sSortResult result = m_store.SortByPosition(nPosition);
  if (!result.bSorted) {
    return;
  }
  if (result.click.nClearImagePosition >= 0) {
    SetSortImage(result.click.nClearImagePosition, -1);
  }
  SetSortImage(nPosition, result.click.nDirection < 0 ? 0 : 1);
  viewport()->update();
  SaveKeptFilterSort(false);
}

void CFilterListCtrl::SetCellPrefetchFn(const CellPrefetchFn& fnPrefetch) {
  m_store.SetCellPrefetchFn(fnPrefetch);
  m_customText.SetCellPrefetchFn(fnPrefetch);
}

void CFilterListCtrl::OpenCustomColumnDialog(int32_t nMode) {
  CUserDefinedColDlg::GetInstance().Initialise(*this, nMode);
}

void CFilterListCtrl::GetCustomColumnText(const void* pRecord, int32_t nColumn, sCellText& cell) const {
  if (m_customText.GetCustomColumnText(pRecord, nColumn, cell)) ShowMessageBox(kCalculationFailedText);
}

std::vector<sProfileEntry> CFilterListCtrl::ReadCustomColumns(CListLayout& layout,
                                                              const ProfileReadFn& fnRead) {
  return ::ReadCustomColumns(layout, fnRead);
}

void CFilterListCtrl::ApplyCustomColumnChange(const sCustomColumnChange& change) {
  // The layout already holds the change; the header is rebuilt from it, then the tips set.
  // Header filters are kept by position, which a deletion shifts.
  if (!change.arrDeletedPositions.empty()) {
    ResetFilters();
  }
  // An edit or an added column changes no other header item, so their tips keep what they
  // showed (an edited column its old expression) until the header is built again from the
  // columns; a deletion sets every tip again.
  std::vector<std::string> arrKeptTips;
  if (change.arrDeletedPositions.empty()) {
    for (int32_t nPosition = 0; nPosition < GetLayout().GetHeaderCount(); ++nPosition)
      arrKeptTips.push_back(GetHeaderTip(nPosition).toStdString());
  }
  BuildHeader();
  ForgetSortAfterHeaderRebuild();
  for (size_t nPosition = 0; nPosition < arrKeptTips.size(); ++nPosition)
    SetHeaderTip(static_cast<int32_t>(nPosition), arrKeptTips[nPosition]);
  if (change.insert) {
    SetHeaderTip(change.insert->nPosition, change.insert->strTip);
  }
  for (const sHeaderTip& tip : change.arrTips) {
    SetHeaderTip(tip.nPosition, tip.strTip);
  }
  SaveProfile();
  // A live list places its rows again by the changed column's new values.
  if (m_store.IsLive()) {
    Filter();
  }
  RepaintAll();
}

void CFilterListCtrl::ApplyRepositionedColumns() {
  ResetFilters();
  BuildHeader();
  ForgetSortAfterHeaderRebuild();
  RepaintAll();
}
