// The window-free rules of a list's font: the height a point size gives on a display, the
// sizes the font dialog offers and how it finds its preset entries, and the caption of a
// button that names a font.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The face every font choice starts from.
inline constexpr const char* kDefaultFontChoice = "Arial";
// The sizes of the font dialog, in this order.
inline constexpr std::array<int32_t, 16> kFontSizes = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};

// The size text as "%d" entries of kFontSizes.
std::vector<std::string> GetFontSizeTexts();

// The character height of a size: -round(size x dpi / 72), the size text read as a decimal
// integer (leading digits). A text without a number gives 0, the face's default height.
int32_t GetFontHeight(const std::string& strSize, int32_t nDpiY);

// The first entry that begins with the prefix, ignoring letter case; -1 when none does.
int32_t FindEntryWithPrefix(const std::vector<std::string>& arrEntries, std::string_view strPrefix);
// The first entry equal to the text, ignoring letter case; -1 when none is.
int32_t FindEntryIgnoringCase(const std::vector<std::string>& arrEntries, std::string_view strText);

// The font caption: "name (size)" for style -1, else "name (style word , size)" with "Bold" for
// 1, "Italic" for 2, "Bold Italic" for 3 and "Regular" for any other code.
std::string FormatFontCaption(const std::string& strName, const std::string& strSize, int32_t nStyle);
