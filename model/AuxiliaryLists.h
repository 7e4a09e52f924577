// The three lists whose rows are not entity records: raised custom alerts and message alerts
// in the alerts window, and call statuses in the call history. Their column tables, names and
// cell-text callbacks.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "model/CallStatusEntry.h"
#include "model/ListColumns.h"

constexpr const char* kAlertListName = "Orvane_watchAlerts";
constexpr const char* kMessageAlertListName = "Orvane_watchMsgAlerts";
constexpr const char* kCallHistoryListName = "Call History";
// Passed by the alerts window when it loads its two lists; not used.
constexpr int32_t kAlertListsIdentifier = 120029;

// A cell of these lists shows at most this many bytes of its text (a 64-character buffer).
constexpr size_t kAuxCellTextLimit = 63;

// A raised custom alert; its texts show in the alert list's columns in this order.
struct RaisedAlert {
  std::string strColumnName;
  std::string strListName;
  std::string strValue;
  std::string strClientId;
  std::string strTimeStamp;
  std::string strLevel;
  // The watch window (1 to 4) whose rule raised it; 0 when not known.
  int nWindow = 0;
  // Shown highlighted until the user selects or acknowledges it.
  bool bSeen = false;
};

// A message alert reported by the server, its texts in stored order; the list shows "Value"
// before "Time Stamp". All empty when created.
struct sMessageAlert {
  std::string strUserId;     // field 54247
  std::string strClientId;   // field 54001
  std::string strSegment;    // field 63002, "---" when absent
  std::string strProduct;    // field 64030, "---" when absent
  std::string strTimeStamp;  // from field 50100
  std::string strValue;      // field 63447
  std::string strType;       // "SMS", "MAIL" or "SMS+MAIL"
  bool bSeen = false;        // as a raised alert's
};

std::span<const sColumnDef> GetAlertListColumns();
std::span<const sColumnDef> GetMessageAlertColumns();
std::span<const sColumnDef> GetCallStatusColumns();

// Cell-text callbacks: the text of the column for the row entry, cut to 63 bytes; empty for a
// column outside the list or a null entry. They return 1.
int GetRaisedAlertCellText(const RaisedAlert* pAlert, int nColumn, std::string& strText);
int GetMessageAlertCellText(const sMessageAlert* pAlert, int nColumn, std::string& strText);
int GetCallStatusCellText(const sCallStatusEntry* pEntry, int nColumn, std::string& strText);
