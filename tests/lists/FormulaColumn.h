// A custom column with a formula, appended to a layout as the custom-column dialog appends it.
#pragma once

#include "lists/ListLayout.h"
#include "model/HalvoColInfo.h"

inline void AppendFormulaColumn(CListLayout& layout, const char* szFormula) {
  sHalvoColInfo column;
  SetColumnName(column, szFormula);
  column.nDataType = kSortDecimal;
  column.nKind = kColumnCustom;
  column.strFormula = szFormula;
  layout.AppendShownColumn(column);
}
