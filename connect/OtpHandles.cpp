#include "connect/OtpHandles.h"

void BindScratch(sOtpMessage& msg, sOtpScratch* pScratch) {
  if (msg.pScratch == pScratch) {
    return;
  }
  if (pScratch != nullptr) {
    pScratch->arrBound.push_back(&msg);
  }
  if (msg.pScratch != nullptr) {
    std::erase(msg.pScratch->arrBound, &msg);
  }
  msg.pScratch = pScratch;
}

int32_t FindMessageField(const sOtpMessage& msg, uint32_t nFieldId, const uint8_t** ppValue,
                         uint32_t* pnLength) {
  bool bFound = false;
  if (msg.optReceived) {
    bFound = msg.optReceived->FindField(nFieldId, ppValue, pnLength);
  } else if (msg.pScratch != nullptr && msg.pScratch->IsComposing()) {
    bFound = msg.pScratch->writer.FindField(nFieldId, ppValue, pnLength);
  }
  return bFound ? OTP_ERR_NONE : OTP_ERR_NOT_FOUND;
}
