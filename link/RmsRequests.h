// Every message the plug-in sends to the risk server: the start-up requests, the
// subscriptions, the present-values request, manual alerts and call-status publications.
// All are composed in the link's one scratch buffer and go out through receive control 0. Each
// sending call returns what failed (kNone when it was sent, or not sent without a failure to
// tell); the caller shows it.
#pragma once

#include <string>
#include <string_view>

#include "link/LinkFailure.h"
#include "link/RmsLink.h"
#include "protocol/RmsProtocol.h"

class CRmsDetails;

// Manual alert kinds and call kinds.
constexpr int kAlertSms = 1;
constexpr int kAlertMail = 2;
constexpr int kAlertSmsAndMail = 3;
constexpr int kCallObligation = 1;
constexpr int kCallMargin = 2;

class CRmsRequests {
 public:
  // The link may be null (not opened yet): then nothing is sent.
  CRmsRequests(RmsLink* pLink, const std::string& strUserId) : m_pLink(pLink), m_strUserId(strUserId) {}
  void SetLink(RmsLink* pLink) { m_pLink = pLink; }

  eLinkFailure RequestUserPeerData();
  eLinkFailure RequestRmsTree();
  eLinkFailure RequestRoth();
  eLinkFailure RequestAlertTree();
  eLinkFailure RequestPresentValues(std::string_view strEntityId, std::string_view strLevelText);
  // Publishes the alert; the result text takes the success wording of the kind as soon as the
  // kind is added, and the caller shows it after the last entity.
  eLinkFailure SendManualAlert(const CRmsDetails& record, double dAmount, int nKind, std::string& strResult);
  eLinkFailure PublishCallStatus(const CRmsDetails& record, std::string_view strStatus, std::string_view strTime,
                                 int nKind);

  void SubscribePresentValues();
  void SubscribeManualAlerts();

 private:
  class CComposer;

  eLinkFailure SendSimpleRequest(const char* szName, eLinkFailure eFailure);
  // A topic subscription on the publication name; the result carries no meaning.
  void SubscribeTo(std::string_view strName);

  RmsLink* m_pLink;
  const std::string& m_strUserId;
};
