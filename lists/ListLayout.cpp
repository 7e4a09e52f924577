#include "lists/ListLayout.h"

#include <algorithm>

int32_t CListLayout::GetColumnAt(int32_t nPosition) const {
  if (nPosition < 0 || nPosition >= GetHeaderCount()) {
    return -1;
  }
  return m_arrHeaderColumns[static_cast<size_t>(nPosition)];
}

int32_t CListLayout::GetPosition(int32_t nColumn) const {
  if (nColumn < 0 || static_cast<size_t>(nColumn) >= m_arrPositions.size() ||
      static_cast<size_t>(nColumn) >= m_arrColumns.size()) {
    return -1;
  }
  return m_arrPositions[static_cast<size_t>(nColumn)];
}

int32_t CListLayout::GetColumnWidth(int32_t nColumn) const {
  if (nColumn < 0 || static_cast<size_t>(nColumn) >= m_arrColumns.size()) {
    return 0;
  }
  const size_t nIndex = static_cast<size_t>(nColumn);
  if (nIndex < m_arrWidths.size() && m_arrWidths[nIndex] > 0) {
    return m_arrWidths[nIndex];
  }
  return m_arrColumns[nIndex].nWidth;
}

void CListLayout::SetColumnWidth(int32_t nColumn, int32_t nWidth) {
  if (nColumn < 0 || static_cast<size_t>(nColumn) >= m_arrColumns.size()) {
    return;
  }
  m_arrWidths.resize(m_arrColumns.size(), 0);
  m_arrWidths[static_cast<size_t>(nColumn)] = std::max(nWidth, 0);
}

void CListLayout::ShowAllColumns() {
  m_arrPositions.resize(m_arrColumns.size());
  int32_t nPosition = 0;
  for (size_t nColumn = 0; nColumn < m_arrColumns.size(); ++nColumn) {
    const bool bHidden = static_cast<int32_t>(nColumn) == m_nHiddenByDefault;
    m_arrPositions[nColumn] = bHidden ? -1 : nPosition++;
  }
  m_arrWidths.assign(m_arrColumns.size(), 0);
  m_nFirstColumn = 0;
  RebuildHeaderOrder();
}

void CListLayout::SetPositions(std::span<const int32_t> arrPositions) {
  const size_t nCount = m_arrColumns.size();
  std::vector<int32_t> arrShown;
  for (size_t i = 0; i < nCount && i < arrPositions.size(); ++i) {
    if (arrPositions[i] >= 0) {
      arrShown.push_back(static_cast<int32_t>(i));
    }
  }
  std::stable_sort(arrShown.begin(), arrShown.end(), [&arrPositions](int32_t a, int32_t b) {
    return arrPositions[static_cast<size_t>(a)] < arrPositions[static_cast<size_t>(b)];
  });
  m_arrPositions.assign(nCount, -1);
  for (size_t nPosition = 0; nPosition < arrShown.size(); ++nPosition) {
    m_arrPositions[static_cast<size_t>(arrShown[nPosition])] = static_cast<int32_t>(nPosition);
  }
  m_arrWidths.resize(nCount, 0);
  RebuildHeaderOrder();
}

void CListLayout::SetLayout(std::span<const int32_t> arrPositions, std::span<const int32_t> arrWidths) {
  SetPositions(arrPositions);
  for (size_t i = 0; i < m_arrWidths.size(); ++i) {
    m_arrWidths[i] = i < arrWidths.size() ? std::max(arrWidths[i], 0) : 0;
  }
}

int32_t CListLayout::AppendShownColumn(const sHalvoColInfo& column) {
  // Entries of columns appended to the array directly stay hidden.
  m_arrPositions.resize(m_arrColumns.size(), -1);
  m_arrWidths.resize(m_arrColumns.size(), 0);
  m_arrColumns.push_back(column);
  m_arrPositions.push_back(GetHeaderCount());
  m_arrWidths.push_back(0);
  RebuildHeaderOrder();
  return static_cast<int32_t>(m_arrColumns.size()) - 1;
}

void CListLayout::RemoveColumn(int32_t nColumn) {
  if (nColumn < 0 || static_cast<size_t>(nColumn) >= m_arrColumns.size()) {
    return;
  }
  const int32_t nPosition = GetPosition(nColumn);
  const size_t nIndex = static_cast<size_t>(nColumn);
  if (nIndex < m_arrPositions.size()) {
    m_arrPositions.erase(m_arrPositions.begin() + nColumn);
  }
  if (nIndex < m_arrWidths.size()) {
    m_arrWidths.erase(m_arrWidths.begin() + nColumn);
  }
  m_arrColumns.erase(m_arrColumns.begin() + nColumn);
  if (nPosition >= 0) {
    for (int32_t& nEntry : m_arrPositions) {
      if (nEntry > nPosition) {
        --nEntry;
      }
    }
  }
  RebuildHeaderOrder();
}

void CListLayout::RebuildHeaderOrder() {
  m_arrHeaderColumns.clear();
  const size_t nCount = std::min(m_arrPositions.size(), m_arrColumns.size());
  for (size_t i = 0; i < nCount; ++i) {
    const int32_t nPosition = m_arrPositions[i];
    if (nPosition < 0) {
      continue;
    }
    if (static_cast<size_t>(nPosition) >= m_arrHeaderColumns.size()) {
      m_arrHeaderColumns.resize(static_cast<size_t>(nPosition) + 1, -1);
    }
    m_arrHeaderColumns[static_cast<size_t>(nPosition)] = static_cast<int32_t>(i);
  }
}
