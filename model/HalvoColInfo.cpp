#include "model/HalvoColInfo.h"

#include <algorithm>

void SetColumnName(sHalvoColInfo& column, std::string_view strName) {
  const size_t nLength = std::min(strName.size(), sHalvoColInfo::kNameSize - 1);
  std::fill(std::begin(column.szName), std::end(column.szName), '\0');
  std::copy_n(strName.begin(), nLength, column.szName);
}
