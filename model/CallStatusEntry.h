// A call status entry of the "Call History" list, built from a server message, and the
// process-wide receiver that lists it.
#pragma once

#include <memory>
#include <string>

#include "connect/include/connecthalvo.h"

// Nine texts in the list's column order.
struct sCallStatusEntry {
  std::string strEntity;      // field 64050
  std::string strExchange;    // second part of the level text
  std::string strSegment;     // first part
  std::string strProduct;     // third part
  std::string strLevel;       // field 54244, whole
  std::string strCallType;    // "OBLIGATION" or "MARGIN"
  std::string strStatus;      // field 49288 or 49302
  std::string strTimeStamp;   // field 10615 or 12030
  std::string strModifiedBy;  // field 54247
};

// Takes finished entries: the call history creates its dialog if it does not exist yet and
// inserts the entry as the top row, so the newest call comes first.
class CCallStatusSink {
 public:
  virtual ~CCallStatusSink() = default;
  virtual void InsertCallStatus(std::unique_ptr<sCallStatusEntry> pEntry) = 0;
};

// Registers the process-wide sink (not owned); null unregisters.
void SetCallStatusSink(CCallStatusSink* pSink);

// Builds an entry from the message and hands it to the sink. Returns false, and hands nothing
// over, when a required field is absent or no sink is registered.
bool AddCallStatusFromMessage(OTP_MSG hMsg);
