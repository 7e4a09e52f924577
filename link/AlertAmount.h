// The amount of a manual alert, computed from the configured formula over the columns of a
// watch list for one entity.
//
// The formula names columns in double quotes, with +, -, * and / between them, numbers, and
// groups in parentheses that hold no other group, for example
// "MToM Loss" * "(" "Margin Used" + "Adhoc Margin" ")". It is cut at double quotes (a run of
// quotes cuts once) and each piece is trimmed of blanks; a piece left empty carries nothing.
#pragma once

#include <string_view>

#include "lists/ListLayout.h"
#include "model/RmsDetails.h"

// Left to right with the last operator seen (initially +); dividing by 0 leaves the total as it
// is. An empty formula gives 0.
double ComputeAlertAmount(const CListLayout& layout, const CRmsDetails& record, std::string_view strFormula);

// The amount a column of that exact heading contributes: its value (a custom column's value
// computed from the record's cells, to two decimals) when its value type is numeric, counted
// only when negative and the column is a CREDIT column, or positive and a DEBIT column; else 0.
double ColumnAmount(const CListLayout& layout, const CRmsDetails& record, std::string_view strName);
