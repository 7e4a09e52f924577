// Arbitrary column profile lines and filter texts against the list core. The input's first line
// is a "COLUMNPROFILE" value (and, after a tab, a call-amount key's value); the rest is a
// filter text. Checks that loading never leaves the header out of step with the position map,
// that a saved profile loads back to the same arrangement, and that the filtering pass shows
// exactly the rows whose cells match.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lists/ColumnProfile.h"
#include "lists/FilterListStore.h"
#include "lists/FilterMatch.h"

namespace {

const sColumnDef kColumns[] = {
    {"Name", kAlignLeft, kSortText},      {"Amount", kAlignRight, kSortDecimal},
    {"Count", kAlignRight, kSortInteger}, {"Segment", kAlignLeft, kSortText},
    {"Limit", kAlignRight, kSortDecimal}, {"Date", kAlignLeft, kSortDate},
    {"Level", kAlignRight, kSortText},    {"Exposure", kAlignRight, kSortLong},
};

const std::vector<std::vector<std::string>> kRows = {
    {"Reliance", "1500.25", "12", "CM", "-5", "01/02/2024", "5", "9000000000"},
    {"relaxo", "-700", "x", "FO", "NA", "15Mar2023", "3", "-"},
    {"Balance", "", "0", "cm", "1e3", "10:15:00", "", "12"},
    {"*star*", ">100", "~", "~~", "<-1", "", "abc", "0x1F"},
    {"", "nan", "inf", "-inf", "  42", "-0", "+7", "."},
};

void Check(bool bCondition) {
  if (!bCondition) {
    __builtin_trap();
  }
}

CListLayout LoadLayout(const std::string& strProfile, const std::string& strCallAmount) {
  CListLayout layout;
  layout.LoadColumnTable("Fuzz", kColumns);
  LoadColumnProfile(layout,
                    [&](const std::string& strKey, std::string& strValue) {
                      if (strKey == kColumnProfileKey) {
                        strValue = strProfile;
                        return !strProfile.empty();
                      }
                      strValue = strCallAmount;
                      return strKey == "MCA" && !strCallAmount.empty();
                    },
                    {});
  return layout;
}

void CheckLayout(const CListLayout& layout) {
  const int32_t nCount = layout.GetHeaderCount();
  Check(nCount >= 1 && nCount <= static_cast<int32_t>(std::size(kColumns)));
  for (int32_t nPosition = 0; nPosition < nCount; ++nPosition) {
    const int32_t nColumn = layout.GetColumnAt(nPosition);
    Check(nColumn >= 0 && layout.GetPosition(nColumn) == nPosition);
  }
  int32_t nShown = 0;
  for (int32_t nColumn = 0; nColumn < static_cast<int32_t>(std::size(kColumns)); ++nColumn) {
    nShown += layout.GetPosition(nColumn) >= 0 ? 1 : 0;
    Check(layout.GetColumnWidth(nColumn) > 0);
  }
  Check(nShown == nCount);
  Check(layout.m_arrCallAmountColumns[0] >= -1 &&
        layout.m_arrCallAmountColumns[0] < static_cast<int32_t>(std::size(kColumns)));
}

void FuzzProfile(const std::string& strProfile, const std::string& strCallAmount) {
  const CListLayout layout = LoadLayout(strProfile, strCallAmount);
  CheckLayout(layout);
  std::vector<sHeaderItem> arrHeader;
  for (int32_t nPosition = 0; nPosition < layout.GetHeaderCount(); ++nPosition) {
    const sHalvoColInfo& column = layout.m_arrColumns[static_cast<size_t>(layout.GetColumnAt(nPosition))];
    arrHeader.push_back({column.szName, layout.GetColumnWidth(layout.GetColumnAt(nPosition))});
  }
  const sProfileValues values = BuildProfileValues(layout, arrHeader);
  const CListLayout reloaded = LoadLayout(values.strColumnProfile, strCallAmount);
  Check(reloaded.GetPositions() == layout.GetPositions());
  for (int32_t nColumn = 0; nColumn < static_cast<int32_t>(std::size(kColumns)); ++nColumn) {
    if (layout.GetPosition(nColumn) >= 0) {
      Check(reloaded.GetColumnWidth(nColumn) == layout.GetColumnWidth(nColumn));
    }
  }
}

void FuzzFilter(const std::string& strFilter) {
  CListLayout layout;
  layout.LoadColumnTable("Fuzz", kColumns);
  layout.RecordCatalogueCount();
  layout.ShowAllColumns();
  CFilterListStore store(layout);
  store.SetCellTextFn([](const void* pRecord, int32_t nColumn, sCellText& cell) {
    cell.strText = (*static_cast<const std::vector<std::string>*>(pRecord))[static_cast<size_t>(nColumn)];
    return true;
  });
  for (const auto& arrRow : kRows) {
    store.InsertRow(0, &arrRow);
  }
  const int32_t nColumn = static_cast<int32_t>(strFilter.size() % std::size(kColumns));
  for (const bool bExact : {false, true}) {
    const CFilterMatcher matcher(strFilter, bExact);
    store.SetMatchExactly(bExact);
    store.SetColumnFilter(nColumn, strFilter);
    Check(store.Filter().bDone);
    int32_t nPassing = 0;
    for (size_t nRow = 0; nRow < kRows.size(); ++nRow) {
      const std::string& strCell = kRows[nRow][static_cast<size_t>(nColumn)];
      const bool bMatch = matcher.Matches(strCell);
      Check(bMatch == MatchFilterText(strCell, strFilter, bExact));
      if (bMatch) {
        Check(store.GetStoreIndex(nPassing) == static_cast<int32_t>(nRow));
        ++nPassing;
      }
    }
    Check(store.GetViewCount() == nPassing);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  const std::string_view strInput(reinterpret_cast<const char*>(pData), nSize);
  const size_t nLineEnd = strInput.find('\n');
  const std::string_view strLine = strInput.substr(0, nLineEnd);
  const size_t nTab = strLine.find('\t');
  FuzzProfile(std::string(strLine.substr(0, nTab)),
              nTab == std::string_view::npos ? std::string() : std::string(strLine.substr(nTab + 1)));
  if (nLineEnd != std::string_view::npos) {
    FuzzFilter(std::string(strInput.substr(nLineEnd + 1)));
  }
  return 0;
}
