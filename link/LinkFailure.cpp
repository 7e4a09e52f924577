#include "link/LinkFailure.h"

#include "protocol/RmsProtocol.h"

std::string FormatLinkFailure(eLinkFailure eFailure) {
  // A failed send names what it sent: the request, or the publication of a call status.
  const auto fnSendFailure = [](const char* szName) { return std::string(szName) + " Request Failure"; };
  switch (eFailure) {
    case eLinkFailure::kNone:
      return {};
    case eLinkFailure::kMessageHandle:
      return "MnmHndl Open failed in Kestrum Plugin";
    case eLinkFailure::kScratchBuffer:
      return "BufHndl Open failed in Kestrum Plugin";
    case eLinkFailure::kNoHostLink:
      return "From ZEL Connection to pyxo failed";
    case eLinkFailure::kMessageStart:
      return " Request failure";
    case eLinkFailure::kPeerDataRequest:
      return fnSendFailure(rmsproto::kPeerDataRequest);
    case eLinkFailure::kTreeRequest:
      return fnSendFailure(rmsproto::kTreeRequest);
    case eLinkFailure::kCallStatusRequest:
      return fnSendFailure(rmsproto::kCallStatusRequest);
    case eLinkFailure::kAlertTreeRequest:
      return fnSendFailure(rmsproto::kAlertTreeRequest);
    case eLinkFailure::kPresentValuesRequest:
      return fnSendFailure(rmsproto::kPresentValuesRequest);
    case eLinkFailure::kManualAlert:
      return "sms alert message Failure";
    case eLinkFailure::kCallStatus:
      return fnSendFailure(rmsproto::kCallStatusTopic);
    case eLinkFailure::kFatalStatus:
      return "Fatal error.Please contact administrator.";
  }
  return {};
}
