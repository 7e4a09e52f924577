#include "lists/widgets/ListMenus.h"

#include <QAction>
#include <QMenu>

namespace {

// The fitting entries every header menu starts with.
void AppendFitEntries(std::vector<sMenuEntry>& arrEntries, const sListMenuState& state) {
  if (state.bRepositionEnabled) {
    arrEntries.push_back({"Reposition Columns", kCmdRepositionColumns});
    arrEntries.push_back({"Fit to Data", kCmdFitToData});
  } else {
    arrEntries.push_back({"Fit To Data", kCmdFitToData});
  }
  arrEntries.push_back({"Fit to Header Size", kCmdFitToHeaderSize});
  arrEntries.push_back({"Fit to Window", kCmdFitToWindow});
}

}  // namespace

std::vector<sMenuEntry> GetContextMenuEntries(const sListMenuState& state) {
  std::vector<sMenuEntry> arrEntries;
  arrEntries.push_back({"Write to Excel\tShift+E", kCmdWriteToExcel, state.bExportEnabled});
  arrEntries.push_back({"Read from Excel", kCmdReadFromExcel, state.bImportEnabled});
  arrEntries.push_back({"Draw Grid Lines\tShift+G", kCmdDrawGridLines});
  if (state.bCustomizeEnabled) {
    arrEntries.push_back({"Customize \t Ctrl+Shift+C", kCmdCustomize});
  }
  arrEntries.push_back({"Copy to Clip Board\tCtrl+C", kCmdCopyToClipboard});
  return arrEntries;
}

std::vector<sMenuEntry> GetHeaderMenuEntries(const sListMenuState& state) {
  std::vector<sMenuEntry> arrEntries;
  AppendFitEntries(arrEntries, state);
  return arrEntries;
}

std::vector<sMenuEntry> GetFilterHeaderMenuEntries(const sListMenuState& state) {
  std::vector<sMenuEntry> arrEntries;
  AppendFitEntries(arrEntries, state);
  arrEntries.push_back({});
  arrEntries.push_back({"Reset Filters", kCmdResetFilters});
  arrEntries.push_back({"Match Filter Exactly", kCmdMatchFilterExactly, true, true, state.bMatchExactly});
  arrEntries.push_back({});
  if (state.bCustomColumns) {
    arrEntries.push_back({"Add Custom Columns", kCmdAddCustomColumns});
    arrEntries.push_back({"Add Protected Custom Columns", kCmdAddProtectedCustomColumns});
    arrEntries.push_back({"Edit Custom Columns", kCmdEditCustomColumns});
    arrEntries.push_back({"Delete Custom Columns", kCmdDeleteCustomColumns});
  }
  if (state.bViewOptions) {
    if (state.bCustomColumns) {
      arrEntries.push_back({});
    }
    arrEntries.push_back({"Live Filter and Sort", kCmdLiveFilterSort, true, true, state.bLiveFilterSort});
    arrEntries.push_back({"Keep Sort and Filters", kCmdKeepFilterSort, true, true, state.bKeepFilterSort});
    arrEntries.push_back({"Alerts on Every Row", kCmdAlertsOnEveryRow, true, true, state.bAlertsOnEveryRow});
    arrEntries.push_back({});
    arrEntries.push_back({"Numbers Never Cut", kCmdNumbersUncut, true, true, state.bNumbersUncut});
    arrEntries.push_back(
        {"Frozen First Column", kCmdFrozenFirstColumn, true, true, state.bFrozenFirstColumn});
    arrEntries.push_back({});
    arrEntries.push_back(
        {"No Digit Grouping", kCmdDigitGroupingNone, true, true, state.eGrouping == eDigitGrouping::kNone});
    arrEntries.push_back({"Group Digits 1,234,567.89", kCmdDigitGroupingInternational, true, true,
                          state.eGrouping == eDigitGrouping::kInternational});
    arrEntries.push_back({"Group Digits 12,34,567.89", kCmdDigitGroupingIndian, true, true,
                          state.eGrouping == eDigitGrouping::kIndian});
  }
  return arrEntries;
}

std::unique_ptr<QMenu> CreateListMenu(std::span<const sMenuEntry> arrEntries, QWidget* pParent,
                                      const std::function<void(int32_t)>& fnCommand) {
  auto pMenu = std::make_unique<QMenu>(pParent);
  for (const sMenuEntry& entry : arrEntries) {
    if (entry.szCaption == nullptr) {
      pMenu->addSeparator();
      continue;
    }
    QAction* pAction = pMenu->addAction(QString::fromUtf8(entry.szCaption));
    pAction->setData(entry.nCommand);
    pAction->setEnabled(entry.bEnabled);
    pAction->setCheckable(entry.bCheckable);
    pAction->setChecked(entry.bChecked);
    const int32_t nCommand = entry.nCommand;
    QObject::connect(pAction, &QAction::triggered, pMenu.get(),
                     [fnCommand, nCommand] { fnCommand(nCommand); });
  }
  return pMenu;
}
