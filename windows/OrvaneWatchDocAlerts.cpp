#include "windows/OrvaneWatchDocAlerts.h"

#include <QApplication>
#include <QEvent>
#include <QItemSelectionModel>
#include <QMenu>
#include <QShortcut>
#include <QTabBar>
#include <algorithm>
#include <span>
#include <utility>

#include "lists/CellText.h"
#include "lists/widgets/FilterListCtrl.h"
#include "controls/ColorRef.h"
#include "plugin/PluginContext.h"
#include "plugin/SettingsAccess.h"
#include "windows/BarDoubleClick.h"
#include "windows/OrvaneWatchDlg.h"
#include "windows/OrvaneWatchDlgBar.h"
#include "windows/WatchCommands.h"
#include "windows/WatchTitles.h"
#include "windows/WindowPlacement.h"

namespace {

// Placement in the content widget: the tabs along the bottom edge, the lists above them.
constexpr int kTabsLeft = 2;
constexpr int kTabsFromBottom = 30;
constexpr int kTabsWidthMargin = 10;
constexpr int kTabsHeight = 40;
// The lists leave room for the tabs below them.
constexpr int kListBottomMargin = 45;
// Rows not yet seen: dark text on amber.
constexpr uint32_t kUnseenBackColour = MakeColorRef(255, 214, 102);
constexpr uint32_t kUnseenTextColour = MakeColorRef(0, 0, 0);
// Kept in the raised alert list's section: "1" while the window beeps on a new alert.
constexpr const char* kBeepKey = "BEEP";
constexpr const char* kTabCaptions[] = {"Orvane Alerts", "Message Alerts"};
constexpr const char* kWindowCaption = "Orvane Watch Alerts";

// The caption with the number of unseen rows after it, or alone when there are none; a tab
// has room for the number only.
QString AddUnseenCount(const char* szCaption, int nUnseen, bool bTab) {
  const QString strCaption = QString::fromLatin1(szCaption);
  if (nUnseen == 0) return strCaption;
  return bTab ? QStringLiteral("%1 (%2)").arg(strCaption).arg(nUnseen)
              : QStringLiteral("%1 (%2 new)").arg(strCaption).arg(nUnseen);
}

// Room for the tabs and at least a header and a row of the list.
constexpr int kMinContentWidth = 160;
constexpr int kMinContentHeight = 120;

template <class TRecord>
CFilterListCtrl* CreateAlertList(QWidget* pParent, int32_t nControlId, const char* szName,
                                 std::span<const sColumnDef> arrColumns,
                                 int (*pfnGetText)(const TRecord*, int, std::string&)) {
  auto* pList = new CFilterListCtrl(pParent);
  pList->setObjectName(QString::fromLatin1(szName));
  pList->SetControlId(nControlId);
  pList->GetLayout().LoadColumnTable(szName, arrColumns);
  pList->LoadProfile();
  pList->SetCellTextFn([pfnGetText](const void* pRecord, int32_t nColumn, sCellText& cell) {
    const auto* pEntry = static_cast<const TRecord*>(pRecord);
    // Column 0 sets the row's colours.
    if (nColumn == 0 && pEntry != nullptr && !pEntry->bSeen) {
      cell.nBackColour = static_cast<int32_t>(kUnseenBackColour);
      cell.nTextColour = static_cast<int32_t>(kUnseenTextColour);
    }
    return pfnGetText(pEntry, nColumn, cell.strText) != 0;
  });
  // Data mode brings the header's filter row.
  pList->SetDataMode(true);
  QObject::connect(pList, &CFilterListCtrl::FilterChanged, pList, [pList](int) { pList->Filter(); });
  return pList;
}

// An alert of the same client, column, list and level as a row already shown replaces it.
std::string MakeAlertRowKey(const RaisedAlert& alert) {
  std::string strKey;
  for (const std::string* pPart :
       {&alert.strClientId, &alert.strColumnName, &alert.strListName, &alert.strLevel})
    strKey.append(std::to_string(pPart->size())).append(1, ':').append(*pPart);
  return strKey;
}

}  // namespace

COrvaneWatchDocAlerts::COrvaneWatchDocAlerts(COrvaneWatchDlg& controller, QWidget* pParent)
    : QDockWidget(QString::fromLatin1(kWindowCaption), pParent),
      m_controller(controller),
      m_pContent(new QWidget(this)),
      m_pTabs(new QTabBar(m_pContent)),
      m_pAlertList(CreateAlertList(m_pContent, kAlertListControlId, kAlertListName, GetAlertListColumns(),
                                   &GetRaisedAlertCellText)),
      m_pMessageAlertList(CreateAlertList(m_pContent, kMessageAlertListControlId, kMessageAlertListName,
                                          GetMessageAlertColumns(), &GetMessageAlertCellText)),
      m_bBeep(false),
      m_fnBeep(&QApplication::beep) {
  // The frame restores its dock layout by object name.
  setObjectName(QStringLiteral("OrvaneWatchAlerts"));
  m_pTabs->setObjectName(QStringLiteral("OrvaneAlertTabs"));
  m_pTabs->setProperty("controlId", kAlertTabsControlId);
  m_pTabs->setShape(QTabBar::RoundedSouth);
  for (const char* szCaption : kTabCaptions) m_pTabs->addTab(QString::fromLatin1(szCaption));
  ShowTab(kAlertTab);
  QObject::connect(m_pTabs, &QTabBar::currentChanged, this, [this](int nTab) { ShowTab(nTab); });

  for (CFilterListCtrl* pList : {m_pAlertList, m_pMessageAlertList})
    QObject::connect(pList, &CCommonListCtrl::RightClicked, this,
                     [this](const QPoint& ptGlobal) { ShowContextMenu(ptGlobal); });
  for (const int nTab : {kAlertTab, kMessageAlertTab}) {
    CFilterListCtrl* pList = nTab == kAlertTab ? m_pAlertList : m_pMessageAlertList;
    QObject::connect(pList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                     [this, nTab] { MarkSelectedSeen(nTab); });
  }
  QObject::connect(m_pAlertList, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
    if (const void* pRecord = m_pAlertList->GetStore().GetRecord(index.row()))
      ShowAlertEntity(*static_cast<const RaisedAlert*>(pRecord));
  });
  auto* pAcknowledge = new QShortcut(QKeySequence(Qt::Key_Space), m_pContent);
  pAcknowledge->setContext(Qt::WidgetWithChildrenShortcut);
  QObject::connect(pAcknowledge, &QShortcut::activated, this, [this] { AcknowledgeAlerts(); });
  std::string strBeep;
  m_bBeep = AccessKeySetting(kSettingRead, kAlertListName, kBeepKey, strBeep, kSettingsFileName) && strBeep == "1";

  m_pContent->setMinimumSize(kMinContentWidth, kMinContentHeight);
  m_pContent->installEventFilter(this);
  setWidget(m_pContent);
  InstallBarDoubleClick(*this);
}

COrvaneWatchDocAlerts::~COrvaneWatchDocAlerts() {
  // The lists go first: their rows point at the records this window releases.
  delete m_pContent;
}

void COrvaneWatchDocAlerts::AddRaisedAlert(std::unique_ptr<RaisedAlert> pAlert) {
  if (pAlert == nullptr) return;
  const auto [itRow, bNew] = m_mapRaisedAlerts.try_emplace(MakeAlertRowKey(*pAlert), pAlert.get());
  if (!bNew) {
    // The row shows the new alert, unseen again.
    const bool bWasUnseen = !itRow->second->bSeen;
    *itRow->second = std::move(*pAlert);
    CountNewAlert(kAlertTab, bWasUnseen);
    return;
  }
  m_arrRaisedAlerts.push_back(std::move(pAlert));
  // Position 0 appends.
  m_pAlertList->InsertRow(0, m_arrRaisedAlerts.back().get());
  CountNewAlert(kAlertTab, false);
}

void COrvaneWatchDocAlerts::RepaintAlertList() {
  m_pAlertList->viewport()->update();
  AnnounceNewAlerts();
}

void COrvaneWatchDocAlerts::AddMessageAlert(std::unique_ptr<sMessageAlert> pAlert) {
  if (pAlert == nullptr) return;
  m_arrMessageAlerts.push_back(std::move(pAlert));
  m_pMessageAlertList->InsertRow(0, m_arrMessageAlerts.back().get());
  CountNewAlert(kMessageAlertTab, false);
  m_pMessageAlertList->viewport()->update();
  AnnounceNewAlerts();
}

// Captions and the sound follow once per turn of the event loop, however many alerts came in
// it: a storm of alerts would otherwise lay the tabs and the title out again for each.
void COrvaneWatchDocAlerts::AnnounceNewAlerts() {
  if (std::exchange(m_bAnnouncePending, true)) return;
  QMetaObject::invokeMethod(
      this,
      [this] {
        m_bAnnouncePending = false;
        ShowUnseenCounts();
        if (std::exchange(m_bAlertsSinceRepaint, false) && m_bBeep) m_fnBeep();
      },
      Qt::QueuedConnection);
}

void COrvaneWatchDocAlerts::CountNewAlert(int nTab, bool bWasUnseen) {
  if (!bWasUnseen) ++m_arrUnseen[static_cast<size_t>(nTab)];
  m_bAlertsSinceRepaint = true;
}

void COrvaneWatchDocAlerts::MarkSelectedSeen(int nTab) {
  const CFilterListCtrl& list = nTab == kAlertTab ? *m_pAlertList : *m_pMessageAlertList;
  int& nUnseen = m_arrUnseen[static_cast<size_t>(nTab)];
  for (const int32_t nRow : list.GetSelectedRows()) {
    void* pRecord = const_cast<void*>(list.GetStore().GetRecord(nRow));
    if (pRecord == nullptr) continue;
    bool& bSeen = nTab == kAlertTab ? static_cast<RaisedAlert*>(pRecord)->bSeen
                                    : static_cast<sMessageAlert*>(pRecord)->bSeen;
    if (!std::exchange(bSeen, true)) --nUnseen;
  }
  ShowUnseenCounts();
}

void COrvaneWatchDocAlerts::AcknowledgeAlerts() {
  if (m_pTabs->currentIndex() == kMessageAlertTab) {
    for (const auto& pAlert : m_arrMessageAlerts) pAlert->bSeen = true;
  } else {
    for (const auto& pAlert : m_arrRaisedAlerts) pAlert->bSeen = true;
  }
  m_arrUnseen[static_cast<size_t>(m_pTabs->currentIndex())] = 0;
  GetSelectedList().viewport()->update();
  ShowUnseenCounts();
}

void COrvaneWatchDocAlerts::ShowUnseenCounts() {
  // Set only when changed: a tab bar lays all its tabs out again for every new text.
  for (const int nTab : {kAlertTab, kMessageAlertTab}) {
    const QString strText = AddUnseenCount(kTabCaptions[nTab], m_arrUnseen[static_cast<size_t>(nTab)], true);
    if (m_pTabs->tabText(nTab) != strText) m_pTabs->setTabText(nTab, strText);
  }
  const QString strTitle = AddUnseenCount(kWindowCaption, m_arrUnseen[0] + m_arrUnseen[1], false);
  if (windowTitle() != strTitle) setWindowTitle(strTitle);
}

bool COrvaneWatchDocAlerts::ShowAlertEntity(const RaisedAlert& alert) {
  COrvaneWatchDlgBar* pBar = m_controller.GetWatchBar(alert.nWindow);
  return pBar != nullptr && pBar->SelectEntity(alert.strClientId, alert.strLevel);
}

void COrvaneWatchDocAlerts::SetBeep(bool bOn) {
  m_bBeep = bOn;
  std::string strValue = bOn ? "1" : "0";
  AccessKeySetting(kSettingWrite, kAlertListName, kBeepKey, strValue, kSettingsFileName);
}

CFilterListCtrl& COrvaneWatchDocAlerts::GetSelectedList() const {
  return m_pTabs->currentIndex() == kMessageAlertTab ? *m_pMessageAlertList : *m_pAlertList;
}

std::vector<sWatchMenuEntry> COrvaneWatchDocAlerts::GetMenuEntries() const {
  sWatchMenuState state;
  state.nWatchCount = g_pluginContext.watchCount;
  for (int nWindow = 1; nWindow <= kWatchWindowCount; ++nWindow) {
    if (const COrvaneWatchDlgBar* pBar = m_controller.GetWatchBar(nWindow))
      state.arrTitles[static_cast<size_t>(nWindow - 1)] = pBar->windowTitle().toStdString();
  }
  state.bAlertBeep = m_bBeep;
  return GetAlertsMenuEntries(state);
}

bool COrvaneWatchDocAlerts::OnCommand(int32_t nCommand) {
  if (nCommand == kCmdClearAll) {
    ClearSelectedList();
    return true;
  }
  if (nCommand == kCmdAcknowledgeAlerts) {
    AcknowledgeAlerts();
    return true;
  }
  if (nCommand == kCmdAlertBeep) {
    SetBeep(!m_bBeep);
    return true;
  }
  // The menu offers the watch windows only, not this window itself.
  const int nToggleIndex = GetToggleIndex(nCommand);
  if (nToggleIndex >= 0 && nCommand != kCmdToggleAlerts) {
    m_controller.ToggleWindow(nToggleIndex);
    return true;
  }
  return ForwardListCommand(GetSelectedList(), nCommand);
}

bool COrvaneWatchDocAlerts::eventFilter(QObject* pWatched, QEvent* pEvent) {
  if (pWatched == m_pContent && pEvent->type() == QEvent::Resize) LayoutControls();
  return QDockWidget::eventFilter(pWatched, pEvent);
}

void COrvaneWatchDocAlerts::ShowTab(int nTab) {
  m_pAlertList->setVisible(nTab == kAlertTab);
  m_pMessageAlertList->setVisible(nTab == kMessageAlertTab);
  m_pTabs->setCurrentIndex(nTab);
}

void COrvaneWatchDocAlerts::LayoutControls() {
  const int nWidth = m_pContent->width();
  const int nHeight = m_pContent->height();
  m_pTabs->setGeometry(kTabsLeft, nHeight - kTabsFromBottom, nWidth - kTabsWidthMargin, kTabsHeight);
  const QRect rcList = GetListRect(m_pContent->size(), kListBottomMargin);
  m_pAlertList->setGeometry(rcList);
  m_pMessageAlertList->setGeometry(rcList);
}

void COrvaneWatchDocAlerts::ShowContextMenu(const QPoint& ptGlobal) {
  const std::unique_ptr<QMenu> pMenu =
      CreateWatchMenu(GetMenuEntries(), this, [this](int32_t nCommand) { OnCommand(nCommand); });
  pMenu->exec(ptGlobal);
}

void COrvaneWatchDocAlerts::ClearSelectedList() {
  // Rows first, then the records they point at.
  if (m_pTabs->currentIndex() == kMessageAlertTab) {
    m_pMessageAlertList->DeleteAllRows();
    m_arrMessageAlerts.clear();
  } else {
    m_pAlertList->DeleteAllRows();
    m_mapRaisedAlerts.clear();
    m_arrRaisedAlerts.clear();
  }
  m_arrUnseen[static_cast<size_t>(m_pTabs->currentIndex())] = 0;
  ShowUnseenCounts();
}
