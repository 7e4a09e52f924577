#include "model/ListColumns.h"

void CListColumns::LoadColumnTable(std::string_view strListName,
                                   std::span<const sColumnDef> arrTable) {
  m_strListName.assign(strListName);
  m_arrColumns.reserve(m_arrColumns.size() + arrTable.size());
  for (const sColumnDef& def : arrTable) {
    sHalvoColInfo& column = m_arrColumns.emplace_back();
    SetColumnName(column, def.szName);
    column.nWidth = kDefaultColumnWidth;
    column.nFormat = def.nFormat;
    column.nDataType = def.nDataType;
    column.nKind = kColumnCatalogue;
  }
}
