// A list's column profile in the settings file: its section (named by the list's profile name)
// holds "COLUMNPROFILE", the triples "index,position,width" of the standard columns with no
// comma before the first, "USERCOLUMNPROFILE" and "PROTECTEDCOLUMNPROFILE" with the custom
// columns (",index,position,width,name#stored expression#display expression" each), and the
// call-amount keys "MCA" to "OCS", each naming a column.
//
// Reading a profile never fails; a bad line shows every column it can:
//   - fields are integers with optional blanks around them; a triple with a field that is not
//     one (empty, a word, out of the 32-bit range) is skipped, and so is a trailing incomplete
//     triple;
//   - a triple naming no column of the list (negative or too large an index) is skipped;
//   - a repeated index: the last triple read for it counts;
//   - a column without a triple is hidden (new standard columns after the saved ones too);
//   - positions below -1 hide the column like -1; shown columns take the order of their
//     positions (equal positions in the order read) and are renumbered without gaps, so
//     positions past the header and duplicates still show every such column;
//   - a width that is not positive is replaced by the record's width;
//   - a profile that leaves no column shown (empty, all hidden, all bad) shows every column
//     in array order, as a list without a profile does.
//
// The profile is read and written through key functions, or through the settings file
// interface (ReadStoredProfile, WriteStoredProfile), which gives back what a save failed with.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "lists/ListLayout.h"
#include "lists/ListSettingsFile.h"

inline constexpr const char* kColumnProfileKey = "COLUMNPROFILE";
inline constexpr const char* kUserColumnProfileKey = "USERCOLUMNPROFILE";
inline constexpr const char* kProtectedColumnProfileKey = "PROTECTEDCOLUMNPROFILE";
inline constexpr const char* kSaveProfileFailedText = "Error while saving column profile";

// One column's saved place: its index in the column array, its header position (-1 hidden)
// and its width.
struct sProfileEntry {
  int32_t nIndex = 0;
  int32_t nPosition = -1;
  int32_t nWidth = 0;
};

// The triples of a "COLUMNPROFILE" value in the order read, bad triples left out.
std::vector<sProfileEntry> ReadProfileEntries(std::string_view strValue);

// Applies entries (the standard columns' triples followed by the custom columns' entries) to
// the layout's position map and widths by the rules above, and records the first column.
void ApplyProfileEntries(CListLayout& layout, std::span<const sProfileEntry> arrEntries);

// The call-amount column of each key of kCallAmountKeys from its value (empty when not read):
// the first column whose name is exactly the value, or -1.
std::array<int32_t, kCallAmountKeys.size()> ResolveCallAmountColumns(
    const std::vector<sHalvoColInfo>& arrColumns,
    std::span<const std::string, kCallAmountKeys.size()> arrValues);

// A header item as the header shows it, for saving.
struct sHeaderItem {
  std::string strText;
  int32_t nWidth = 0;
};

struct sProfileValues {
  std::string strColumnProfile;
  std::string strUserColumnProfile;
  std::string strProtectedColumnProfile;
};

// The three values for the layout's columns; each column's width is that of the first header
// item whose text is the column's name, 0 when none is.
sProfileValues BuildProfileValues(const CListLayout& layout, std::span<const sHeaderItem> arrHeader);

// Reads one key of the list's section; false when the key is absent or empty.
using ProfileReadFn = std::function<bool(const std::string& strKey, std::string& strValue)>;
// Writes one key of the list's section; false when the write failed.
using ProfileWriteFn = std::function<bool(const std::string& strKey, const std::string& strValue)>;
// Appends the list's saved custom columns to the layout's column array and gives their
// entries, with nIndex their index in the array.
using CustomColumnReadFn =
    std::function<std::vector<sProfileEntry>(CListLayout& layout, const ProfileReadFn& fnRead)>;

// Loading the profile after the column array holds the standard columns: records the
// catalogue count; without a "COLUMNPROFILE" value shows every column and stops; otherwise
// applies the triples and the custom columns' entries (fnReadCustom may be empty) and reads
// the call-amount keys. The widget then builds its header from the layout.
void LoadColumnProfile(CListLayout& layout, const ProfileReadFn& fnRead,
                       const CustomColumnReadFn& fnReadCustom);

// Saving: writes the three values, each whatever became of the others; for every failed write
// the caller shows kSaveProfileFailedText (from its write function, right after the write).
// True when all three were written.
bool SaveColumnProfile(const CListLayout& layout, std::span<const sHeaderItem> arrHeader,
                       const ProfileWriteFn& fnWrite);

// LoadColumnProfile over the keys of the list's section of the settings file.
void ReadStoredProfile(const IListSettingsFile& file, const std::string& strSection, CListLayout& layout,
                       const CustomColumnReadFn& fnReadCustom);

// What a save of the column profile did: the texts of its failures, in order, are for the
// window that saved to show.
struct sProfileSave {
  bool bAllWritten = true;
  std::vector<std::string> arrFailureTexts;
};
// Told each failure text of a save as soon as the write that failed returns, before the next key
// is written.
using ProfileFailureFn = std::function<void(const std::string& strText)>;
// SaveColumnProfile into the list's section. Each failed key adds the file's failure text, when
// it gives one, then kSaveProfileFailedText.
sProfileSave WriteStoredProfile(IListSettingsFile& file, const std::string& strSection,
                                const CListLayout& layout, std::span<const sHeaderItem> arrHeader,
                                const ProfileFailureFn& fnFailure = {});
