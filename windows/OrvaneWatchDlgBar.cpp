#include "windows/OrvaneWatchDlgBar.h"

#include <QEvent>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
#include <algorithm>
#include <span>

#include "controls/ColorRef.h"
#include "link/AlertAmount.h"
#include "lists/CellText.h"
#include "lists/widgets/FilterListCtrl.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "plugin/PluginContext.h"
#include "plugin/SettingsAccess.h"
#include "windows/BarDoubleClick.h"
#include "windows/CallEmail.h"
#include "windows/CallHistoryDlg.h"
#include "windows/CustomAlertSettingDlg.h"
#include "windows/DataFreshness.h"
#include "windows/NewCallStatusDlg.h"
#include "windows/OrvaneWatchDlg.h"
#include "windows/SetTitleDlg.h"
#include "windows/WatchCommands.h"
#include "windows/WatchTitles.h"
#include "windows/WindowPlacement.h"

namespace {

constexpr uint32_t kStaleTextColour = MakeColorRef(128, 128, 128);

constexpr int32_t kFirstListControlId = 1230;
constexpr int kListBottomMargin = 15;
// Rows age in steps this many status calls apart; a repaint each second would cost more than
// the few seconds of lateness are worth.
constexpr int kAgeRepaintTicks = 5;

int32_t ReadDimAfterSeconds(const std::string& strSection) {
  std::string strValue;
  const bool bPresent = AccessKeySetting(kSettingRead, strSection, kDimAfterKey, strValue, kSettingsFileName);
  return ParseDimAfterSeconds(strValue, bPresent);
}

bool AreAllSet(std::span<const int32_t> arrColumns) {
  return std::all_of(arrColumns.begin(), arrColumns.end(), [](int32_t nColumn) { return nColumn != -1; });
}

}  // namespace

COrvaneWatchDlgBar::COrvaneWatchDlgBar(COrvaneWatchDlg& controller, int nWindow, const QString& strTitle,
                                       QWidget* pParent)
    : QDockWidget(strTitle, pParent),
      m_controller(controller),
      m_nWindow(nWindow),
      m_strAlertListKey(GetWatchListKey(nWindow)),
      m_pContent(new QWidget(this)),
      m_pList(new CFilterListCtrl(m_pContent)),
      m_pBanner(new QLabel(m_pContent)) {
  // The frame restores its dock layout by object name.
  setObjectName(QStringLiteral("OrvaneWatch%1").arg(nWindow));
  m_pList->SetControlId(kFirstListControlId + nWindow);
  m_pList->GetLayout().LoadColumnTable(GetWatchSectionName(nWindow), GetWatchColumns());
  m_pList->GetLayout().m_nHiddenByDefault = kLastUpdateColumn;
  m_pList->LoadProfile();
  m_pList->SetCellTextFn([this](const void* pRecord, int32_t nColumn, sCellText& cell) {
    const auto* pDetails = static_cast<const CRmsDetails*>(pRecord);
    // Column 0 sets the row's colour: values that are not live are greyed.
    if (nColumn == 0 && pDetails != nullptr && IsRowDimmed(*pDetails))
      cell.nTextColour = static_cast<int32_t>(kStaleTextColour);
    if (nColumn == kLastUpdateColumn) {
      if (pDetails == nullptr) return false;
      cell.strText = FormatRowAge(pDetails->nUpdatedUs, GetClockMicroseconds());
      return true;
    }
    return GetColumnText(pDetails, nColumn, cell.strText) != 0;
  });
  m_pList->SetCellPrefetchFn(MakeCellPrefetchFn(&CRmsDetails::PrefetchCell));
  // "Fit to Data" tells the records' cells by their stored bytes, and a row's age by the time of
  // its newest value, as its cell is made.
  m_pList->SetCellShapesFn([](std::span<const void* const> arrRecords, std::span<const void* const> arrAhead,
                              int32_t nColumn, bool bValues, std::span<sTextShape> arrShapes) {
    if (nColumn != kLastUpdateColumn) {
      CRmsDetails::GetCellShapes(arrRecords, arrAhead, nColumn, bValues, arrShapes);
      return;
    }
    const int64_t nNowUs = GetClockMicroseconds();
    for (size_t i = 0; i < arrRecords.size(); ++i) {
      const auto* pDetails = static_cast<const CRmsDetails*>(arrRecords[i]);
      arrShapes[i] = pDetails != nullptr ? GetRowAgeShape(pDetails->nUpdatedUs, nNowUs) : sTextShape{};
    }
  });
  // Custom columns named in the configuration are drawn red below zero.
  m_pList->SetColouredCustomNames(std::span<const std::string>(
      g_pluginContext.colouredCustomColumns.data(),
      static_cast<size_t>(std::clamp(g_pluginContext.colouredCustomCount, 0, kMaxConfigListEntries))));
  m_pList->SetDataMode(true);
  // Deleting custom columns first names the rules that compare them.
  m_pList->SetAlertRulesFn([this](std::span<const std::string> arrNames) {
    return DescribeLiveRules(m_controller.GetCustomAlertDialog().GetRules(), arrNames, m_strAlertListKey);
  });
  // A new title is kept at once, not only at a clean close.
  QObject::connect(this, &QWidget::windowTitleChanged, this, [this](const QString& strNewTitle) {
    WriteWatchTitle(m_pList->GetProfileName(), strNewTitle.toStdString());
  });
  QObject::connect(m_pList, &CFilterListCtrl::FilterChanged, m_pList, [this](int) { m_pList->Filter(); });
  QObject::connect(m_pList, &CFilterListCtrl::RightClicked, this,
                   [this](const QPoint& ptGlobal) { ShowContextMenu(ptGlobal); });
  // Its options, and the filters and sort it keeps, are in place before the first record.
  m_pList->LoadViewOptions();
  m_nDimAfterSeconds = ReadDimAfterSeconds(m_pList->GetProfileName());
  m_pBanner->setObjectName(QStringLiteral("linkBanner"));
  m_pBanner->setStyleSheet(QStringLiteral("background: #fff3c4; color: #5a4300; padding: 2px 4px;"));
  m_pBanner->hide();
  m_pContent->installEventFilter(this);
  setWidget(m_pContent);
  InstallBarDoubleClick(*this);
}

COrvaneWatchDlgBar::~COrvaneWatchDlgBar() = default;

bool COrvaneWatchDlgBar::eventFilter(QObject* pWatched, QEvent* pEvent) {
  if (pWatched == m_pContent && pEvent->type() == QEvent::Resize) PlaceContent();
  return QDockWidget::eventFilter(pWatched, pEvent);
}

void COrvaneWatchDlgBar::PlaceContent() {
  QRect rcList = GetListRect(m_pContent->size(), kListBottomMargin);
  if (m_bLinkQuiet) {
    const int nHeight = m_pBanner->sizeHint().height();
    m_pBanner->setGeometry(rcList.left(), rcList.top(), rcList.width(), nHeight);
    rcList.setTop(rcList.top() + nHeight);
  }
  m_pList->setGeometry(rcList);
}

void COrvaneWatchDlgBar::ShowLinkStatus(const sHalvoLinkStatus& status) {
  const std::string strBanner = FormatLinkBanner(status);
  const bool bQuiet = !strBanner.empty();
  const bool bChanged = bQuiet != m_bLinkQuiet;
  m_bLinkQuiet = bQuiet;
  m_pBanner->setText(QString::fromStdString(strBanner));
  m_pBanner->setVisible(bQuiet);
  if (bChanged) PlaceContent();
  if (bChanged || ++m_nStatusTicks % kAgeRepaintTicks == 0) m_pList->viewport()->update();
}

bool COrvaneWatchDlgBar::SelectEntity(std::string_view strEntityId, std::string_view strLevelText) {
  const CFilterListStore& store = m_pList->GetStore();
  for (int32_t nRow = 0; nRow < m_pList->GetItemCount(); ++nRow) {
    const auto* pRecord = static_cast<const CRmsDetails*>(store.GetRecord(nRow));
    if (pRecord == nullptr || pRecord->GetEntityId() != strEntityId || pRecord->GetLevelText() != strLevelText)
      continue;
    show();
    raise();
    const QModelIndex index = m_pList->model()->index(nRow, 0);
    m_pList->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_pList->scrollTo(index);
    return true;
  }
  return false;
}

QString COrvaneWatchDlgBar::GetBannerText() const { return m_bLinkQuiet ? m_pBanner->text() : QString(); }

bool COrvaneWatchDlgBar::IsRowDimmed(const CRmsDetails& record) const {
  return m_bLinkQuiet || record.bStale ||
         IsRowAged(record.nUpdatedUs, GetClockMicroseconds(), m_nDimAfterSeconds);
}

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

bool COrvaneWatchDlgBar::IsAlertsOnEveryRow() const { return m_pList->IsAlertsOnEveryRow(); }

std::vector<sWatchMenuEntry> COrvaneWatchDlgBar::GetMenuEntries() const {
  sWatchMenuState state;
  state.nWatchCount = g_pluginContext.watchCount;
  state.bCalcEnabled = g_pluginContext.calcEnabled;
  for (int nWindow = 1; nWindow <= kWatchWindowCount; ++nWindow) {
    const COrvaneWatchDlgBar* pBar = m_controller.GetWatchBar(nWindow);
    state.arrTitles[static_cast<size_t>(nWindow - 1)] =
        pBar != nullptr ? pBar->windowTitle().toStdString() : GetDefaultWatchTitle(nWindow);
  }
  const std::span<const int32_t> arrAmountColumns = m_pList->GetLayout().m_arrCallAmountColumns;
  state.bMarginCallColumns = AreAllSet(arrAmountColumns.subspan(0, 3));
  state.bObligationCallColumns = AreAllSet(arrAmountColumns.subspan(3, 3));
  return GetWatchBarMenuEntries(m_nWindow, state);
}

void COrvaneWatchDlgBar::ShowContextMenu(const QPoint& ptGlobal) {
  const std::vector<sWatchMenuEntry> arrEntries = GetMenuEntries();
  const std::unique_ptr<QMenu> pMenu =
      CreateWatchMenu(arrEntries, this, [this](int32_t nCommand) { OnCommand(nCommand); });
  pMenu->exec(ptGlobal);
}

std::vector<const CRmsDetails*> COrvaneWatchDlgBar::GetSelectedRecords() const {
  std::vector<const CRmsDetails*> arrRecords;
  const CFilterListStore& store = m_pList->GetStore();
  for (const int32_t nRow : m_pList->GetSelectedRows()) {
    if (const void* pRecord = store.GetRecord(nRow))
      arrRecords.push_back(static_cast<const CRmsDetails*>(pRecord));
  }
  return arrRecords;
}

bool COrvaneWatchDlgBar::OnCommand(int32_t nCommand) {
  if (const int nIndex = GetToggleIndex(nCommand); nIndex >= 0) {
    m_controller.ToggleWindow(nIndex);
    return true;
  }
  switch (nCommand) {
    case kCmdChangeTitle:
      OpenTitleDialog();
      return true;
    case kCmdCustomAlertSetting:
      OpenCustomAlertSetting();
      return true;
    case kCmdRefresh:
      RefreshFirstSelected();
      return true;
    case kCmdSendSms:
      SendManualAlerts(kAlertSms);
      return true;
    case kCmdSendEmail:
      SendManualAlerts(kAlertMail);
      return true;
    case kCmdSendSmsAndEmail:
      SendManualAlerts(kAlertSmsAndMail);
      return true;
    case kCmdObligationCallEmail:
      SendCallEmails(kCallObligation);
      return true;
    case kCmdMarginCallEmail:
      SendCallEmails(kCallMargin);
      return true;
    case kCmdNewObligationCall:
      SetCallStatus(kCallObligation);
      return true;
    case kCmdNewMarginCall:
      SetCallStatus(kCallMargin);
      return true;
    case kCmdCallHistory:
      ShowCentredOn(m_controller.GetCallHistory(), this);
      return true;
    default:
      return ForwardListCommand(*m_pList, nCommand);
  }
}

void COrvaneWatchDlgBar::OpenTitleDialog() {
  if (m_pTitleDlg == nullptr) m_pTitleDlg = std::make_unique<CSetTitleDlg>();
  m_pTitleDlg->adjustSize();
  ShowCentredOn(*m_pTitleDlg, this);
  m_pTitleDlg->PrepareFor(this, GetViewName());
}

void COrvaneWatchDlgBar::OpenCustomAlertSetting() {
  CCustomAlertSettingDlg& dialog = m_controller.GetCustomAlertDialog();
  dialog.show();
  dialog.raise();
  dialog.PopulateAlertSettings(*m_pList, m_strAlertListKey);
  dialog.ClearRuleFields();
}

void COrvaneWatchDlgBar::RefreshFirstSelected() {
  const std::vector<const CRmsDetails*> arrRecords = GetSelectedRecords();
  if (arrRecords.empty()) return;
  ShowLinkFailure(m_controller.GetRequests().RequestPresentValues(arrRecords.front()->GetEntityId(),
                                                                  arrRecords.front()->GetLevelText()));
}

void COrvaneWatchDlgBar::SendManualAlerts(int nKind) {
  std::string strResult;
  for (const CRmsDetails* pRecord : GetSelectedRecords()) {
    const double dAmount = ComputeAlertAmount(m_pList->GetLayout(), *pRecord, g_pluginContext.calcFormula);
    ShowLinkFailure(m_controller.GetRequests().SendManualAlert(*pRecord, dAmount, nKind, strResult));
  }
  ShowMessageBox(strResult);
}

void COrvaneWatchDlgBar::SendCallEmails(int nKind) {
  for (const CRmsDetails* pRecord : GetSelectedRecords())
    ComposeCallEmail(m_pList->GetStore(), m_pList->GetLayout(), *pRecord, nKind);
}

void COrvaneWatchDlgBar::SetCallStatus(int nKind) {
  CNewCallStatus& dialog = m_controller.GetCallStatusDialog();
  dialog.SetCallKind(nKind);
  dialog.SetOwner(this);
  if (!dialog.RunModal() || dialog.GetChosenStatus().empty()) return;
  // One time for every entity of this setting.
  const std::string strTime =
      FormatLocalTime(static_cast<time_t>(GetClockMicroseconds() / 1000000), "%d/%m/%Y %I:%M:%S %p");
  const std::string strStatus = dialog.GetChosenStatus();
  for (const CRmsDetails* pRecord : GetSelectedRecords())
    ShowLinkFailure(m_controller.GetRequests().PublishCallStatus(*pRecord, strStatus, strTime, nKind));
}
