// Text rules of the spreadsheet writer: the workbook is UTF-8 XML, so every text that goes
// into it is made valid UTF-8 first; sheet and file names follow the rules of the workbook and
// of the file system.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The most characters a cell holds; longer texts are cut.
constexpr size_t EXCEL_MAX_CELL_CHARS = 32767;
// The most characters of a sheet name.
constexpr size_t EXCEL_MAX_SHEET_NAME_CHARS = 31;
// The most bytes of the list name part of a file name, leaving room for the time stamp within
// the 255 bytes a file name may have.
constexpr size_t EXCEL_MAX_FILE_STEM_BYTES = 200;

// The text with every byte sequence that is not UTF-8 (stray or missing continuation bytes,
// overlong forms, surrogates, code points above U+10FFFF) replaced by U+FFFD, one U+FFFD for
// each maximal ill-formed part. NUL, U+FFFE and U+FFFF, which XML does not allow, become U+FFFD
// as well.
std::string MakeValidUtf8(std::string_view strText);

// The number of characters (code points) of a valid UTF-8 text.
size_t CountUtf8Chars(std::string_view strText);

// The first nMaxChars characters of a valid UTF-8 text.
std::string_view CutUtf8Chars(std::string_view strText, size_t nMaxChars);

// The sheet name for a list name: valid UTF-8 without control characters and without
// [ ] : * ? / \, blanks and apostrophes trimmed from both ends, at most 31 characters;
// "Sheet1" when nothing is left.
std::string MakeSheetName(std::string_view strListName);

// The list name part of an export file name: valid UTF-8 in which control characters and
// / \ : * ? " < > | become '_', at most 200 bytes; "List" for an empty name.
std::string MakeFileNameStem(std::string_view strListName);
