// The command identifiers of the watch windows' and the alerts window's menus, and the
// commands both kinds of window pass on to one of their lists.
#pragma once

#include <cstdint>

class CCommonListCtrl;

inline constexpr int32_t kCmdToggleWatch1 = 1324;
inline constexpr int32_t kCmdToggleWatch2 = 1724;
inline constexpr int32_t kCmdToggleWatch3 = 1424;
inline constexpr int32_t kCmdToggleWatch4 = 1524;
inline constexpr int32_t kCmdToggleAlerts = 1824;
inline constexpr int32_t kCmdClearAll = 1924;
inline constexpr int32_t kCmdAcknowledgeAlerts = 2024;
inline constexpr int32_t kCmdAlertBeep = 2124;

inline constexpr int32_t kCmdChangeTitle = 456;
inline constexpr int32_t kCmdCustomAlertSetting = 457;
inline constexpr int32_t kCmdRefresh = 458;
inline constexpr int32_t kCmdSendSms = 459;
inline constexpr int32_t kCmdSendEmail = 460;
inline constexpr int32_t kCmdSendSmsAndEmail = 461;
inline constexpr int32_t kCmdObligationCallEmail = 462;
inline constexpr int32_t kCmdMarginCallEmail = 463;
inline constexpr int32_t kCmdNewObligationCall = 464;
inline constexpr int32_t kCmdNewMarginCall = 465;
inline constexpr int32_t kCmdCallHistory = 466;

// The list commands as the windows' menus number them.
inline constexpr int32_t kCmdWindowWriteToExcel = 4006;
inline constexpr int32_t kCmdWindowGridlines = 2222;
inline constexpr int32_t kCmdWindowCustomize = 33762;
inline constexpr int32_t kCmdWindowCopyToClipboard = 4010;

// The command that shows or hides watch window nWindow (1 to 4).
int32_t GetToggleWatchCommand(int nWindow);
// The controller's window index a show-or-hide command names (3 for watch window 1, 0 to 2 for
// windows 2 to 4, 4 for the alerts window), or -1 for another command.
int GetToggleIndex(int32_t nCommand);

// Runs one of the four list commands on the list; false for any other command.
bool ForwardListCommand(CCommonListCtrl& list, int32_t nCommand);
