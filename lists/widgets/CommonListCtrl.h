// The report list from which every list of the module is built. It owns the list's columns
// (the column array and the position map, in a CListLayout) and the header with its tips and
// sort images, and loads and saves its column profile; it offers the context menu, the header
// menu and the keys for spreadsheet export, clipboard copy, grid lines, appearance and column
// fitting, and sorts by a clicked column.
//
// Out of the filter list's data mode a list shows the rows of its CPlainListStore (InsertItem,
// SetItemText). Every cell is read through GetCellText (export, clipboard, sorting, the table
// model) or, for painting, GetRowCellText; the list paints its rows itself, asking each visible
// cell once. The column profile and the appearance line are read and written in the plug-in's
// settings file by the rules of ColumnProfile.h and AppearanceLine.h; the list shows what a
// save of the profile failed with.
//
// How cells show their texts (CommonListDisplay.cpp) can change without changing what is read:
// numbers of numeric columns may be grouped, a number too wide for its cell may show "###", and
// the first header position may stay at the left edge while the list scrolls sideways. Only the
// painting changes; export, clipboard, filters and sorting read the plain cell texts.
//
// Commands arrive by their identifiers (ListMenus.h) through OnCommand: from the menus, from the
// keys, and from owning windows. The dialogs that some commands open are reached through the
// virtual hooks below.
#pragma once

#include <QPixmap>
#include <QTableView>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "lists/AppearanceInfo.h"
#include "lists/CellText.h"
#include "lists/ColumnProfile.h"
#include "lists/DigitGrouping.h"
#include "lists/ListLayout.h"
#include "lists/PlainListStore.h"
#include "lists/dialogs/CustomizedAppearance.h"
#include "lists/dialogs/RepositionColumns.h"
#include "lists/widgets/CellTextCache.h"
#include "lists/widgets/ListMenus.h"
#include "lists/widgets/ListTableSource.h"

class CColorHeaderCtrl;
class CFitToDataPass;
class IFitToDataSource;
class CListRowPainter;
class CListTableModel;
class QMenu;

class CCommonListCtrl : public QTableView,
                        public IRepositionList,
                        public IAppearanceList,
                        public IListTableSource {
  Q_OBJECT

 public:
  explicit CCommonListCtrl(QWidget* pParent = nullptr);
  ~CCommonListCtrl() override;

  // The columns. The owner loads the standard columns into the layout's column array, then
  // calls LoadProfile.
  CListLayout& GetLayout() { return m_layout; }
  const CListLayout& GetLayout() const { return m_layout; }
  const sHalvoColInfo* GetColumnAtPosition(int32_t nPosition) const override;
  int32_t GetHeaderCount() const override { return m_layout.GetHeaderCount(); }
  // The profile name: the list's settings section and the first part of its appearance key.
  void SetProfileName(std::string_view strName) { m_layout.m_strListName.assign(strName); }
  const std::string& GetProfileName() const override { return m_layout.m_strListName; }
  void SetControlId(int32_t nId) { m_nControlId = nId; }
  int32_t GetControlId() const { return m_nControlId; }
  // Names of the columns the column profile dialog refuses to hide.
  void SetFixedColumnNames(std::vector<std::string> arrNames) { m_arrFixedColumnNames = std::move(arrNames); }
  const std::vector<std::string>& GetFixedColumnNames() const override { return m_arrFixedColumnNames; }
  // The column profile dialog of the last "Reposition Columns" command, or null.
  CRepositionColumns* GetRepositionDialog() const { return m_pRepositionDialog.get(); }

  // Reads the column profile from the list's section of the settings file, builds the header
  // and loads the list's appearance: profile name and control id are known by then.
  void LoadProfile();
  // Writes the profile keys; every failed key shows the save failure text. True when all were
  // written.
  bool SaveProfile() override;
  // Rebuilds the header from the layout: one item per shown column with its name, alignment,
  // width and tip; the sort images go.
  void BuildHeader();
  // A header item's tip, kept only while tips are enabled.
  void SetHeaderTip(int32_t nPosition, const std::string& strText);
  QString GetHeaderTip(int32_t nPosition) const override;
  // The header items as the profile saves them: text and width, in position order.
  std::vector<sHeaderItem> GetHeaderItems() const;
  CColorHeaderCtrl* GetHeader() const { return m_pHeader; }

  void SetExportEnabled(bool bOn) { m_commands.bExportEnabled = bOn; }
  bool IsExportEnabled() const { return m_commands.bExportEnabled; }
  void SetImportEnabled(bool bOn) { m_commands.bImportEnabled = bOn; }
  bool IsImportEnabled() const { return m_commands.bImportEnabled; }
  void SetRepositionEnabled(bool bOn) { m_commands.bRepositionEnabled = bOn; }
  bool IsRepositionEnabled() const { return m_commands.bRepositionEnabled; }
  void SetAppearanceApplies(bool bOn) { m_bAppearanceApplies = bOn; }
  bool DoesAppearanceApply() const override { return m_bAppearanceApplies; }
  void SetCustomizeEnabled(bool bOn) { m_commands.bCustomizeEnabled = bOn; }
  bool IsCustomizeEnabled() const { return m_commands.bCustomizeEnabled; }
  void SetHeaderTipsEnabled(bool bOn);
  bool AreHeaderTipsEnabled() const { return m_bHeaderTipsEnabled; }

  // The appearance: colours (applied only while appearance applies to this list) and font.
  const sAppearanceInfo& GetAppearance() const override { return m_appearance; }
  void SetAppearance(const sAppearanceInfo& appearance);
  // The key of the list's appearance entry: "%s-%d" of the profile name and control id.
  std::string GetAppearanceKey() const override;
  // Reads the list's stored appearance line and applies it; without one (or with one that
  // cannot be read) the list gets the default appearance.
  void LoadListAppearance();
  // True once a stored or applied appearance exists.
  bool IsCustomized() const { return m_bCustomized; }
  // A face and a point size for the list: the character height is -round(size x dpi / 72), and
  // a size that is not a number gives the face's default height.
  void SetListFont(const std::string& strName, const std::string& strSize);
  // The optional vertical gradient from the background colour to white.
  void SetGradient(bool bOn);
  bool HasGradient() const { return m_bGradient; }

  // Plain items, out of data mode: one text per header position (the rules of CPlainListStore).
  int32_t InsertItem(int32_t nRow, const std::string& strText);
  bool SetItemText(int32_t nRow, int32_t nPosition, const std::string& strText);
  std::string GetItemText(int32_t nRow, int32_t nPosition) const;
  bool DeleteItem(int32_t nRow);
  void DeleteAllItems();

  // Check boxes: the first header item shows each row's check flag, which a click toggles.
  void SetCheckBoxes(bool bOn);
  bool HasCheckBoxes() const { return m_bCheckBoxes; }
  virtual uint32_t GetCheck(int32_t nRow) const;
  virtual bool SetCheck(int32_t nRow, uint32_t nCheck);
  // Images of icon cells (alignment kAlignIcon), which show the image their text numbers.
  void SetImageList(std::vector<QPixmap> arrImages) { m_arrImages = std::move(arrImages); }

  // The rows and cells every command reads.
  int32_t GetItemCount() const override;
  std::string GetCellText(int32_t nRow, int32_t nPosition) const override;
  // Repaints the page when a row added or removed at nRow moved what it shows: nRow is on it or
  // above it.
  void RepaintFromRow(int32_t nRow);
  // Selected rows in ascending order.
  std::vector<int32_t> GetSelectedRows() const;
  // A frozen list moves to a row without a sideways scroll: the cell it would scroll to may be
  // one under the frozen column.
  void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

  // The list's commands by identifier; false for an identifier it does not know.
  virtual bool OnCommand(int32_t nCommand);
  // Every row's text; a long list is read over several turns of the event loop, and its widths
  // are set after the last.
  void FitToData();
  // True while a "Fit to Data" pass still has rows to read.
  bool IsFittingToData() const { return m_pFitPass != nullptr; }
  void FitToHeaderSize();
  void FitToWindow();
  void ToggleGridLines();
  bool HasGridLines() const { return m_bGridLines; }
  // Builds the clipboard text of the selected rows and puts it on the clipboard.
  void CopyToClipboard();
  const std::string& GetClipboardText() const { return m_strClipboardText; }
  void WriteToExcel();

  virtual std::unique_ptr<QMenu> CreateContextMenu();
  virtual std::unique_ptr<QMenu> CreateHeaderMenu();

  // Sorting by a clicked header position.
  virtual void SortByColumnClick(int32_t nPosition);
  // The sort image of a header position: 0, 1, 2 or -1 (none).
  int32_t GetSortImage(int32_t nPosition) const override;

  // Rows are as high as the font's pixel height plus 4, times the lines per row.
  int32_t GetRowHeight() const { return m_nRowHeight; }

  // A number of a numeric column that does not fit its cell shows "###" instead of cut digits;
  // the cell's tip shows it whole.
  void SetNumbersUncut(bool bOn);
  bool AreNumbersUncut() const { return m_bNumbersUncut; }
  // Numbers of numeric columns are shown grouped.
  void SetDigitGrouping(eDigitGrouping eGrouping);
  eDigitGrouping GetDigitGrouping() const { return m_eGrouping; }
  // The first header position stays at the left edge while the list scrolls sideways.
  void SetFirstColumnFrozen(bool bOn);
  bool IsFirstColumnFrozen() const;
  // The text a cell of the column shows for its plain text, as painted and measured.
  std::string GetShownText(int32_t nColumn, std::string strText) const;

 signals:
  // The right-click notification for the owner (a right click in the list or the Apps key).
  // A list whose owner does not listen shows its own context menu.
  void RightClicked(const QPoint& ptGlobal);

 protected:
  // The column profile dialog, created anew on every opening.
  virtual void OpenRepositionDialog();
  CListLayout& GetRepositionLayout() override { return m_layout; }
  // After the column profile dialog: header filters cleared, header rebuilt, and the window
  // that contains the list asked to refresh it.
  void ApplyRepositionedColumns() override;
  // The module's appearance dialog, targeted at this list.
  virtual void ShowAppearanceDialog();
  std::vector<std::string> GetColumnHeadings() const override;
  void ApplyCustomizedAppearance(const sAppearanceInfo& appearance) override;
  QWidget* GetAppearanceWidget() override { return this; }
  // The saved custom columns of the profile. Until the custom columns are built none are read.
  virtual std::vector<sProfileEntry> ReadCustomColumns(CListLayout& layout, const ProfileReadFn& fnRead);

  // The cell a row paints for a column index (colours as set by the caller, changed by the
  // source); false stops the row's painting.
  virtual bool GetRowCellText(int32_t nRow, int32_t nColumn, sCellText& cell) const;
  // Where a slice of "Fit to Data" reads the rows: by default every cell through GetCellText.
  virtual std::unique_ptr<IFitToDataSource> CreateFitSource() const;
  // Keys before the list's own handling; true when consumed.
  virtual bool HandleListKey(const QKeyEvent& event);
  virtual int32_t GetLinesPerRow() const { return 1; }
  // The list state the menus are built from.
  virtual sListMenuState GetMenuState() const;
  void SetSortImage(int32_t nPosition, int32_t nImage);
  void ClearSortImages();
  void UpdateRowHeight();
  void SetKeywordsAvailable(bool bOn) { m_appearance.bKeywordsAvailable = bOn; }
  void UpdateHeaderGeometry() { updateGeometries(); }
  CListTableModel& GetModel() { return *m_pModel; }
  // Repaints a row when it is visible; false when it is not.
  bool RepaintRowIfVisible(int32_t nRow);
  // The width the frozen first column covers at the viewport's left edge: 0 unless it is frozen
  // and the list is scrolled sideways.
  int GetFrozenWidth() const;
  // The viewport's x of a header position's left edge, and the position at a viewport x, as the
  // frozen first column places them.
  int GetPositionLeft(int32_t nPosition) const;
  int32_t GetPositionAt(int nX) const;
  void scrollContentsBy(int nDx, int nDy) override;

  void paintEvent(QPaintEvent* pEvent) override;
  // A cell whose text is cut shows the whole text when the mouse rests on it.
  bool viewportEvent(QEvent* pEvent) override;
  void keyPressEvent(QKeyEvent* pEvent) override;
  void mousePressEvent(QMouseEvent* pEvent) override;
  void contextMenuEvent(QContextMenuEvent* pEvent) override;
  void focusInEvent(QFocusEvent* pEvent) override;
  void focusOutEvent(QFocusEvent* pEvent) override;
  void changeEvent(QEvent* pEvent) override;

 private:
  void PaintRow(QPainter& painter, int32_t nRow, const QRect& rcRow, const QRect& rcUpdate) const;
  // A cell's check box, icon or text in its colour, as shown.
  void DrawCell(const CListRowPainter& rowPainter, int32_t nRow, int32_t nColumn, const QRect& rcCell,
                sCellText& cell, int32_t clrText) const;
  // The whole shown text of the cell at a viewport point when painting cuts it, and the cell;
  // an empty text otherwise.
  std::string GetCutCellText(const QPoint& ptViewport, QRect& rcCell) const;
  // Whether a shown text of the column that does not fit shows "###".
  bool IsHashedWhenCut(int32_t nColumn, const std::string& strShown) const;
  // The row's keyword colour: the first keyword in the text of the keyword column.
  bool FindKeywordColour(int32_t nRow, uint32_t& clrKeyword) const;
  QRect GetCheckBoxRect(int32_t nRow) const;
  void ShowMenuAt(std::unique_ptr<QMenu> pMenu, const QPoint& ptGlobal);
  void NotifyRightClick(const QPoint& ptGlobal);
  // The next slice of the "Fit to Data" pass; the widths once it read the last row.
  void ContinueFitToData();
  // The column shown at each header position.
  std::vector<int32_t> GetHeaderColumns() const;
  int32_t MeasureHeaderWidth(int32_t nPosition) const;
  void SetColumnWidths(const std::vector<int32_t>& arrWidths);

  CListLayout m_layout;
  CListTableModel* m_pModel = nullptr;  // owned as a child
  CColorHeaderCtrl* m_pHeader = nullptr;
  int32_t m_nControlId = 0;
  std::string m_strClipboardText;
  std::vector<std::string> m_arrFixedColumnNames;
  std::unique_ptr<CRepositionColumns> m_pRepositionDialog;
  std::string m_strDefaultSortText;      // kept across openings of the column profile dialog
  std::vector<QString> m_arrHeaderTips;  // by header position
  std::vector<int32_t> m_arrSortImages;  // by header position
  CPlainListStore m_plainRows;
  std::vector<QPixmap> m_arrImages;
  bool m_bProfileLoaded = false;
  // Which commands the menus offer; a filter list's menu state adds its own options.
  sListMenuState m_commands;
  bool m_bAppearanceApplies = true;
  bool m_bHeaderTipsEnabled = true;
  bool m_bGridLines = false;
  bool m_bGradient = false;
  std::shared_ptr<CFitToDataPass> m_pFitPass;  // the "Fit to Data" pass under way
  bool m_bFitContinuationQueued = false;
  bool m_bGeometryUpdatePosted = false;  // a scroll-range update waits for the event loop
  bool m_bCheckBoxes = false;
  bool m_bCustomized = false;
  sAppearanceInfo m_appearance = g_defaultAppearance;
  mutable CCellTextCache m_cellTexts;  // filled while painting
  int32_t m_nRowHeight = 16;
  bool m_bNumbersUncut = false;
  eDigitGrouping m_eGrouping = eDigitGrouping::kNone;
};
