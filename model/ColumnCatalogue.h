// The catalogue of the 289 risk columns every watch list can show. A column's index is its
// identity everywhere: cell texts, profiles, custom-column formulas and alerts name it.
#pragma once

#include <span>

#include "model/ListColumns.h"

constexpr int kCatalogueColumnCount = 289;

// The catalogue rows in index order.
std::span<const sColumnDef> GetCatalogueColumns();
