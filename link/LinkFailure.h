// What went wrong on the link to the risk server. The link's functions return it and never
// show it; the window that asked shows FormatLinkFailure's text in a message box.
#pragma once

#include <cstdint>
#include <string>

enum class eLinkFailure : uint8_t {
  kNone,
  kMessageHandle,         // the message handle could not be made
  kScratchBuffer,         // the scratch buffer could not be opened
  kNoHostLink,            // the host gives out or takes back no receive controls
  kMessageStart,          // a message could not be started in the scratch buffer
  kPeerDataRequest,       // a request could not be sent: one failure for each request
  kTreeRequest,
  kCallStatusRequest,
  kAlertTreeRequest,
  kPresentValuesRequest,
  kManualAlert,           // a manual alert could not be published
  kCallStatus,            // a call status could not be published
  kFatalStatus,           // a response carried the fatal status
};

// The message box text of a failure; empty for kNone.
std::string FormatLinkFailure(eLinkFailure eFailure);
