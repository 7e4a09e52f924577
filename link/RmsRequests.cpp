#include "link/RmsRequests.h"

#include <cstdio>

#include "model/EntityLevel.h"
#include "model/RmsDetails.h"
#include "plugin/PluginTime.h"

// Composes one message in the link's scratch buffer. The first failing field abandons the
// message without a word; starting and sending keep their failure for the caller.
class CRmsRequests::CComposer {
 public:
  explicit CComposer(RmsLink& link) : m_link(link) {}

  bool Start() {
    // An emptied scratch buffer: its first word is the composed length.
    if (m_link.hScratch != nullptr) *reinterpret_cast<uint32_t*>(m_link.hScratch) = 0;
    int32_t nErr = 0;
    if (!otp_start_msg(m_link.hMsg, m_link.hScratch, &nErr)) {
      m_eFailure = eLinkFailure::kMessageStart;
      m_bOk = false;
    }
    return m_bOk;
  }

  bool Add(uint32_t nFieldId, std::string_view strValue) {
    int32_t nErr = 0;
    if (m_bOk && !otp_add_data(m_link.hMsg, nFieldId, 1, strValue.data(), strValue.size(), &nErr))
      m_bOk = false;
    return m_bOk;
  }

  eLinkFailure SendRequest(eLinkFailure eFailure) {
    uint64_t nOut = 0;
    int32_t nErr = 0;
    if (m_bOk && m_link.pControl0->SendRequest(&nOut, m_link.hMsg, 0, &nErr) == 0) m_eFailure = eFailure;
    return m_eFailure;
  }

  eLinkFailure Publish(eLinkFailure eFailure) {
    int32_t nErr = 0;
    if (m_bOk && m_link.pControl0->Publish(m_link.hScratch, &nErr) == 0) m_eFailure = eFailure;
    return m_eFailure;
  }

  // What failed so far: nothing, or a message that could not be started. A field that cannot be
  // added abandons the message without a failure to tell.
  eLinkFailure GetFailure() const { return m_eFailure; }

 private:
  RmsLink& m_link;
  bool m_bOk = true;
  eLinkFailure m_eFailure = eLinkFailure::kNone;
};

namespace {

bool IsSendable(const RmsLink* pLink) { return pLink != nullptr && pLink->pControl0 != nullptr; }

std::string_view GetLevelPrefix(uint32_t nLevel) {
  switch (nLevel) {
    case kLevelBroker:
      return "broker-";
    case kLevelBranch:
      return "branch-";
    case kLevelDealer:
      return "dealer-";
    case kLevelGroup:
      return "group-";
    case kLevelAccount:
      return "account-";
    default:
      return "";
  }
}

std::string FormatAmount(double dAmount) {
  char szText[512];
  std::snprintf(szText, sizeof szText, "%.2lf", dAmount);
  return szText;
}

}  // namespace

eLinkFailure CRmsRequests::SendSimpleRequest(const char* szName, eLinkFailure eFailure) {
  if (!IsSendable(m_pLink)) return eLinkFailure::kNone;
  CComposer composer(*m_pLink);
  if (!composer.Start() || !composer.Add(rmsproto::kRequestNameField, szName)) return composer.GetFailure();
  return composer.SendRequest(eFailure);
}

eLinkFailure CRmsRequests::RequestUserPeerData() {
  if (!IsSendable(m_pLink)) return eLinkFailure::kNone;
  CComposer composer(*m_pLink);
  if (!composer.Start() || !composer.Add(rmsproto::kRequestNameField, rmsproto::kPeerDataRequest) ||
      !composer.Add(rmsproto::kUserIdField, m_strUserId))
    return composer.GetFailure();
  return composer.SendRequest(eLinkFailure::kPeerDataRequest);
}

eLinkFailure CRmsRequests::RequestRmsTree() {
  return SendSimpleRequest(rmsproto::kTreeRequest, eLinkFailure::kTreeRequest);
}

eLinkFailure CRmsRequests::RequestRoth() {
  return SendSimpleRequest(rmsproto::kCallStatusRequest, eLinkFailure::kCallStatusRequest);
}

eLinkFailure CRmsRequests::RequestAlertTree() {
  return SendSimpleRequest(rmsproto::kAlertTreeRequest, eLinkFailure::kAlertTreeRequest);
}

eLinkFailure CRmsRequests::RequestPresentValues(std::string_view strEntityId, std::string_view strLevelText) {
  if (!IsSendable(m_pLink)) return eLinkFailure::kNone;
  CComposer composer(*m_pLink);
  if (!composer.Start() || !composer.Add(rmsproto::kRequestNameField, rmsproto::kPresentValuesRequest) ||
      !composer.Add(rmsproto::kEntityIdField, strEntityId))
    return composer.GetFailure();
  if (!strLevelText.empty() && strLevelText != "ALL-ALL-ALL-ALL") {
    const sLevelTextParts parts = SplitLevelText(strLevelText);
    if (parts.nCount >= 1 && parts.strSegment != "ALL" &&
        !composer.Add(rmsproto::kSegmentField, parts.strSegment))
      return composer.GetFailure();
    if (parts.nCount >= 2 && parts.strExchange != "ALL" &&
        !composer.Add(rmsproto::kExchangeField, parts.strExchange))
      return composer.GetFailure();
    // A missing third part is sent as an empty product.
    if (parts.strProduct != "ALL" && !composer.Add(rmsproto::kProductField, parts.strProduct))
      return composer.GetFailure();
  }
  if (!composer.Add(rmsproto::kRequestLevelTextField, strLevelText)) return composer.GetFailure();
  return composer.SendRequest(eLinkFailure::kPresentValuesRequest);
}

eLinkFailure CRmsRequests::SendManualAlert(const CRmsDetails& record, double dAmount, int nKind,
                                           std::string& strResult) {
  if (!IsSendable(m_pLink)) return eLinkFailure::kNone;
  const sHalvoTimeVal time = GetPluginTimeOfDay();
  CComposer composer(*m_pLink);
  if (!composer.Start() || !composer.Add(rmsproto::kPublicationNameField, rmsproto::kManualAlertTopic) ||
      !composer.Add(rmsproto::kEntityIdField, record.GetEntityId()) ||
      !composer.Add(rmsproto::kSourceUserField, m_strUserId))
    return composer.GetFailure();
  const std::string_view strSegment = record.GetSegment();
  if (strSegment != "All" && !strSegment.empty() && !composer.Add(rmsproto::kSegmentField, strSegment))
    return composer.GetFailure();
  const std::string_view strProduct = record.GetProduct();
  if (strProduct != "All" && !strProduct.empty() && !composer.Add(rmsproto::kProductField, strProduct))
    return composer.GetFailure();
  if (!composer.Add(rmsproto::kAlertAmountField, FormatAmount(dAmount)) ||
      !composer.Add(rmsproto::kAlertSecondsField, std::to_string(static_cast<long>(time.tv_sec))) ||
      !composer.Add(rmsproto::kAlertMicrosecondsField, std::to_string(static_cast<long>(time.tv_usec))))
    return composer.GetFailure();
  static constexpr const char* arrResults[] = {"SMS Alert Sent Successfully..!!",
                                               "Mail Alert Sent Successfully..!!",
                                               "SMS and Mail Alert Sent Successfully..!!"};
  if (nKind >= kAlertSms && nKind <= kAlertSmsAndMail) {
    if (!composer.Add(rmsproto::kAlertKindField, std::to_string(nKind))) return composer.GetFailure();
    strResult = arrResults[nKind - 1];
  }
  return composer.Publish(eLinkFailure::kManualAlert);
}

eLinkFailure CRmsRequests::PublishCallStatus(const CRmsDetails& record, std::string_view strStatus,
                                             std::string_view strTime, int nKind) {
  if (!IsSendable(m_pLink)) return eLinkFailure::kNone;
  CComposer composer(*m_pLink);
  const std::string strEntity =
      std::string(GetLevelPrefix(record.nLevel)) + std::string(record.GetEntityId());
  if (!composer.Start() || !composer.Add(rmsproto::kPublicationNameField, rmsproto::kCallStatusTopic) ||
      !composer.Add(rmsproto::kEntityTextField, strEntity) ||
      !composer.Add(rmsproto::kLevelTextField, record.GetLevelText()))
    return composer.GetFailure();
  if (nKind == kCallObligation && (!composer.Add(rmsproto::kObligationStatusField, strStatus) ||
                                   !composer.Add(rmsproto::kObligationTimeField, strTime)))
    return composer.GetFailure();
  if (nKind == kCallMargin && (!composer.Add(rmsproto::kMarginStatusField, strStatus) ||
                               !composer.Add(rmsproto::kMarginTimeField, strTime)))
    return composer.GetFailure();
  if (!composer.Add(rmsproto::kSourceUserField, m_strUserId)) return composer.GetFailure();
  return composer.Publish(eLinkFailure::kCallStatus);
}

void CRmsRequests::SubscribeTo(std::string_view strName) {
  uint64_t nOut = 0;
  int32_t nErr = 0;
  m_pLink->pControl0->Subscribe(&nOut, rmsproto::kPublicationNameField, strName.data(), strName.size(), 1, 0,
                                0, 0, 1, &nErr);
}

void CRmsRequests::SubscribePresentValues() {
  if (!IsSendable(m_pLink)) return;
  SubscribeTo(rmsproto::kValuesTopic);
  SubscribeTo(rmsproto::kCallStatusTopic);
}

void CRmsRequests::SubscribeManualAlerts() {
  if (IsSendable(m_pLink)) SubscribeTo(rmsproto::kManualAlertTopic);
}
