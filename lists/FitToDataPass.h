// "Fit to Data" over every row of a long list: measuring each text with the font would stall
// the window, so the texts are ranked by an estimate and only the few widest are measured.
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "lists/CellText.h"
#include "model/TextShape.h"

// The estimated width of a UTF-8 text: the sum of its characters' advances, without kerning or
// shaping. A byte that does not start a valid character counts as U+FFFD, as the font sees it.
class CTextAdvances {
 public:
  // The advance of one character in the font; asked once per character.
  using AdvanceFn = std::function<int32_t(char32_t)>;
  explicit CTextAdvances(AdvanceFn fnAdvance);

  int64_t Estimate(std::string_view strText);
  // The widest a number text of the shape can be: every digit as wide as the widest digit.
  int64_t EstimateNumber(const sTextShape& shape) const {
    return int64_t{shape.nMinus} * m_arrAscii['-'] + int64_t{shape.nPoints} * m_arrAscii['.'] +
           int64_t{shape.nDigits} * m_nWidestDigit;
  }

 private:
  int32_t GetOtherAdvance(char32_t nCharacter);

  AdvanceFn m_fnAdvance;
  std::array<int32_t, 128> m_arrAscii{};
  int32_t m_nWidestDigit = 0;
  std::unordered_map<char32_t, int32_t> m_mapOther;
};

// The nKeep texts with the largest estimates of those offered.
class CWidestTexts {
 public:
  explicit CWidestTexts(size_t nKeep)
      : m_nKeep(nKeep), m_nLowest(nKeep > 0 ? INT64_MIN : INT64_MAX) {}

  // True when an estimate would be kept: below the kept ones once nKeep are kept, it is not.
  bool WouldKeep(int64_t nEstimate) const { return nEstimate > m_nLowest; }
  void Offer(std::string_view strText, int64_t nEstimate);
  // The kept texts, in no particular order.
  std::vector<std::string> GetTexts() const;

 private:
  struct sKept {
    int64_t nEstimate;
    std::string strText;
  };

  size_t m_nKeep;
  std::vector<sKept> m_arrKept;
  int64_t m_nLowest;  // the lowest estimate kept once nKeep are, every estimate passes before
};

// Where a "Fit to Data" pass reads a list's rows. Cells are read one by one, unless the source
// tells the shapes (model/TextShape.h) of many rows' cells of a header position at once: then
// only a number that may be among the widest is read, and a text told by its shape is not read
// at all.
class IFitToDataSource {
 public:
  virtual ~IFitToDataSource() = default;
  virtual int32_t GetRowCount() const = 0;
  // The text of the cell at (row, header position) into the cell.
  virtual void ReadCell(int32_t nRow, int32_t nPosition, sCellText& cell) = 0;
  // The shapes of a header position's cells in the rows from nFirstRow on, one per entry of
  // arrShapes, each that of the text ReadCell gives (for kNumber: a text of at most those
  // characters); false when the source tells none for the position.
  virtual bool ReadShapes(int32_t nFirstRow, int32_t nPosition, std::span<sTextShape> arrShapes) = 0;
};

// The reading behind "Fit to Data": every row, in blocks of rows, each header position of a
// block together (the block's records stay in the cache meanwhile), each text offered to its
// position's CWidestTexts in row order. A text is skipped when its shape shows that it cannot
// beat the kept ones, so the texts kept are those that offering every row's text would keep. It
// runs in slices, so a long list is read over several turns of the event loop; rows added or
// removed between slices are read or skipped as they fall.
class CFitToDataPass {
 public:
  // arrColumns: the column shown at each header position, by which the owner tells whether its
  // columns changed since the pass began.
  CFitToDataPass(std::vector<int32_t> arrColumns, CTextAdvances::AdvanceFn fnAdvance, size_t nKeep);

  // Reads on from the next row until the last or the deadline; true once every row was read.
  bool Run(IFitToDataSource& source, std::chrono::steady_clock::time_point deadline);
  const std::vector<int32_t>& GetColumns() const { return m_arrColumns; }
  int32_t GetPositionCount() const { return static_cast<int32_t>(m_arrWidest.size()); }
  // The texts of a header position to measure with the font.
  std::vector<std::string> GetTexts(int32_t nPosition) const;

 private:
  static constexpr int32_t kBlockRows = 64;

  void ReadBlock(IFitToDataSource& source, int32_t nFirstRow, int32_t nRows, int32_t nPosition);
  void OfferCell(IFitToDataSource& source, int32_t nRow, int32_t nPosition);
  // The estimate of a text told by its shape. Columns such as levels and segments repeat a few
  // texts, so each position keeps its last text's.
  int64_t EstimateShownText(size_t nPosition, std::string_view strText);

  struct sLastText {
    std::string strText;
    int64_t nEstimate = 0;
  };

  std::vector<int32_t> m_arrColumns;
  CTextAdvances m_advances;
  std::vector<CWidestTexts> m_arrWidest;
  int32_t m_nNextRow = 0;
  sCellText m_cell;
  std::array<sTextShape, kBlockRows> m_arrShapes;
  std::vector<sLastText> m_arrLastTexts;  // by header position
};
