// A filter list's rows in data mode as a "Fit to Data" pass reads them: cells through the
// store, and, where the data descriptor has the shape shortcut, the shapes of a block of rows'
// cells at once. A custom column covered by CCustomColumnBound gets, for each row, the bound of
// its text from the values of the cells it references, so only the cells that may be among the
// widest are computed.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <utility>
#include <vector>

#include "lists/CustomColumnBound.h"
#include "lists/FilterListStore.h"
#include "lists/FitToDataPass.h"

class CStoreFitSource final : public IFitToDataSource {
 public:
  // The layout is the store's; both must outlive this object, which serves one slice of a pass.
  CStoreFitSource(const CFilterListStore& store, const CListLayout& layout) : m_store(store), m_layout(layout) {}

  int32_t GetRowCount() const override { return m_store.GetViewCount(); }
  void ReadCell(int32_t nRow, int32_t nPosition, sCellText& cell) override;
  bool ReadShapes(int32_t nFirstRow, int32_t nPosition, std::span<sTextShape> arrShapes) override;

 private:
  // The records of the rows from nFirstRow, kept while one block's positions are read, with
  // those of the block after it, whose cells start loading meanwhile (GetAhead).
  std::span<const void* const> GetRecords(int32_t nFirstRow, size_t nRows);
  std::span<const void* const> GetAhead() const;
  // The bound of a custom column's texts, made on first use; null when the column has none.
  const CCustomColumnBound* GetBound(int32_t nColumn);
  bool ReadBoundShapes(const CCustomColumnBound& bound, std::span<const void* const> arrRecords,
                       std::span<sTextShape> arrShapes);
  // Where the block's shapes of a referenced column are in m_arrReferenced, read on first use;
  // false when the descriptor tells none.
  bool FindReferenced(int32_t nColumn, std::span<const void* const> arrRecords, size_t& nOffset);

  const CFilterListStore& m_store;
  const CListLayout& m_layout;
  std::vector<const void*> m_arrWindow;  // from row m_nWindowFirst, a block and those ahead
  int32_t m_nWindowFirst = -1;
  size_t m_nBlockRows = 0;
  std::map<int32_t, std::unique_ptr<CCustomColumnBound>> m_mapBounds;
  // The block's shapes, with values, of the columns custom columns reference: a block each, at
  // offsets kept by column until the window moves.
  std::vector<sTextShape> m_arrReferenced;
  std::vector<std::pair<int32_t, size_t>> m_arrReferencedAt;
  int32_t m_nReferencedFirst = -1;
  std::vector<size_t> m_arrOffsets;  // of one custom column's references
  std::vector<double> m_arrLows;     // the referenced values' ranges of one row
  std::vector<double> m_arrHighs;
};
