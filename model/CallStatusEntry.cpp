#include "model/CallStatusEntry.h"

#include "model/EntityLevel.h"
#include "model/FieldReaders.h"
#include "protocol/RmsProtocol.h"

namespace {

using rmsproto::kEntityTextField;
using rmsproto::kLevelTextField;
using rmsproto::kMarginStatusField;
using rmsproto::kMarginTimeField;
using rmsproto::kObligationStatusField;
using rmsproto::kObligationTimeField;

CCallStatusSink* g_pCallStatusSink = nullptr;

}  // namespace

void SetCallStatusSink(CCallStatusSink* pSink) {
  g_pCallStatusSink = pSink;
}

bool AddCallStatusFromMessage(OTP_MSG hMsg) {
  auto pEntry = std::make_unique<sCallStatusEntry>();
  if (!ReadFieldText(hMsg, kEntityTextField, pEntry->strEntity) ||
      !ReadFieldText(hMsg, kLevelTextField, pEntry->strLevel)) {
    return false;
  }
  const sLevelTextParts parts = SplitLevelText(pEntry->strLevel);
  pEntry->strSegment.assign(parts.strSegment);
  pEntry->strExchange.assign(parts.strExchange);
  pEntry->strProduct.assign(parts.strProduct);

  // A message with both kinds is an obligation call.
  if (ReadFieldText(hMsg, kObligationStatusField, pEntry->strStatus)) {
    if (!ReadFieldText(hMsg, kObligationTimeField, pEntry->strTimeStamp)) {
      return false;
    }
    pEntry->strCallType = "OBLIGATION";
  } else {
    if (!ReadFieldText(hMsg, kMarginStatusField, pEntry->strStatus) ||
        !ReadFieldText(hMsg, kMarginTimeField, pEntry->strTimeStamp)) {
      return false;
    }
    pEntry->strCallType = "MARGIN";
  }

  if (!ReadFieldText(hMsg, rmsproto::kSourceUserField, pEntry->strModifiedBy) ||
      g_pCallStatusSink == nullptr) {
    return false;
  }
  g_pCallStatusSink->InsertCallStatus(std::move(pEntry));
  return true;
}
