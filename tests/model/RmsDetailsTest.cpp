// The entity record: its compact slot store against a plain model, the cell-text rules of
// every kind of column, and the record key.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "model/RmsDetails.h"

namespace {

TEST(RmsDetailsTest, SlotStoreMatchesAPlainModelThroughEdits) {
  std::mt19937 random(3);
  CRmsDetails record;
  std::vector<std::string> arrModel(kRmsSlotCount);
  for (int nStep = 0; nStep < 4000; ++nStep) {
    const int nSlot = static_cast<int>(random() % kRmsSlotCount);
    // Mostly short texts, some empty, some past the 511-byte limit.
    const size_t nLength = random() % 8 == 0 ? random() % 700 : random() % 12;
    const std::string strText(nLength, static_cast<char>('a' + nStep % 26));
    record.SetSlotText(nSlot, strText);
    arrModel[static_cast<size_t>(nSlot)] = strText.substr(0, 511);
    if (nStep % 500 == 0) {
      CRmsDetails copy;
      copy = record;
      record = copy;
    }
    // A moved-from record is empty and goes on taking texts.
    if (nStep % 700 == 0) {
      CRmsDetails moved(std::move(record));
      for (int nEmpty = 0; nEmpty < kRmsSlotCount; ++nEmpty) ASSERT_EQ(record.GetSlotText(nEmpty), "");
      record.SetSlotText(nSlot, "x");
      record = std::move(moved);
    }
  }
  for (int nSlot = 0; nSlot < kRmsSlotCount; ++nSlot) {
    EXPECT_EQ(record.GetSlotText(nSlot), arrModel[static_cast<size_t>(nSlot)]) << nSlot;
  }
}

TEST(RmsDetailsTest, CellTextRules) {
  CRmsDetails record;
  record.SetColumnSlotText(1, "NA");
  record.SetColumnSlotText(2, "");
  record.SetColumnSlotText(7, "--NA--");
  record.SetColumnSlotText(4, "na");
  record.SetColumnSlotText(5, " NA");
  record.SetColumnSlotText(6, "-0.00");
  record.SetColumnSlotText(8, std::string(600, '7'));
  record.SetColumnSlotText(19, "ignored");  // no slot
  record.SetColumnSlotText(186, "ignored");
  const struct {
    const char* szName;
    uint32_t nLevel;
    bool bGroupwise;
    int nColumn;
    std::string strExpected;
  } arrCases[] = {
      {"NA becomes a dash", 0, false, 1, "-"},
      {"empty becomes a dash", 0, false, 2, "-"},
      {"never-set slot", 0, false, 3, "-"},
      {"--NA-- stays", 0, false, 7, "--NA--"},
      {"lower case na stays", 0, false, 4, "na"},
      {"signed zero stays", 0, false, 6, "-0.00"},
      {"long text is cut to 511", 0, false, 8, std::string(511, '7')},
      {"groupwise off", 0, false, 19, "no"},
      {"groupwise on", 0, true, 19, "yes"},
      {"colour criteria", 5, true, 186, "-"},
      {"no level", 0, false, 207, "-"},
      {"account", 5, false, 207, "Account"},
      {"unknown level", 6, false, 207, "-"},
      {"past the catalogue", 0, false, 289, "-"},
      {"negative", 0, false, -1, "-"},
  };
  for (const auto& testCase : arrCases) {
    record.nLevel = testCase.nLevel;
    record.bGroupwiseValidation = testCase.bGroupwise;
    std::string strText;
    EXPECT_EQ(GetColumnText(&record, testCase.nColumn, strText), 1) << testCase.szName;
    EXPECT_EQ(strText, testCase.strExpected) << testCase.szName;
  }
  std::string strText = "old";
  EXPECT_EQ(GetColumnText(nullptr, 0, strText), 0);
  EXPECT_EQ(strText, "");
}

TEST(RmsDetailsTest, RecordKeys) {
  const struct {
    uint32_t nLevel;
    std::string strId;
    std::string strLevelText;
    std::string strKey;
  } arrCases[] = {
      {5, "ABC1", "CM-NSE-NRML", "5|ABC1|CM-NSE-NRML"},
      {0, "", "", "0||"},
      {2, "B|1", "ALL-ALL-ALL-ALL", "2|B|1|ALL-ALL-ALL-ALL"},
      {4294967295u, "X", "Y", "-1|X|Y"},  // "%d" of the unsigned code
  };
  for (const auto& testCase : arrCases) {
    CRmsDetails record;
    record.nLevel = testCase.nLevel;
    record.SetEntityId(testCase.strId);
    record.SetLevelText(testCase.strLevelText);
    EXPECT_EQ(FormatRecordKey(record), testCase.strKey);
  }
}

}  // namespace
