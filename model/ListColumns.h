// The columns of one list control and the loading steps every list shares: the list's name,
// its columns (table columns first, then custom columns) and where the custom columns start.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/HalvoColInfo.h"

// One row of a fixed column table (the catalogue, an auxiliary list). Width and kind are the
// same for every such column: 80 and catalogue.
struct sColumnDef {
  const char* szName;
  int32_t nFormat;
  int32_t nDataType;
};

class CListColumns {
 public:
  // The loading steps before the profile loader runs: sets the list name and appends one copy
  // of every table row, in table order, with width 80, kind 0 and empty formulas.
  void LoadColumnTable(std::string_view strListName, std::span<const sColumnDef> arrTable);
  // Called by the profile loader when it starts: the columns loaded so far are the table's,
  // every later index is a custom column.
  void RecordCatalogueCount() { m_nCatalogueCount = static_cast<int32_t>(m_arrColumns.size()); }

  std::string m_strListName;
  std::vector<sHalvoColInfo> m_arrColumns;
  int32_t m_nCatalogueCount = 0;
};
