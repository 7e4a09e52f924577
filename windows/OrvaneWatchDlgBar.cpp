#include "windows/OrvaneWatchDlgBar.h"

#include <algorithm>
#include <span>

#include "lists/CellText.h"
#include "lists/widgets/FilterListCtrl.h"
#include "model/ColumnCatalogue.h"
#include "plugin/PluginContext.h"
#include "windows/WatchTitles.h"

namespace {
constexpr int32_t kFirstListControlId = 1230;
}  // namespace

COrvaneWatchDlgBar::COrvaneWatchDlgBar(int nWindow, const QString& strTitle, QWidget* pParent)
    : QDockWidget(strTitle, pParent),
      m_nWindow(nWindow),
      m_strAlertListKey("list" + std::to_string(nWindow)),
      m_pList(new CFilterListCtrl(this)) {
  // The frame restores its dock layout by object name.
  setObjectName(QStringLiteral("OrvaneWatch%1").arg(nWindow));
  m_pList->SetControlId(kFirstListControlId + nWindow);
  m_pList->GetLayout().LoadColumnTable(GetWatchSectionName(nWindow), GetCatalogueColumns());
  m_pList->LoadProfile();
  m_pList->SetCellTextFn(MakeCellTextFn(&GetColumnText));
  m_pList->SetCellPrefetchFn(MakeCellPrefetchFn(&CRmsDetails::GetCellText));
  // Custom columns named in the configuration are drawn red below zero.
  m_pList->SetColouredCustomNames(std::span<const std::string>(
      g_pluginContext.colouredCustomColumns.data(),
      static_cast<size_t>(std::clamp(g_pluginContext.colouredCustomCount, 0, kMaxConfigListEntries))));
  m_pList->SetDataMode(true);
  QObject::connect(m_pList, &CFilterListCtrl::FilterChanged, m_pList, [this](int) { m_pList->Filter(); });
  setWidget(m_pList);
}

COrvaneWatchDlgBar::~COrvaneWatchDlgBar() = default;

void COrvaneWatchDlgBar::AppendRecordRow(CRmsDetails* pRecord) {
  // Position 0 appends. The view paints inserted rows at its next paint, so a burst of
  // appends paints once.
  m_pList->InsertRow(0, pRecord);
}

void COrvaneWatchDlgBar::DeleteRecordRow(const CRmsDetails* pRecord) {
  const CFilterListStore& store = m_pList->GetStore();
  for (int32_t nIndex = 0; nIndex < store.GetStoreCount(); ++nIndex) {
    if (store.GetStoreRecord(nIndex) == pRecord) {
      m_pList->DeleteStoreRow(nIndex);
      return;
    }
  }
}

bool COrvaneWatchDlgBar::RefreshVisibleRecordRow(const CRmsDetails* pRecord) {
  return m_pList->RefreshRecord(pRecord);
}
