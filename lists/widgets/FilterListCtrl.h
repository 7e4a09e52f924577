// The list every watch window shows. In data mode it is a virtual list over a CFilterListStore:
// each row points at a record that the owning window keeps, every cell comes from the data
// descriptor (custom columns, at or past the catalogue count, from GetCustomColumnText), the
// view is filtered by the header's filter bar and sorted by a clicked column, and each row is
// painted in the colours its cells give. Out of data mode it is the plain CCommonListCtrl.
//
// The owner fills the column array and calls LoadProfile (which also fixes where custom
// columns start), sets the descriptor, turns on data mode and inserts rows. It connects
// FilterChanged to Filter: a filter typed in the header reaches the list after the header's
// time-out, the list stores it and tells the owner, which re-runs the filtering pass.
//
// Live updates: RefreshRecord repaints a record's row only while it is on the page. Repaints
// asked for within one turn of the event loop are merged and painted once, each visible cell
// read once.
//
// View options, off by default and kept in the list's settings section when its owner loads
// them (LoadViewOptions): "Live Filter and Sort" makes new and changed rows follow the filters
// and the sort at once; the store places each change at once, and the list brings its row
// count, its repaint and its selection (which follows the selected records) in step once per
// turn of the event loop. "Keep Sort and Filters" writes the filters and the sort whenever a
// filtering pass or a sort changed them and restores them when the options are loaded. "Alerts
// on Every Row" is a flag the owner reads when a record changes. The display options of
// CCommonListCtrl (numbers never cut, digit grouping, frozen first column) are kept as well.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "controls/ColorHeaderCtrl.h"
#include "lists/CustomColumnText.h"
#include "lists/FilterListStore.h"
#include "lists/dialogs/UserDefinedColDlg.h"
#include "lists/widgets/CommonListCtrl.h"

// The modes of the custom column dialog, by command.
inline constexpr int32_t kCustomColumnAdd = 0;
inline constexpr int32_t kCustomColumnEdit = 1;
inline constexpr int32_t kCustomColumnDelete = 2;
inline constexpr int32_t kCustomColumnAddProtected = 3;

class CFilterListCtrl : public CCommonListCtrl, public IFilterHeaderSource, public ICustomColumnList {
  Q_OBJECT

 public:
  explicit CFilterListCtrl(QWidget* pParent = nullptr);
  ~CFilterListCtrl() override;

  // On: the filter bar, the store's rows and the list's items emptied. Off: every filter
  // cleared, the bar removed, items and store emptied.
  void SetDataMode(bool bOn);
  bool IsDataMode() const { return m_bDataMode; }
  void SetCustomColumnsAllowed(bool bOn) { m_bCustomColumnsAllowed = bOn; }
  bool AreCustomColumnsAllowed() const { return m_bCustomColumnsAllowed; }

  // The data descriptor; an empty function leaves the list without a data source.
  void SetCellTextFn(CellTextFn fnCellText) { m_store.SetCellTextFn(std::move(fnCellText)); }
  // The shape shortcut of the descriptor, for "Fit to Data" (CellText.h).
  void SetCellShapesFn(CellShapesFn fnShapes) { m_store.SetCellShapesFn(std::move(fnShapes)); }
  // The load hint goes to the store and to the custom columns.
  void SetCellPrefetchFn(const CellPrefetchFn& fnPrefetch);
  // Custom columns drawn red when negative (exact names).
  void SetColouredCustomNames(std::span<const std::string> arrNames) {
    m_customText.SetColouredNames(arrNames);
  }
  const CFilterListStore& GetStore() const { return m_store; }

  // Rows, in data mode (the store's rules; -1 or false out of data mode).
  int32_t InsertRow(int32_t nPosition, const void* pRecord);
  bool DeleteRow(int32_t nViewRow);
  bool DeleteStoreRow(int32_t nStoreIndex);
  void DeleteAllRows();
  void SetReverse(bool bReverse);

  // Filters. A programmatic filter goes through the header filter, which notifies the owner.
  void SetFilter(int32_t nColumn, const std::string& strText, bool bExact);
  // False (nothing changed) when the arrays differ in size or hold a negative column. The
  // owner is notified once, after every filter is in place.
  bool SetFilters(std::span<const int32_t> arrColumns, std::span<const std::string> arrTexts, bool bExact);
  // The filtering pass, run by the owner when it is notified.
  void Filter();
  void ResetFilters();
  void ToggleMatchExactly();
  // A header position's filter text set by the user (the filter value popup): not exact.
  void SetHeaderFilterText(int32_t nPosition, const std::string& strText);
  void ShowFilterBar(bool bShown);
  bool IsFilterBarShown() const { return m_bFilterBarShown; }
  void ToggleFilterBar();
  // Opens the filter value popup of a header position at a point.
  void OpenFilterValues(int32_t nPosition, const QPoint& ptGlobal);

  // Repaints the row of a record when it is on the list's page (the rows from the scroll
  // position that fit the list's height, kept while the list is hidden; a hidden list paints
  // nothing); false when it is not on the page.
  bool RefreshRecord(const void* pRecord);
  // The same for many records; the number of them on the page.
  int32_t RefreshRecords(std::span<const void* const> arrRecords);
  bool IsRecordVisible(const void* pRecord) const { return FindVisibleRow(pRecord) >= 0; }

  void SetLinesPerRow(int32_t nLines);

  // Reads the view options of the list's section, offers them in the header menu and, when
  // the sort and filters are kept, restores them (a filter change that the owner is told of).
  // The owner calls it once it handles FilterChanged, before the first row arrives.
  void LoadViewOptions();
  // The options; each change is written to the list's section.
  void SetLiveFilterSort(bool bOn);
  bool IsLiveFilterSort() const { return m_store.IsLive(); }
  void SetKeepFilterSort(bool bOn);
  bool IsKeepFilterSort() const { return m_bKeepFilterSort; }
  // The owner checks its alert rules on every row the list holds as the row's values change,
  // not only on the rows on the page.
  void SetAlertsOnEveryRow(bool bOn);
  bool IsAlertsOnEveryRow() const { return m_bAlertsOnEveryRow; }

  int32_t GetItemCount() const override;
  std::string GetCellText(int32_t nRow, int32_t nPosition) const override;
  uint32_t GetCheck(int32_t nRow) const override;
  bool SetCheck(int32_t nRow, uint32_t nCheck) override;
  bool OnCommand(int32_t nCommand) override;
  std::unique_ptr<QMenu> CreateHeaderMenu() override;
  void SortByColumnClick(int32_t nPosition) override;

  std::span<const int32_t> GetFilterColumns() const override { return m_store.GetFilterColumns(); }
  std::span<const int32_t> GetPositionMap() const override { return GetLayout().GetPositions(); }
  int32_t GetViewCount() const override { return m_store.GetViewCount(); }

  CListLayout& GetCustomColumnLayout() override { return GetLayout(); }
  // Describes the custom alert rules on columns of this list; the owner of a list with alerts
  // sets it.
  using AlertRulesFn = std::function<std::vector<std::string>(std::span<const std::string> arrNames)>;
  void SetAlertRulesFn(AlertRulesFn fnAlertRules) { m_fnAlertRules = std::move(fnAlertRules); }
  std::vector<std::string> DescribeAlertRulesOn(std::span<const std::string> arrNames) const override {
    return m_fnAlertRules ? m_fnAlertRules(arrNames) : std::vector<std::string>{};
  }
  // Inserts or deletes the header items of a confirmed custom column change, sets the tips
  // again and saves the column profile.
  void ApplyCustomColumnChange(const sCustomColumnChange& change) override;
  // After the column profile dialog: filters reset, header rebuilt, rows repainted.
  void ApplyRepositionedColumns() override;
  // The rows on the page by the scroll position, first and last, shown or not; false when
  // none is.
  bool GetVisibleRows(int32_t& nFirst, int32_t& nLast) const;

 signals:
  // A header filter changed; the list has stored it. The owner runs Filter.
  void FilterChanged(int nPosition);
  // A filter button was clicked; the list has opened the filter value popup.
  void FilterButtonClicked(int nPosition);

 protected:
  // The module's custom column dialog, set up for this list in one of its modes.
  virtual void OpenCustomColumnDialog(int32_t nMode);
  // The text of a custom column (index at or past the catalogue count).
  virtual void GetCustomColumnText(const void* pRecord, int32_t nColumn, sCellText& cell) const;
  std::vector<sProfileEntry> ReadCustomColumns(CListLayout& layout, const ProfileReadFn& fnRead) override;

  bool GetRowCellText(int32_t nRow, int32_t nColumn, sCellText& cell) const override;
  // In data mode the store's rows, with the shapes of cells the descriptor's shortcut tells and
  // the bounds of custom columns' texts (which follow CCustomColumnText, as GetCustomColumnText
  // does).
  std::unique_ptr<IFitToDataSource> CreateFitSource() const override;
  bool HandleListKey(const QKeyEvent& event) override;
  int32_t GetLinesPerRow() const override { return m_nLinesPerRow; }
  sListMenuState GetMenuState() const override;
  // Keys in the filter edits: Tab, Shift+Tab and Ctrl+F.
  bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

 private:
  void OnHeaderFilterChanged(int nPosition);
  void MoveFilterEdit(int nFrom, bool bBackward);
  int32_t FindVisibleRow(const void* pRecord) const;
  // Brings the model's row count in step with the view after a store operation that failed.
  void SyncRowCount();
  void RepaintAll();
  // Live filter and sort (FilterListLive.cpp). Before the store takes a turn's first change:
  // keeps the selected records and asks the event loop for one sync after the turn.
  void BeginLiveChange();
  // The turn's changes reach the view: the row count, a repaint of the changed rows on the
  // page, the selection moved to where its records are now. Nothing when none is waiting;
  // every operation that works on view rows runs it first.
  void FlushLiveChanges();
  // Rows appended at the end of a list without live filter and sort reach the model together,
  // after the turn: one insert for a start-up's thousands of rows. FlushLiveChanges runs it.
  void FlushAppends();
  bool IsRowOnPage(int32_t nRow) const;
  // Live: a record that kept its place has its row repainted when the page shows it; whether it does.
  bool RepaintLiveRecordInPlace(const void* pRecord);
  // The view options (FilterListOptions.cpp). Their menu commands, each change written; false
  // for a list that does not keep them.
  bool ToggleViewOption(int32_t nCommand);
  // The rebuilt header shows no sort: the store forgets its sort column, and a kept sort goes.
  void ForgetSortAfterHeaderRebuild();
  // Keep Sort and Filters: writes the filters and the sort when they differ from what was last
  // written or read, or always when forced.
  void SaveKeptFilterSort(bool bForce);
  void RestoreKeptFilterSort(const ProfileReadFn& fnRead);

  CFilterListStore m_store;
  // Computing a cell keeps per-column state; painting and sorting compute from const paths.
  mutable CCustomColumnText m_customText;
  AlertRulesFn m_fnAlertRules;
  bool m_bDataMode = false;
  bool m_bCustomColumnsAllowed = true;
  bool m_bFilterBarShown = true;
  int32_t m_nLinesPerRow = 1;

  // Live changes of this turn, waiting for FlushLiveChanges; appended rows waiting for
  // FlushAppends.
  bool m_bLiveChangesWaiting = false;
  bool m_bAppendsWaiting = false;
  sViewSpan m_liveSpan;
  std::vector<const void*> m_arrLiveSelection;  // the records selected when the turn began
  std::vector<int32_t> m_arrLiveSelectedRows;   // and their rows then
  const void* m_pLiveCurrent = nullptr;
  // The records on the page when the turn began, from row m_nLivePageFirst: a record that keeps
  // its place repaints its row when it is among them.
  std::vector<const void*> m_arrLivePage;
  int32_t m_nLivePageFirst = 0;

  bool m_bViewOptionsOffered = false;
  bool m_bKeepFilterSort = false;
  bool m_bAlertsOnEveryRow = false;
  // The kept values last written or read.
  std::string m_strKeptFilters;
  std::string m_strKeptSort;
};
