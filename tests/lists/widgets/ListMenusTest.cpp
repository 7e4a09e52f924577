// The menus of the list controls: entries by state, each routed to the list's operation or hook.
#include "tests/lists/ListWidgetTest.h"

#include <set>

#include "lists/widgets/ListMenus.h"

namespace {

struct sShownEntry {
  std::string strCaption;  // empty: separator
  int32_t nCommand = 0;
  bool bEnabled = true;
  bool bChecked = false;
  bool operator==(const sShownEntry&) const = default;
};

std::ostream& operator<<(std::ostream& stream, const sShownEntry& entry) {
  return stream << "{\"" << entry.strCaption << "\", " << entry.nCommand << (entry.bEnabled ? "" : ", greyed")
                << (entry.bChecked ? ", checked" : "") << "}";
}

std::vector<sShownEntry> ReadMenu(const QMenu& menu) {
  std::vector<sShownEntry> arrEntries;
  for (const QAction* pAction : menu.actions())
    arrEntries.push_back(pAction->isSeparator()
                             ? sShownEntry{}
                             : sShownEntry{pAction->text().toStdString(), pAction->data().toInt(),
                                           pAction->isEnabled(), pAction->isChecked()});
  return arrEntries;
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

const sShownEntry kSeparator{};

TEST(ListMenus, ContextMenuByState) {
  const sShownEntry grid{"Draw Grid Lines\tShift+G", 4008};
  const sShownEntry copy{"Copy to Clip Board\tCtrl+C", 4010};
  // clang-format off
  // Export, import and customize enabled, and the menu.
  const std::tuple<bool, bool, bool, std::vector<sShownEntry>> arrCases[] = {
      {true, false, true,
       {{"Write to Excel\tShift+E", 4006}, {"Read from Excel", 4007, false}, grid,
        {"Customize \t Ctrl+Shift+C", 4009}, copy}},
      {false, true, false,
       {{"Write to Excel\tShift+E", 4006, false}, {"Read from Excel", 4007}, grid, copy}},
  };
  // clang-format on
  for (const auto& [bExport, bImport, bCustomize, arrExpected] : arrCases) {
    CFilterListCtrl list;
    list.SetExportEnabled(bExport);
    list.SetImportEnabled(bImport);
    list.SetCustomizeEnabled(bCustomize);
    EXPECT_EQ(ReadMenu(*list.CreateContextMenu()), arrExpected) << bExport;
  }
}

TEST(ListMenus, HeaderMenusByState) {
  const std::vector<sShownEntry> arrFilterTail = {
      kSeparator, {"Reset Filters", 33078}, {"Match Filter Exactly", 4000}, kSeparator};
  // clang-format off
  const std::vector<sShownEntry> arrCustom = {{"Add Custom Columns", 33079}, {"Add Protected Custom Columns", 33084},
                                              {"Edit Custom Columns", 33083}, {"Delete Custom Columns", 33080}};
  const std::vector<sShownEntry> arrReposition = {{"Reposition Columns", 4004}, {"Fit to Data", 4001},
                                                  {"Fit to Header Size", 4002}, {"Fit to Window", 4003}};
  // clang-format on
  const std::vector<sShownEntry> arrNoReposition = {
      {"Fit To Data", 4001}, {"Fit to Header Size", 4002}, {"Fit to Window", 4003}};

  CCommonListCtrl plain;
  EXPECT_EQ(ReadMenu(*plain.CreateHeaderMenu()), arrReposition);
  plain.SetRepositionEnabled(false);
  EXPECT_EQ(ReadMenu(*plain.CreateHeaderMenu()), arrNoReposition);

  // Reposition, data mode, custom columns allowed, match exactly.
  const std::tuple<bool, bool, bool, bool> arrCases[] = {{true, false, true, false},
                                                         {true, true, true, false},
                                                         {true, true, false, true},
                                                         {false, true, true, true}};
  for (const auto& [bReposition, bDataMode, bCustomAllowed, bMatchExactly] : arrCases) {
    SCOPED_TRACE(testing::Message() << bReposition << bDataMode << bCustomAllowed << bMatchExactly);
    CFilterListCtrl list;
    list.SetRepositionEnabled(bReposition);
    list.SetDataMode(bDataMode);
    list.SetCustomColumnsAllowed(bCustomAllowed);
    if (bMatchExactly) list.OnCommand(kCmdMatchFilterExactly);
    std::vector<sShownEntry> arrExpected = bReposition ? arrReposition : arrNoReposition;
    arrExpected.insert(arrExpected.end(), arrFilterTail.begin(), arrFilterTail.end());
    arrExpected[arrExpected.size() - 2].bChecked = bMatchExactly;
    if (bDataMode && bCustomAllowed)
      arrExpected.insert(arrExpected.end(), arrCustom.begin(), arrCustom.end());
    EXPECT_EQ(ReadMenu(*list.CreateHeaderMenu()), arrExpected);
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
