// The context menus of the watch windows and of the alerts window: which entries, in which
// order, with which captions. The entries depend on the window, the configured window count,
// the current titles and the list's call e-mail columns, all given in sWatchMenuState.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

class QMenu;
class QWidget;

// One entry; command 0 is a separator. bPicture marks the e-mail entries, which carry a small
// picture; a checkable entry shows a tick while bChecked.
struct sWatchMenuEntry {
  std::string strCaption;
  int32_t nCommand = 0;
  bool bPicture = false;
  bool bCheckable = false;
  bool bChecked = false;

  bool IsSeparator() const { return nCommand == 0; }
  bool operator==(const sWatchMenuEntry&) const = default;
};

struct sWatchMenuState {
  int32_t nWatchCount = 0;
  bool bCalcEnabled = false;
  // The current titles of watch windows 1 to 4.
  std::array<std::string, 4> arrTitles;
  // All three margin call columns, or all three obligation call columns, of the list are set.
  bool bMarginCallColumns = false;
  bool bObligationCallColumns = false;
  // The alerts window beeps when an alert arrives.
  bool bAlertBeep = false;
};

// The menu of watch window nSelf (1 to 4).
std::vector<sWatchMenuEntry> GetWatchBarMenuEntries(int nSelf, const sWatchMenuState& state);
// The menu of the alerts window.
std::vector<sWatchMenuEntry> GetAlertsMenuEntries(const sWatchMenuState& state);

// A pop-up menu of the entries; choosing one calls fnCommand with its identifier.
std::unique_ptr<QMenu> CreateWatchMenu(std::span<const sWatchMenuEntry> arrEntries, QWidget* pParent,
                                       const std::function<void(int32_t)>& fnCommand);
