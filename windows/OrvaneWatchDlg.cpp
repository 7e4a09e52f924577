#include "windows/OrvaneWatchDlg.h"

#include <QMainWindow>
#include <QMetaObject>
#include <QTimer>

#include "lists/widgets/FilterListCtrl.h"
#include "model/RmsDetails.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "platform/qt/MainFrame.h"
#include "platform/qt/WindowMessage.h"
#include "plugin/HostServices.h"
#include "plugin/PluginContext.h"
#include "windows/CallHistoryDlg.h"
#include "windows/CustomAlertRules.h"
#include "windows/CustomAlertSettingDlg.h"
#include "windows/NewCallStatusDlg.h"
#include "windows/OrvaneWatchDlgBar.h"
#include "windows/OrvaneWatchDocAlerts.h"
#include "windows/WatchTitles.h"

COrvaneWatchDlg g_dlgOrvaneWatch;

void ShowLinkFailure(eLinkFailure eFailure) {
  if (eFailure != eLinkFailure::kNone) ShowMessageBox(FormatLinkFailure(eFailure));
}

namespace {

// How often the terminal is asked whether the link began a new session.
constexpr int kSessionCheckMs = 1000;

COrvaneWatchDlgBar* CreateWatchBar(COrvaneWatchDlg& controller, int nWindow, QMainWindow* pFrame) {
  const QString strTitle = QString::fromStdString(ReadWatchTitle(nWindow));
  switch (nWindow) {
    case 1:
      return new COrvaneWatchDlgBar(controller, strTitle, pFrame);
    case 2:
      return new COrvaneWatchDlgBar2(controller, strTitle, pFrame);
    case 3:
      return new COrvaneWatchDlgBar3(controller, strTitle, pFrame);
    default:
      return new COrvaneWatchDlgBar4(controller, strTitle, pFrame);
  }
}

void ShowWithoutActivating(QDockWidget* pBar) {
  pBar->setAttribute(Qt::WA_ShowWithoutActivating);
  pBar->show();
}

}  // namespace

COrvaneWatchDlg::COrvaneWatchDlg()
    : m_requests(nullptr, g_pluginContext.userId), m_receiver(*this, m_requests, g_mapRmsDetails) {}

// The windows and dialogs belong to the frame as their parent; they are destroyed at shutdown
// or with the frame, not here.
COrvaneWatchDlg::~COrvaneWatchDlg() = default;

bool COrvaneWatchDlg::CreateWatchWindows() {
  QMainWindow* pFrame = GetMainFrame();
  if (pFrame == nullptr) return false;
  GetCustomAlertDialog();
  SetCallStatusSink(this);

  for (int nWindow = 1; nWindow <= kWatchWindowCount && g_pluginContext.watchCount >= nWindow; ++nWindow) {
    COrvaneWatchDlgBar*& pBar = m_arrWatchBars[static_cast<size_t>(nWindow - 1)];
    if (pBar != nullptr) continue;
    pBar = CreateWatchBar(*this, nWindow, pFrame);
    DockWindow(pFrame, pBar, kFirstWatchWindowId + nWindow);
    m_pCustomAlertDlg->PopulateAlertSettings(pBar->GetList(), pBar->GetAlertListKey());
  }
  if (m_pAlerts == nullptr) {
    m_pAlerts = new COrvaneWatchDocAlerts(*this, pFrame);
    DockWindow(pFrame, m_pAlerts, kAlertsWindowId);
  }
  ShareFrameWidth(pFrame);

  SendWindowMessage(pFrame, kMsgDockedWindows, reinterpret_cast<uintptr_t>(&m_mapBars), 0);
  ApplyStartVisibility();

  if (m_pRmsLink == nullptr) {
    std::vector<eLinkFailure> arrFailures;
    m_pRmsLink = OpenRmsLink(*this, arrFailures);
    for (const eLinkFailure eFailure : arrFailures) ShowLinkFailure(eFailure);
    m_requests.SetLink(m_pRmsLink.get());
  }
  // A terminal without the service has no sessions to follow.
  m_pfnLinkStatus = FindLinkStatusService();
  if (m_pfnLinkStatus != nullptr && m_pSessionTimer == nullptr) {
    m_pSessionTimer = new QTimer(pFrame);
    QObject::connect(m_pSessionTimer, &QTimer::timeout, [this] { FollowLinkSession(); });
    m_pSessionTimer->start(kSessionCheckMs);
  }
  ShowLinkFailure(m_requests.RequestUserPeerData());
  ShowLinkFailure(m_receiver.RequestTree());
  ShowLinkFailure(m_requests.RequestRoth());
  ShowLinkFailure(m_requests.RequestAlertTree());
  return true;
}

void COrvaneWatchDlg::DockWindow(QMainWindow* pFrame, QDockWidget* pBar, int32_t nId) {
  m_mapBars[pBar] = nId;
  pBar->setAllowedAreas(Qt::AllDockWidgetAreas);
  pFrame->addDockWidget(Qt::TopDockWidgetArea, pBar);
  ShowWithoutActivating(pBar);
}

void COrvaneWatchDlg::ShareFrameWidth(QMainWindow* pFrame) const {
  // Docked side by side, the windows start equally wide; a layout the frame restores later
  // replaces this.
  QList<QDockWidget*> arrBars;
  for (COrvaneWatchDlgBar* pBar : m_arrWatchBars) {
    if (pBar != nullptr) arrBars.append(pBar);
  }
  if (m_pAlerts != nullptr) arrBars.append(m_pAlerts);
  const int nWidth = std::max(1, pFrame->width() / std::max<int>(1, static_cast<int>(arrBars.size())));
  pFrame->resizeDocks(arrBars, QList<int>(arrBars.size(), nWidth), Qt::Horizontal);
}

void COrvaneWatchDlg::ApplyStartVisibility() {
  // The frame may have restored a layout in which every window is closed; then all are shown
  // so the user is not left without a way back. Docks here have no auto-hide mode.
  bool bAnyShown = false;
  for (const auto& [pBar, nId] : m_mapBars) bAnyShown = bAnyShown || !pBar->isHidden();
  for (const auto& [pBar, nId] : m_mapBars) {
    if (!bAnyShown || !pBar->isHidden()) ShowWithoutActivating(pBar);
  }
}

COrvaneWatchDlgBar* COrvaneWatchDlg::GetWatchBar(int nWindow) const {
  if (nWindow < 1 || nWindow > kWatchWindowCount) return nullptr;
  return m_arrWatchBars[static_cast<size_t>(nWindow - 1)];
}

bool COrvaneWatchDlg::ToggleWindow(int nIndex) {
  if (GetMainFrame() == nullptr) return false;
  QDockWidget* pBar = nullptr;
  if (nIndex >= 0 && nIndex <= 2) {
    pBar = GetWatchBar(nIndex + 2);
  } else if (nIndex == 3) {
    pBar = GetWatchBar(1);
  } else if (nIndex == 4) {
    pBar = m_pAlerts;
  }
  if (pBar != nullptr) {
    pBar->setAttribute(Qt::WA_ShowWithoutActivating);
    pBar->setVisible(pBar->isHidden());
  }
  return true;
}

void COrvaneWatchDlg::SaveAndRelease() {
  QMainWindow* pFrame = GetMainFrame();
  if (pFrame == nullptr) return;
  GetCustomAlertDialog().SaveAlertSettings();

  // The rows keep pointing at the deleted records until the windows go; the lists stop
  // painting so nothing reads them in between (a message box of the shutdown runs the loop).
  for (COrvaneWatchDlgBar* pBar : m_arrWatchBars) {
    if (pBar != nullptr) pBar->GetList().setUpdatesEnabled(false);
  }
  g_mapRmsDetails.clear();
  for (COrvaneWatchDlgBar* pBar : m_arrWatchBars) {
    if (pBar != nullptr) WriteWatchTitle(pBar->GetList().GetProfileName(), pBar->windowTitle().toStdString());
  }

  // The frame's closing operation: it keeps the dock layout the user arranged (version 0).
  // A frame without it simply has nothing to keep.
  const QByteArray strSignature = QByteArray(kFrameSaveLayoutMethod) + "(int)";
  if (pFrame->metaObject()->indexOfMethod(strSignature.constData()) >= 0)
    QMetaObject::invokeMethod(pFrame, kFrameSaveLayoutMethod, Qt::DirectConnection, Q_ARG(int, 0));
}

bool COrvaneWatchDlg::CloseLink() {
  const eLinkFailure eFailure = m_pRmsLink != nullptr ? CloseRmsLinkControls(*m_pRmsLink) : eLinkFailure::kNone;
  ShowLinkFailure(eFailure);
  return eFailure == eLinkFailure::kNone;
}

void COrvaneWatchDlg::FollowLinkSession() {
  sHalvoLinkStatus status{};
  if (m_pfnLinkStatus == nullptr || m_pfnLinkStatus(&status) == 0) return;
  m_receiver.FollowLinkSession(status.nSession);
  for (COrvaneWatchDlgBar* pBar : m_arrWatchBars) {
    if (pBar != nullptr) pBar->ShowLinkStatus(status);
  }
}

void COrvaneWatchDlg::DestroyWindows() {
  delete m_pSessionTimer;
  // Each dock leaves the frame's layout (and the frame adjusts) before it is deleted: its lists
  // save their settings from their destructors, and a failure box runs an event loop in which
  // the frame would otherwise lay out a dock whose children are half destroyed.
  QMainWindow* pFrame = GetMainFrame();
  for (auto& [pBar, nId] : m_mapBars) {
    if (pFrame != nullptr) pFrame->removeDockWidget(pBar);
    delete pBar;
  }
  m_mapBars.clear();
  m_arrWatchBars.fill(nullptr);
  m_pAlerts = nullptr;
  SetCallStatusSink(nullptr);
  delete m_pCustomAlertDlg;
  delete m_pCallStatusDlg;
  delete m_pCallHistory;
}

CCustomAlertSettingDlg& COrvaneWatchDlg::GetCustomAlertDialog() {
  if (m_pCustomAlertDlg == nullptr) {
    m_pCustomAlertDlg = new CCustomAlertSettingDlg(GetMainFrame());
    m_pCustomAlertDlg->SetRuleSetFn([this](const std::string& strListKey) { CheckListedAlerts(strListKey); });
  }
  return *m_pCustomAlertDlg;
}

void COrvaneWatchDlg::CheckListedAlerts(const std::string& strListKey) {
  for (COrvaneWatchDlgBar* pBar : m_arrWatchBars) {
    if (pBar == nullptr || pBar->GetAlertListKey() != strListKey) continue;
    const CFilterListCtrl& list = pBar->GetList();
    const CFilterListStore& store = list.GetStore();
    // Each row's record is read afresh: a check may show a box, during which rows may change.
    if (list.IsAlertsOnEveryRow()) {
      for (int32_t nIndex = 0; nIndex < store.GetStoreCount(); ++nIndex) {
        if (const void* pRecord = store.GetStoreRecord(nIndex))
          CheckCustomAlerts(*static_cast<const CRmsDetails*>(pRecord), strListKey.c_str());
      }
      return;
    }
    int32_t nFirst = 0;
    int32_t nLast = -1;
    if (!list.GetVisibleRows(nFirst, nLast)) return;
    for (int32_t nRow = nFirst; nRow <= nLast; ++nRow) {
      if (const void* pRecord = store.GetRecord(nRow))
        CheckCustomAlerts(*static_cast<const CRmsDetails*>(pRecord), strListKey.c_str());
    }
    return;
  }
}

CNewCallStatus& COrvaneWatchDlg::GetCallStatusDialog() {
  if (m_pCallStatusDlg == nullptr) m_pCallStatusDlg = new CNewCallStatus(GetMainFrame());
  return *m_pCallStatusDlg;
}

CCallHistory& COrvaneWatchDlg::GetCallHistory() {
  if (m_pCallHistory == nullptr) m_pCallHistory = new CCallHistory(GetMainFrame());
  return *m_pCallHistory;
}

bool COrvaneWatchDlg::HasCallHistory() const { return !m_pCallHistory.isNull(); }

void COrvaneWatchDlg::InsertCallStatus(std::unique_ptr<sCallStatusEntry> pEntry) {
  GetCallHistory().AddEntry(std::move(pEntry));
}

void COrvaneWatchDlg::OnRmsResponse(OTP_MSG hMsg) { m_receiver.OnResponse(hMsg); }

void COrvaneWatchDlg::OnRmsPublish(OTP_MSG hMsg) { m_receiver.OnPublish(hMsg); }

CWatchListTarget* COrvaneWatchDlg::GetWatchList(int nWindow) { return GetWatchBar(nWindow); }

// Runs for every new or visibly changed row (every changed row of a list with "Alerts on Every
// Row"), so a list without a rule that can fire costs one lookup. Each custom column's rule
// compares that column's text: a rule is keyed by its column's name, which follows the column
// wherever a deletion or a load puts it, while the number stored with the rule may name
// another column by then.
void COrvaneWatchDlg::CheckCustomAlerts(const CRmsDetails& record, const char* szListKey) {
  if (m_pCustomAlertDlg == nullptr || m_pAlerts == nullptr) return;
  const CCustomAlertRules& rules = m_pCustomAlertDlg->GetRules();
  const std::string_view strListKey(szListKey);
  if (!rules.HasLiveRules(strListKey)) return;
  COrvaneWatchDlgBar* pBar = nullptr;
  for (COrvaneWatchDlgBar* pCandidate : m_arrWatchBars) {
    if (pCandidate != nullptr && pCandidate->GetAlertListKey() == strListKey) pBar = pCandidate;
  }
  if (pBar == nullptr) return;

  CFilterListCtrl& list = pBar->GetList();
  const CListLayout& layout = list.GetLayout();
  std::string strKey;
  std::string strTime;
  sCellText cell;
  bool bRaised = false;
  // Computing a cell may show a message box, so the column array is read afresh each time.
  for (int32_t nColumn = layout.m_nCatalogueCount; static_cast<size_t>(nColumn) < layout.m_arrColumns.size();
       ++nColumn) {
    strKey = MakeRuleKey(layout.m_arrColumns[static_cast<size_t>(nColumn)].szName, strListKey);
    const CustomAlertSetting* pRule = rules.Find(strKey);
    if (pRule == nullptr || pRule->IsDeleted()) continue;
    cell.Reset();
    list.GetStore().GetCellText(&record, nColumn, cell);
    if (!DoesRuleFire(*pRule, cell.strText)) continue;

    if (strTime.empty()) strTime = FormatLocalTime(GetClockMicroseconds() / 1000000, "%d/%m/%Y %H:%M:%S");
    auto pAlert = std::make_unique<RaisedAlert>();
    pAlert->strColumnName = strKey.substr(0, strKey.size() - strListKey.size() - 1);
    pAlert->strListName = pBar->windowTitle().toStdString();
    pAlert->strValue = cell.strText;
    pAlert->strClientId = record.GetEntityId();
    pAlert->strTimeStamp = strTime;
    pAlert->strLevel = record.GetLevelText();
    pAlert->nWindow = pBar->GetWindowNumber();
    m_pAlerts->AddRaisedAlert(std::move(pAlert));
    bRaised = true;
  }
  // Only a raised alert changes what the alert list shows.
  if (bRaised) m_pAlerts->RepaintAlertList();
}

bool COrvaneWatchDlg::IsDealerOrClientListed(std::string_view strId) const {
  return m_pCustomAlertDlg != nullptr && m_pCustomAlertDlg->IsDealerOrClientListed(strId);
}

void COrvaneWatchDlg::ReportLinkFailure(eLinkFailure eFailure) { ShowLinkFailure(eFailure); }

void COrvaneWatchDlg::AddMessageAlert(std::unique_ptr<sMessageAlert> pAlert) {
  if (m_pAlerts != nullptr) m_pAlerts->AddMessageAlert(std::move(pAlert));
}
