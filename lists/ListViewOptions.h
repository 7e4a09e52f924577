// The view options a watch list keeps in its settings section, each off unless its value is
// exactly "1" (the digit grouping none unless it is one of its two names), and the filters and
// sort it keeps there while "Keep Sort and Filters" is on:
//
//   LIVEFILTERSORT=1                  rows follow the filters and the sort as they change
//   KEEPFILTERSORT=1                  the two keys below are written and read at start-up
//   ALERTEVERYROW=1                   every row the list holds is checked by the alert rules
//   NUMBERSUNCUT=1                    a number too wide for its cell shows "###"
//   DIGITGROUPING=international       shown numbers grouped 1,234,567.89 ("indian": 12,34,567.89)
//   FROZENFIRSTCOLUMN=1               the first column stays in place while the list scrolls
//   FILTERS=Margin Used:>100000,...   each filtered column's name and filter text
//   SORT=Cash Margin Avail,descending the sort column's name and its direction
//
// Columns are named, not numbered, so a kept filter survives a custom column that is deleted
// before it. In names and texts '%', ',', ':', quotes, control characters and a blank at either
// end are written as %XX, so any text a filter edit takes comes back unchanged. Reading never
// fails: an entry that is badly escaped, names no column of the list or has no text is left
// out, and a sort that cannot be read is none. An empty value (no filter, no sort) reads as
// missing, as every empty value of the settings file does.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "lists/ColumnProfile.h"
#include "lists/DigitGrouping.h"
#include "lists/ListLayout.h"

inline constexpr const char* kLiveFilterSortKey = "LIVEFILTERSORT";
inline constexpr const char* kKeepFilterSortKey = "KEEPFILTERSORT";
inline constexpr const char* kAlertsOnEveryRowKey = "ALERTEVERYROW";
inline constexpr const char* kNumbersUncutKey = "NUMBERSUNCUT";
inline constexpr const char* kDigitGroupingKey = "DIGITGROUPING";
inline constexpr const char* kFrozenFirstColumnKey = "FROZENFIRSTCOLUMN";
inline constexpr const char* kKeptFiltersKey = "FILTERS";
inline constexpr const char* kKeptSortKey = "SORT";

struct sListViewOptions {
  bool bLiveFilterSort = false;
  bool bKeepFilterSort = false;
  bool bAlertsOnEveryRow = false;
  bool bNumbersUncut = false;
  eDigitGrouping eGrouping = eDigitGrouping::kNone;
  bool bFrozenFirstColumn = false;
};

sListViewOptions ReadListViewOptions(const ProfileReadFn& fnRead);
// The stored value of an option: "1" or "0".
std::string FormatListViewOption(bool bOn);
// The stored value of the digit grouping: "international", "indian" or "none"; reading takes
// any other value as none.
std::string FormatDigitGroupingOption(eDigitGrouping eGrouping);

struct sKeptFilter {
  int32_t nColumn = -1;
  std::string strText;
};

struct sKeptSort {
  int32_t nColumn = -1;
  int32_t nDirection = -1;  // -1 ascending, +1 descending, as the list's sort direction
};

// The FILTERS value of parallel filter columns and texts; columns the layout does not have and
// empty texts are left out.
std::string FormatKeptFilters(const CListLayout& layout, std::span<const int32_t> arrColumns,
                              std::span<const std::string> arrTexts);
std::vector<sKeptFilter> ParseKeptFilters(const CListLayout& layout, std::string_view strValue);
// The SORT value; empty for a column the layout does not have.
std::string FormatKeptSort(const CListLayout& layout, const sKeptSort& sort);
std::optional<sKeptSort> ParseKeptSort(const CListLayout& layout, std::string_view strValue);
