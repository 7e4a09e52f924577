#include "lists/ListSort.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <utility>

#include "model/NumberFormat.h"

namespace {

// A key and the row's place in the input; the place breaks ties, so equal rows keep their order.
template <class TKey>
using KeyedRows = std::vector<std::pair<TKey, int32_t>>;

template <class TKey>
void SortKeys(KeyedRows<TKey>& arrKeys, bool bAscending) {
  using sEntry = std::pair<TKey, int32_t>;
  if (bAscending) {
    std::sort(arrKeys.begin(), arrKeys.end(), [](const sEntry& a, const sEntry& b) {
      return a.first < b.first || (!(b.first < a.first) && a.second < b.second);
    });
  } else {
    std::sort(arrKeys.begin(), arrKeys.end(), [](const sEntry& a, const sEntry& b) {
      return b.first < a.first || (!(a.first < b.first) && a.second < b.second);
    });
  }
}

template <class TKey>
void ApplyOrder(std::vector<int32_t>& arrRows, const KeyedRows<TKey>& arrKeys) {
  std::vector<int32_t> arrSorted;
  arrSorted.reserve(arrRows.size());
  for (const auto& entry : arrKeys) {
    arrSorted.push_back(arrRows[static_cast<size_t>(entry.second)]);
  }
  arrRows.swap(arrSorted);
}

// Reads every row's text once, keyed by the reader.
template <class TKey, class TRead>
KeyedRows<TKey> ReadKeys(const std::vector<int32_t>& arrRows, const RowTextFn& fnText, TRead readKey) {
  KeyedRows<TKey> arrKeys;
  arrKeys.reserve(arrRows.size());
  std::string strText;
  for (size_t i = 0; i < arrRows.size(); ++i) {
    strText.clear();
    fnText(arrRows[i], strText);
    arrKeys.emplace_back(readKey(strText), static_cast<int32_t>(i));
  }
  return arrKeys;
}

// The texts of all rows in one block, viewed in input order.
class CTextBlock {
 public:
  CTextBlock(const std::vector<int32_t>& arrRows, const RowTextFn& fnText) {
    std::vector<std::pair<size_t, size_t>> arrSpans;
    arrSpans.reserve(arrRows.size());
    std::string strText;
    for (const int32_t nRow : arrRows) {
      strText.clear();
      fnText(nRow, strText);
      arrSpans.emplace_back(m_strBlock.size(), strText.size());
      m_strBlock += strText;
    }
    m_arrTexts.reserve(arrSpans.size());
    for (const auto& span : arrSpans) {
      m_arrTexts.emplace_back(m_strBlock.data() + span.first, span.second);
    }
  }
  const std::vector<std::string_view>& GetTexts() const { return m_arrTexts; }

 private:
  std::string m_strBlock;
  std::vector<std::string_view> m_arrTexts;
};

void SortByDecimal(std::vector<int32_t>& arrRows, const RowTextFn& fnText, bool bBase, bool bAscending) {
  KeyedRows<double> arrKeys = ReadKeys<double>(arrRows, fnText, [bBase](const std::string& strText) {
    return bBase ? ReadBaseDecimal(strText) : ParseDecimalText(strText);
  });
  // A "nan" compares equal to every value; it may stand anywhere, so it goes last.
  const auto itNan = std::stable_partition(arrKeys.begin(), arrKeys.end(),
                                           [](const auto& entry) { return !std::isnan(entry.first); });
  KeyedRows<double> arrNan(itNan, arrKeys.end());
  arrKeys.erase(itNan, arrKeys.end());
  SortKeys(arrKeys, bAscending);
  arrKeys.insert(arrKeys.end(), arrNan.begin(), arrNan.end());
  ApplyOrder(arrRows, arrKeys);
}

void SortByText(std::vector<int32_t>& arrRows, const RowTextFn& fnText, bool bAscending) {
  const CTextBlock block(arrRows, fnText);
  KeyedRows<std::string_view> arrKeys;
  arrKeys.reserve(arrRows.size());
  for (size_t i = 0; i < block.GetTexts().size(); ++i) {
    arrKeys.emplace_back(block.GetTexts()[i], static_cast<int32_t>(i));
  }
  SortKeys(arrKeys, bAscending);
  ApplyOrder(arrRows, arrKeys);
}

// Bottom-up merge sort of input places by the date comparison. A row of the right run goes
// before the head of the left run only when it compares below it, so equal rows keep their
// order, and the merge never reads outside its runs whatever the comparison answers.
void SortByDate(std::vector<int32_t>& arrRows, const RowTextFn& fnText, int32_t nDirection) {
  const CTextBlock block(arrRows, fnText);
  const std::vector<std::string_view>& arrTexts = block.GetTexts();
  const size_t nCount = arrRows.size();
  std::vector<int32_t> arrOrder(nCount);
  for (size_t i = 0; i < nCount; ++i) {
    arrOrder[i] = static_cast<int32_t>(i);
  }
  std::vector<int32_t> arrMerged(nCount);
  for (size_t nWidth = 1; nWidth < nCount; nWidth *= 2) {
    for (size_t nLow = 0; nLow < nCount; nLow += 2 * nWidth) {
      const size_t nMiddle = std::min(nLow + nWidth, nCount);
      const size_t nHigh = std::min(nLow + 2 * nWidth, nCount);
      size_t nLeft = nLow;
      size_t nRight = nMiddle;
      for (size_t nOut = nLow; nOut < nHigh; ++nOut) {
        const bool bTakeRight =
            nRight < nHigh &&
            (nLeft >= nMiddle ||
             CompareDateTexts(arrTexts[static_cast<size_t>(arrOrder[nRight])],
                              arrTexts[static_cast<size_t>(arrOrder[nLeft])], nDirection) < 0);
        arrMerged[nOut] = bTakeRight ? arrOrder[nRight++] : arrOrder[nLeft++];
      }
    }
    arrOrder.swap(arrMerged);
  }
  std::vector<int32_t> arrSorted;
  arrSorted.reserve(nCount);
  for (const int32_t nPlace : arrOrder) {
    arrSorted.push_back(arrRows[static_cast<size_t>(nPlace)]);
  }
  arrRows.swap(arrSorted);
}

}  // namespace

eSortKeyKind GetSortKeyKind(eSortRule eRule, int32_t nValueType) {
  const bool bBase = eRule == eSortRule::kBase;
  switch (nValueType) {
    case 1:
      return eSortKeyKind::kInteger;
    case 2:
    case 5:
      return bBase ? eSortKeyKind::kBaseDecimal : eSortKeyKind::kDecimal;
    case 7:
    case 9:
      return bBase ? eSortKeyKind::kBaseDecimal : eSortKeyKind::kNone;
    case 3:
      return eSortKeyKind::kText;
    case 8:
      return bBase ? eSortKeyKind::kText : eSortKeyKind::kNone;
    case 4:
      return eSortKeyKind::kLong;
    case 6:
      return eSortKeyKind::kDate;
    default:
      return eSortKeyKind::kNone;
  }
}

sSortClick CListSortState::Click(int32_t nPosition) {
  m_nDirection = nPosition == m_nPreviousColumn ? -m_nDirection : -1;
  m_nSortColumn = nPosition;
  m_nPreviousColumn = nPosition;
  sSortClick click;
  click.nDirection = m_nDirection;
  if (m_nImagePosition != nPosition) {
    click.nClearImagePosition = m_nImagePosition;
    m_nImagePosition = nPosition;
  }
  return click;
}

void CListSortState::Restore(int32_t nPosition, int32_t nDirection) {
  m_nSortColumn = nPosition;
  m_nPreviousColumn = nPosition;
  m_nImagePosition = nPosition;
  m_nDirection = nDirection < 0 ? -1 : 1;
}

void SortRowsByText(std::vector<int32_t>& arrRows, const RowTextFn& fnText, eSortRule eRule,
                    int32_t nValueType, int32_t nDirection) {
  const eSortKeyKind eKind = GetSortKeyKind(eRule, nValueType);
  if (eKind == eSortKeyKind::kNone || nDirection == 0 || arrRows.size() < 2) {
    return;
  }
  // A negative comparison puts the first row first: direction -1 orders keys ascending.
  const bool bAscending = nDirection < 0;
  switch (eKind) {
    case eSortKeyKind::kInteger:
    case eSortKeyKind::kLong: {
      const bool bLong = eKind == eSortKeyKind::kLong;
      KeyedRows<int64_t> arrKeys = ReadKeys<int64_t>(arrRows, fnText, [bLong](const std::string& strText) {
        return bLong ? ReadCellLong(strText) : int64_t{ReadCellInteger(strText)};
      });
      SortKeys(arrKeys, bAscending);
      ApplyOrder(arrRows, arrKeys);
      break;
    }
    case eSortKeyKind::kDecimal:
    case eSortKeyKind::kBaseDecimal:
      SortByDecimal(arrRows, fnText, eKind == eSortKeyKind::kBaseDecimal, bAscending);
      break;
    case eSortKeyKind::kText:
      SortByText(arrRows, fnText, bAscending);
      break;
    case eSortKeyKind::kDate:
      SortByDate(arrRows, fnText, nDirection);
      break;
    case eSortKeyKind::kNone:
      break;
  }
}
