// The menus of the list controls: the context menu of a list and the menus of its header, with
// their captions and command identifiers. Every entry carries its command identifier, and the
// list routes a chosen entry through the same command handler that owning windows call with
// those numbers.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "lists/DigitGrouping.h"

class QMenu;
class QWidget;

inline constexpr int32_t kCmdMatchFilterExactly = 4000;
inline constexpr int32_t kCmdFitToData = 4001;
inline constexpr int32_t kCmdFitToHeaderSize = 4002;
inline constexpr int32_t kCmdFitToWindow = 4003;
inline constexpr int32_t kCmdRepositionColumns = 4004;
inline constexpr int32_t kCmdWriteToExcel = 4006;
inline constexpr int32_t kCmdReadFromExcel = 4007;
inline constexpr int32_t kCmdDrawGridLines = 4008;
inline constexpr int32_t kCmdCustomize = 4009;
inline constexpr int32_t kCmdCopyToClipboard = 4010;
// The view options a watch list keeps per list (ListViewOptions.h).
inline constexpr int32_t kCmdLiveFilterSort = 4011;
inline constexpr int32_t kCmdKeepFilterSort = 4012;
inline constexpr int32_t kCmdAlertsOnEveryRow = 4013;
inline constexpr int32_t kCmdNumbersUncut = 4014;
inline constexpr int32_t kCmdFrozenFirstColumn = 4015;
// The digit grouping choices, one command each.
inline constexpr int32_t kCmdDigitGroupingNone = 4016;
inline constexpr int32_t kCmdDigitGroupingInternational = 4017;
inline constexpr int32_t kCmdDigitGroupingIndian = 4018;
inline constexpr int32_t kCmdResetFilters = 33078;
inline constexpr int32_t kCmdAddCustomColumns = 33079;
inline constexpr int32_t kCmdDeleteCustomColumns = 33080;
inline constexpr int32_t kCmdEditCustomColumns = 33083;
inline constexpr int32_t kCmdAddProtectedCustomColumns = 33084;

// One menu entry; a null caption is a separator.
struct sMenuEntry {
  const char* szCaption = nullptr;
  int32_t nCommand = 0;
  bool bEnabled = true;
  bool bCheckable = false;
  bool bChecked = false;
};

// The list state the menus depend on.
struct sListMenuState {
  bool bExportEnabled = true;
  bool bImportEnabled = false;
  bool bCustomizeEnabled = true;
  bool bRepositionEnabled = true;
  bool bMatchExactly = false;
  // Data mode with custom columns allowed: the custom column commands are offered.
  bool bCustomColumns = false;
  // The list keeps view options: they are offered, ticked when on.
  bool bViewOptions = false;
  bool bLiveFilterSort = false;
  bool bKeepFilterSort = false;
  bool bAlertsOnEveryRow = false;
  bool bNumbersUncut = false;
  bool bFrozenFirstColumn = false;
  eDigitGrouping eGrouping = eDigitGrouping::kNone;
};

std::vector<sMenuEntry> GetContextMenuEntries(const sListMenuState& state);
// The header menu of a plain list.
std::vector<sMenuEntry> GetHeaderMenuEntries(const sListMenuState& state);
// The header menu of a filter list, which adds the filter and custom column commands and, last,
// the view options of a list that keeps them.
std::vector<sMenuEntry> GetFilterHeaderMenuEntries(const sListMenuState& state);

// A menu of the entries. Each action holds its command identifier as data; choosing it calls
// fnCommand with that identifier.
std::unique_ptr<QMenu> CreateListMenu(std::span<const sMenuEntry> arrEntries, QWidget* pParent,
                                      const std::function<void(int32_t)>& fnCommand);
