// The stored form of a list's appearance: one line per list in section "CUSTOMIZE_LISTS" of the
// main settings file, keyed by the list's profile name and control identifier. The value holds
// the two colours in hexadecimal, the font, and optionally the keyword column and each keyword
// with its colour, all separated by commas:
//   FFFFFF,0,Arial,10            no keywords
//   FFFFFF,0,Arial,10,3,sell,FF,buy,FF,   keywords matched on column 3
// Also the rules that keep and match the keywords, and the reading and writing of a list's line
// through the settings file interface. No windows here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lists/AppearanceInfo.h"
#include "lists/ListSettingsFile.h"

inline constexpr const char* kAppearanceSection = "CUSTOMIZE_LISTS";
// What a read of a missing line gives; an empty line counts the same.
inline constexpr const char* kAppearanceNotFound = "String not found";
inline constexpr uint32_t kAppearanceBufferSize = 1000;

// "%s-%d": Orvane_watch1-1231.
std::string FormatAppearanceKey(std::string_view strListName, int32_t nControlId);

// The keyword part: "%d," of the column, then "%s,%lX," for each keyword and its colour. Ends
// with a comma unless empty. Without a column (nColumn < 0) it is empty: keywords written
// without their column would be read as the column number.
std::string FormatKeywordPart(int32_t nColumn, const std::vector<std::string>& arrKeywords,
                              const std::vector<uint32_t>& arrColours);

// "%lX,%lX,%s,%s" of the colours and the font, then "," and the keyword part when it is not
// empty.
std::string FormatAppearanceValue(const sAppearanceInfo& appearance, const std::string& strKeywordPart);

// True when a list reads the value back whole (kAppearanceBufferSize holds its terminating NUL).
inline bool DoesAppearanceValueFit(const std::string& strValue) {
  return strValue.size() < kAppearanceBufferSize;
}

// The keyword part of an appearance's own column and keywords.
std::string FormatKeywordPart(const sAppearanceInfo& appearance);

// Reads a stored value into the appearance. False, leaving it untouched, for a missing line
// (empty or kAppearanceNotFound) and for one with fewer than four fields. Otherwise sets the
// colours and the font; a fifth field sets the keyword column. With a keyword column, the
// keywords that follow replace the appearance's keywords (lower-cased); a keyword without a
// colour clears them all.
bool ParseAppearanceValue(const std::string& strValue, sAppearanceInfo& appearance);

// Where a new keyword goes in a table ordered by decreasing length: before the first keyword
// that is not longer, so it precedes keywords of its own length.
size_t FindKeywordInsertRow(const std::vector<std::string>& arrKeywords, std::string_view strKeyword);

// True when the appearance has keywords to match and a column to match them on.
inline bool HasKeywordColours(const sAppearanceInfo& appearance) {
  return appearance.nKeywordColumn != -1 && appearance.pKeywords != nullptr && !appearance.pKeywords->empty() &&
         appearance.pKeywordColours != nullptr;
}

// The colour of the first keyword (in stored order) that occurs in the cell text, ignoring
// letter case; false, colour untouched, when none does.
bool MatchKeywordColour(const sAppearanceInfo& appearance, std::string_view strCellText, uint32_t& clrColour);

// The appearance a list takes from its stored line.
struct sStoredAppearance {
  sAppearanceInfo appearance;
  bool bStored = false;  // a line was read: the list counts as customized
};

// The list's line in the settings file read over its current appearance: what the line does not
// hold (a keyword column, keywords) stays. Without a line, or with one that cannot be read, the
// default appearance; it keeps whether keywords are available, which follows the list's filter
// row and not the line.
sStoredAppearance ReadStoredAppearance(const IListSettingsFile& file, const std::string& strKey,
                                       const sAppearanceInfo& current);
// False when the line was not written.
bool WriteStoredAppearance(IListSettingsFile& file, const std::string& strKey, const std::string& strValue);
