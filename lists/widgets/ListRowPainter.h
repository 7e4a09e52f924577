// Draws the rows of a list control the way its owner drawing is defined: the row filled with
// its background (or a vertical gradient from it to white), a selected row painted over with
// the selection gradient, and each cell's text on one line in the cell's colour, cut with an
// ellipsis and placed by the column's alignment.
#pragma once

#include <QRect>
#include <cstdint>
#include <string>

#include "controls/ColorRef.h"

class CCellTextCache;
class QPainter;
class QPixmap;
struct sAppearanceInfo;

// The column alignment that shows an icon at the right end of the cell.
inline constexpr int32_t kAlignIcon = 2048;
// Pixels between a cell's edge and its left- or right-aligned text.
inline constexpr int kCellTextMargin = 3;
// Width of the icon of an icon cell, at the cell's right end.
inline constexpr int kCellIconWidth = 30;
inline constexpr const char* kIconFailedText = "Failed to draw icon";
// What a number too wide for its cell shows instead of cut digits.
inline constexpr const char* kCutNumberText = "###";

// The selection gradients, top to bottom: with the focus, and without it.
inline constexpr uint32_t kSelectedFocusTop = 14777170;     // red 82, green 122, blue 225
inline constexpr uint32_t kSelectedFocusBottom = 16754236;  // red 60, green 165, blue 255
inline constexpr uint32_t kSelectedTop = 8289918;           // grey 126
inline constexpr uint32_t kSelectedBottom = 0;

class CListRowPainter {
 public:
  // Texts that fit their cell are drawn from the cache's layouts.
  CListRowPainter(QPainter& painter, bool bFocused, bool bGradient, CCellTextCache& cache)
      : m_painter(painter), m_bFocused(bFocused), m_bGradient(bGradient), m_cache(cache) {}

  // Fills the row with its background; a selected row gets the selection gradient over it.
  void FillRow(const QRect& rcRow, uint32_t clrBackground, bool bSelected) const;
  // Fills a cell whose background differs from its row's.
  void FillCell(const QRect& rcCell, uint32_t clrBackground) const;
  // The cell's text by the column's alignment: 0 left and 1 right, 3 pixels in; kAlignIcon an
  // icon at the right end (the icon's image, or kIconFailedText when it has none); anything
  // else centred. A text too wide for the cell ends in an ellipsis, or with bHashWhenCut shows
  // kCutNumberText (as much of it as fits).
  void DrawCellText(const QRect& rcCell, const std::string& strText, uint32_t clrText, int32_t nFormat,
                    const QPixmap* pIcon, bool bHashWhenCut = false) const;
  // The check box of a row's state image, in the text colour.
  void DrawCheckBox(const QRect& rcBox, bool bChecked, uint32_t clrText) const;

 private:
  QPainter& m_painter;
  bool m_bFocused;
  bool m_bGradient;
  CCellTextCache& m_cache;
};
