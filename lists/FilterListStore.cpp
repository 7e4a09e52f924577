#include "lists/FilterListStore.h"

#include <algorithm>

#include "lists/FilterMatch.h"
#include "lists/LiveView.h"

namespace {

// How far ahead of the row being read a pass starts loading. A record is loaded before its
// cell, whose address the record holds.
constexpr size_t kPrefetchNear = 16;
constexpr size_t kPrefetchFar = 32;

}  // namespace

CFilterListStore::CFilterListStore(const CListLayout& layout) : m_layout(layout) {}

CFilterListStore::~CFilterListStore() = default;

void CFilterListStore::PrefetchRows(const void* pNearRecord, const void* pFarRecord, int32_t nColumn) const {
  if (pFarRecord != nullptr) {
    __builtin_prefetch(pFarRecord);
  }
  if (pNearRecord == nullptr || nColumn < 0) {
    return;
  }
  if (nColumn < m_layout.m_nCatalogueCount) {
    if (m_fnCellPrefetch) {
      m_fnCellPrefetch(pNearRecord, nColumn);
    }
  } else if (m_fnCustomPrefetch) {
    m_fnCustomPrefetch(pNearRecord, nColumn);
  }
}

bool CFilterListStore::GetCellText(const void* pRecord, int32_t nColumn, sCellText& cell) const {
  if (!m_fnCellText) {
    return false;
  }
  if (nColumn >= m_layout.m_nCatalogueCount && m_fnCustomColumn) {
    // A custom column's text counts as produced even when its computation left it unchanged.
    m_fnCustomColumn(pRecord, nColumn, cell);
    return true;
  }
  return m_fnCellText(pRecord, nColumn, cell);
}

bool CFilterListStore::GetCellShapes(std::span<const void* const> arrRecords, std::span<const void* const> arrAhead,
                                     int32_t nColumn, bool bValues, std::span<sTextShape> arrShapes) const {
  if (!m_fnCellText || !m_fnCellShapes || nColumn < 0 || nColumn >= m_layout.m_nCatalogueCount) return false;
  m_fnCellShapes(arrRecords, arrAhead, nColumn, bValues, arrShapes);
  return true;
}

bool CFilterListStore::GetViewCellText(int32_t nViewRow, int32_t nPosition, sCellText& cell) const {
  cell.Reset();
  const int32_t nStoreIndex = GetStoreIndex(nViewRow);
  if (nStoreIndex < 0) {
    return false;
  }
  if (!HasDataSource()) {
    cell.strText = kNoDataDescriptorText;
    return false;
  }
  const int32_t nColumn = m_layout.GetColumnAt(nPosition);
  if (nColumn < 0) {
    return false;
  }
  return GetCellText(m_arrNodes[static_cast<size_t>(nStoreIndex)].pRecord, nColumn, cell);
}

int32_t CFilterListStore::GetViewEntry(int32_t nViewRow) const {
  if (nViewRow < 0 || nViewRow >= m_nViewCount) {
    return -1;
  }
  return m_bReverse ? m_nViewCount - 1 - nViewRow : nViewRow;
}

int32_t CFilterListStore::GetStoreIndex(int32_t nViewRow) const {
  const int32_t nEntry = GetViewEntry(nViewRow);
  if (m_pLive != nullptr) {
    return nEntry < 0 ? -1 : m_pLive->GetStoreIndexAt(nEntry);
  }
  if (nEntry < 0 || static_cast<size_t>(nEntry) >= m_arrView.size()) {
    return -1;
  }
  const int32_t nStoreIndex = m_arrView[static_cast<size_t>(nEntry)];
  return nStoreIndex >= 0 && nStoreIndex < GetStoreCount() ? nStoreIndex : -1;
}

int32_t CFilterListStore::FindViewRow(int32_t nStoreIndex) const {
  if (m_pLive != nullptr) {
    return ToViewRow(m_pLive->FindEntry(nStoreIndex), m_nViewCount);
  }
  const auto itEnd = m_arrView.begin() + m_nViewCount;
  const auto it = std::find(m_arrView.begin(), itEnd, nStoreIndex);
  if (it == itEnd) {
    return -1;
  }
  const int32_t nEntry = static_cast<int32_t>(it - m_arrView.begin());
  return m_bReverse ? m_nViewCount - 1 - nEntry : nEntry;
}

const void* CFilterListStore::GetRecord(int32_t nViewRow) const {
  return GetStoreRecord(GetStoreIndex(nViewRow));
}

const void* CFilterListStore::GetStoreRecord(int32_t nStoreIndex) const {
  if (nStoreIndex < 0 || nStoreIndex >= GetStoreCount()) {
    return nullptr;
  }
  return m_arrNodes[static_cast<size_t>(nStoreIndex)].pRecord;
}

void CFilterListStore::EmptyStore() {
  m_arrNodes.clear();
  m_arrView.clear();
  m_nViewCount = 0;
  if (m_pLive != nullptr) {
    m_pLive->Clear();
  }
}

sStoreResult CFilterListStore::InsertRow(int32_t nPosition, const void* pRecord) {
  if (m_pLive != nullptr) {
    return {true, InsertLiveRow(nPosition, pRecord)};
  }
  const int32_t nStoreCount = GetStoreCount();
  int32_t nEntry = m_nViewCount;
  if (nPosition <= 0 || nPosition >= nStoreCount) {
    m_arrNodes.push_back({pRecord, 0});
    m_arrView.insert(m_arrView.begin() + nEntry, nStoreCount);
  } else {
    m_arrNodes.insert(m_arrNodes.begin() + nPosition, sRowNode{pRecord, 0});
    bool bBroken = false;
    for (int32_t i = 0; i < m_nViewCount; ++i) {
      int32_t& nIndex = m_arrView[static_cast<size_t>(i)];
      if (nIndex >= nPosition) {
        ++nIndex;
      }
      bBroken = bBroken || nIndex < 0 || nIndex > nStoreCount;
    }
    if (bBroken) {
      EmptyStore();
      return {true, 0, kInsertReindexFailedText};
    }
    nEntry = std::min(nPosition, m_nViewCount);
    m_arrView.insert(m_arrView.begin() + nEntry, nPosition);
  }
  ++m_nViewCount;
  return {true, m_bReverse ? m_nViewCount - 1 - nEntry : nEntry};
}

sStoreResult CFilterListStore::DeleteRow(int32_t nViewRow) {
  const int32_t nEntry = GetViewEntry(nViewRow);
  if (nEntry < 0 || GetStoreIndex(nViewRow) < 0) {
    return {false, 0, kDeleteNotFoundText};
  }
  if (m_pLive != nullptr) {
    DeleteLiveRow(GetStoreIndex(nViewRow));
    return {true};
  }
  return DeleteViewEntry(nEntry);
}

sStoreResult CFilterListStore::DeleteViewEntry(int32_t nEntry) {
  const int32_t nStoreIndex = m_arrView[static_cast<size_t>(nEntry)];
  m_arrNodes.erase(m_arrNodes.begin() + nStoreIndex);
  m_arrView.erase(m_arrView.begin() + nEntry);
  --m_nViewCount;
  bool bBroken = false;
  for (int32_t i = 0; i < m_nViewCount; ++i) {
    int32_t& nIndex = m_arrView[static_cast<size_t>(i)];
    if (nIndex > nStoreIndex) {
      --nIndex;
    } else if (nIndex == nStoreIndex) {
      bBroken = true;
    }
  }
  if (bBroken) {
    EmptyStore();
    return {false, 0, kDeleteReindexFailedText};
  }
  m_sortState.ForgetPrevious();
  return {true};
}

sStoreResult CFilterListStore::DeleteStoreRow(int32_t nStoreIndex) {
  if (nStoreIndex < 0 || nStoreIndex >= GetStoreCount()) {
    return {};
  }
  if (m_pLive != nullptr) {
    DeleteLiveRow(nStoreIndex);
    return {true};
  }
  const auto itShownEnd = m_arrView.begin() + m_nViewCount;
  const auto itShown = std::find(m_arrView.begin(), itShownEnd, nStoreIndex);
  if (itShown != itShownEnd) {
    return DeleteViewEntry(static_cast<int32_t>(itShown - m_arrView.begin()));
  }
  if (std::find(itShownEnd, m_arrView.end(), nStoreIndex) != m_arrView.end()) {
    return {false, 0, kDeleteMapItemFailedText};
  }
  // Filtered out: only the view entries after it change.
  m_arrNodes.erase(m_arrNodes.begin() + nStoreIndex);
  for (int32_t i = 0; i < m_nViewCount; ++i) {
    int32_t& nIndex = m_arrView[static_cast<size_t>(i)];
    if (nIndex > nStoreIndex) {
      --nIndex;
    }
  }
  m_sortState.ForgetPrevious();
  return {true};
}

void CFilterListStore::DeleteAllRows() { EmptyStore(); }

uint32_t CFilterListStore::GetCheck(int32_t nViewRow) const {
  const int32_t nStoreIndex = GetStoreIndex(nViewRow);
  return nStoreIndex >= 0 ? m_arrNodes[static_cast<size_t>(nStoreIndex)].nCheck : 0;
}

bool CFilterListStore::SetCheck(int32_t nViewRow, uint32_t nCheck) {
  const int32_t nStoreIndex = GetStoreIndex(nViewRow);
  if (nStoreIndex < 0) {
    return false;
  }
  m_arrNodes[static_cast<size_t>(nStoreIndex)].nCheck = nCheck;
  return true;
}

int32_t CFilterListStore::FindFilter(int32_t nColumn) const {
  const auto it = std::find(m_arrFilterColumns.begin(), m_arrFilterColumns.end(), nColumn);
  const int32_t nIndex = static_cast<int32_t>(it - m_arrFilterColumns.begin());
  return it != m_arrFilterColumns.end() && static_cast<size_t>(nIndex) < m_arrFilterTexts.size() ? nIndex
                                                                                                 : -1;
}

void CFilterListStore::SetColumnFilter(int32_t nColumn, std::string_view strText) {
  if (nColumn < 0) {
    return;
  }
  const int32_t nIndex = FindFilter(nColumn);
  if (strText.empty()) {
    if (nIndex >= 0) {
      m_arrFilterColumns.erase(m_arrFilterColumns.begin() + nIndex);
      m_arrFilterTexts.erase(m_arrFilterTexts.begin() + nIndex);
    }
    return;
  }
  if (nIndex >= 0) {
    m_arrFilterTexts[static_cast<size_t>(nIndex)].assign(strText);
    return;
  }
  m_arrFilterColumns.push_back(nColumn);
  m_arrFilterTexts.emplace_back(strText);
}

std::string_view CFilterListStore::GetColumnFilter(int32_t nColumn) const {
  const int32_t nIndex = FindFilter(nColumn);
  return nIndex >= 0 ? std::string_view(m_arrFilterTexts[static_cast<size_t>(nIndex)]) : std::string_view();
}

void CFilterListStore::ResetFilters() {
  m_arrFilterColumns.clear();
  m_arrFilterTexts.clear();
}

sHeaderFilterWrite CFilterListStore::SetFilter(int32_t nColumn, std::string_view strText, bool bExact) {
  m_bExactForThisSetting = bExact;
  const int32_t nPosition = m_layout.GetPosition(nColumn);
  if (nPosition >= 0) {
    return {nPosition, std::string(strText)};
  }
  SetColumnFilter(nColumn, strText);
  return {0, std::string()};
}

std::optional<std::vector<sHeaderFilterWrite>> CFilterListStore::SetFilters(
    std::span<const int32_t> arrColumns, std::span<const std::string> arrTexts, bool bExact) {
  if (arrColumns.size() != arrTexts.size() ||
      std::any_of(arrColumns.begin(), arrColumns.end(), [](int32_t nColumn) { return nColumn < 0; })) {
    return std::nullopt;
  }
  ResetFilters();
  m_bExactForThisSetting = bExact;
  std::vector<sHeaderFilterWrite> arrWrites;
  for (size_t i = 0; i < arrColumns.size(); ++i) {
    const int32_t nPosition = m_layout.GetPosition(arrColumns[i]);
    if (nPosition >= 0) {
      arrWrites.push_back({nPosition, arrTexts[i]});
    } else {
      SetColumnFilter(arrColumns[i], arrTexts[i]);
    }
  }
  if (arrWrites.empty()) {
    arrWrites.push_back({0, std::string()});
  }
  return arrWrites;
}

sStoreResult CFilterListStore::Filter() {
  if (!HasDataSource() || m_layout.GetHeaderCount() < 1) {
    return {};
  }
  if (m_pLive != nullptr) {
    return FilterLive();
  }
  m_arrView.clear();
  m_nViewCount = 0;
  if (m_arrFilterColumns.size() != m_arrFilterTexts.size()) {
    return {false, 0, kFilterFailedText};
  }
  const bool bExact = m_bMatchExactly || m_bExactForThisSetting;
  std::vector<CFilterMatcher> arrMatchers;
  arrMatchers.reserve(m_arrFilterTexts.size());
  for (const std::string& strText : m_arrFilterTexts) {
    arrMatchers.emplace_back(strText, bExact);
  }
  m_arrView.reserve(m_arrNodes.size());
  sCellText cell;
  const size_t nStoreCount = m_arrNodes.size();
  // Every row reads the first filter column; later ones only for rows that pass before them.
  const int32_t nFirstColumn = m_arrFilterColumns.empty() ? -1 : m_arrFilterColumns.front();
  for (size_t nStoreIndex = 0; nStoreIndex < nStoreCount; ++nStoreIndex) {
    if (nFirstColumn >= 0) {
      const size_t nNear = nStoreIndex + kPrefetchNear;
      const size_t nFar = nStoreIndex + kPrefetchFar;
      PrefetchRows(nNear < nStoreCount ? m_arrNodes[nNear].pRecord : nullptr,
                   nFar < nStoreCount ? m_arrNodes[nFar].pRecord : nullptr, nFirstColumn);
    }
    const void* pRecord = m_arrNodes[nStoreIndex].pRecord;
    if (pRecord == nullptr) {
      continue;
    }
    bool bPasses = true;
    for (size_t i = 0; i < arrMatchers.size() && bPasses; ++i) {
      cell.Reset();
      GetCellText(pRecord, m_arrFilterColumns[i], cell);
      bPasses = arrMatchers[i].Matches(cell.strText);
    }
    if (bPasses) {
      m_arrView.push_back(static_cast<int32_t>(nStoreIndex));
    }
  }
  m_nViewCount = static_cast<int32_t>(m_arrView.size());
  m_bExactForThisSetting = false;
  return {true};
}

void CFilterListStore::RecordSortColumn(int32_t nPosition) {
  m_nSortColumnIndex = m_layout.GetColumnAt(nPosition);
  const bool bKnown =
      m_nSortColumnIndex >= 0 && static_cast<size_t>(m_nSortColumnIndex) < m_layout.m_arrColumns.size();
  m_nSortValueType = bKnown ? m_layout.m_arrColumns[static_cast<size_t>(m_nSortColumnIndex)].nDataType : 0;
}

sSortResult CFilterListStore::SortByPosition(int32_t nPosition) {
  sSortResult result;
  if (m_nViewCount == 0) {
    return result;
  }
  result.bSorted = true;
  result.click = m_sortState.Click(nPosition);
  RecordSortColumn(nPosition);
  if (m_pLive != nullptr) {
    SortLiveRows();
    return result;
  }
  std::vector<int32_t> arrRows(m_arrView.begin(), m_arrView.begin() + m_nViewCount);
  sCellText cell;
  const int32_t nColumn = m_nSortColumnIndex;
  // The rows are read once each, in the order of arrRows.
  size_t nRead = 0;
  SortRowsByText(
      arrRows,
      [this, &cell, &arrRows, &nRead, nColumn](int32_t nStoreIndex, std::string& strText) {
        const size_t nNear = nRead + kPrefetchNear;
        const size_t nFar = nRead + kPrefetchFar;
        ++nRead;
        PrefetchRows(nNear < arrRows.size() ? GetStoreRecord(arrRows[nNear]) : nullptr,
                     nFar < arrRows.size() ? GetStoreRecord(arrRows[nFar]) : nullptr, nColumn);
        cell.Reset();
        GetCellText(m_arrNodes[static_cast<size_t>(nStoreIndex)].pRecord, nColumn, cell);
        strText.swap(cell.strText);
      },
      eSortRule::kData, m_nSortValueType, m_sortState.GetDirection());
  if (m_bReverse) {
    std::reverse(arrRows.begin(), arrRows.end());
  }
  std::copy(arrRows.begin(), arrRows.end(), m_arrView.begin());
  return result;
}
