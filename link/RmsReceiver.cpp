#include "link/RmsReceiver.h"

#include <ctime>
#include <utility>

#include "link/WatchLists.h"
#include "model/CallStatusEntry.h"
#include "model/EntityLevel.h"
#include "model/FieldReaders.h"
#include "model/RmsValueParser.h"
#include "platform/Clock.h"
#include "plugin/PluginContext.h"

namespace {

using rmsproto::kDeleteMarkField;
using rmsproto::kPeerValueField;
using rmsproto::kResponseNameField;
using rmsproto::kStatusField;
using rmsproto::kStatusSuccess;

bool HasField(OTP_MSG hMsg, uint32_t nFieldId) {
  int32_t nErr = 0;
  return otp_get_field(hMsg, nFieldId, nullptr, &nErr) != 0;
}

// Takes the four call texts from their fields, each only when present.
void ReadCallTexts(OTP_MSG hMsg, CRmsDetails& record) {
  for (int i = 0; i < kCallTextCount; ++i) {
    std::string_view strText;
    if (ReadFieldTextView(hMsg, kCallTextFields[i], strText)) record.SetCallText(i, strText);
  }
}

std::string ReadTextOr(OTP_MSG hMsg, uint32_t nFieldId, const char* szAbsent) {
  std::string strText;
  return ReadFieldText(hMsg, nFieldId, strText) ? strText : std::string(szAbsent);
}

}  // namespace

std::string FormatAlertTimeStamp(int64_t nSeconds) {
  if (nSeconds < 1) return {};
  // The server's clock is India Standard Time; the stamp reads the same on every machine.
  constexpr int64_t kIstOffsetSeconds = 19800;
  const time_t t = static_cast<time_t>(nSeconds + kIstOffsetSeconds);
  std::tm parts{};
  if (gmtime_r(&t, &parts) == nullptr) return {};
  return FormatTimeParts(parts, "%d/%m/%Y %H:%M:%S");
}

void CRmsReceiver::OnResponse(OTP_MSG hMsg) {
  std::string strName;
  if (!ReadFieldText(hMsg, kResponseNameField, strName)) return;
  std::string strPublication;
  if (strName == rmsproto::kPeerDataRequest) {
    if (CheckStatus(hMsg) == kStatusSuccess) {
      std::string strPeer;
      if (ReadFieldText(hMsg, kPeerValueField, strPeer)) m_strPeerData = strPeer;
    }
  } else if (strName == rmsproto::kTreeRequest) {
    if (CheckStatus(hMsg) != kStatusSuccess) {
      m_bTreeStreaming = false;
      m_setPublishedInTree.clear();
      m_setDeletedInTree.clear();
      m_requests.SubscribePresentValues();
      MarkUnrefreshedStale();
    } else if (ReadFieldText(hMsg, rmsproto::kPublicationNameField, strPublication) &&
               (strPublication == rmsproto::kValuesTopic || strPublication == rmsproto::kCallStatusTopic)) {
      HandleRmsRecord(hMsg, true);
    }
  } else if (strName == rmsproto::kPresentValuesRequest) {
    if (CheckStatus(hMsg) == kStatusSuccess) HandleRmsRecord(hMsg, true);
  } else if (strName == rmsproto::kCallStatusRequest) {
    if (CheckStatus(hMsg) == kStatusSuccess)
      AddCallStatusFromMessage(hMsg);
    else
      m_bCallStatusesEnded = true;
  } else if (strName == rmsproto::kAlertTreeRequest) {
    if (CheckStatus(hMsg) != kStatusSuccess) {
      m_bAlertTreeEnded = true;
      m_requests.SubscribeManualAlerts();
    } else if (ReadFieldText(hMsg, rmsproto::kPublicationNameField, strPublication) &&
               strPublication == rmsproto::kManualAlertTopic) {
      HandleMessageAlert(hMsg);
    }
  }
}

void CRmsReceiver::OnPublish(OTP_MSG hMsg) {
  std::string_view strPublication;
  if (ReadFieldTextView(hMsg, rmsproto::kPublicationNameField, strPublication) &&
      strPublication == rmsproto::kManualAlertTopic)
    HandleMessageAlert(hMsg);
  else
    HandleRmsRecord(hMsg, false);
}

int32_t CRmsReceiver::CheckStatus(OTP_MSG hMsg) {
  if (!HasField(hMsg, kStatusField)) return kStatusSuccess;
  int32_t nStatus = 0;
  if (!ReadFieldInt(hMsg, kStatusField, nStatus)) return 1;
  if (nStatus == rmsproto::kStatusFatal) {
    m_host.ReportLinkFailure(eLinkFailure::kFatalStatus);
    return 1;
  }
  return nStatus;
}

bool CRmsReceiver::PassesScreening(OTP_MSG hMsg, std::string_view strEntityId) const {
  if (g_pluginContext.userCategory == 0) return true;
  if (g_pluginContext.userCategory == 1) {
    std::string_view strPeer;
    if (!ReadFieldTextView(hMsg, kPeerValueField, strPeer)) strPeer = {};
    return strPeer == m_strPeerData;
  }
  return m_host.IsDealerOrClientListed(strEntityId);
}

bool CRmsReceiver::FillWorkingRecord(OTP_MSG hMsg, std::string_view strName, bool bFromResponse,
                                     const CRmsDetails* pStored) {
  if (strName == rmsproto::kValuesTopic) {
    ParseRmsValues(hMsg, m_working);
    if (bFromResponse)
      ReadCallTexts(hMsg, m_working);
    else if (pStored != nullptr)
      m_working.CopyCallTexts(*pStored);
  } else if (strName == rmsproto::kPresentValuesRequest) {
    ParseRmsValues(hMsg, m_working);
    if (pStored == nullptr) return false;
    m_working.CopyCallTexts(*pStored);
  } else if (strName == rmsproto::kCallStatusTopic) {
    if (bFromResponse) {
      ParseRmsValues(hMsg, m_working);
    } else {
      if (pStored == nullptr) return false;
      m_working = *pStored;
      AddCallStatusFromMessage(hMsg);
    }
    ReadCallTexts(hMsg, m_working);
  }
  return true;
}

void CRmsReceiver::HandleRmsRecord(OTP_MSG hMsg, bool bFromResponse) {
  static const CRmsDetails s_empty;
  m_working = s_empty;
  const bool bDeleted = HasField(hMsg, kDeleteMarkField);
  if (bDeleted && bFromResponse) return;

  ReadEntityLevel(hMsg, m_working);
  ReadLevelText(hMsg, m_working);
  if (!PassesScreening(hMsg, m_working.GetEntityId())) return;

  std::string_view strName;
  if (!ReadFieldTextView(hMsg, rmsproto::kPublicationNameField, strName) &&
      !ReadFieldTextView(hMsg, kResponseNameField, strName))
    return;

  FormatRecordKey(m_working, m_strKey);
  auto itStored = m_mapRecords.find(std::string_view(m_strKey));
  const CRmsDetails* pStored = itStored != m_mapRecords.end() ? itStored->second.get() : nullptr;
  if (pStored != nullptr && !bDeleted && !bFromResponse && strName == rmsproto::kValuesTopic) {
    // The common case, a new value of a known record: parsing straight into it keeps its id,
    // level and call texts, as the working record would have them, without two copies.
    ParseRmsValues(hMsg, *itStored->second);
    itStored->second->bStale = false;
    itStored->second->nUpdatedUs = GetClockMicroseconds();
    if (m_bRefreshing) m_setRefreshed.insert(itStored->second.get());
    if (m_bTreeStreaming) m_setPublishedInTree.insert(itStored->second.get());
    PushToWatchLists(itStored->second.get(), false, false);
    return;
  }
  if (bFromResponse && m_bTreeStreaming) {
    if (pStored == nullptr && m_setDeletedInTree.contains(m_strKey)) return;
    if (pStored != nullptr && m_setPublishedInTree.contains(pStored)) {
      // The values published are the newer; the call texts only an answer carries.
      ReadCallTexts(hMsg, *itStored->second);
      if (m_bRefreshing) m_setRefreshed.insert(pStored);
      PushToWatchLists(itStored->second.get(), false, false);
      return;
    }
  }
  if (!FillWorkingRecord(hMsg, strName, bFromResponse, pStored)) return;
  m_working.nUpdatedUs = GetClockMicroseconds();

  if (pStored == nullptr) {
    if (bDeleted) return;
    // The working record is emptied for the next message anyway, so its texts move.
    auto pRecord = std::make_unique<CRmsDetails>(std::move(m_working));
    CRmsDetails* pNew = pRecord.get();
    m_mapRecords.emplace(m_strKey, std::move(pRecord));
    if (m_bRefreshing) m_setRefreshed.insert(pNew);
    if (m_bTreeStreaming && !bFromResponse) {
      m_setPublishedInTree.insert(pNew);
      m_setDeletedInTree.erase(m_strKey);
    }
    PushToWatchLists(pNew, true, false);
    return;
  }
  if (bDeleted) {
    // Out of the map first; the record lives until every list has let go of it.
    std::unique_ptr<CRmsDetails> pRecord = std::move(itStored->second);
    m_mapRecords.erase(itStored);
    // Its address may serve a record made later.
    m_setRefreshed.erase(pRecord.get());
    if (m_bTreeStreaming) {
      m_setPublishedInTree.erase(pRecord.get());
      m_setDeletedInTree.insert(m_strKey);
    }
    *pRecord = m_working;
    PushToWatchLists(pRecord.get(), false, true);
    return;
  }
  *itStored->second = m_working;
  if (m_bRefreshing) m_setRefreshed.insert(itStored->second.get());
  if (m_bTreeStreaming && !bFromResponse && strName == rmsproto::kValuesTopic)
    m_setPublishedInTree.insert(itStored->second.get());
  PushToWatchLists(itStored->second.get(), false, false);
}

void CRmsReceiver::FollowLinkSession(uint32_t nSession) {
  if (nSession <= m_nSession) return;
  m_nSession = nSession;
  m_bRefreshing = true;
  m_setRefreshed.clear();
  ReportFailure(RequestTree());
  // Lists of events whose end never came were cut by the loss: asked for again, so the
  // subscription that follows their end is made at all.
  if (!m_bCallStatusesEnded) ReportFailure(m_requests.RequestRoth());
  if (!m_bAlertTreeEnded) ReportFailure(m_requests.RequestAlertTree());
}

eLinkFailure CRmsReceiver::RequestTree() {
  m_bTreeStreaming = true;
  m_setPublishedInTree.clear();
  m_setDeletedInTree.clear();
  return m_requests.RequestRmsTree();
}

void CRmsReceiver::ReportFailure(eLinkFailure eFailure) {
  if (eFailure != eLinkFailure::kNone) m_host.ReportLinkFailure(eFailure);
}

void CRmsReceiver::MarkUnrefreshedStale() {
  if (!std::exchange(m_bRefreshing, false)) return;
  for (const auto& [strKey, pRecord] : m_mapRecords) {
    if (m_setRefreshed.contains(pRecord.get())) continue;
    pRecord->bStale = true;
    for (int nWindow = 1; nWindow <= kWatchWindowCount; ++nWindow)
      if (CWatchListTarget* pList = m_host.GetWatchList(nWindow)) pList->RefreshVisibleRecordRow(pRecord.get());
  }
  m_setRefreshed.clear();
}

void CRmsReceiver::PushToWatchLists(CRmsDetails* pRecord, bool bNew, bool bDeleted) {
  for (int nWindow = 1; nWindow <= kWatchWindowCount; ++nWindow) {
    CWatchListTarget* pList = m_host.GetWatchList(nWindow);
    if (pList == nullptr) continue;
    const char* szListKey = GetWatchListKey(nWindow);
    if (bNew) {
      pList->AppendRecordRow(pRecord);
      m_host.CheckCustomAlerts(*pRecord, szListKey);
    } else if (bDeleted) {
      pList->DeleteRecordRow(pRecord);
    } else if (pList->RefreshVisibleRecordRow(pRecord) || pList->IsAlertsOnEveryRow()) {
      m_host.CheckCustomAlerts(*pRecord, szListKey);
    }
  }
}

void CRmsReceiver::HandleMessageAlert(OTP_MSG hMsg) {
  std::string strUser;
  std::string strClient;
  if (!ReadFieldText(hMsg, rmsproto::kSourceUserField, strUser) ||
      !ReadFieldText(hMsg, rmsproto::kEntityIdField, strClient))
    return;
  if (g_pluginContext.userCategory == 1 && strUser != g_pluginContext.userId) return;
  if (g_pluginContext.userCategory != 0 && g_pluginContext.userCategory != 1 &&
      !m_host.IsDealerOrClientListed(strClient))
    return;

  auto pAlert = std::make_unique<sMessageAlert>();
  pAlert->strUserId = strUser;
  pAlert->strClientId = strClient;
  pAlert->strSegment = ReadTextOr(hMsg, rmsproto::kSegmentField, "---");
  pAlert->strProduct = ReadTextOr(hMsg, rmsproto::kProductField, "---");
  ReadFieldText(hMsg, rmsproto::kAlertAmountField, pAlert->strValue);
  int64_t nSeconds = 0;
  if (ReadFieldInt(hMsg, rmsproto::kAlertSecondsField, nSeconds))
    pAlert->strTimeStamp = FormatAlertTimeStamp(nSeconds);
  int32_t nKind = 0;
  if (ReadFieldInt(hMsg, rmsproto::kAlertKindField, nKind)) {
    if (nKind == kAlertSms) pAlert->strType = "SMS";
    if (nKind == kAlertMail) pAlert->strType = "MAIL";
    if (nKind == kAlertSmsAndMail) pAlert->strType = "SMS+MAIL";
  }
  m_host.AddMessageAlert(std::move(pAlert));
}
