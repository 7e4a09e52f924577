#include "lists/widgets/CommonListCtrl.h"

#include <QApplication>
#include <QHeaderView>
#include <QMenu>
#include <QScrollBar>
#include <algorithm>
#include <cstdlib>

#include "controls/ColorHeaderCtrl.h"
#include "controls/FontChoice.h"
#include "lists/AppearanceLine.h"
#include "lists/dialogs/PluginListSettings.h"
#include "lists/widgets/ListControlRegistry.h"
#include "lists/widgets/ListTableModel.h"
#include "platform/MessageBox.h"
#include "platform/qt/WindowMessage.h"

CCommonListCtrl::CCommonListCtrl(QWidget* pParent) : QTableView(pParent) {
  m_pHeader = new CColorHeaderCtrl(this);
  setHorizontalHeader(m_pHeader);
  m_pModel = new CListTableModel(*this);
  m_pModel->setParent(this);
  setModel(m_pModel);
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setMinimumSectionSize(1);
  setSelectionBehavior(SelectRows);
  setSelectionMode(ExtendedSelection);
  setEditTriggers(NoEditTriggers);
  setShowGrid(false);
  setWordWrap(false);
  setTabKeyNavigation(false);
  setCornerButtonEnabled(false);
  setHorizontalScrollMode(ScrollPerPixel);
  viewport()->setAutoFillBackground(false);
  // A row added or removed off the page changes nothing on it, so the view's full relayout and
  // repaint on every change of the row count would only cost time under a busy feed: the
  // scroll range follows the count, and the list repaints when a changed row is on the page.
  disconnect(verticalHeader(), SIGNAL(sectionCountChanged(int,int)), this, SLOT(rowCountChanged(int,int)));
  connect(verticalHeader(), &QHeaderView::sectionCountChanged, this, [this] {
    // Once for all the rows a turn of the event loop adds or removes.
    if (m_bGeometryUpdatePosted) return;
    m_bGeometryUpdatePosted = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
          m_bGeometryUpdatePosted = false;
          updateGeometries();
        },
        Qt::QueuedConnection);
  });

  m_pHeader->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(m_pHeader, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& pt) { ShowMenuAt(CreateHeaderMenu(), m_pHeader->mapToGlobal(pt)); });
  connect(m_pHeader, &QHeaderView::sectionClicked, this,
          [this](int nPosition) { SortByColumnClick(nPosition); });
  connect(m_pHeader, &QHeaderView::sectionResized, this, [this](int nPosition, int, int nSize) {
    m_layout.SetColumnWidth(m_layout.GetColumnAt(nPosition), nSize);
  });

  SetAppearance(g_defaultAppearance);
  CListControlRegistry::Add(this);
}

CCommonListCtrl::~CCommonListCtrl() {
  CListControlRegistry::Remove(this);
  CCustomizedAppearance::ForgetListIfOpen(*this);
  // A list that never loaded its profile has no section of its own to write.
  if (m_bProfileLoaded) {
    SaveProfile();
  }
}

const sHalvoColInfo* CCommonListCtrl::GetColumnAtPosition(int32_t nPosition) const {
  const int32_t nColumn = m_layout.GetColumnAt(nPosition);
  if (nColumn < 0 || static_cast<size_t>(nColumn) >= m_layout.m_arrColumns.size()) {
    return nullptr;
  }
  return &m_layout.m_arrColumns[static_cast<size_t>(nColumn)];
}

void CCommonListCtrl::LoadProfile() {
  ReadStoredProfile(CPluginListSettings(), GetProfileName(), m_layout,
                    [this](CListLayout& layout, const ProfileReadFn& fnReadKey) {
                      return ReadCustomColumns(layout, fnReadKey);
                    });
  m_bProfileLoaded = true;
  BuildHeader();
  LoadListAppearance();
}

bool CCommonListCtrl::SaveProfile() {
  CPluginListSettings settings;
  // Each failure shows as soon as its key failed, before the next key is written.
  const sProfileSave save =
      WriteStoredProfile(settings, GetProfileName(), m_layout, GetHeaderItems(), &ShowMessageBox);
  return save.bAllWritten;
}

void CCommonListCtrl::OpenRepositionDialog() {
  m_pRepositionDialog = std::make_unique<CRepositionColumns>(*this, m_strDefaultSortText, this);
  m_pRepositionDialog->show();
  m_pRepositionDialog->raise();
  m_pRepositionDialog->activateWindow();
}

void CCommonListCtrl::ApplyRepositionedColumns() {
  m_pHeader->ClearAllFilters();
  BuildHeader();
  SendWindowMessage(parentWidget(), kMsgRefreshList, static_cast<uintptr_t>(m_nControlId), 0);
}

std::vector<sProfileEntry> CCommonListCtrl::ReadCustomColumns(CListLayout& /*layout*/,
                                                              const ProfileReadFn& /*fnRead*/) {
  return {};
}

void CCommonListCtrl::BuildHeader() {
  const int32_t nCount = m_layout.GetHeaderCount();
  // The widths are taken before the reset, which gives every section its default size.
  std::vector<int32_t> arrWidths(static_cast<size_t>(nCount));
  m_arrHeaderTips.assign(static_cast<size_t>(nCount), QString());
  for (int32_t nPosition = 0; nPosition < nCount; ++nPosition) {
    const int32_t nColumn = m_layout.GetColumnAt(nPosition);
    arrWidths[static_cast<size_t>(nPosition)] = m_layout.GetColumnWidth(nColumn);
    const sHalvoColInfo* pColumn = GetColumnAtPosition(nPosition);
    if (m_bHeaderTipsEnabled && pColumn != nullptr && !pColumn->strFormulaText.empty()) {
      m_arrHeaderTips[static_cast<size_t>(nPosition)] = QString::fromStdString(pColumn->strFormulaText);
    }
  }
  m_arrSortImages.assign(static_cast<size_t>(nCount), -1);
  m_pModel->ResetColumns();
  SetColumnWidths(arrWidths);
}

void CCommonListCtrl::SetHeaderTip(int32_t nPosition, const std::string& strText) {
  if (!m_bHeaderTipsEnabled || nPosition < 0 || nPosition >= m_layout.GetHeaderCount()) {
    return;
  }
  m_arrHeaderTips.resize(static_cast<size_t>(m_layout.GetHeaderCount()));
  m_arrHeaderTips[static_cast<size_t>(nPosition)] = QString::fromStdString(strText);
}

QString CCommonListCtrl::GetHeaderTip(int32_t nPosition) const {
  if (!m_bHeaderTipsEnabled || nPosition < 0 || static_cast<size_t>(nPosition) >= m_arrHeaderTips.size()) {
    return {};
  }
  return m_arrHeaderTips[static_cast<size_t>(nPosition)];
}

void CCommonListCtrl::SetHeaderTipsEnabled(bool bOn) {
  m_bHeaderTipsEnabled = bOn;
  if (!bOn) {
    m_arrHeaderTips.assign(m_arrHeaderTips.size(), QString());
  }
}

std::vector<sHeaderItem> CCommonListCtrl::GetHeaderItems() const {
  std::vector<sHeaderItem> arrItems;
  const int32_t nCount = std::min<int32_t>(m_layout.GetHeaderCount(), m_pHeader->count());
  for (int32_t nPosition = 0; nPosition < nCount; ++nPosition) {
    const sHalvoColInfo* pColumn = GetColumnAtPosition(nPosition);
    arrItems.push_back({pColumn != nullptr ? std::string(pColumn->szName) : std::string(),
                        m_pHeader->sectionSize(nPosition)});
  }
  return arrItems;
}

void CCommonListCtrl::SetAppearance(const sAppearanceInfo& appearance) {
  const uint32_t clrBackground = m_appearance.clrBackground;
  const uint32_t clrText = m_appearance.clrText;
  m_appearance = appearance;
  if (!m_bAppearanceApplies) {
    m_appearance.clrBackground = clrBackground;
    m_appearance.clrText = clrText;
  }
  SetListFont(m_appearance.strFontName, m_appearance.strFontSize);
  viewport()->update();
}

std::string CCommonListCtrl::GetAppearanceKey() const { return FormatAppearanceKey(GetProfileName(), m_nControlId); }

void CCommonListCtrl::LoadListAppearance() {
  // A list that appearance does not apply to keeps its colours through SetAppearance: they go
  // back to the defaults here.
  m_appearance.clrText = g_defaultAppearance.clrText;
  m_appearance.clrBackground = g_defaultAppearance.clrBackground;
  const sStoredAppearance stored =
      ReadStoredAppearance(CPluginListSettings(), GetAppearanceKey(), m_appearance);
  if (stored.bStored) {
    m_bCustomized = true;
  }
  SetAppearance(stored.appearance);
}

void CCommonListCtrl::ShowAppearanceDialog() { CCustomizedAppearance::ShowForList(*this); }

std::vector<std::string> CCommonListCtrl::GetColumnHeadings() const {
  std::vector<std::string> arrHeadings;
  for (const sHalvoColInfo& column : m_layout.m_arrColumns) arrHeadings.emplace_back(column.szName);
  return arrHeadings;
}

void CCommonListCtrl::ApplyCustomizedAppearance(const sAppearanceInfo& appearance) {
  SetAppearance(appearance);
  m_bCustomized = true;
}

void CCommonListCtrl::SetListFont(const std::string& strName, const std::string& strSize) {
  QFont fontList = font();
  fontList.setFamily(QString::fromStdString(strName));
  const int32_t nHeight = GetFontHeight(strSize, logicalDpiY());
  if (nHeight != 0) {
    fontList.setPixelSize(std::abs(nHeight));
  } else {
    fontList.setPointSizeF(QApplication::font().pointSizeF());
  }
  setFont(fontList);
  UpdateRowHeight();
}

void CCommonListCtrl::SetGradient(bool bOn) {
  m_bGradient = bOn;
  viewport()->update();
}

int32_t CCommonListCtrl::InsertItem(int32_t nRow, const std::string& strText) {
  nRow = m_plainRows.InsertItem(nRow, strText);
  if (nRow >= 0) {
    m_pModel->InsertRows(nRow, 1);
    RepaintFromRow(nRow);
  }
  return nRow;
}

bool CCommonListCtrl::SetItemText(int32_t nRow, int32_t nPosition, const std::string& strText) {
  if (!m_plainRows.SetItemText(nRow, nPosition, strText)) {
    return false;
  }
  RepaintRowIfVisible(nRow);
  return true;
}

std::string CCommonListCtrl::GetItemText(int32_t nRow, int32_t nPosition) const {
  return m_plainRows.GetItemText(nRow, nPosition);
}

bool CCommonListCtrl::DeleteItem(int32_t nRow) {
  if (!m_plainRows.DeleteItem(nRow)) {
    return false;
  }
  m_pModel->RemoveRows(nRow, 1);
  RepaintFromRow(nRow);
  return true;
}

void CCommonListCtrl::DeleteAllItems() {
  m_pModel->RemoveRows(0, m_plainRows.DeleteAllItems());
  viewport()->update();
}

void CCommonListCtrl::SetCheckBoxes(bool bOn) {
  m_bCheckBoxes = bOn;
  viewport()->update();
}

uint32_t CCommonListCtrl::GetCheck(int32_t nRow) const { return m_plainRows.GetCheck(nRow); }

bool CCommonListCtrl::SetCheck(int32_t nRow, uint32_t nCheck) {
  if (!m_plainRows.SetCheck(nRow, nCheck)) {
    return false;
  }
  RepaintRowIfVisible(nRow);
  return true;
}

int32_t CCommonListCtrl::GetItemCount() const { return m_plainRows.GetItemCount(); }

void CCommonListCtrl::RepaintFromRow(int32_t nRow) {
  // From the scroll position and the row height: asking the view which row is at the page's
  // end would recount every row's position after each change.
  const int nRowHeight = std::max(1, verticalHeader()->defaultSectionSize());
  const int nLastOnPage = verticalScrollBar()->value() + viewport()->height() / nRowHeight + 1;
  if (nRow <= nLastOnPage) viewport()->update();
}

std::string CCommonListCtrl::GetCellText(int32_t nRow, int32_t nPosition) const {
  return GetItemText(nRow, nPosition);
}

bool CCommonListCtrl::GetRowCellText(int32_t nRow, int32_t nColumn, sCellText& cell) const {
  cell.strText = GetItemText(nRow, m_layout.GetPosition(nColumn));
  return true;
}

std::vector<int32_t> CCommonListCtrl::GetSelectedRows() const {
  std::vector<int32_t> arrRows;
  for (const QItemSelectionRange& range : selectionModel()->selection()) {
    for (int nRow = range.top(); nRow <= range.bottom(); ++nRow) {
      arrRows.push_back(nRow);
    }
  }
  std::sort(arrRows.begin(), arrRows.end());
  arrRows.erase(std::unique(arrRows.begin(), arrRows.end()), arrRows.end());
  return arrRows;
}

int32_t CCommonListCtrl::GetSortImage(int32_t nPosition) const {
  return nPosition >= 0 && static_cast<size_t>(nPosition) < m_arrSortImages.size()
             ? m_arrSortImages[static_cast<size_t>(nPosition)]
             : -1;
}

void CCommonListCtrl::SetSortImage(int32_t nPosition, int32_t nImage) {
  if (nPosition < 0 || static_cast<size_t>(nPosition) >= m_arrSortImages.size()) {
    return;
  }
  m_arrSortImages[static_cast<size_t>(nPosition)] = nImage;
  m_pHeader->viewport()->update();
}

void CCommonListCtrl::ClearSortImages() {
  std::fill(m_arrSortImages.begin(), m_arrSortImages.end(), -1);
  m_pHeader->viewport()->update();
}
