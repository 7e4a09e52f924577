#include "link/RmsLink.h"

#include "plugin/HostServices.h"

namespace {

constexpr uint32_t kScratchSize = 4096;

template <typename Call>
void GuardHandler(Call call) {
  try {
    call();
  } catch (...) {
    // A receiver must return to the host whatever happened; the message is lost.
  }
}

}  // namespace

void CRmsGlobalReqRx::OnPublish(OTP_MSG hMsg, uint32_t /*nValue*/, void* /*pContext*/) {
  GuardHandler([&] { m_handler.OnRmsPublish(hMsg); });
}

void CRmsGlobalReqRx::OnResponse(uint32_t /*nValue*/, OTP_MSG hMsg, uint32_t /*nValue2*/) {
  GuardHandler([&] { m_handler.OnRmsResponse(hMsg); });
}

RmsLink::~RmsLink() {
  pFirstRx.reset();
  pSecondRx.reset();
  int32_t nErr = 0;
  if (hScratch != nullptr) otp_close_scratch(hScratch, &nErr);
  if (hMsg != nullptr) otp_dtor_primecb(hMsg, &nErr);
}

std::unique_ptr<RmsLink> OpenRmsLink(CRmsMessageHandler& handler, std::vector<eLinkFailure>& arrFailures) {
  auto pLink = std::make_unique<RmsLink>();
  int32_t nErr = 0;
  if (!otp_ctor_primecb(&pLink->hMsg, &nErr)) arrFailures.push_back(eLinkFailure::kMessageHandle);
  if (!otp_open_scratch(&pLink->hScratch, kScratchSize, &nErr)) arrFailures.push_back(eLinkFailure::kScratchBuffer);
  pLink->pFirstRx = std::make_unique<CRmsGlobalReqRx>(handler);
  const PFN_GetPyxoRxControl pfnGetControl = FindGetRxControlService();
  if (pfnGetControl == nullptr) arrFailures.push_back(eLinkFailure::kNoHostLink);
  if (pfnGetControl != nullptr) pLink->pControl0 = pfnGetControl(0, pLink->pFirstRx.get());
  pLink->pSecondRx = std::make_unique<CRmsGlobalReqRx>(handler);
  if (pfnGetControl != nullptr) pLink->pControl1 = pfnGetControl(1, pLink->pSecondRx.get());
  return pLink;
}

eLinkFailure CloseRmsLinkControls(RmsLink& link) {
  if (link.pControl0 != nullptr) link.pControl0->Close(0);
  const PFN_DestoryPyxoRxCOntrol pfnDestroy = FindDestroyRxControlService();
  if (pfnDestroy == nullptr) return eLinkFailure::kNoHostLink;
  if (link.pControl0 != nullptr) pfnDestroy(link.pControl0);
  if (link.pControl1 != nullptr) pfnDestroy(link.pControl1);
  link.pControl0 = nullptr;
  link.pControl1 = nullptr;
  return eLinkFailure::kNone;
}
