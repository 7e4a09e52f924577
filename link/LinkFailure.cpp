#include "link/LinkFailure.h"

#include <iterator>

#include "protocol/RmsProtocol.h"

namespace {

// The text of each failure, in the order of eLinkFailure. A failed send names what it sent, the
// request or the publication of a call status, followed by " Request Failure".
struct sFailureText {
  const char* szText;
  bool bNamesSend;
};
constexpr sFailureText kFailureTexts[] = {
    {"", false},
    {"MnmHndl Open failed in Kestrum Plugin", false},
    {"BufHndl Open failed in Kestrum Plugin", false},
    {"From ZEL Connection to pyxo failed", false},
    {" Request failure", false},
    {rmsproto::kPeerDataRequest, true},
    {rmsproto::kTreeRequest, true},
    {rmsproto::kCallStatusRequest, true},
    {rmsproto::kAlertTreeRequest, true},
    {rmsproto::kPresentValuesRequest, true},
    {"sms alert message Failure", false},
    {rmsproto::kCallStatusTopic, true},
    {"Fatal error.Please contact administrator.", false},
};
static_assert(std::size(kFailureTexts) == static_cast<size_t>(eLinkFailure::kFatalStatus) + 1);

}  // namespace

std::string FormatLinkFailure(eLinkFailure eFailure) {
  const sFailureText& text = kFailureTexts[static_cast<size_t>(eFailure)];
  return text.bNamesSend ? std::string(text.szText) + " Request Failure" : std::string(text.szText);
}
