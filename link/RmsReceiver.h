// Turns the risk server's responses and publications into records in the record map, rows of
// the watch lists and rows of the alerts window.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>

#include "connect/include/connecthalvo.h"
#include "link/RmsRequests.h"
#include "model/AuxiliaryLists.h"
#include "model/RmsDetails.h"
#include "protocol/RmsProtocol.h"

// A watch list as the receiver feeds it. Rows refer to records without owning them.
class CWatchListTarget {
 public:
  // Appends a row for the record at the end of the list and repaints.
  virtual void AppendRecordRow(CRmsDetails* pRecord) = 0;
  // Deletes the first row from the top that refers to the record and repaints.
  virtual void DeleteRecordRow(const CRmsDetails* pRecord) = 0;
  // Repaints the record's row when it is among the rows currently visible; true when it was.
  virtual bool RefreshVisibleRecordRow(const CRmsDetails* pRecord) = 0;
  // Whether a changed record is checked against the alert rules visible or not.
  virtual bool IsAlertsOnEveryRow() const { return false; }

 protected:
  ~CWatchListTarget() = default;
};

// What the receiver needs from the controller and its windows.
class CRmsReceiverHost {
 public:
  // Watch window nWindow's list (1 to 4); null when the window or its list does not exist.
  virtual CWatchListTarget* GetWatchList(int nWindow) = 0;
  // Passes a new or visibly changed record (any changed one for a list with alerts on every
  // row) to the custom-alert rules of a list ("list1" ...).
  virtual void CheckCustomAlerts(const CRmsDetails& record, const char* szListKey) = 0;
  // Whether the id is an entry of the dealer and client list (whole entry, any letter case).
  virtual bool IsDealerOrClientListed(std::string_view strId) const = 0;
  // Appends a message alert to the alerts window's message-alert list and repaints.
  virtual void AddMessageAlert(std::unique_ptr<sMessageAlert> pAlert) = 0;
  // Tells the user what failed: a fatal status, or a request the receiver sent itself.
  virtual void ReportLinkFailure(eLinkFailure eFailure) = 0;

 protected:
  ~CRmsReceiverHost() = default;
};

class CRmsReceiver {
 public:
  CRmsReceiver(CRmsReceiverHost& host, CRmsRequests& requests, RmsDetailsMap& mapRecords)
      : m_host(host), m_requests(requests), m_mapRecords(mapRecords) {}

  void OnResponse(OTP_MSG hMsg);
  void OnPublish(OTP_MSG hMsg);

  // 5 (success) when the response carries no status, 1 when it cannot be read, else its
  // value; 0 is reported to the host as kFatalStatus and gives 1.
  int32_t CheckStatus(OTP_MSG hMsg);
  void HandleRmsRecord(OTP_MSG hMsg, bool bFromResponse);
  void HandleMessageAlert(OTP_MSG hMsg);

  const std::string& GetPeerData() const { return m_strPeerData; }

  // Told the link's session now and then (0 before the first). The start-up requests go over
  // the first session (sent before the link was ever connected, they wait for it), so any later
  // one means the link was lost, even when it is the first one seen: whatever the server
  // published meanwhile is gone, so every record is asked for again, and the records the new
  // answer leaves out are marked stale when it is complete. The call statuses and the manual
  // alerts are asked for again only when their list had not ended.
  void FollowLinkSession(uint32_t nSession);
  // Asks for the tree of records. Until its answer ends, what publications bring meanwhile is
  // newer than the answer's records: a piece of the answer composed before a change, or
  // overtaken by the change on the other socket or in the hand-over, never sets a value back
  // or brings a deleted record back.
  eLinkFailure RequestTree();

 private:
  // Screening by the user's category; false when the message is not for this user.
  bool PassesScreening(OTP_MSG hMsg, std::string_view strEntityId) const;
  // Fills the working record by the publication name; false when the message is to be ignored.
  bool FillWorkingRecord(OTP_MSG hMsg, std::string_view strName, bool bFromResponse,
                         const CRmsDetails* pStored);
  void PushToWatchLists(CRmsDetails* pRecord, bool bNew, bool bDeleted);
  // After a complete tree answer that followed a lost link: marks the records it left out.
  void MarkUnrefreshedStale();
  void ReportFailure(eLinkFailure eFailure);

  CRmsReceiverHost& m_host;
  CRmsRequests& m_requests;
  RmsDetailsMap& m_mapRecords;
  std::string m_strPeerData;
  // Reused for every message, so its text block is allocated once.
  CRmsDetails m_working;
  std::string m_strKey;  // the key of the record in hand; its buffer is reused
  uint32_t m_nSession = 1;  // the latest session seen, the first one until a later comes
  // While the tree is asked for again: the records its answer brought so far.
  bool m_bRefreshing = false;
  bool m_bCallStatusesEnded = false;
  bool m_bAlertTreeEnded = false;
  std::unordered_set<const CRmsDetails*> m_setRefreshed;
  // While a tree answer streams: the records a publication set, and the keys of those a
  // publication deleted.
  bool m_bTreeStreaming = false;
  std::unordered_set<const CRmsDetails*> m_setPublishedInTree;
  std::unordered_set<std::string> m_setDeletedInTree;
};

// The time stamp of a message alert: the wall-clock time at UTC+05:30 of the seconds since
// 1970, "%d/%m/%Y %H:%M:%S"; empty for 0 or fewer seconds.
std::string FormatAlertTimeStamp(int64_t nSeconds);
