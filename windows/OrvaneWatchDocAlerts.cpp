#include "windows/OrvaneWatchDocAlerts.h"

#include <QEvent>
#include <QMenu>
#include <QTabBar>
#include <algorithm>
#include <span>

#include "lists/CellText.h"
#include "lists/widgets/FilterListCtrl.h"
#include "plugin/PluginContext.h"
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
  pList->SetCellTextFn(MakeCellTextFn(pfnGetText));
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
    : QDockWidget(QStringLiteral("Orvane Watch Alerts"), pParent),
      m_controller(controller),
      m_pContent(new QWidget(this)),
      m_pTabs(new QTabBar(m_pContent)),
      m_pAlertList(CreateAlertList(m_pContent, kAlertListControlId, kAlertListName, GetAlertListColumns(),
                                   &GetRaisedAlertCellText)),
      m_pMessageAlertList(CreateAlertList(m_pContent, kMessageAlertListControlId, kMessageAlertListName,
                                          GetMessageAlertColumns(), &GetMessageAlertCellText)) {
  // The frame restores its dock layout by object name.
  setObjectName(QStringLiteral("OrvaneWatchAlerts"));
  m_pTabs->setObjectName(QStringLiteral("OrvaneAlertTabs"));
  m_pTabs->setProperty("controlId", kAlertTabsControlId);
  m_pTabs->setShape(QTabBar::RoundedSouth);
  m_pTabs->addTab(QStringLiteral("Orvane Alerts"));
  m_pTabs->addTab(QStringLiteral("Message Alerts"));
  ShowTab(kAlertTab);
  QObject::connect(m_pTabs, &QTabBar::currentChanged, this, [this](int nTab) { ShowTab(nTab); });

  for (CFilterListCtrl* pList : {m_pAlertList, m_pMessageAlertList})
    QObject::connect(pList, &CCommonListCtrl::RightClicked, this,
                     [this](const QPoint& ptGlobal) { ShowContextMenu(ptGlobal); });

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
    *itRow->second = std::move(*pAlert);
    return;
  }
  m_arrRaisedAlerts.push_back(std::move(pAlert));
  // Position 0 appends.
  m_pAlertList->InsertRow(0, m_arrRaisedAlerts.back().get());
}

void COrvaneWatchDocAlerts::RepaintAlertList() { m_pAlertList->viewport()->update(); }

void COrvaneWatchDocAlerts::AddMessageAlert(std::unique_ptr<sMessageAlert> pAlert) {
  if (pAlert == nullptr) return;
  m_arrMessageAlerts.push_back(std::move(pAlert));
  m_pMessageAlertList->InsertRow(0, m_arrMessageAlerts.back().get());
  m_pMessageAlertList->viewport()->update();
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
  return GetAlertsMenuEntries(state);
}

bool COrvaneWatchDocAlerts::OnCommand(int32_t nCommand) {
  if (nCommand == kCmdClearAll) {
    ClearSelectedList();
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
}
