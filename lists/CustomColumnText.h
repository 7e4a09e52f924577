// The cell text of a list's custom columns. A custom column's stored expression is split by the
// reference rule (lists/ReferenceRule.h); every referenced column is read through the list's
// cell text operation on the same row, so custom columns may reference other custom columns.
// Referenced texts that read as zero (empty texts and words such as "--NA--" included) enter the
// evaluation as "0", all others exactly as the cell shows them. A text holding '/' is checked
// first: the part after the first '/' is evaluated alone; codes 3 and 4 leave the cell as it
// was, a zero value gives kDividedByZeroText. The whole text then gives the value with two
// decimals; codes 1 and 3 format what the one result variable holds (0, or the divisor part's
// value), code 4 leaves the cell.
//
// Beyond the evaluation rules, three cell texts guard against broken expressions:
//   - kCircularReferenceText: the column reaches itself, directly or through other custom
//     columns; every column on the way, and every column that reads one of them, shows it;
//   - kNestingTooDeepText: references nest deeper than kMaxCustomNesting custom columns; shown
//     the same way;
//   - kInvalidReferenceText: a reference that is not a plain decimal index of a column of the
//     list (left behind by a deletion, or written by hand). A column that reads such a cell
//     takes it as 0, as any text that is not a number.
// An evaluation failure (code 4) is reported once per column until the column's expression
// changes, when the outermost cell is done: the caller then shows kCalculationFailedText, so a
// repaint of many rows with a broken column shows one box and a repaint during the box computes
// cells afresh.
//
// The pieces of each stored expression are split once and kept until the column's expression
// or name changes; a cell is computed without heap allocation while its evaluation text stays
// under 256 characters. One list's columns, on the thread that owns the list.
#pragma once

#include <array>
#include <functional>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "lists/CellText.h"
#include "lists/ListLayout.h"

class CFilterListStore;

inline constexpr const char* kDividedByZeroText = "Divided by ZERO error";
inline constexpr const char* kCalculationFailedText = "Invalid Expression,while calculating value";
inline constexpr const char* kCircularReferenceText = "Circular reference";
inline constexpr const char* kNestingTooDeepText = "Too many nested references";
inline constexpr const char* kInvalidReferenceText = "Invalid reference";

// The text colour of a negative value in a column of the colouring list: red.
constexpr int32_t kNegativeCustomColour = 255;
// Custom columns that one cell may pass through, itself included.
constexpr int32_t kMaxCustomNesting = 32;

class CCustomColumnText {
 public:
  // The layout is the list's columns; it must outlive this object.
  explicit CCustomColumnText(const CListLayout& layout) : m_layout(layout) {}
  CCustomColumnText(const CCustomColumnText&) = delete;
  CCustomColumnText& operator=(const CCustomColumnText&) = delete;

  // The list's cell text operation, asked for every referenced column.
  void SetCellTextFn(CellTextFn fnCellText) { m_fnCellText = std::move(fnCellText); }
  // The data descriptor's load hint (CellText.h), for PrefetchCell.
  void SetCellPrefetchFn(CellPrefetchFn fnPrefetch) { m_fnCellPrefetch = std::move(fnPrefetch); }
  // The names of the colouring list (exact comparison).
  void SetColouredNames(std::span<const std::string> arrNames);

  // Computes the cell of a custom column (index >= N) for a row; other indices are left alone.
  // The text stays as the caller set it when a referenced cell cannot be read or the evaluation
  // fails; the text colour is set to kNegativeCustomColour for a negative value of a coloured
  // column and is otherwise not touched. True when an evaluation failure is to be reported now.
  bool GetCustomColumnText(const void* pRecord, int32_t nColumn, sCellText& cell);

  // A load hint for passes over many rows: starts loading the standard cells that a custom
  // column's cell will read for the record, through referenced custom columns up to
  // kPrefetchNesting levels. Uses the pieces split by earlier computations and changes nothing.
  void PrefetchCell(const void* pRecord, int32_t nColumn) const;

 private:
  // A piece of a stored expression: expression text, or a column reference.
  static constexpr int32_t kExpressionPiece = -1;
  static constexpr int32_t kBadReference = -2;
  struct sPiece {
    size_t nOffset = 0;
    size_t nLength = 0;
    int32_t nColumn = kExpressionPiece;  // the referenced index, or one of the two kinds above
  };

  // The split stored expression of one column, with what it was made from.
  struct sFormula {
    bool bBuilt = false;
    std::string strFormula;
    std::string strName;
    std::vector<sPiece> arrPieces;
    bool bColoured = false;
    bool bFailureReported = false;
  };

  enum class eFault { kNone, kCircular, kTooDeep };

  // One custom column being computed, on the call stack of its computation.
  struct sFrame {
    int32_t nColumn = -1;
    const sFrame* pOuter = nullptr;
  };

  static constexpr int32_t kPrefetchNesting = 2;

  static int32_t ReadReference(std::string_view strPiece);
  void RefreshFormula(sFormula& formula, const sHalvoColInfo& column) const;
  void PrefetchReferences(const void* pRecord, int32_t nColumn, int32_t nLevel) const;
  bool IsColoured(const std::string& strName) const;
  void ComputeText(const void* pRecord, sFormula& formula, sCellText& cell, sCellText& referenced);

  const CListLayout& m_layout;
  CellTextFn m_fnCellText;
  CellPrefetchFn m_fnCellPrefetch;
  std::vector<std::string> m_arrColouredNames;
  // By column index; resized only when no cell is being computed, so entries stay in place.
  std::vector<sFormula> m_arrFormulas;
  // The referenced cells' texts, one per nesting level, reused so their capacity stays.
  std::array<sCellText, kMaxCustomNesting> m_arrReferenced;
  const sFrame* m_pInnermost = nullptr;
  int32_t m_nDepth = 0;
  eFault m_eFault = eFault::kNone;
  bool m_bFailurePending = false;
};

// Wires a list's store and its custom columns to each other: the store asks the custom columns
// for every index >= N and for their load hint, and they read referenced cells through the
// store. Both must outlive the connection. The data descriptor's own load hint is given to each
// of them by the owner. fnReportFailure, when set, is called for each evaluation failure the
// custom columns report; the owner shows kCalculationFailedText.
void ConnectCustomColumns(CFilterListStore& store, CCustomColumnText& customText,
                          std::function<void()> fnReportFailure);
