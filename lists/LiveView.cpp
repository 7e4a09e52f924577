#include "lists/LiveView.h"

#include <algorithm>
#include <cmath>

#include "lists/FilterListStore.h"
#include "model/NumberFormat.h"

void CLiveView::Rebuild(std::vector<int32_t> arrFilterColumns, std::vector<CFilterMatcher> arrMatchers,
                        const sLiveSort& sort) {
  m_arrFilterColumns = std::move(arrFilterColumns);
  m_arrMatchers = std::move(arrMatchers);
  m_bShowNone = false;
  m_sort = sort;
  PlaceAll();
}

void CLiveView::ShowNone() {
  m_bShowNone = true;
  PlaceAll();
}

void CLiveView::SetSort(const sLiveSort& sort) {
  m_sort = sort;
  PlaceAll();
}

void CLiveView::Clear() {
  m_tree.Clear();
  m_arrPending.clear();
  m_nSortedPending = 0;
  m_arrSlotOfRow.clear();
  m_arrRowOfSlot.clear();
  m_arrFreeSlots.clear();
  m_arrHandles.clear();
  m_arrIntegers.clear();
  m_arrDecimals.clear();
  m_arrTexts.clear();
  m_slots.Clear();
}

int32_t CLiveView::GetStoreIndexAt(int32_t nEntry) const {
  const int32_t nSlot = GetSlotAt(nEntry);
  return nSlot == CRankTree::kNone ? -1 : m_arrRowOfSlot[static_cast<size_t>(nSlot)];
}

int32_t CLiveView::GetSlotAt(int32_t nEntry) const {
  if (!m_arrPending.empty() && IsMergeDue()) {
    SettlePending();
  }
  if (m_arrPending.empty()) {
    return m_tree.GetValueAt(nEntry);
  }
  if (nEntry < 0 || nEntry >= GetCount()) {
    return CRankTree::kNone;
  }
  // A page is read without placing the waiting rows: the entry is the last of the first
  // nEntry + 1 of the placed and the (sorted) waiting rows merged. The number of waiting rows
  // among them is the largest count whose last one goes before the placed row after them.
  SortPending();
  const int32_t nPlaced = m_tree.GetCount();
  int32_t nLow = std::max(0, nEntry + 1 - nPlaced);
  int32_t nHigh = std::min(nEntry + 1, static_cast<int32_t>(m_arrPending.size()));
  while (nLow < nHigh) {
    const int32_t nMid = (nLow + nHigh + 1) / 2;
    const int32_t nNextPlaced = nEntry + 1 - nMid;
    if (nNextPlaced >= nPlaced ||
        IsBefore(m_arrPending[static_cast<size_t>(nMid - 1)], m_tree.GetValueAt(nNextPlaced))) {
      nLow = nMid;
    } else {
      nHigh = nMid - 1;
    }
  }
  if (nLow == 0) {
    return m_tree.GetValueAt(nEntry);
  }
  const int32_t nWaiting = m_arrPending[static_cast<size_t>(nLow - 1)];
  if (nEntry - nLow < 0) {
    return nWaiting;
  }
  const int32_t nPlacedSlot = m_tree.GetValueAt(nEntry - nLow);
  return IsBefore(nPlacedSlot, nWaiting) ? nWaiting : nPlacedSlot;
}

int32_t CLiveView::FindEntry(int32_t nStoreIndex) const {
  if (nStoreIndex < 0 || static_cast<size_t>(nStoreIndex) >= m_arrSlotOfRow.size()) {
    return -1;
  }
  SettlePending();
  const int32_t nHandle = m_arrHandles[static_cast<size_t>(m_arrSlotOfRow[static_cast<size_t>(nStoreIndex)])];
  return nHandle == CRankTree::kNone ? -1 : m_tree.GetRank(nHandle);
}

std::vector<int32_t> CLiveView::GetOrder() const {
  SettlePending();
  std::vector<int32_t> arrOrder = m_tree.GetValues();
  for (int32_t& nEntry : arrOrder) {
    nEntry = m_arrRowOfSlot[static_cast<size_t>(nEntry)];
  }
  return arrOrder;
}

bool CLiveView::Passes(const void* pRecord) {
  if (pRecord == nullptr || m_bShowNone) {
    return false;
  }
  for (size_t i = 0; i < m_arrMatchers.size(); ++i) {
    m_cell.Reset();
    m_store.GetCellText(pRecord, m_arrFilterColumns[i], m_cell);
    if (!m_arrMatchers[i].Matches(m_cell.strText)) {
      return false;
    }
  }
  return true;
}

void CLiveView::ReadKey(const void* pRecord, sKey& key) {
  m_cell.Reset();
  m_store.GetCellText(pRecord, m_sort.nColumn, m_cell);
  switch (m_eKeyKind) {
    case eSortKeyKind::kInteger:
      key.nInteger = ReadCellInteger(m_cell.strText);
      break;
    case eSortKeyKind::kLong:
      key.nInteger = ReadCellLong(m_cell.strText);
      break;
    case eSortKeyKind::kDecimal:
      key.dDecimal = ParseDecimalText(m_cell.strText);
      break;
    case eSortKeyKind::kText:
    case eSortKeyKind::kDate:
      key.strText.swap(m_cell.strText);
      break;
    case eSortKeyKind::kBaseDecimal:  // not a kind of the data rule
    case eSortKeyKind::kNone:
      break;
  }
}

bool CLiveView::HasKey(int32_t nSlot, const sKey& key) const {
  const auto nAt = static_cast<size_t>(nSlot);
  switch (m_eKeyKind) {
    case eSortKeyKind::kInteger:
    case eSortKeyKind::kLong:
      return m_arrIntegers[nAt] == key.nInteger;
    case eSortKeyKind::kDecimal: {
      const double dStored = m_arrDecimals[nAt];
      return dStored == key.dDecimal || (std::isnan(dStored) && std::isnan(key.dDecimal));
    }
    case eSortKeyKind::kText:
    case eSortKeyKind::kDate:
      return m_arrTexts[nAt] == key.strText;
    case eSortKeyKind::kBaseDecimal:
    case eSortKeyKind::kNone:
      return true;
  }
  return true;
}

void CLiveView::StoreKey(int32_t nSlot, sKey& key) {
  const auto nAt = static_cast<size_t>(nSlot);
  switch (m_eKeyKind) {
    case eSortKeyKind::kInteger:
    case eSortKeyKind::kLong:
      m_arrIntegers[nAt] = key.nInteger;
      break;
    case eSortKeyKind::kDecimal:
      m_arrDecimals[nAt] = key.dDecimal;
      break;
    case eSortKeyKind::kText:
    case eSortKeyKind::kDate:
      m_arrTexts[nAt].swap(key.strText);
      break;
    case eSortKeyKind::kBaseDecimal:
    case eSortKeyKind::kNone:
      break;
  }
}

bool CLiveView::IsBefore(int32_t nFirst, int32_t nSecond) const {
  const auto nA = static_cast<size_t>(nFirst);
  const auto nB = static_cast<size_t>(nSecond);
  const bool bAscending = m_sort.nDirection < 0;
  switch (m_eKeyKind) {
    case eSortKeyKind::kInteger:
    case eSortKeyKind::kLong:
      if (m_arrIntegers[nA] != m_arrIntegers[nB]) {
        return bAscending == (m_arrIntegers[nA] < m_arrIntegers[nB]);
      }
      break;
    case eSortKeyKind::kDecimal: {
      // A "nan" equals every value to the comparison; it goes last, as in a sort by click.
      const double dA = m_arrDecimals[nA];
      const double dB = m_arrDecimals[nB];
      if (std::isnan(dA) != std::isnan(dB)) {
        return std::isnan(dB);
      }
      if (dA < dB || dB < dA) {
        return bAscending == (dA < dB);
      }
      break;
    }
    case eSortKeyKind::kText: {
      const int nOrder = m_arrTexts[nA].compare(m_arrTexts[nB]);
      if (nOrder != 0) {
        return bAscending == (nOrder < 0);
      }
      break;
    }
    case eSortKeyKind::kDate: {
      const int32_t nOrder = CompareDateTexts(m_arrTexts[nA], m_arrTexts[nB], m_sort.nDirection);
      if (nOrder != 0) {
        return nOrder < 0;
      }
      break;
    }
    case eSortKeyKind::kBaseDecimal:
    case eSortKeyKind::kNone:
      break;
  }
  return m_arrRowOfSlot[nA] < m_arrRowOfSlot[nB];
}

int32_t CLiveView::Attach(int32_t nSlot) const {
  int32_t nRank = 0;
  m_arrHandles[static_cast<size_t>(nSlot)] = m_tree.Insert(
      nSlot, [this](int32_t nFirst, int32_t nSecond) { return IsBefore(nFirst, nSecond); }, &nRank);
  return nRank;
}

bool CLiveView::Prepare(int32_t nSlot, const void* pRecord) {
  if (!Passes(pRecord)) {
    return false;
  }
  if (m_eKeyKind != eSortKeyKind::kNone) {
    ReadKey(pRecord, m_scratchKey);
    StoreKey(nSlot, m_scratchKey);
  }
  return true;
}

int32_t CLiveView::Place(int32_t nSlot, const void* pRecord) { return Prepare(nSlot, pRecord) ? Attach(nSlot) : -1; }

bool CLiveView::IsMergeDue() const {
  // One by one each costs a walk down the tree; merged, they cost one pass over every row.
  // Pages are read without placing them, so they wait until they are a quarter of the tree.
  constexpr size_t kMergeShare = 4;
  return m_arrPending.size() * kMergeShare >= static_cast<size_t>(m_tree.GetCount());
}

void CLiveView::SettlePending() const {
  if (m_arrPending.empty()) {
    return;
  }
  const auto fnBefore = [this](int32_t nFirst, int32_t nSecond) { return IsBefore(nFirst, nSecond); };
  if (!IsMergeDue()) {
    for (const int32_t nSlot : m_arrPending) {
      Attach(nSlot);
    }
  } else {
    SortPending();
    const std::vector<int32_t> arrPlaced = m_tree.GetValues();
    std::vector<int32_t> arrAll(arrPlaced.size() + m_arrPending.size());
    std::merge(arrPlaced.begin(), arrPlaced.end(), m_arrPending.begin(), m_arrPending.end(), arrAll.begin(),
               fnBefore);
    m_tree.Assign(arrAll);
    for (size_t nHandle = 0; nHandle < arrAll.size(); ++nHandle) {
      m_arrHandles[static_cast<size_t>(arrAll[nHandle])] = static_cast<int32_t>(nHandle);
    }
  }
  m_arrPending.clear();
  m_nSortedPending = 0;
}

int32_t CLiveView::AllocateSlot() {
  if (!m_arrFreeSlots.empty()) {
    const int32_t nSlot = m_arrFreeSlots.back();
    m_arrFreeSlots.pop_back();
    return nSlot;
  }
  const auto nSlot = static_cast<int32_t>(m_arrRowOfSlot.size());
  m_arrRowOfSlot.push_back(-1);
  m_arrHandles.push_back(CRankTree::kNone);
  switch (m_eKeyKind) {
    case eSortKeyKind::kInteger:
    case eSortKeyKind::kLong:
      m_arrIntegers.push_back(0);
      break;
    case eSortKeyKind::kDecimal:
      m_arrDecimals.push_back(0.0);
      break;
    case eSortKeyKind::kText:
    case eSortKeyKind::kDate:
      m_arrTexts.emplace_back();
      break;
    case eSortKeyKind::kBaseDecimal:
    case eSortKeyKind::kNone:
      break;
  }
  return nSlot;
}

void CLiveView::PlaceAll() {
  const int32_t nCount = m_store.GetStoreCount();
  m_eKeyKind =
      m_sort.nColumn >= 0 ? GetSortKeyKind(eSortRule::kData, m_sort.nValueType) : eSortKeyKind::kNone;
  Clear();
  m_slots.Reserve(static_cast<size_t>(nCount));
  std::vector<int32_t> arrShown;
  for (int32_t nStoreIndex = 0; nStoreIndex < nCount; ++nStoreIndex) {
    const int32_t nSlot = AllocateSlot();
    m_arrSlotOfRow.push_back(nSlot);
    m_arrRowOfSlot[static_cast<size_t>(nSlot)] = nStoreIndex;
    const void* pRecord = m_store.GetStoreRecord(nStoreIndex);
    if (pRecord == nullptr) {
      continue;
    }
    m_slots.Add(pRecord, nSlot);
    if (Prepare(nSlot, pRecord)) {
      arrShown.push_back(nSlot);
    }
  }
  // Date texts have no strict order for a sort to rely on; the tree takes them one by one.
  if (m_eKeyKind == eSortKeyKind::kDate) {
    for (const int32_t nSlot : arrShown) {
      Attach(nSlot);
    }
    return;
  }
  std::sort(arrShown.begin(), arrShown.end(),
            [this](int32_t nFirst, int32_t nSecond) { return IsBefore(nFirst, nSecond); });
  m_tree.Assign(arrShown);
  for (size_t nHandle = 0; nHandle < arrShown.size(); ++nHandle) {
    m_arrHandles[static_cast<size_t>(arrShown[nHandle])] = static_cast<int32_t>(nHandle);
  }
}

int32_t CLiveView::InsertRow(int32_t nStoreIndex) {
  // Date texts have no strict order to merge by; rows in the middle renumber the waiting ones.
  const bool bAtEnd = static_cast<size_t>(nStoreIndex) == m_arrSlotOfRow.size();
  if (!bAtEnd || m_eKeyKind == eSortKeyKind::kDate) {
    SettlePending();
  }
  if (!bAtEnd) {
    for (int32_t& nRow : m_arrRowOfSlot) {
      nRow += nRow >= nStoreIndex ? 1 : 0;
    }
  }
  const int32_t nSlot = AllocateSlot();
  m_arrRowOfSlot[static_cast<size_t>(nSlot)] = nStoreIndex;
  m_arrSlotOfRow.insert(m_arrSlotOfRow.begin() + nStoreIndex, nSlot);
  const void* pRecord = m_store.GetStoreRecord(nStoreIndex);
  if (pRecord != nullptr) {
    m_slots.Add(pRecord, nSlot);
  }
  if (!bAtEnd || m_eKeyKind == eSortKeyKind::kDate) {
    return Place(nSlot, pRecord);
  }
  if (!Prepare(nSlot, pRecord)) {
    return -1;
  }
  m_arrHandles[static_cast<size_t>(nSlot)] = kPendingHandle;
  m_arrPending.push_back(nSlot);
  return kPlaceLater;
}

int32_t CLiveView::CountPendingBefore(int32_t nSlot) const {
  SortPending();
  return static_cast<int32_t>(
      std::partition_point(m_arrPending.begin(), m_arrPending.end(),
                           [this, nSlot](int32_t nWaiting) { return IsBefore(nWaiting, nSlot); }) -
      m_arrPending.begin());
}

void CLiveView::SortPending() const {
  if (m_nSortedPending == m_arrPending.size()) {
    return;
  }
  // The rows added since the last sort are sorted alone and merged in.
  const auto fnBefore = [this](int32_t nFirst, int32_t nSecond) { return IsBefore(nFirst, nSecond); };
  const auto itNew = m_arrPending.begin() + static_cast<std::ptrdiff_t>(m_nSortedPending);
  std::sort(itNew, m_arrPending.end(), fnBefore);
  std::inplace_merge(m_arrPending.begin(), itNew, m_arrPending.end(), fnBefore);
  m_nSortedPending = m_arrPending.size();
}

int32_t CLiveView::EraseRow(int32_t nStoreIndex) {
  SettlePending();
  const int32_t nSlot = m_arrSlotOfRow[static_cast<size_t>(nStoreIndex)];
  m_slots.Remove(m_store.GetStoreRecord(nStoreIndex), nSlot);
  int32_t nEntry = -1;
  int32_t& nHandle = m_arrHandles[static_cast<size_t>(nSlot)];
  if (nHandle != CRankTree::kNone) {
    nEntry = m_tree.GetRank(nHandle);
    m_tree.Erase(nHandle);
    nHandle = CRankTree::kNone;
  }
  m_arrRowOfSlot[static_cast<size_t>(nSlot)] = -1;
  m_arrFreeSlots.push_back(nSlot);
  m_arrSlotOfRow.erase(m_arrSlotOfRow.begin() + nStoreIndex);
  for (int32_t& nRow : m_arrRowOfSlot) {
    nRow -= nRow > nStoreIndex ? 1 : 0;
  }
  return nEntry;
}

sLiveMove CLiveView::UpdateRow(int32_t nStoreIndex) {
  sLiveMove move;
  const int32_t nSlot = m_arrSlotOfRow[static_cast<size_t>(nStoreIndex)];
  int32_t& nHandle = m_arrHandles[static_cast<size_t>(nSlot)];
  // A change among many new rows leaves them waiting: its places count the waiting rows
  // before it, a pass over them instead of a walk down the tree for each.
  if (nHandle == kPendingHandle || IsMergeDue()) {
    SettlePending();
  }
  const void* pRecord = m_store.GetStoreRecord(nStoreIndex);
  if (!Passes(pRecord)) {
    if (nHandle != CRankTree::kNone) {
      move.nOldEntry = m_tree.GetRank(nHandle) + CountPendingBefore(nSlot);
      m_tree.Erase(nHandle);
      nHandle = CRankTree::kNone;
    }
    return move;
  }
  if (m_eKeyKind != eSortKeyKind::kNone) {
    ReadKey(pRecord, m_scratchKey);
  }
  if (nHandle != CRankTree::kNone) {
    // Its place depends on its key and index alone: an unchanged key keeps it where it is.
    if (HasKey(nSlot, m_scratchKey)) {
      move.bInPlace = true;
      return move;
    }
    move.nOldEntry = m_tree.GetRank(nHandle) + CountPendingBefore(nSlot);
    m_tree.Erase(nHandle);
  }
  StoreKey(nSlot, m_scratchKey);
  move.nNewEntry = Attach(nSlot) + CountPendingBefore(nSlot);
  return move;
}
