#include "link/AlertAmount.h"

#include <algorithm>
#include <string>

#include "lists/CustomColumnExpression.h"
#include "lists/ExpressionEngine.h"
#include "lists/ReferenceRule.h"
#include "model/NumberFormat.h"
#include "plugin/PluginContext.h"

namespace {

bool IsListed(std::string_view strName, const ConfigNameList& arrNames, int32_t nCount) {
  return std::any_of(arrNames.begin(), arrNames.begin() + std::clamp(nCount, 0, kMaxConfigListEntries),
                     [&](const std::string& strEntry) { return strEntry == strName; });
}

double RoundToCents(double dValue) {
  char szText[kFixedTextSize];
  const size_t nLength = FormatFixed(dValue, 2, szText);
  return ParseDecimalText(std::string_view(szText, nLength));
}

// A cell's text as the formula reads it: "-" (no value) counts as 0.
std::string GetAmountCellText(const CRmsDetails& record, int nColumn) {
  std::string strText;
  GetColumnText(&record, nColumn, strText);
  return strText == "-" ? "0" : strText;
}

// A custom column's value from the record's own cells, rounded to two decimals; 0 when it
// cannot be computed. The divisor part is tried first, so a zero divisor gives 0.
double ComputeCustomAmount(const CRmsDetails& record, std::string_view strStored) {
  std::string strText;
  bool bReferencesMissing = false;
  ForEachReferencePiece(strStored, [&](std::string_view strPiece, bool bReference) {
    if (!bReference) {
      strText += strPiece;
      return;
    }
    // A name whose column went (kMissingReference) has no value; it must not read column 0.
    const std::string_view strIndex = TrimBlanks(strPiece);
    bReferencesMissing =
        bReferencesMissing || strIndex.empty() ||
        !std::all_of(strIndex.begin(), strIndex.end(), [](char c) { return c >= '0' && c <= '9'; });
    strText += GetAmountCellText(record, static_cast<int>(ParseIntegerText(strPiece)));
  });
  if (bReferencesMissing) return 0;
  double dResult = 0;
  const size_t nSlash = strText.find('/');
  if (nSlash != std::string::npos) {
    if (EvaluateExpression(std::string_view(strText).substr(nSlash + 1), dResult) >= EXPR_BAD_OPERAND)
      return 0;
    if (dResult == 0) return 0;
  }
  return EvaluateExpression(strText, dResult) < EXPR_FAILED ? RoundToCents(dResult) : 0;
}

bool IsDigitsAndPoints(std::string_view strPiece) {
  return std::all_of(strPiece.begin(), strPiece.end(),
                     [](char c) { return (c >= '0' && c <= '9') || c == '.'; });
}

// Walks a formula piece by piece; pieces are the texts between runs of double quotes.
class CFormulaReader {
 public:
  explicit CFormulaReader(std::string_view strFormula) : m_strFormula(strFormula) {}

  // The next piece, trimmed; false at the end.
  bool Next(std::string_view& strPiece) {
    while (m_nPos < m_strFormula.size()) {
      while (m_nPos < m_strFormula.size() && m_strFormula[m_nPos] == '"') ++m_nPos;
      const size_t nStart = m_nPos;
      while (m_nPos < m_strFormula.size() && m_strFormula[m_nPos] != '"') ++m_nPos;
      if (m_nPos > nStart) {
        strPiece = TrimBlanks(m_strFormula.substr(nStart, m_nPos - nStart));
        if (!strPiece.empty()) return true;
      }
    }
    return false;
  }

  // The text after the quote that closed the last piece, up to the next ")"; reading goes on
  // after that ")".
  std::string_view TakeGroup() {
    const size_t nStart = std::min(m_nPos + 1, m_strFormula.size());
    size_t nClose = m_strFormula.find(')', nStart);
    if (nClose == std::string_view::npos) nClose = m_strFormula.size();
    m_nPos = std::min(nClose + 1, m_strFormula.size());
    return m_strFormula.substr(nStart, nClose - nStart);
  }

 private:
  std::string_view m_strFormula;
  size_t m_nPos = 0;
};

}  // namespace

double ColumnAmount(const CListLayout& layout, const CRmsDetails& record, std::string_view strName) {
  const auto& arrColumns = layout.m_arrColumns;
  const auto it = std::find_if(arrColumns.begin(), arrColumns.end(), [&](const sHalvoColInfo& column) {
    return GetColumnNameView(column) == strName;
  });
  if (it == arrColumns.end() || !IsNumericValueType(it->nDataType)) return 0;
  const int nColumn = static_cast<int>(it - arrColumns.begin());
  const double dValue = nColumn < layout.m_nCatalogueCount
                            ? ParseDecimalText(GetAmountCellText(record, nColumn))
                            : ComputeCustomAmount(record, it->strFormula);
  if (dValue < 0 && IsListed(strName, g_pluginContext.creditColumns, g_pluginContext.creditCount))
    return dValue;
  if (dValue > 0 && IsListed(strName, g_pluginContext.debitColumns, g_pluginContext.debitCount))
    return dValue;
  return 0;
}

double ComputeAlertAmount(const CListLayout& layout, const CRmsDetails& record, std::string_view strFormula) {
  double dTotal = 0;
  char cOperator = '+';
  CFormulaReader reader(strFormula);
  std::string_view strPiece;
  while (reader.Next(strPiece)) {
    if (strPiece == "+" || strPiece == "-" || strPiece == "*" || strPiece == "/") {
      cOperator = strPiece[0];
      continue;
    }
    double dOperand = 0;
    if (strPiece == "(")
      dOperand = ComputeAlertAmount(layout, record, reader.TakeGroup());
    else if (IsDigitsAndPoints(strPiece))
      dOperand = ParseDecimalText(strPiece);
    else
      dOperand = ColumnAmount(layout, record, strPiece);
    switch (cOperator) {
      case '+':
        dTotal += dOperand;
        break;
      case '-':
        dTotal -= dOperand;
        break;
      case '*':
        dTotal *= dOperand;
        break;
      default:
        if (dOperand != 0) dTotal /= dOperand;
        break;
    }
  }
  return dTotal;
}
