// Records of a name, a decimal value and a quantity, and a filter list store over them.
#pragma once

#include <gtest/gtest.h>

#include <deque>
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

// The texts of a header position over the view rows, in display order.
inline Texts GetShownTexts(const CFilterListStore& store, int32_t nPosition) {
  Texts arrTexts;
  sCellText cell;
  for (int32_t nRow = 0; nRow < store.GetViewCount(); ++nRow) {
    store.GetViewCellText(nRow, nPosition, cell);
    arrTexts.push_back(cell.strText);
  }
  return arrTexts;
}

inline bool GetTestCellText(const void* pRecord, int32_t nColumn, sCellText& cell) {
  if (pRecord == nullptr || nColumn < 0 || nColumn >= 3) return false;
  cell.strText = static_cast<const sTestRecord*>(pRecord)->arrCells[nColumn];
  return true;
}

class CStoreTest : public testing::Test {
 protected:
  CStoreTest() {
    const sColumnDef arrColumns[] = {{"Name", kAlignLeft, kSortText},
                                     {"Value", kAlignRight, kSortDecimal},
                                     {"Qty", kAlignRight, kSortLong}};
    m_layout.LoadColumnTable("Test", arrColumns);
    m_layout.RecordCatalogueCount();
    m_layout.ShowAllColumns();
    m_store.SetCellTextFn(GetTestCellText);
  }

  // Inserts a record at a store index; the view row it shows at.
  int32_t Insert(const std::string& strName, const std::string& strValue = "0",
                 const std::string& strQty = "0", int32_t nPosition = 0) {
    m_records.push_back({{strName, strValue, strQty}});
    return m_store.InsertRow(nPosition, &m_records.back()).nViewRow;
  }
  sTestRecord* Add(const std::string& strName, const std::string& strValue, int32_t nPosition = 0) {
    Insert(strName, strValue, "0", nPosition);
    return &m_records.back();
  }
  sLiveUpdate Change(sTestRecord* pRow, const std::string& strValue) {
    pRow->arrCells[kValue] = strValue;
    return m_store.UpdateRecord(pRow);
  }
  Texts Shown(int32_t nPosition = kName) const { return GetShownTexts(m_store, nPosition); }
  void FilterBy(int32_t nColumn, const char* szText) {
    m_store.SetColumnFilter(nColumn, szText);
    ASSERT_TRUE(m_store.Filter());
  }

  CListLayout m_layout;
  CFilterListStore m_store{m_layout};
  std::deque<sTestRecord> m_records;
};

}  // namespace storetest
