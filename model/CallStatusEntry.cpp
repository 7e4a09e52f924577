#include "model/CallStatusEntry.h"

#include "model/EntityLevel.h"
#include "model/FieldReaders.h"

namespace {

constexpr uint32_t kObligationStatusField = 49288;
constexpr uint32_t kObligationTimeField = 10615;
constexpr uint32_t kMarginStatusField = 49302;
constexpr uint32_t kMarginTimeField = 12030;
constexpr uint32_t kModifiedByField = 54247;

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

  if (!ReadFieldText(hMsg, kModifiedByField, pEntry->strModifiedBy) ||
      g_pCallStatusSink == nullptr) {
    return false;
  }
  g_pCallStatusSink->InsertCallStatus(std::move(pEntry));
  return true;
}
