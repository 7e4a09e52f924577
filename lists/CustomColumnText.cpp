#include "lists/CustomColumnText.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "lists/CustomColumnExpression.h"
#include "lists/ExpressionBuffer.h"
#include "lists/ExpressionEngine.h"
#include "lists/FilterListStore.h"
#include "lists/ReferenceRule.h"
#include "model/NumberFormat.h"

namespace {

// The first '/' of an evaluation text; a plain loop, as the texts are short.
size_t FindSlash(std::string_view strText) {
  for (size_t i = 0; i < strText.size(); ++i) {
    if (strText[i] == '/') {
      return i;
    }
  }
  return std::string_view::npos;
}

// The evaluation text of one cell: in a fixed array while it fits, on the heap beyond.
class CEvaluationText {
 public:
  void Append(std::string_view strPiece) {
    if (!m_bOnHeap && m_nLength + strPiece.size() <= sizeof(m_arrFixed)) {
      std::memcpy(m_arrFixed + m_nLength, strPiece.data(), strPiece.size());
      m_nLength += strPiece.size();
      return;
    }
    if (!m_bOnHeap) {
      m_strHeap.assign(m_arrFixed, m_nLength);
      m_bOnHeap = true;
    }
    m_strHeap += strPiece;
  }
  std::string_view Get() const { return m_bOnHeap ? std::string_view(m_strHeap) : std::string_view(m_arrFixed, m_nLength); }

 private:
  char m_arrFixed[EXPRESSION_FIXED_LENGTH];
  size_t m_nLength = 0;
  bool m_bOnHeap = false;
  std::string m_strHeap;
};

}  // namespace

int32_t CCustomColumnText::ReadReference(std::string_view strPiece) {
  const int32_t nColumn = ReadColumnReference(strPiece);
  return nColumn >= 0 ? nColumn : kBadReference;
}

void CCustomColumnText::SetColouredNames(std::span<const std::string> arrNames) {
  m_arrColouredNames.assign(arrNames.begin(), arrNames.end());
  for (sFormula& formula : m_arrFormulas) {
    formula.bColoured = formula.bBuilt && IsColoured(formula.strName);
  }
}

bool CCustomColumnText::IsColoured(const std::string& strName) const {
  return std::find(m_arrColouredNames.begin(), m_arrColouredNames.end(), strName) != m_arrColouredNames.end();
}

void CCustomColumnText::RefreshFormula(sFormula& formula, const sHalvoColInfo& column) const {
  const std::string_view strName = GetColumnNameView(column);
  if (formula.bBuilt && formula.strFormula == column.strFormula && formula.strName == strName) {
    return;
  }
  formula.bBuilt = true;
  formula.strFormula = column.strFormula;
  formula.strName = strName;
  formula.arrPieces.clear();
  const char* const pStart = formula.strFormula.data();
  ForEachReferencePiece(formula.strFormula, [&](std::string_view strPiece, bool bReference) {
    formula.arrPieces.push_back({static_cast<size_t>(strPiece.data() - pStart), strPiece.size(),
                                 bReference ? ReadReference(strPiece) : kExpressionPiece});
  });
  formula.bColoured = IsColoured(formula.strName);
  formula.bFailureReported = false;
}

bool CCustomColumnText::GetCustomColumnText(const void* pRecord, int32_t nColumn, sCellText& cell) {
  const std::vector<sHalvoColInfo>& arrColumns = m_layout.m_arrColumns;
  if (nColumn < m_layout.m_nCatalogueCount || nColumn < 0 || static_cast<size_t>(nColumn) >= arrColumns.size()) {
    return false;
  }
  for (const sFrame* pFrame = m_pInnermost; pFrame != nullptr; pFrame = pFrame->pOuter) {
    if (pFrame->nColumn == nColumn) {
      m_eFault = eFault::kCircular;
      cell.strText = kCircularReferenceText;
      return false;
    }
  }
  if (m_nDepth >= kMaxCustomNesting) {
    m_eFault = eFault::kTooDeep;
    cell.strText = kNestingTooDeepText;
    return false;
  }
  if (m_nDepth == 0) {
    m_arrFormulas.resize(arrColumns.size());
  }
  sFormula& formula = m_arrFormulas[static_cast<size_t>(nColumn)];
  RefreshFormula(formula, arrColumns[static_cast<size_t>(nColumn)]);

  const sFrame frame{nColumn, m_pInnermost};
  m_pInnermost = &frame;
  ++m_nDepth;
  ComputeText(pRecord, formula, cell, m_arrReferenced[static_cast<size_t>(m_nDepth - 1)]);
  --m_nDepth;
  m_pInnermost = frame.pOuter;

  if (m_nDepth > 0) return false;
  m_eFault = eFault::kNone;
  // Reported after the computation is over: the box may repaint the list, which computes afresh.
  return std::exchange(m_bFailurePending, false);
}

void CCustomColumnText::ComputeText(const void* pRecord, sFormula& formula, sCellText& cell, sCellText& referenced) {
  const size_t nColumnCount = m_layout.m_arrColumns.size();
  CEvaluationText text;
  for (const sPiece& piece : formula.arrPieces) {
    const std::string_view strPiece(formula.strFormula.data() + piece.nOffset, piece.nLength);
    if (piece.nColumn == kExpressionPiece) {
      text.Append(strPiece);
      continue;
    }
    if (piece.nColumn < 0 || static_cast<size_t>(piece.nColumn) >= nColumnCount) {
      cell.strText = kInvalidReferenceText;
      return;
    }
    referenced.Reset();
    const bool bRead = m_fnCellText && m_fnCellText(pRecord, piece.nColumn, referenced);
    if (m_eFault != eFault::kNone) {
      cell.strText = m_eFault == eFault::kCircular ? kCircularReferenceText : kNestingTooDeepText;
      return;
    }
    if (!bRead) {
      return;
    }
    text.Append(ReadsAsZero(referenced.strText) ? std::string_view("0") : referenced.strText);
  }

  const std::string_view strText = text.Get();
  // One variable for both evaluations: a divisor part that fails with code 1 leaves it at 0.
  double dResult = 0.0;
  const size_t nSlash = FindSlash(strText);
  if (nSlash != std::string_view::npos) {
    const int32_t nCode = EvaluateExpression(strText.substr(nSlash + 1), dResult);
    if (nCode == EXPR_BAD_OPERAND || nCode == EXPR_FAILED) {
      return;
    }
    if (dResult == 0.0) {
      cell.strText = kDividedByZeroText;
      return;
    }
  }
  // Codes 1 and 3 format what the variable holds: 0, or the divisor part's value.
  if (EvaluateExpression(strText, dResult) == EXPR_FAILED) {
    if (!formula.bFailureReported) {
      formula.bFailureReported = true;
      m_bFailurePending = true;
    }
    return;
  }
  char szValue[kFixedTextSize];
  cell.strText.assign(szValue, FormatFixed(dResult, 2, szValue));
  if (formula.bColoured && dResult < 0) {
    cell.nTextColour = kNegativeCustomColour;
  }
}

void CCustomColumnText::PrefetchCell(const void* pRecord, int32_t nColumn) const {
  if (m_fnCellPrefetch) {
    PrefetchReferences(pRecord, nColumn, 0);
  }
}

void CCustomColumnText::PrefetchReferences(const void* pRecord, int32_t nColumn, int32_t nLevel) const {
  if (nColumn < m_layout.m_nCatalogueCount || nColumn < 0 || static_cast<size_t>(nColumn) >= m_arrFormulas.size()) {
    return;
  }
  for (const sPiece& piece : m_arrFormulas[static_cast<size_t>(nColumn)].arrPieces) {
    if (piece.nColumn < 0) {
      continue;
    }
    if (piece.nColumn < m_layout.m_nCatalogueCount) {
      m_fnCellPrefetch(pRecord, piece.nColumn);
    } else if (nLevel + 1 < kPrefetchNesting) {
      PrefetchReferences(pRecord, piece.nColumn, nLevel + 1);
    }
  }
}

void ConnectCustomColumns(CFilterListStore& store, CCustomColumnText& customText,
                          std::function<void()> fnReportFailure) {
  customText.SetCellTextFn([&store](const void* pRecord, int32_t nColumn, sCellText& cell) {
    return store.GetCellText(pRecord, nColumn, cell);
  });
  store.SetCustomColumnFn([&customText, fnReport = std::move(fnReportFailure)](const void* pRecord, int32_t nColumn,
                                                                               sCellText& cell) {
    if (customText.GetCustomColumnText(pRecord, nColumn, cell) && fnReport) fnReport();
    return true;
  });
  store.SetCustomPrefetchFn(
      [&customText](const void* pRecord, int32_t nColumn) { customText.PrefetchCell(pRecord, nColumn); });
}
