#include "lists/PlainListStore.h"

#include <algorithm>
#include <numeric>
#include <utility>

int32_t CPlainListStore::InsertItem(int32_t nRow, const std::string& strText) {
  if (nRow < 0) {
    return -1;
  }
  nRow = std::min(nRow, GetItemCount());
  m_arrRows.insert(m_arrRows.begin() + nRow, sRow{{strText}, 0});
  return nRow;
}

bool CPlainListStore::SetItemText(int32_t nRow, int32_t nPosition, const std::string& strText) {
  if (!HasRow(nRow) || nPosition < 0) {
    return false;
  }
  std::vector<std::string>& arrTexts = m_arrRows[static_cast<size_t>(nRow)].arrTexts;
  if (static_cast<size_t>(nPosition) >= arrTexts.size()) {
    arrTexts.resize(static_cast<size_t>(nPosition) + 1);
  }
  arrTexts[static_cast<size_t>(nPosition)] = strText;
  return true;
}

std::string CPlainListStore::GetItemText(int32_t nRow, int32_t nPosition) const {
  if (!HasRow(nRow) || nPosition < 0) {
    return {};
  }
  const std::vector<std::string>& arrTexts = m_arrRows[static_cast<size_t>(nRow)].arrTexts;
  return static_cast<size_t>(nPosition) < arrTexts.size() ? arrTexts[static_cast<size_t>(nPosition)]
                                                          : std::string();
}

bool CPlainListStore::DeleteItem(int32_t nRow) {
  if (!HasRow(nRow)) {
    return false;
  }
  m_arrRows.erase(m_arrRows.begin() + nRow);
  return true;
}

int32_t CPlainListStore::DeleteAllItems() {
  const int32_t nCount = GetItemCount();
  m_arrRows.clear();
  return nCount;
}

uint32_t CPlainListStore::GetCheck(int32_t nRow) const {
  return HasRow(nRow) ? m_arrRows[static_cast<size_t>(nRow)].nCheck : 0;
}

bool CPlainListStore::SetCheck(int32_t nRow, uint32_t nCheck) {
  if (!HasRow(nRow)) {
    return false;
  }
  m_arrRows[static_cast<size_t>(nRow)].nCheck = nCheck;
  return true;
}

sPlainSort CPlainListStore::SortByClick(int32_t nPosition, int32_t nValueType) {
  sPlainSort sort;
  sort.click = m_sortState.Click(nPosition);
  sort.arrOldRows.resize(m_arrRows.size());
  std::iota(sort.arrOldRows.begin(), sort.arrOldRows.end(), 0);
  SortRowsByText(
      sort.arrOldRows,
      [this, nPosition](int32_t nRow, std::string& strText) { strText = GetItemText(nRow, nPosition); },
      eSortRule::kBase, nValueType, sort.click.nDirection);
  std::vector<sRow> arrSorted;
  arrSorted.reserve(m_arrRows.size());
  for (const int32_t nOld : sort.arrOldRows) {
    arrSorted.push_back(std::move(m_arrRows[static_cast<size_t>(nOld)]));
  }
  m_arrRows = std::move(arrSorted);
  return sort;
}
