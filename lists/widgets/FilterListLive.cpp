// The live filter and sort of CFilterListCtrl: the store places each new or changed row at once;
// the view follows once per turn of the event loop.
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScrollBar>
#include <algorithm>

#include "lists/widgets/FilterListCtrl.h"
#include "lists/widgets/ListTableModel.h"

namespace {

// A larger selection stays on its rows: following it would cost a search per row every turn.
constexpr size_t kFollowedSelectionLimit = 1000;

}  // namespace

void CFilterListCtrl::BeginLiveChange() {
  if (m_bLiveChangesWaiting) {
    return;
  }
  m_bLiveChangesWaiting = true;
  m_arrLiveSelection.clear();
  m_arrLiveSelectedRows.clear();
  m_pLiveCurrent = nullptr;
  if (selectionModel()->hasSelection()) {
    std::vector<int32_t> arrRows = GetSelectedRows();
    if (arrRows.size() <= kFollowedSelectionLimit) {
      for (const int32_t nRow : arrRows) {
        m_arrLiveSelection.push_back(m_store.GetRecord(nRow));
      }
      m_arrLiveSelectedRows = std::move(arrRows);
    }
  }
  const QModelIndex current = selectionModel()->currentIndex();
  if (current.isValid()) {
    m_pLiveCurrent = m_store.GetRecord(current.row());
  }
  m_arrLivePage.clear();
  int32_t nLast = -1;
  if (GetVisibleRows(m_nLivePageFirst, nLast)) {
    for (int32_t nRow = m_nLivePageFirst; nRow <= nLast; ++nRow) m_arrLivePage.push_back(m_store.GetRecord(nRow));
  }
  QMetaObject::invokeMethod(
      this, [this] { FlushLiveChanges(); }, Qt::QueuedConnection);
}

void CFilterListCtrl::FlushLiveChanges() {
  FlushAppends();
  if (!m_bLiveChangesWaiting) {
    return;
  }
  m_bLiveChangesWaiting = false;
  GetModel().SetRowCount(m_store.GetViewCount());

  // The rows on the page from the scroll position and the row height, whether they still exist
  // or not: rows that left the end of the view are painted empty.
  const int nRowHeight = std::max(1, verticalHeader()->defaultSectionSize());
  const int32_t nTop = verticalScrollBar()->value();
  const int32_t nFrom = std::max(m_liveSpan.nFirst, nTop);
  const int32_t nTo = std::min(m_liveSpan.nLast, nTop + viewport()->height() / nRowHeight + 1);
  if (m_liveSpan.nFirst >= 0 && nFrom <= nTo) {
    viewport()->update(
        QRect(0, (nFrom - nTop) * nRowHeight, viewport()->width(), (nTo - nFrom + 1) * nRowHeight));
  }
  m_liveSpan = sViewSpan();

  // The selection goes where its records are now; records that left the view leave it.
  std::vector<int32_t> arrRows;
  for (const void* pRecord : m_arrLiveSelection) {
    const int32_t nRow = m_store.FindRecordRow(pRecord);
    if (nRow >= 0) {
      arrRows.push_back(nRow);
    }
  }
  std::sort(arrRows.begin(), arrRows.end());
  if (arrRows != m_arrLiveSelectedRows) {
    QItemSelection selection;
    for (const int32_t nRow : arrRows) {
      const QModelIndex index = GetModel().index(nRow, 0);
      selection.select(index, index);
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  }
  if (m_pLiveCurrent != nullptr) {
    const int32_t nRow = m_store.FindRecordRow(m_pLiveCurrent);
    const QModelIndex current = selectionModel()->currentIndex();
    if (nRow >= 0 && nRow != current.row()) {
      selectionModel()->setCurrentIndex(GetModel().index(nRow, std::max(current.column(), 0)),
                                        QItemSelectionModel::NoUpdate);
    }
  }
  m_arrLiveSelection.clear();
  m_arrLiveSelectedRows.clear();
  m_pLiveCurrent = nullptr;
}

bool CFilterListCtrl::RepaintLiveRecordInPlace(const void* pRecord) {
  // Rows that moved this turn are repainted by their spans, which cover the rows they passed.
  const auto it = std::find(m_arrLivePage.begin(), m_arrLivePage.end(), pRecord);
  if (it == m_arrLivePage.end()) {
    return false;
  }
  const auto nRow = m_nLivePageFirst + static_cast<int32_t>(it - m_arrLivePage.begin());
  m_liveSpan.Add(nRow, nRow);
  return true;
}

bool CFilterListCtrl::IsRowOnPage(int32_t nRow) const {
  int32_t nFirst = 0;
  int32_t nLast = -1;
  return nRow >= 0 && GetVisibleRows(nFirst, nLast) && nRow >= nFirst && nRow <= nLast;
}
