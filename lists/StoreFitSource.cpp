#include "lists/StoreFitSource.h"

#include <algorithm>

#include "lists/CustomColumnExpression.h"

void CStoreFitSource::ReadCell(int32_t nRow, int32_t nPosition, sCellText& cell) {
  m_store.GetViewCellText(nRow, nPosition, cell);
  // A custom column's failure box runs the event loop, which may change the rows: the records
  // of the block are looked up again.
  if (m_layout.GetColumnAt(nPosition) >= m_layout.m_nCatalogueCount) m_nWindowFirst = m_nReferencedFirst = -1;
}

std::span<const void* const> CStoreFitSource::GetRecords(int32_t nFirstRow, size_t nRows) {
  constexpr size_t kBlocksAhead = 1;
  if (nFirstRow != m_nWindowFirst || nRows != m_nBlockRows) {
    // A pass reads its rows in order: the window moves on by a block, keeping what it holds.
    size_t nKept = 0;
    const int64_t nShift = int64_t{nFirstRow} - m_nWindowFirst;
    if (m_nWindowFirst >= 0 && nShift > 0 && static_cast<size_t>(nShift) < m_arrWindow.size()) {
      m_arrWindow.erase(m_arrWindow.begin(), m_arrWindow.begin() + nShift);
      nKept = m_arrWindow.size();
    }
    const auto nLeft = static_cast<size_t>(std::max(m_store.GetViewCount() - nFirstRow, 0));
    const size_t nWanted = std::max(nRows, std::min(nRows * (1 + kBlocksAhead), nLeft));
    m_arrWindow.resize(nWanted);
    for (size_t i = std::min(nKept, nWanted); i < nWanted; ++i)
      m_arrWindow[i] = m_store.GetRecord(nFirstRow + static_cast<int32_t>(i));
    m_nWindowFirst = nFirstRow;
    m_nBlockRows = nRows;
  }
  return std::span<const void* const>(m_arrWindow).first(nRows);
}

std::span<const void* const> CStoreFitSource::GetAhead() const {
  return std::span<const void* const>(m_arrWindow).subspan(std::min(m_nBlockRows, m_arrWindow.size()));
}

const CCustomColumnBound* CStoreFitSource::GetBound(int32_t nColumn) {
  if (static_cast<size_t>(nColumn) >= m_layout.m_arrColumns.size()) return nullptr;
  auto it = m_mapBounds.find(nColumn);
  if (it == m_mapBounds.end()) {
    auto pBound = std::make_unique<CCustomColumnBound>(m_layout.m_arrColumns[static_cast<size_t>(nColumn)].strFormula,
                                                       m_layout.m_nCatalogueCount);
    it = m_mapBounds.emplace(nColumn, pBound->IsCovered() ? std::move(pBound) : nullptr).first;
  }
  return it->second.get();
}

bool CStoreFitSource::ReadShapes(int32_t nFirstRow, int32_t nPosition, std::span<sTextShape> arrShapes) {
  const int32_t nColumn = m_layout.GetColumnAt(nPosition);
  if (nColumn < 0 || static_cast<size_t>(nColumn) >= m_layout.m_arrColumns.size()) return false;
  const std::span<const void* const> arrRecords = GetRecords(nFirstRow, arrShapes.size());
  if (nColumn < m_layout.m_nCatalogueCount) return m_store.GetCellShapes(arrRecords, GetAhead(), nColumn, false, arrShapes);
  const CCustomColumnBound* pBound = GetBound(nColumn);
  return pBound != nullptr && ReadBoundShapes(*pBound, arrRecords, arrShapes);
}

bool CStoreFitSource::FindReferenced(int32_t nColumn, std::span<const void* const> arrRecords, size_t& nOffset) {
  if (m_nReferencedFirst != m_nWindowFirst || m_nWindowFirst < 0) {
    m_arrReferencedAt.clear();
    m_arrReferenced.clear();
    m_nReferencedFirst = m_nWindowFirst;
  }
  for (const auto& [nKnown, nAt] : m_arrReferencedAt) {
    if (nKnown == nColumn) {
      nOffset = nAt;
      return true;
    }
  }
  nOffset = m_arrReferenced.size();
  m_arrReferenced.resize(nOffset + arrRecords.size());
  if (!m_store.GetCellShapes(arrRecords, GetAhead(), nColumn, true,
                             std::span<sTextShape>(m_arrReferenced).subspan(nOffset, arrRecords.size()))) {
    m_arrReferenced.resize(nOffset);
    return false;
  }
  m_arrReferencedAt.emplace_back(nColumn, nOffset);
  return true;
}

bool CStoreFitSource::ReadBoundShapes(const CCustomColumnBound& bound, std::span<const void* const> arrRecords,
                                      std::span<sTextShape> arrShapes) {
  const std::vector<int32_t>& arrReferences = bound.GetReferences();
  m_arrOffsets.resize(arrReferences.size());
  for (size_t k = 0; k < arrReferences.size(); ++k)
    if (!FindReferenced(arrReferences[k], arrRecords, m_arrOffsets[k])) return false;
  m_arrLows.resize(arrReferences.size());
  m_arrHighs.resize(arrReferences.size());
  for (size_t i = 0; i < arrRecords.size(); ++i) {
    bool bAllValues = true;
    for (size_t k = 0; k < arrReferences.size(); ++k) {
      const sTextShape& referenced = m_arrReferenced[m_arrOffsets[k] + i];
      // A text that reads as zero (an absent value's "-") enters as 0; one that reads as another
      // number or none leaves the cell to be computed.
      const bool bZero = referenced.eKind == eShapeKind::kText && ReadsAsZero(referenced.strText);
      bAllValues = bAllValues && (bZero || referenced.eKind == eShapeKind::kNumber);
      m_arrLows[k] = bZero ? 0.0 : referenced.dLow;
      m_arrHighs[k] = bZero ? 0.0 : referenced.dHigh;
    }
    arrShapes[i] = bAllValues ? bound.GetShape(m_arrLows, m_arrHighs) : sTextShape{};
  }
  return true;
}
