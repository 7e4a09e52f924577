// Records of three text cells (a name, a decimal value, a quantity) that the list store tests
// fill their stores with, and the layout that shows them.
#pragma once

#include <string>
#include <vector>

#include "lists/CellText.h"
#include "lists/FilterListStore.h"
#include "lists/ListLayout.h"

namespace storetest {

using Texts = std::vector<std::string>;
constexpr int32_t kName = 0;
constexpr int32_t kValue = 1;
constexpr int32_t kQty = 2;

struct sTestRecord {
  std::string arrCells[3];
};

inline bool GetTestCellText(const void* pRecord, int32_t nColumn, sCellText& cell) {
  if (pRecord == nullptr || nColumn < 0 || nColumn >= 3) return false;
  cell.strText = static_cast<const sTestRecord*>(pRecord)->arrCells[nColumn];
  return true;
}

// Gives the layout the three columns, all shown, and the store the records' cells.
inline void PrepareTestStore(CListLayout& layout, CFilterListStore& store) {
  const sColumnDef arrColumns[] = {{"Name", kAlignLeft, kSortText},
                                   {"Value", kAlignRight, kSortDecimal},
                                   {"Qty", kAlignRight, kSortLong}};
  layout.LoadColumnTable("Test", arrColumns);
  layout.RecordCatalogueCount();
  layout.ShowAllColumns();
  store.SetCellTextFn(GetTestCellText);
}

}  // namespace storetest
