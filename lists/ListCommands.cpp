#include "lists/ListCommands.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <unordered_set>

#include "lists/FilterListStore.h"

int32_t GetFitWidth(int32_t nMeasured) { return nMeasured > kMinFitWidth ? nMeasured : kMinFitWidth; }

int32_t GetFitToWindowWidth(int32_t nClientWidth, int32_t nColumnCount) {
  if (nClientWidth <= 0 || nColumnCount <= 0) {
    return kMinFitWidth;
  }
  return nClientWidth / nColumnCount;
}

int32_t GetRowHeight(int32_t nFontHeight, int32_t nLinesPerRow) {
  const int64_t nHeight = std::abs(int64_t{nFontHeight}) + 4;
  return static_cast<int32_t>(std::min<int64_t>(nHeight * std::max(nLinesPerRow, 1), INT32_MAX));
}

std::string BuildClipboardText(std::span<const int32_t> arrSelectedRows, int32_t nHeaderCount,
                               const ViewCellFn& fnCell) {
  std::string strClipboard;
  std::string strCell;
  for (const int32_t nRow : arrSelectedRows) {
    for (int32_t nPosition = 0; nPosition < nHeaderCount; ++nPosition) {
      strCell.clear();
      fnCell(nRow, nPosition, strCell);
      strClipboard += strCell;
      strClipboard += '\t';
    }
    strClipboard += "\r\n";
  }
  return strClipboard;
}

std::string BuildClipboardText(const CFilterListStore& store, std::span<const int32_t> arrSelectedRows,
                               int32_t nHeaderCount) {
  sCellText cell;
  return BuildClipboardText(arrSelectedRows, nHeaderCount,
                            [&store, &cell](int32_t nRow, int32_t nPosition, std::string& strText) {
                              store.GetViewCellText(nRow, nPosition, cell);
                              strText.swap(cell.strText);
                            });
}

std::vector<std::string> CollectFilterValues(const CFilterListStore& store, int32_t nPosition) {
  std::vector<std::string> arrValues;
  std::unordered_set<std::string> setSeen;
  sCellText cell;
  for (int32_t nRow = 0; nRow < store.GetViewCount(); ++nRow) {
    store.GetViewCellText(nRow, nPosition, cell);
    if (cell.strText.empty()) {
      continue;
    }
    std::string strFolded = cell.strText;
    std::transform(strFolded.begin(), strFolded.end(), strFolded.begin(),
                   [](char ch) { return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch; });
    if (setSeen.insert(std::move(strFolded)).second) {
      arrValues.push_back(cell.strText);
    }
  }
  return arrValues;
}

std::string JoinFilterValues(std::span<const std::string> arrChosen) {
  std::string strJoined;
  for (const std::string& strEntry : arrChosen) {
    if (strJoined.find(strEntry) != std::string::npos) {
      continue;
    }
    if (!strJoined.empty()) {
      strJoined += '~';
    }
    strJoined += strEntry;
  }
  return strJoined;
}
