// The stored view options, filters and sort of a list: texts come back as written, bad ones as nothing.
#include <gtest/gtest.h>

#include <map>

#include "lists/ListViewOptions.h"

namespace {

CListLayout MakeLayout(const std::vector<std::string>& arrNames) {
  std::vector<sColumnDef> arrTable;
  for (const std::string& strName : arrNames) arrTable.push_back({strName.c_str(), kAlignLeft, kSortText});
  CListLayout layout;
  layout.LoadColumnTable("Orvane_watch1", arrTable);
  return layout;
}

TEST(ListViewOptions, FilterTextsAndNamesComeBackAsWritten) {
  // The case, a column's name, its filter text.
  const std::tuple<const char*, std::string, std::string> arrCases[] = {
      {"plain", "Margin Used", ">100000~<-5"},
      {"separators and escapes", "Net, Avail: %", "a,b:c%41"},
      {"quotes and outer blanks", " Loss ", "\"x\" 'y' "},
      {"control characters", "Gap", "a\tb\x7f"},
  };
  for (const auto& [szName, strColumn, strText] : arrCases) {
    SCOPED_TRACE(szName);
    const CListLayout layout = MakeLayout({"EntityId", strColumn});
    const std::string strValue =
        FormatKeptFilters(layout, std::vector<int32_t>{1, 0}, std::vector<std::string>{strText, "acc"});
    // The settings file trims blanks and strips quotes around a value and cuts it at a line end.
    EXPECT_EQ(strValue.find_first_of("\"'\t\n"), std::string::npos) << strValue;
    EXPECT_NE(strValue.front(), ' ');
    const std::vector<sKeptFilter> arrRead = ParseKeptFilters(layout, strValue);
    ASSERT_EQ(arrRead.size(), 2u) << strValue;
    EXPECT_EQ(std::tie(arrRead[0].nColumn, arrRead[0].strText, arrRead[1].nColumn, arrRead[1].strText),
              std::tuple(1, strText, 0, "acc"));
    const std::optional<sKeptSort> sort = ParseKeptSort(layout, FormatKeptSort(layout, {1, 1}));
    ASSERT_TRUE(sort.has_value());
    EXPECT_EQ(std::pair(sort->nColumn, sort->nDirection), std::pair(1, 1));
  }
}

TEST(ListViewOptions, BrokenValuesReadAsNothing) {
  const CListLayout layout = MakeLayout({"EntityId", "Margin Used"});
  // A stored value and the texts of the entries kept, in order.
  const std::pair<const char*, std::vector<std::string>> arrFilterCases[] = {
      {"EntityId:%zz,Margin Used:>5", {">5"}},  // a bad escape
      {"Nowhere:x,EntityId:a", {"a"}},          // no such column
      {"EntityId,Margin Used:", {}},            // no colon; no text
      {",,EntityId:a%", {}},                    // an escape cut short
      {"Margin%20Used:<0,", {"<0"}},            // an escaped name
  };
  for (const auto& [szValue, arrExpected] : arrFilterCases) {
    std::vector<std::string> arrTexts;
    for (const sKeptFilter& filter : ParseKeptFilters(layout, szValue)) arrTexts.push_back(filter.strText);
    EXPECT_EQ(arrTexts, arrExpected) << szValue;
  }
  for (const char* szSort : {"Margin Used", "Margin Used,sideways", "Nowhere,ascending",
                             "Margin Used,ascending,x", ",descending", ""}) {
    EXPECT_FALSE(ParseKeptSort(layout, szSort).has_value()) << szSort;
  }
  EXPECT_EQ(ParseKeptSort(layout, "Margin Used,ascending")->nDirection, -1);
  EXPECT_EQ(FormatKeptSort(layout, {5, 1}), "");

  const std::tuple<const char*, std::map<std::string, std::string>, sListViewOptions> arrOptionCases[] = {
      {"not 1", {{kLiveFilterSortKey, "yes"}, {kKeepFilterSortKey, "1"}}, {false, true}},
      {"0", {{kLiveFilterSortKey, "1"}, {kKeepFilterSortKey, "0"}}, {true, false}},
      {"11", {{kLiveFilterSortKey, "11"}, {kAlertsOnEveryRowKey, "11"}}, {}},
      // clang-format off
      {"display options",
       {{kAlertsOnEveryRowKey, "1"}, {kNumbersUncutKey, "1"}, {kDigitGroupingKey, "indian"}, {kFrozenFirstColumnKey, "1"}},
       {false, false, true, true, eDigitGrouping::kIndian, true}},
      // clang-format on
      {"international",
       {{kDigitGroupingKey, "international"}},
       {.eGrouping = eDigitGrouping::kInternational}},
      {"other names", {{kDigitGroupingKey, "1"}, {kNumbersUncutKey, "on"}}, {}},
  };
  const auto fields = [](const sListViewOptions& options) {
    return std::tuple(options.bLiveFilterSort, options.bKeepFilterSort, options.bAlertsOnEveryRow,
                      options.bNumbersUncut, options.eGrouping, options.bFrozenFirstColumn);
  };
  for (const auto& [szCase, mapStored, expected] : arrOptionCases) {
    const sListViewOptions options =
        ReadListViewOptions([&mapStored](const std::string& strKey, std::string& strValue) {
          const auto it = mapStored.find(strKey);
          if (it != mapStored.end()) strValue = it->second;
          return it != mapStored.end();
        });
    EXPECT_EQ(fields(options), fields(expected)) << szCase;
  }
}

}  // namespace
