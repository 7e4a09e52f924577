// The live filter and sort of CFilterListStore: its operations while the view is a CLiveView.
#include <algorithm>

#include "lists/FilterListStore.h"
#include "lists/LiveView.h"

void sViewSpan::Add(int32_t nFrom, int32_t nTo) {
  if (nFrom < 0 || nTo < nFrom) {
    return;
  }
  nFirst = nFirst < 0 ? nFrom : std::min(nFirst, nFrom);
  nLast = std::max(nLast, nTo);
}

void sViewSpan::AddMove(int32_t nOldRow, int32_t nOldCount, int32_t nNewRow, int32_t nNewCount) {
  if (nOldRow >= 0 && nNewRow >= 0) {
    Add(std::min(nOldRow, nNewRow), std::max(nOldRow, nNewRow));
  } else if (nNewRow >= 0) {
    Add(nNewRow, nNewCount - 1);
  } else if (nOldRow >= 0) {
    Add(nOldRow, nOldCount - 1);
  }
}

int32_t CFilterListStore::ToViewRow(int32_t nEntry, int32_t nViewCount) const {
  if (nEntry < 0) {
    return -1;
  }
  return m_bReverse ? nViewCount - 1 - nEntry : nEntry;
}

void CFilterListStore::SetLive(bool bOn) {
  if (bOn == IsLive()) {
    return;
  }
  if (bOn) {
    m_pLive = std::make_unique<CLiveView>(*this);
    m_arrView.clear();
    PlaceLiveRows();
    return;
  }
  m_arrView = m_pLive->GetOrder();
  m_nViewCount = static_cast<int32_t>(m_arrView.size());
  m_pLive.reset();
}

void CFilterListStore::PlaceLiveRows() {
  const bool bExact = m_bMatchExactly || m_bExactForThisSetting;
  const size_t nFilters = std::min(m_arrFilterColumns.size(), m_arrFilterTexts.size());
  std::vector<CFilterMatcher> arrMatchers;
  arrMatchers.reserve(nFilters);
  for (size_t i = 0; i < nFilters; ++i) {
    arrMatchers.emplace_back(m_arrFilterTexts[i], bExact);
  }
  m_pLive->Rebuild(std::vector<int32_t>(m_arrFilterColumns.begin(), m_arrFilterColumns.begin() + nFilters),
                   std::move(arrMatchers),
                   {m_nSortColumnIndex, m_nSortValueType, m_sortState.GetDirection()});
  m_nViewCount = m_pLive->GetCount();
}

void CFilterListStore::SortLiveRows() {
  m_pLive->SetSort({m_nSortColumnIndex, m_nSortValueType, m_sortState.GetDirection()});
  m_nViewCount = m_pLive->GetCount();
}

sStoreResult CFilterListStore::FilterLive() {
  if (m_arrFilterColumns.size() != m_arrFilterTexts.size()) {
    m_pLive->ShowNone();
    m_nViewCount = 0;
    return {false, 0, kFilterFailedText};
  }
  PlaceLiveRows();
  m_bExactForThisSetting = false;
  return {true};
}

int32_t CFilterListStore::InsertLiveRow(int32_t nPosition, const void* pRecord) {
  const int32_t nStoreCount = GetStoreCount();
  const int32_t nStoreIndex = nPosition <= 0 || nPosition >= nStoreCount ? nStoreCount : nPosition;
  m_arrNodes.insert(m_arrNodes.begin() + nStoreIndex, sRowNode{pRecord, 0});
  const int32_t nEntry = m_pLive->InsertRow(nStoreIndex);
  m_nViewCount = m_pLive->GetCount();
  // A row placed later may stand anywhere: every row from the top may have moved.
  return nEntry == CLiveView::kPlaceLater ? 0 : ToViewRow(nEntry, m_nViewCount);
}

void CFilterListStore::DeleteLiveRow(int32_t nStoreIndex) {
  m_pLive->EraseRow(nStoreIndex);
  m_arrNodes.erase(m_arrNodes.begin() + nStoreIndex);
  m_nViewCount = m_pLive->GetCount();
  m_sortState.ForgetPrevious();
}

sLiveUpdate CFilterListStore::UpdateRecord(const void* pRecord) {
  sLiveUpdate update;
  if (m_pLive == nullptr || pRecord == nullptr) {
    return update;
  }
  m_pLive->ForEachRowOf(pRecord, [this, &update](int32_t nStoreIndex) {
    const int32_t nOldCount = m_nViewCount;
    const sLiveMove move = m_pLive->UpdateRow(nStoreIndex);
    if (move.bInPlace) {
      update.bInPlace = true;
      return;
    }
    m_nViewCount = m_pLive->GetCount();
    const int32_t nNewRow = ToViewRow(move.nNewEntry, m_nViewCount);
    update.span.AddMove(ToViewRow(move.nOldEntry, nOldCount), nOldCount, nNewRow, m_nViewCount);
    if (nNewRow >= 0 && (update.nRow < 0 || nNewRow < update.nRow)) {
      update.nRow = nNewRow;
    }
  });
  return update;
}

int32_t CFilterListStore::FindRecordRow(const void* pRecord) const {
  int32_t nFirstRow = -1;
  if (m_pLive == nullptr) {
    return nFirstRow;
  }
  m_pLive->ForEachRowOf(pRecord, [this, &nFirstRow](int32_t nStoreIndex) {
    const int32_t nRow = FindViewRow(nStoreIndex);
    if (nRow >= 0 && (nFirstRow < 0 || nRow < nFirstRow)) {
      nFirstRow = nRow;
    }
  });
  return nFirstRow;
}

void CFilterListStore::RestoreSort(int32_t nPosition, int32_t nDirection) {
  m_sortState.Restore(nPosition, nDirection);
  RecordSortColumn(nPosition);
  if (m_pLive != nullptr) {
    SortLiveRows();
  }
}

void CFilterListStore::ClearSort() {
  m_nSortColumnIndex = -1;
  m_nSortValueType = 0;
  if (m_pLive != nullptr) {
    SortLiveRows();
  }
}
