// Call status entries built from server messages and their cell texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "model/AuxiliaryLists.h"
#include "model/CallStatusEntry.h"
#include "tests/support/TestMessage.h"

namespace {

using Texts = std::vector<std::string>;

// The texts of columns nFirst to nLast of an entry; every call answers 1.
template <typename T>
Texts ReadCells(int (*fnGet)(const T*, int, std::string&), const T* pEntry, int nFirst, int nLast) {
  Texts arrCells;
  std::string strText = "stale";
  for (int nColumn = nFirst; nColumn <= nLast; ++nColumn) {
    EXPECT_EQ(fnGet(pEntry, nColumn, strText), 1) << nColumn;
    arrCells.push_back(strText);
  }
  return arrCells;
}

class CRecordingSink : public CCallStatusSink {
 public:
  void InsertCallStatus(std::unique_ptr<sCallStatusEntry> pEntry) override {
    m_arrEntries.insert(m_arrEntries.begin(), *pEntry);
  }
  std::vector<sCallStatusEntry> m_arrEntries;
};

TEST(CallStatusTest, EntriesFromMessages) {
  CRecordingSink sink;
  SetCallStatusSink(&sink);
  // The base fields (entity, level, modifier) less those dropped, then more.
  const auto with = [](FieldList arrMore, std::vector<uint32_t> arrDrop = {}) {
    FieldList arrFields;
    for (const auto& field : FieldList{{64050, "account-ACC1"}, {54244, "CM-NSE-NRML"}, {54247, "RISK01"}})
      if (std::find(arrDrop.begin(), arrDrop.end(), field.first) == arrDrop.end()) arrFields.push_back(field);
    arrFields.insert(arrFields.end(), arrMore.begin(), arrMore.end());
    return arrFields;
  };
  // The cells: Entity, Exchange, Segment, Product, Level, Call Type, Status, Time Stamp, Modified By,
  // and none either side; none at all when no entry is added.
  const struct { const char* szName; FieldList arrFields; Texts arrCells; } arrCases[] = {
      {"margin call", with({{49302, "Called"}, {12030, "02/06/2024"}}),
       {"", "account-ACC1", "NSE", "CM", "NRML", "CM-NSE-NRML", "MARGIN", "Called", "02/06/2024", "RISK01", ""}},
      {"obligation wins over margin", with({{49288, "Paid"}, {10615, "01/06/2024"}, {49302, "Called"}, {12030, "x"}}),
       {"", "account-ACC1", "NSE", "CM", "NRML", "CM-NSE-NRML", "OBLIGATION", "Paid", "01/06/2024", "RISK01", ""}},
      {"short level text", with({{54244, "FO"}, {49302, "C"}, {12030, "t"}}, {54244}),
       {"", "account-ACC1", "", "FO", "", "FO", "MARGIN", "C", "t", "RISK01", ""}},
      {"obligation without its time", with({{49288, "Paid"}, {12030, "t"}, {49302, "C"}}), {}},
      {"margin without its time", with({{49302, "Called"}}), {}}, {"no call at all", with({}), {}},
      {"no entity", with({{49302, "C"}, {12030, "t"}}, {64050}), {}},
      {"level only in 32760", with({{32760, "CM-NSE-NRML"}, {49302, "C"}, {12030, "t"}}, {54244}), {}},
      {"no modifier", with({{49302, "C"}, {12030, "t"}}, {54247}), {}}};
  for (const auto& row : arrCases) {
    SCOPED_TRACE(row.szName);
    sink.m_arrEntries.clear();
    EXPECT_EQ(AddCallStatusFromMessage(CTestMessage(row.arrFields).Get()), !row.arrCells.empty());
    ASSERT_EQ(sink.m_arrEntries.size(), row.arrCells.empty() ? 0u : 1u);
    EXPECT_EQ(row.arrCells.empty() ? Texts{} : ReadCells(GetCallStatusCellText, &sink.m_arrEntries[0], -1, 9),
              row.arrCells);
  }
  SetCallStatusSink(nullptr);  // without a sink nothing is handed over
  EXPECT_FALSE(AddCallStatusFromMessage(CTestMessage(with({{49302, "C"}, {12030, "t"}})).Get()));
}

}  // namespace
