#include "windows/WatchCommands.h"

#include "lists/widgets/CommonListCtrl.h"

int32_t GetToggleWatchCommand(int nWindow) {
  switch (nWindow) {
    case 1:
      return kCmdToggleWatch1;
    case 2:
      return kCmdToggleWatch2;
    case 3:
      return kCmdToggleWatch3;
    case 4:
      return kCmdToggleWatch4;
    default:
      return 0;
  }
}

int GetToggleIndex(int32_t nCommand) {
  switch (nCommand) {
    case kCmdToggleWatch1:
      return 3;
    case kCmdToggleWatch2:
      return 0;
    case kCmdToggleWatch3:
      return 1;
    case kCmdToggleWatch4:
      return 2;
    case kCmdToggleAlerts:
      return 4;
    default:
      return -1;
  }
}

bool ForwardListCommand(CCommonListCtrl& list, int32_t nCommand) {
  switch (nCommand) {
    case kCmdWindowWriteToExcel:
      return list.OnCommand(kCmdWriteToExcel);
    case kCmdWindowGridlines:
      return list.OnCommand(kCmdDrawGridLines);
    case kCmdWindowCustomize:
      return list.OnCommand(kCmdCustomize);
    case kCmdWindowCopyToClipboard:
      return list.OnCommand(kCmdCopyToClipboard);
    default:
      return false;
  }
}
