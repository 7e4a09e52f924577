// The text layouts of the cells painted lately. Laying a text out (shaping it into glyphs)
// is most of the cost of painting a list, and a frame mostly paints the texts the frame before
// painted, so a cell whose text did not change is drawn from its layout, without shaping.
#pragma once

#include <QFont>
#include <QStaticText>
#include <string>
#include <unordered_map>

class QFontMetrics;

class CCellTextCache {
 public:
  struct sLayout {
    QStaticText text;
    int nWidth = 0;  // as QFontMetrics::horizontalAdvance gives it
    // What a cell too narrow for the text shows, for the room it was last cut for (-1: never
    // cut): the text elided at its end, or as much of "###" as fits.
    QStaticText cut;
    int nCutWidth = 0;
    int nCutRoom = -1;
    bool bCutToHash = false;
  };

  // The layout of a text in a font, made on first use. The cache empties when the font
  // changes, or when it holds kMaxEntries texts (a storm of new values), so it stays small.
  const sLayout& Get(const std::string& strText, const QFont& font, const QFontMetrics& metrics);
  // The same, with its cut form for nRoom pixels made as well: shaping the cut text of a long
  // amount every frame would cost more than all the cells that fit.
  const sLayout& GetCut(const std::string& strText, const QFont& font, const QFontMetrics& metrics, int nRoom,
                        bool bToHash, const char* szHash);

 private:
  // A few pages of every list's cells.
  static constexpr size_t kMaxEntries = 8192;

  sLayout& Find(const std::string& strText, const QFont& font, const QFontMetrics& metrics);

  QFont m_font;
  std::unordered_map<std::string, sLayout> m_mapLayouts;
};
