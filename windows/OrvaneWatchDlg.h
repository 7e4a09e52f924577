// The controller that ties the plug-in together: it owns the docked windows, the records and
// the link to the risk server, and feeds what the server sends into the watch lists. It has
// no window of its own.
#pragma once

#include <QPointer>
#include <array>
#include <cstdint>
#include <memory>

#include "host/api/HalvoHostApi.h"
#include "link/RmsLink.h"
#include "link/RmsReceiver.h"
#include "link/RmsRequests.h"
#include "model/CallStatusEntry.h"

class CCallHistory;
class CCustomAlertSettingDlg;
class CNewCallStatus;
class COrvaneWatchDlgBar;
class COrvaneWatchDocAlerts;
class QMainWindow;
class QTimer;

inline constexpr int32_t kFirstWatchWindowId = 990;
inline constexpr int32_t kAlertsWindowId = 995;

class COrvaneWatchDlg : public CRmsMessageHandler, public CRmsReceiverHost, public CCallStatusSink {
 public:
  COrvaneWatchDlg();
  virtual ~COrvaneWatchDlg();
  COrvaneWatchDlg(const COrvaneWatchDlg&) = delete;
  COrvaneWatchDlg& operator=(const COrvaneWatchDlg&) = delete;

  // Creates the missing windows inside the host's main frame, hands them to the frame, opens
  // the link once and sends the first requests. False when there is no frame.
  bool CreateWatchWindows();
  // Shows a hidden window or hides a shown one: 0 to 2 watch windows 2 to 4, 3 watch window 1,
  // 4 the alerts window. False when there is no frame.
  bool ToggleWindow(int nIndex);
  // Releases the records and stores the watch windows' titles. Nothing without a main frame.
  void SaveAndRelease();
  // Gives the receive controls back to the host; false when it cannot take them (the caller
  // then stops its shutdown). True when no link was opened.
  bool CloseLink();
  // Destroys every docked window this controller created and the shared dialogs.
  void DestroyWindows();

  // Watch window nWindow (1 to 4) or the alerts window; null when it does not exist.
  COrvaneWatchDlgBar* GetWatchBar(int nWindow) const;
  COrvaneWatchDocAlerts* GetAlertsWindow() const { return m_pAlerts; }
  const RmsLink* GetLink() const { return m_pRmsLink.get(); }
  CRmsRequests& GetRequests() { return m_requests; }

  // The dialogs every window shares, made on first use over the main frame.
  CCustomAlertSettingDlg& GetCustomAlertDialog();
  CNewCallStatus& GetCallStatusDialog();
  CCallHistory& GetCallHistory();
  bool HasCallHistory() const;

  void OnRmsResponse(OTP_MSG hMsg) override;
  void OnRmsPublish(OTP_MSG hMsg) override;

  CWatchListTarget* GetWatchList(int nWindow) override;
  void CheckCustomAlerts(const CRmsDetails& record, const char* szListKey) override;
  // Checks the rules of a list against the records on its page (every record it holds with
  // "Alerts on Every Row"), as after a change of each.
  void CheckListedAlerts(const std::string& strListKey);
  bool IsDealerOrClientListed(std::string_view strId) const override;
  void AddMessageAlert(std::unique_ptr<sMessageAlert> pAlert) override;
  void ReportLinkFailure(eLinkFailure eFailure) override;
  // A call status from the server: the top row of the call history, made hidden if needed.
  void InsertCallStatus(std::unique_ptr<sCallStatusEntry> pEntry) override;

  // Every docked window the controller created, with its window id; handed to the frame.
  CDockedWindowTable m_mapBars;

 private:
  // Enters a created window into the table and docks it at the top of the frame.
  void DockWindow(QMainWindow* pFrame, QDockWidget* pBar, int32_t nId);
  void ShareFrameWidth(QMainWindow* pFrame) const;
  void ApplyStartVisibility();
  // Asks the terminal for the link's session, every second: a new one has records asked for again.
  void FollowLinkSession();

  std::array<COrvaneWatchDlgBar*, 4> m_arrWatchBars{};
  COrvaneWatchDocAlerts* m_pAlerts = nullptr;
  std::unique_ptr<RmsLink> m_pRmsLink;
  CRmsRequests m_requests;
  CRmsReceiver m_receiver;
  // Top-level dialogs owned by the frame, so they never outlive the window system.
  QPointer<CCustomAlertSettingDlg> m_pCustomAlertDlg;
  QPointer<CNewCallStatus> m_pCallStatusDlg;
  QPointer<CCallHistory> m_pCallHistory;
  QPointer<QTimer> m_pSessionTimer;  // owned by the frame
  PFN_pu_get_LinkStatus m_pfnLinkStatus = nullptr;
};

// The one controller, constructed when the library is loaded.
extern COrvaneWatchDlg g_dlgOrvaneWatch;

// Shows the message box of a failure on the link; nothing for kNone.
void ShowLinkFailure(eLinkFailure eFailure);
