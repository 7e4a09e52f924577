#include "lists/CustomColumnExpression.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "lists/ExpressionEngine.h"
#include "lists/ReferenceRule.h"
#include "model/NumberFormat.h"

namespace {

char ToLowerAscii(char ch) { return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch; }

bool EqualsIgnoringCase(std::string_view strFirst, std::string_view strSecond) {
  if (strFirst.size() != strSecond.size()) {
    return false;
  }
  for (size_t i = 0; i < strFirst.size(); ++i) {
    if (ToLowerAscii(strFirst[i]) != ToLowerAscii(strSecond[i])) {
      return false;
    }
  }
  return true;
}

// Copies the pieces of a blank followed by the display expression into the stored text (and
// the check text when asked for), each name piece replaced by the column fnLookUp gives for it.
// A name that is not found (-1) ends the translation with false, or, when szMissing is given,
// is stored as that text.
template <class TLookUp>
bool TranslateNames(std::string_view strDisplay, TLookUp&& fnLookUp, std::string& strStored,
                    std::string* pCheck, const char* szMissing = nullptr) {
  std::string strSource;
  strSource.reserve(strDisplay.size() + 1);
  strSource += ' ';
  strSource += strDisplay;
  strStored.clear();
  bool bAllFound = true;
  ForEachReferencePiece(strSource, [&](std::string_view strPiece, bool bReference) {
    if (!bAllFound) {
      return;
    }
    if (!bReference) {
      strStored += strPiece;
      if (pCheck != nullptr) {
        *pCheck += strPiece;
      }
      return;
    }
    const int32_t nColumn = fnLookUp(strPiece);
    if (nColumn < 0 && szMissing == nullptr) {
      bAllFound = false;
      return;
    }
    const std::string strIndex = nColumn < 0 ? std::string(szMissing) : std::to_string(nColumn);
    strStored += '"';
    strStored += strIndex;
    strStored += '"';
    if (pCheck != nullptr) {
      *pCheck += strIndex;
    }
  });
  return bAllFound;
}

}  // namespace

std::string_view GetColumnNameView(const sHalvoColInfo& column) {
  return {column.szName, strnlen(column.szName, sizeof(column.szName))};
}

std::string_view TrimBlanks(std::string_view strText) {
  const auto isBlank = [](char ch) { return ch == ' ' || (ch >= '\t' && ch <= '\r'); };
  while (!strText.empty() && isBlank(strText.front())) {
    strText.remove_prefix(1);
  }
  while (!strText.empty() && isBlank(strText.back())) {
    strText.remove_suffix(1);
  }
  return strText;
}

int32_t ReadColumnReference(std::string_view strPiece) {
  strPiece = TrimBlanks(strPiece);
  if (strPiece.empty() || !std::all_of(strPiece.begin(), strPiece.end(), [](char ch) { return ch >= '0' && ch <= '9'; })) {
    return -1;
  }
  int32_t nColumn = 0;
  const char* const pEnd = strPiece.data() + strPiece.size();
  const std::from_chars_result result = std::from_chars(strPiece.data(), pEnd, nColumn);
  return result.ec == std::errc{} && result.ptr == pEnd ? nColumn : -1;
}

bool ReadsAsZero(std::string_view strText) {
  // A text that starts with a non-zero digit, signed or not, and has no exponent is at least 1
  // in size; everything else is read in full.
  const size_t nFirst = !strText.empty() && (strText[0] == '-' || strText[0] == '+') ? 1 : 0;
  if (nFirst < strText.size() && strText[nFirst] >= '1' && strText[nFirst] <= '9' &&
      std::none_of(strText.begin(), strText.end(), [](char ch) { return ch == 'e' || ch == 'E'; })) {
    return false;
  }
  return ParseDecimalText(strText) == 0.0;
}

bool IsNumericValueType(int32_t nDataType) {
  return nDataType == kSortInteger || nDataType == kSortDecimal || nDataType == kSortLong ||
         nDataType == kSortDecimal5;
}

std::vector<sColumnChoice> GetExpressionColumns(const CListLayout& layout) {
  std::vector<sColumnChoice> arrChoices;
  for (size_t i = 0; i < layout.m_arrColumns.size(); ++i) {
    const sHalvoColInfo& column = layout.m_arrColumns[i];
    if (IsNumericValueType(column.nDataType)) {
      arrChoices.push_back({std::string(GetColumnNameView(column)), static_cast<int32_t>(i)});
    }
  }
  return arrChoices;
}

std::vector<sColumnChoice> GetEditableCustomColumns(const CListLayout& layout) {
  std::vector<sColumnChoice> arrChoices;
  for (size_t i = static_cast<size_t>(std::max(layout.m_nCatalogueCount, 0)); i < layout.m_arrColumns.size(); ++i) {
    const sHalvoColInfo& column = layout.m_arrColumns[i];
    if (column.nKind != kColumnProtectedCustom) {
      arrChoices.push_back({std::string(GetColumnNameView(column)), static_cast<int32_t>(i)});
    }
  }
  return arrChoices;
}

bool IsSameColumnName(std::string_view strFirst, std::string_view strSecond) {
  return EqualsIgnoringCase(strFirst, strSecond);
}

int32_t FindReferencedColumn(std::span<const sColumnChoice> arrColumns, std::string_view strName) {
  for (const sColumnChoice& choice : arrColumns) {
    if (choice.strName == strName) {
      return choice.nColumn;
    }
  }
  for (const sColumnChoice& choice : arrColumns) {
    if (EqualsIgnoringCase(choice.strName, strName)) {
      return choice.nColumn;
    }
  }
  return -1;
}

bool DoesReferenceColumn(std::string_view strDisplay, std::span<const sColumnChoice> arrColumns,
                         int32_t nColumn) {
  bool bFound = false;
  // The blank in front makes the first piece expression text, as in every conversion.
  const std::string strSource = ' ' + std::string(strDisplay);
  ForEachReferencePiece(strSource, [&](std::string_view strPiece, bool bReference) {
    bFound = bFound || (bReference && FindReferencedColumn(arrColumns, strPiece) == nColumn);
  });
  return bFound;
}

bool ConvertDisplayExpression(std::string_view strDisplay, std::span<const sColumnChoice> arrColumns,
                              sConvertedExpression& converted) {
  converted.strCheck.clear();
  const bool bAllFound = TranslateNames(
      strDisplay,
      [arrColumns](std::string_view strName) { return FindReferencedColumn(arrColumns, strName); },
      converted.strStored, &converted.strCheck);
  if (!bAllFound) {
    return false;
  }
  double dResult = 0.0;
  return EvaluateExpression(converted.strCheck, dResult) == EXPR_OK;
}

void RebuildStoredExpressions(CListLayout& layout) {
  const std::vector<sColumnChoice> arrColumns = GetExpressionColumns(layout);
  for (size_t i = static_cast<size_t>(std::max(layout.m_nCatalogueCount, 0)); i < layout.m_arrColumns.size(); ++i) {
    sHalvoColInfo& column = layout.m_arrColumns[i];
    if (column.strFormulaText.empty()) {
      continue;
    }
    std::string strRebuilt;
    TranslateNames(
        column.strFormulaText,
        [&arrColumns](std::string_view strName) { return FindReferencedColumn(arrColumns, strName); },
        strRebuilt, nullptr, kMissingReference);
    column.strFormula = std::move(strRebuilt);
  }
}
