// The stored form of a list's view options and of the filters and sort it keeps: texts that
// the settings file would change come back unchanged, and broken values read as nothing.
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

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
  struct sCase {
    const char* szName;
    std::string strColumn;
    std::string strText;
  };
  const sCase arrCases[] = {
      {"plain", "Margin Used", ">100000~<-5"},
      {"separators and escapes", "Net, Avail: %", "a,b:c%41"},
      {"quotes and outer blanks", " Loss ", "\"x\" 'y' "},
      {"control characters", "Gap", "a\tb\x7f"},
  };
  for (const sCase& test : arrCases) {
    SCOPED_TRACE(test.szName);
    const CListLayout layout = MakeLayout({"EntityId", test.strColumn});
    const std::vector<int32_t> arrColumns = {1, 0};
    const std::vector<std::string> arrTexts = {test.strText, "acc"};
    const std::string strValue = FormatKeptFilters(layout, arrColumns, arrTexts);
    // The settings file trims blanks and strips quotes around a value and cuts it at a line end.
    EXPECT_EQ(strValue.find_first_of("\"'\t\n"), std::string::npos) << strValue;
    EXPECT_NE(strValue.front(), ' ');
    const std::vector<sKeptFilter> arrRead = ParseKeptFilters(layout, strValue);
    ASSERT_EQ(arrRead.size(), 2u) << strValue;
    EXPECT_EQ(arrRead[0].nColumn, 1);
    EXPECT_EQ(arrRead[0].strText, test.strText);
    EXPECT_EQ(arrRead[1].nColumn, 0);
    EXPECT_EQ(arrRead[1].strText, "acc");
    const std::optional<sKeptSort> sort = ParseKeptSort(layout, FormatKeptSort(layout, {1, 1}));
    ASSERT_TRUE(sort.has_value());
    EXPECT_EQ(sort->nColumn, 1);
    EXPECT_EQ(sort->nDirection, 1);
  }
}

TEST(ListViewOptions, BrokenValuesReadAsNothing) {
  const CListLayout layout = MakeLayout({"EntityId", "Margin Used"});
  struct sFilterCase {
    const char* szValue;
    std::vector<std::string> arrTexts;  // of the entries kept, in order
  };
  const sFilterCase arrFilterCases[] = {
      {"EntityId:%zz,Margin Used:>5", {">5"}},  // a bad escape
      {"Nowhere:x,EntityId:a", {"a"}},          // no such column
      {"EntityId,Margin Used:", {}},            // no colon; no text
      {",,EntityId:a%", {}},                    // an escape cut short
      {"Margin%20Used:<0,", {"<0"}},            // an escaped name
  };
  for (const sFilterCase& test : arrFilterCases) {
    std::vector<std::string> arrTexts;
    for (const sKeptFilter& filter : ParseKeptFilters(layout, test.szValue))
      arrTexts.push_back(filter.strText);
    EXPECT_EQ(arrTexts, test.arrTexts) << test.szValue;
  }
  for (const char* szSort : {"Margin Used", "Margin Used,sideways", "Nowhere,ascending",
                             "Margin Used,ascending,x", ",descending", ""}) {
    EXPECT_FALSE(ParseKeptSort(layout, szSort).has_value()) << szSort;
  }
  EXPECT_EQ(ParseKeptSort(layout, "Margin Used,ascending")->nDirection, -1);
  EXPECT_EQ(FormatKeptSort(layout, {5, 1}), "");

  struct sOptionsCase {
    const char* szCase;
    std::map<std::string, std::string> mapStored;
    sListViewOptions expected;
  };
  const sOptionsCase arrOptionCases[] = {
      {"both on", {{kLiveFilterSortKey, "1"}, {kKeepFilterSortKey, "1"}}, {true, true}},
      {"not 1", {{kLiveFilterSortKey, "yes"}, {kKeepFilterSortKey, "1"}}, {false, true}},
      {"0", {{kLiveFilterSortKey, "1"}, {kKeepFilterSortKey, "0"}}, {true, false}},
      {"11", {{kLiveFilterSortKey, "11"}, {kAlertsOnEveryRowKey, "11"}}, {}},
      {"none stored", {}, {}},
      {"display options",
       {{kAlertsOnEveryRowKey, "1"},
        {kNumbersUncutKey, "1"},
        {kDigitGroupingKey, "indian"},
        {kFrozenFirstColumnKey, "1"}},
       {false, false, true, true, eDigitGrouping::kIndian, true}},
      {"international",
       {{kDigitGroupingKey, "international"}},
       {.eGrouping = eDigitGrouping::kInternational}},
      {"other names", {{kDigitGroupingKey, "1"}, {kNumbersUncutKey, "on"}}, {}},
  };
  const auto fields = [](const sListViewOptions& options) {
    return std::tuple(options.bLiveFilterSort, options.bKeepFilterSort, options.bAlertsOnEveryRow,
                      options.bNumbersUncut, options.eGrouping, options.bFrozenFirstColumn);
  };
  for (const sOptionsCase& test : arrOptionCases) {
    SCOPED_TRACE(test.szCase);
    const sListViewOptions options =
        ReadListViewOptions([&test](const std::string& strKey, std::string& strValue) {
          const auto it = test.mapStored.find(strKey);
          if (it == test.mapStored.end()) return false;
          strValue = it->second;
          return true;
        });
    EXPECT_EQ(fields(options), fields(test.expected));
  }
}

}  // namespace
