// The view options of CFilterListCtrl kept in the list's settings section: loading them, and
// keeping the filters and the sort.
#include "lists/ListViewOptions.h"
#include "lists/widgets/FilterListCtrl.h"
#include "plugin/SettingsAccess.h"

namespace {

bool WriteListKey(const std::string& strSection, const char* szKey, std::string strValue) {
  return AccessKeySetting(kSettingWrite, strSection, szKey, strValue, kSettingsFileName);
}

}  // namespace

void CFilterListCtrl::LoadViewOptions() {
  const std::string strSection = GetProfileName();
  const ProfileReadFn fnRead = [strSection](const std::string& strKey, std::string& strValue) {
    return AccessKeySetting(kSettingRead, strSection, strKey, strValue, kSettingsFileName);
  };
  const sListViewOptions options = ReadListViewOptions(fnRead);
  m_bViewOptionsOffered = true;
  m_bAlertsOnEveryRow = options.bAlertsOnEveryRow;
  SetNumbersUncut(options.bNumbersUncut);
  SetDigitGrouping(options.eGrouping);
  SetFirstColumnFrozen(options.bFrozenFirstColumn);
  m_bKeepFilterSort = options.bKeepFilterSort;
  if (m_bKeepFilterSort) {
    RestoreKeptFilterSort(fnRead);
  }
  if (options.bLiveFilterSort) {
    m_store.SetLive(true);
    SyncRowCount();
  }
}

void CFilterListCtrl::SetLiveFilterSort(bool bOn) {
  FlushLiveChanges();
  m_store.SetLive(bOn);
  SyncRowCount();
  if (m_bViewOptionsOffered) {
    WriteListKey(GetProfileName(), kLiveFilterSortKey, FormatListViewOption(bOn));
  }
}

void CFilterListCtrl::SetKeepFilterSort(bool bOn) {
  m_bKeepFilterSort = bOn;
  if (!m_bViewOptionsOffered) {
    return;
  }
  WriteListKey(GetProfileName(), kKeepFilterSortKey, FormatListViewOption(bOn));
  // What the section holds may be from an earlier time the option was on.
  SaveKeptFilterSort(true);
}

void CFilterListCtrl::SetAlertsOnEveryRow(bool bOn) {
  m_bAlertsOnEveryRow = bOn;
  if (m_bViewOptionsOffered) {
    WriteListKey(GetProfileName(), kAlertsOnEveryRowKey, FormatListViewOption(bOn));
  }
}

bool CFilterListCtrl::ToggleViewOption(int32_t nCommand) {
  if (!m_bViewOptionsOffered) {
    return false;
  }
  switch (nCommand) {
    case kCmdLiveFilterSort:
      SetLiveFilterSort(!IsLiveFilterSort());
      break;
    case kCmdKeepFilterSort:
      SetKeepFilterSort(!m_bKeepFilterSort);
      break;
    case kCmdAlertsOnEveryRow:
      SetAlertsOnEveryRow(!m_bAlertsOnEveryRow);
      break;
    case kCmdNumbersUncut:
      SetNumbersUncut(!AreNumbersUncut());
      WriteListKey(GetProfileName(), kNumbersUncutKey, FormatListViewOption(AreNumbersUncut()));
      break;
    case kCmdFrozenFirstColumn:
      SetFirstColumnFrozen(!IsFirstColumnFrozen());
      WriteListKey(GetProfileName(), kFrozenFirstColumnKey, FormatListViewOption(IsFirstColumnFrozen()));
      break;
    default: {
      const eDigitGrouping eGrouping = nCommand == kCmdDigitGroupingInternational
                                           ? eDigitGrouping::kInternational
                                       : nCommand == kCmdDigitGroupingIndian ? eDigitGrouping::kIndian
                                                                             : eDigitGrouping::kNone;
      SetDigitGrouping(eGrouping);
      WriteListKey(GetProfileName(), kDigitGroupingKey, FormatDigitGroupingOption(eGrouping));
      break;
    }
  }
  return true;
}

void CFilterListCtrl::ForgetSortAfterHeaderRebuild() {
  FlushLiveChanges();
  m_store.ClearSort();
  SaveKeptFilterSort(false);
}

void CFilterListCtrl::SaveKeptFilterSort(bool bForce) {
  if (!m_bKeepFilterSort || !m_bViewOptionsOffered) {
    return;
  }
  const std::string strFilters =
      FormatKeptFilters(GetLayout(), m_store.GetFilterColumns(), m_store.GetFilterTexts());
  if ((bForce || strFilters != m_strKeptFilters) &&
      WriteListKey(GetProfileName(), kKeptFiltersKey, strFilters)) {
    m_strKeptFilters = strFilters;
  }
  const std::string strSort =
      m_store.HasSort()
          ? FormatKeptSort(GetLayout(), {m_store.GetSortColumnIndex(), m_store.GetSortState().GetDirection()})
          : std::string();
  if ((bForce || strSort != m_strKeptSort) && WriteListKey(GetProfileName(), kKeptSortKey, strSort)) {
    m_strKeptSort = strSort;
  }
}

void CFilterListCtrl::RestoreKeptFilterSort(const ProfileReadFn& fnRead) {
  // What is read counts as written: a pass that finds the same filters writes nothing.
  fnRead(kKeptFiltersKey, m_strKeptFilters);
  fnRead(kKeptSortKey, m_strKeptSort);
  // The sort first: restoring the filters runs a filtering pass, which saves both.
  const std::optional<sKeptSort> sort = ParseKeptSort(GetLayout(), m_strKeptSort);
  const int32_t nPosition = sort ? GetLayout().GetPosition(sort->nColumn) : -1;
  if (nPosition >= 0) {
    m_store.RestoreSort(nPosition, sort->nDirection);
    SetSortImage(nPosition, sort->nDirection < 0 ? 0 : 1);
  }
  const std::vector<sKeptFilter> arrFilters = ParseKeptFilters(GetLayout(), m_strKeptFilters);
  if (arrFilters.empty()) {
    return;
  }
  std::vector<int32_t> arrColumns;
  std::vector<std::string> arrTexts;
  for (const sKeptFilter& filter : arrFilters) {
    arrColumns.push_back(filter.nColumn);
    arrTexts.push_back(filter.strText);
  }
  SetFilters(arrColumns, arrTexts, false);
}
