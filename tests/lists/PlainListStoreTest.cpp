// The rows of a plain list: texts and check flags through inserts, changes, sorts and deletes.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "lists/PlainListStore.h"
#include "model/HalvoColInfo.h"

namespace {

// The first text of every row, with "+" after a checked one.
std::string DescribeRows(const CPlainListStore& store) {
  std::string strRows;
  for (int32_t nRow = 0; nRow < store.GetItemCount(); ++nRow)
    strRows += store.GetItemText(nRow, 0) + (store.GetCheck(nRow) != 0 ? "+ " : " ");
  return strRows;
}

TEST(PlainListStore, RowsKeepTheirTextsAndChecksThroughEveryChange) {
  // The step, what it does, its result, the rows after it.
  const std::tuple<const char*, std::function<int32_t(CPlainListStore&)>, int32_t, const char*> arrSteps[] = {
      {"a first row", [](auto& store) { return store.InsertItem(0, "NA"); }, 0, "NA "},
      {"past the end: appended", [](auto& store) { return store.InsertItem(9, "-5"); }, 1, "NA -5 "},
      {"before the others", [](auto& store) { return store.InsertItem(0, "10"); }, 0, "10 NA -5 "},
      {"a negative row", [](auto& store) { return store.InsertItem(-1, "x"); }, -1, "10 NA -5 "},
      {"at the end", [](auto& store) { return store.InsertItem(3, "-"); }, 3, "10 NA -5 - "},
      {"a check", [](auto& store) { return store.SetCheck(0, 1); }, 1, "10+ NA -5 - "},
      {"a check past the rows", [](auto& store) { return store.SetCheck(4, 1); }, 0, "10+ NA -5 - "},
      {"a far text makes room", [](auto& store) { return store.SetItemText(1, 2, "far"); }, 1,
       "10+ NA -5 - "},
      {"a text past the rows", [](auto& store) { return store.SetItemText(4, 0, "x"); }, 0, "10+ NA -5 - "},
      {"a negative position", [](auto& store) { return store.SetItemText(0, -1, "x"); }, 0, "10+ NA -5 - "},
      // The base rule reads "NA" and "-" as -1; equal rows keep their order. The result is the
      // old row of the new first one.
      {"ascending", [](auto& store) { return store.SortByClick(0, kSortDecimal).arrOldRows[0]; }, 2,
       "-5 NA - 10+ "},
      {"the same position again",
       [](auto& store) { return store.SortByClick(0, kSortDecimal).arrOldRows[0]; }, 3, "10+ NA - -5 "},
      {"as texts", [](auto& store) { return store.SortByClick(0, kSortText).arrOldRows[0]; }, 2,
       "- -5 10+ NA "},
      {"texts move with the row", [](auto& store) { return store.GetItemText(3, 2) == "far"; }, 1,
       "- -5 10+ NA "},
      {"the check moves up", [](auto& store) { return store.DeleteItem(1); }, 1, "- 10+ NA "},
      {"a missing row", [](auto& store) { return store.DeleteItem(3); }, 0, "- 10+ NA "},
      {"all of them", [](auto& store) { return store.DeleteAllItems(); }, 3, ""},
  };
  CPlainListStore store;
  for (const auto& [szName, fnDo, nResult, szRows] : arrSteps) {
    EXPECT_EQ(fnDo(store), nResult) << szName;
    EXPECT_EQ(DescribeRows(store), szRows) << szName;
  }
}

}  // namespace
