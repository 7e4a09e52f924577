// The entity record: its slot store against a plain model and its cell-text rules.
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
    const std::string strText(random() % 8 == 0 ? random() % 700 : random() % 12, static_cast<char>('a' + nStep % 26));
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
  for (int nSlot = 0; nSlot < kRmsSlotCount; ++nSlot)
    EXPECT_EQ(record.GetSlotText(nSlot), arrModel[static_cast<size_t>(nSlot)]) << nSlot;
}

TEST(RmsDetailsTest, CellTextRules) {
  CRmsDetails record;
  for (const auto& [nColumn, strText] : std::vector<std::pair<int, std::string>>{
           {1, "NA"}, {2, ""}, {7, "--NA--"}, {4, "na"}, {6, "-0.00"}, {8, std::string(600, '7')},
           {19, "ignored"}, {186, "ignored"}})  // 19 and 186 have no slot
    record.SetColumnSlotText(nColumn, strText);
  const struct { const char* szName; uint32_t nLevel; bool bGroupwise; int nColumn; std::string strExpected; }
  arrCases[] = {
      {"NA becomes a dash", 0, false, 1, "-"}, {"empty becomes a dash", 0, false, 2, "-"},
      {"--NA-- stays", 0, false, 7, "--NA--"}, {"lower case na stays", 0, false, 4, "na"},
      {"signed zero stays", 0, false, 6, "-0.00"}, {"long text is cut to 511", 0, false, 8, std::string(511, '7')},
      {"groupwise off", 0, false, 19, "no"}, {"groupwise on", 0, true, 19, "yes"},
      {"colour criteria", 5, true, 186, "-"}, {"account", 5, false, 207, "Account"},
      {"unknown level", 6, false, 207, "-"}, {"past the catalogue", 0, false, 289, "-"},
      {"negative", 0, false, -1, "-"}};
  for (const auto& row : arrCases) {
    record.nLevel = row.nLevel;
    record.bGroupwiseValidation = row.bGroupwise;
    std::string strText;
    EXPECT_EQ(std::pair(GetColumnText(&record, row.nColumn, strText), strText), std::pair(1, row.strExpected))
        << row.szName;
  }
  std::string strText = "old";
  EXPECT_EQ(GetColumnText(nullptr, 0, strText), 0);
  EXPECT_EQ(strText, "");
}

}  // namespace
