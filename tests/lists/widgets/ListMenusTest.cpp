// The menus of the list controls: entries by state, each routed to the list's operation or hook.
#include "tests/lists/ListWidgetTest.h"

#include <set>

#include "lists/widgets/ListMenus.h"

namespace {

// The command of each entry, "-" after a greyed one and "*" after a ticked one; "|" a separator.
std::string DescribeMenu(const QMenu& menu) {
  std::string strEntries;
  for (const QAction* pAction : menu.actions()) {
    if (!strEntries.empty()) strEntries += ' ';
    strEntries += pAction->isSeparator() ? "|"
                                         : std::to_string(pAction->data().toInt()) +
                                               (pAction->isEnabled() ? "" : "-") + (pAction->isChecked() ? "*" : "");
  }
  return strEntries;
}

// A list whose dialog hooks record what they were asked.
class CRecordingList : public CFilterListCtrl {
 public:
  std::vector<std::string> m_arrCalls;

 protected:
  void OpenRepositionDialog() override { m_arrCalls.push_back("reposition"); }
  void ShowAppearanceDialog() override { m_arrCalls.push_back("appearance"); }
  void OpenCustomColumnDialog(int32_t nMode) override {
    m_arrCalls.push_back("custom " + std::to_string(nMode));
  }
};

TEST(ListMenus, ContextAndHeaderMenusByState) {
  // Export, import and customize enabled, and the context menu.
  const std::tuple<bool, bool, bool, const char*> arrContextCases[] = {
      {true, false, true, "4006 4007- 4008 4009 4010"},
      {false, true, false, "4006- 4007 4008 4010"},
  };
  for (const auto& [bExport, bImport, bCustomize, szExpected] : arrContextCases) {
    CFilterListCtrl list;
    list.SetExportEnabled(bExport);
    list.SetImportEnabled(bImport);
    list.SetCustomizeEnabled(bCustomize);
    EXPECT_EQ(DescribeMenu(*list.CreateContextMenu()), szExpected) << bExport;
  }

  CCommonListCtrl plain;
  EXPECT_EQ(DescribeMenu(*plain.CreateHeaderMenu()), "4004 4001 4002 4003");
  // Reposition, data mode, custom columns allowed, match exactly, and the filter list's header menu.
  const std::tuple<bool, bool, bool, bool, const char*> arrHeaderCases[] = {
      {true, false, true, false, "4004 4001 4002 4003 | 33078 4000 |"},
      {true, true, true, false, "4004 4001 4002 4003 | 33078 4000 | 33079 33084 33083 33080"},
      {true, true, false, true, "4004 4001 4002 4003 | 33078 4000* |"},
      {false, true, true, true, "4001 4002 4003 | 33078 4000* | 33079 33084 33083 33080"},
  };
  for (const auto& [bReposition, bDataMode, bCustomAllowed, bMatchExactly, szExpected] : arrHeaderCases) {
    CFilterListCtrl list;
    list.SetRepositionEnabled(bReposition);
    list.SetDataMode(bDataMode);
    list.SetCustomColumnsAllowed(bCustomAllowed);
    if (bMatchExactly) list.OnCommand(kCmdMatchFilterExactly);
    EXPECT_EQ(DescribeMenu(*list.CreateHeaderMenu()), szExpected);
  }
}

TEST(ListMenus, EveryEntryReachesItsOperation) {
  CRecordingList list;
  list.SetDataMode(true);
  // The entries that open dialogs (the fit entries do their work at once), then grid lines and
  // customize from the context menu.
  const std::set<int> setTriggered = {kCmdAddCustomColumns,  kCmdAddProtectedCustomColumns,
                                      kCmdEditCustomColumns, kCmdDeleteCustomColumns,
                                      kCmdRepositionColumns, kCmdDrawGridLines,
                                      kCmdCustomize};
  for (const std::unique_ptr<QMenu>& pMenu : {list.CreateHeaderMenu(), list.CreateContextMenu()})
    for (QAction* pAction : pMenu->actions())
      if (setTriggered.contains(pAction->data().toInt())) pAction->trigger();
  EXPECT_EQ(list.m_arrCalls, (std::vector<std::string>{"reposition", "custom 0", "custom 3", "custom 1",
                                                       "custom 2", "appearance"}));
  EXPECT_TRUE(list.HasGridLines());

  // Owners send the same numbers; an unknown one is not handled.
  EXPECT_TRUE(list.OnCommand(kCmdMatchFilterExactly));
  EXPECT_TRUE(list.GetStore().IsMatchExactly());
  EXPECT_TRUE(list.OnCommand(kCmdReadFromExcel));
  EXPECT_FALSE(list.OnCommand(2222));
}

}  // namespace
