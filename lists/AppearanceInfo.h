// The appearance of one list: its colours, its font and the colour keywords. A list starts with
// the default appearance and keeps its own copy; copying an appearance shares the two keyword
// arrays, so a list and a working copy of it see the same keywords.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Colours are stored as 0x00BBGGRR (red in the low byte).
struct sAppearanceInfo {
  uint32_t clrBackground = 0x000000;  // black
  uint32_t clrText = 0x00FF00;        // green
  // Colour of each keyword, parallel to pKeywords; null while the list has no keywords.
  std::shared_ptr<std::vector<uint32_t>> pKeywordColours;
  // Keywords in lower case.
  std::shared_ptr<std::vector<std::string>> pKeywords;
  // The column whose text the keywords are matched against; -1 for none.
  int32_t nKeywordColumn = -1;
  // True while the list's filter row is enabled; keywords are offered only then.
  bool bKeywordsAvailable = false;
  std::string strFontName = "MS Shell Dlg 2";
  std::string strFontSize = "8";  // points, decimal text
};

// The appearance of a list without a stored one.
inline const sAppearanceInfo g_defaultAppearance{};
