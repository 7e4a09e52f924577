// "Fit to Data" over every row of a long list: measuring each text with the font would stall
// the window, so the texts are ranked by an estimate and only the few widest are measured.
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "lists/CellText.h"

// The estimated width of a UTF-8 text: the sum of its characters' advances, without kerning or
// shaping. A byte that does not start a valid character counts as U+FFFD, as the font sees it.
class CTextAdvances {
 public:
  // The advance of one character in the font; asked once per character.
  using AdvanceFn = std::function<int32_t(char32_t)>;
  explicit CTextAdvances(AdvanceFn fnAdvance);

  int64_t Estimate(std::string_view strText);

 private:
  int32_t GetOtherAdvance(char32_t nCharacter);

  AdvanceFn m_fnAdvance;
  std::array<int32_t, 128> m_arrAscii{};
  std::unordered_map<char32_t, int32_t> m_mapOther;
};

// The nKeep texts with the largest estimates of those offered.
class CWidestTexts {
 public:
  explicit CWidestTexts(size_t nKeep) : m_nKeep(nKeep) {}

  // True when an estimate would be kept: below the kept ones once nKeep are kept, it is not.
  bool WouldKeep(int64_t nEstimate) const { return m_arrKept.size() < m_nKeep || nEstimate > m_nLowest; }
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
  int64_t m_nLowest = 0;
};

// The reading behind "Fit to Data": every row, all header positions of a row together (each
// record is loaded once), each text offered to its position's CWidestTexts. It runs in slices,
// so a long list is read over several turns of the event loop; rows added or removed between
// slices are read or skipped as they fall.
class CFitToDataPass {
 public:
  // The text of (row, header position) into the cell.
  using ReadCellFn = std::function<void(int32_t nRow, int32_t nPosition, sCellText& cell)>;

  // arrColumns: the column shown at each header position, by which the owner tells whether its
  // columns changed since the pass began.
  CFitToDataPass(std::vector<int32_t> arrColumns, CTextAdvances::AdvanceFn fnAdvance, size_t nKeep);

  // Reads on from the next row until nRowCount or the deadline; true once every row was read.
  bool Run(int32_t nRowCount, const ReadCellFn& fnRead, std::chrono::steady_clock::time_point deadline);
  const std::vector<int32_t>& GetColumns() const { return m_arrColumns; }
  int32_t GetPositionCount() const { return static_cast<int32_t>(m_arrWidest.size()); }
  // The texts of a header position to measure with the font.
  std::vector<std::string> GetTexts(int32_t nPosition) const;

 private:
  std::vector<int32_t> m_arrColumns;
  CTextAdvances m_advances;
  std::vector<CWidestTexts> m_arrWidest;
  int32_t m_nNextRow = 0;
  sCellText m_cell;
};
