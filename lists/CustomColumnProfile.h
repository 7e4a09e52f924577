// Custom columns in a list's column profile. Each is written into the value of its kind's key
// ("USERCOLUMNPROFILE" for kind 1, "PROTECTEDCOLUMNPROFILE" for kind 4) as
// ",index,position,width,name#stored expression#display expression"; BuildProfileValues
// (lists/ColumnProfile.h) writes them. This side reads them back for LoadColumnProfile.
//
// Reading one value, entry by entry: a comma before the entry is passed over; the three numbers
// end at commas and must be integers (blanks around them allowed); the texts run to the next
// comma or the end, the name up to the first '#', the stored expression up to the second and
// the display expression after it. Names and expressions written by the dialog hold no comma.
// The reading stops at the first entry that lacks one of these fields (or has a number that is
// not one); every entry before it is kept. An entry with an empty name is passed over. A name
// longer than 63 characters is cut to its first 63.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "lists/ColumnProfile.h"

// Record values of a column read from the profile.
constexpr int32_t kLoadedCustomWidth = 80;

struct sCustomProfileEntry {
  sProfileEntry place;  // nIndex as written, which only the position-0 rule uses
  std::string strName;
  std::string strStored;
  std::string strDisplay;
};

std::vector<sCustomProfileEntry> ReadCustomProfileEntries(std::string_view strValue);

// The longest value both settings accessors read back whole; a longer one is cut when read.
constexpr size_t kMaxProfileValueLength = 4094;

// The length of a custom column's entry, its three numbers counted at their longest.
size_t GetCustomEntryLength(std::string_view strName, std::string_view strStored, std::string_view strDisplay);
// The length the value of a kind's key can reach with the layout's custom columns of that kind,
// nSkipColumn left out.
size_t MeasureCustomProfileValue(const CListLayout& layout, int32_t nKind, int32_t nSkipColumn);

// The CustomColumnReadFn of LoadColumnProfile: reads "PROTECTEDCOLUMNPROFILE", then
// "USERCOLUMNPROFILE", appends a record per entry (width 80, right-aligned, value type 2, kind 4
// or 1) after the columns already in the array, rebuilds every custom column's stored expression
// from its display expression (RebuildStoredExpressions), and gives the entries with their
// indices in the array.
std::vector<sProfileEntry> ReadCustomColumns(CListLayout& layout, const ProfileReadFn& fnRead);
