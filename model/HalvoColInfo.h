// One column of a list: heading, initial width, alignment, sort kind, kind and, for custom
// columns, the formula. Every list keeps its columns as an array of these; a column's index in
// that array is its identity.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Alignment of heading and cells (nFormat).
constexpr int32_t kAlignLeft = 0;
constexpr int32_t kAlignRight = 1;

// How a column's texts compare when the list is sorted (nDataType).
constexpr int32_t kSortInteger = 1;
constexpr int32_t kSortDecimal = 2;
constexpr int32_t kSortText = 3;
constexpr int32_t kSortLong = 4;
constexpr int32_t kSortDecimal5 = 5;  // compares like 2
constexpr int32_t kSortDate = 6;

// Who made the column (nKind); the kind decides which profile key stores it.
constexpr int32_t kColumnCatalogue = 0;
constexpr int32_t kColumnCustom = 1;
constexpr int32_t kColumnProtectedCustom = 4;

// Width of every catalogue and auxiliary-list column, in pixels.
constexpr int32_t kDefaultColumnWidth = 80;

struct sHalvoColInfo {
  static constexpr size_t kNameSize = 64;

  // The copy operations copy all 64 characters of szName, not only up to its terminator.
  char szName[kNameSize] = {};
  int32_t nWidth = 0;
  int32_t nFormat = kAlignLeft;
  int32_t nDataType = 0;
  int32_t nKind = kColumnCatalogue;
  std::string strFormula;      // custom columns: referenced columns as "index" in quotes
  std::string strFormulaText;  // custom columns: as typed; also the heading's tooltip
};

// Sets the heading. A longer name is cut to its first 63 bytes; the rest of szName is zeroed.
void SetColumnName(sHalvoColInfo& column, std::string_view strName);
