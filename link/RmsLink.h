// The controller's link to the risk server: the message handle and scratch buffer every
// request is composed in, and two receivers with their receive controls.
#pragma once

#include <memory>
#include <vector>

#include "host/api/HalvoHostApi.h"
#include "link/LinkFailure.h"

// What a receiver hands on: the controller handles every response and publication.
class CRmsMessageHandler {
 public:
  virtual void OnRmsResponse(OTP_MSG hMsg) = 0;
  virtual void OnRmsPublish(OTP_MSG hMsg) = 0;

 protected:
  ~CRmsMessageHandler() = default;
};

// A receiver of one receive control; both forward to the one handler. Nothing thrown by the
// handler reaches the host.
class CRmsGlobalReqRx final : public CPyxoRxNotifierBase {
 public:
  explicit CRmsGlobalReqRx(CRmsMessageHandler& handler) : m_handler(handler) {}
  ~CRmsGlobalReqRx() = default;

  void OnPublish(OTP_MSG hMsg, uint32_t nValue, void* pContext) override;
  void OnResponse(uint32_t nValue, OTP_MSG hMsg, uint32_t nValue2) override;

 private:
  CRmsMessageHandler& m_handler;
};

struct RmsLink {
  OTP_MSG hMsg = nullptr;
  OTP_SCRATCH hScratch = nullptr;
  std::unique_ptr<CRmsGlobalReqRx> pFirstRx;
  CPyxoRxControl* pControl0 = nullptr;
  CPyxoRxControl* pControl1 = nullptr;
  std::unique_ptr<CRmsGlobalReqRx> pSecondRx;

  RmsLink() = default;
  RmsLink(const RmsLink&) = delete;
  RmsLink& operator=(const RmsLink&) = delete;
  // Releasing: both receivers deleted, the scratch buffer closed, the handle destroyed. The
  // receive controls are the host's and are given back at shutdown, not here.
  ~RmsLink();
};

// Opens the link in order: message handle, 4096-byte scratch buffer, first receiver, receive
// control 0, second receiver, receive control 1. Each failure is added to arrFailures, in that
// order, and opening goes on; without receive control 0 nothing can be sent.
std::unique_ptr<RmsLink> OpenRmsLink(CRmsMessageHandler& handler, std::vector<eLinkFailure>& arrFailures);

// At shutdown: Close(0) on receive control 0, then both controls given back to the host in
// order. Without the host's release service: kNoHostLink, and the caller stops its shutdown
// there.
eLinkFailure CloseRmsLinkControls(RmsLink& link);
