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
  };

  // The layout of a text in a font, made on first use. The cache empties when the font
  // changes, or when it holds kMaxEntries texts (a storm of new values), so it stays small.
  const sLayout& Get(const std::string& strText, const QFont& font, const QFontMetrics& metrics);

 private:
  // A few pages of every list's cells.
  static constexpr size_t kMaxEntries = 8192;

  QFont m_font;
  std::unordered_map<std::string, sLayout> m_mapLayouts;
};
