#include "rmssim/RequestAnswers.h"

#include <cstdio>
#include <optional>
#include <string>

#include "host/transport/TransportWire.h"
#include "protocol/RmsProtocol.h"
#include "rmssim/CallBook.h"
#include "rmssim/EntityTree.h"

namespace {

// The field's bytes, empty when it is absent; bPresent tells which.
std::string_view ReadView(OTP_MSG hMsg, uint32_t nFieldId, bool& bPresent) {
  const std::optional<std::string_view> strValue = halvowire::GetFieldBytes(hMsg, nFieldId);
  bPresent = strValue.has_value();
  return strValue.value_or(std::string_view());
}

}  // namespace

void CRequestAnswers::StartResponse(std::string_view strName, int32_t nStatus) {
  m_builder.Start();
  m_builder.AddText(rmsproto::kResponseNameField, strName);
  m_builder.AddText(rmsproto::kStatusField, std::to_string(nStatus));
}

void CRequestAnswers::SendEndOfList(std::string_view strName, const ResponseSink& fnSend) {
  StartResponse(strName, rmsproto::kStatusEndOfList);
  fnSend(m_builder.GetBytes());
}

bool CRequestAnswers::SendTreeStatusAlone(std::string_view strName, const ResponseSink& fnSend) {
  if (m_nTreeStatus == rmsproto::kStatusSuccess) return false;
  StartResponse(strName, m_nTreeStatus);
  fnSend(m_builder.GetBytes());
  return true;
}

std::optional<CRequestAnswers::sTreeCursor> CRequestAnswers::Answer(OTP_MSG hRequest, const ResponseSink& fnSend) {
  bool bNamed = false;
  const std::string strName(ReadView(hRequest, rmsproto::kRequestNameField, bNamed));
  if (m_bLogRequests) {
    std::printf("rms-sim: request %s\n", bNamed ? strName.c_str() : "without a name");
    std::fflush(stdout);
  }
  if (!bNamed) {
    // Nothing to name the answer with: a bare failure status.
    m_builder.Start();
    m_builder.AddText(rmsproto::kStatusField, std::to_string(rmsproto::kStatusNotFound));
    fnSend(m_builder.GetBytes());
    return std::nullopt;
  }
  if (strName == rmsproto::kPeerDataRequest) {
    bool bHasUser = false;
    const std::string_view strUser = ReadView(hRequest, rmsproto::kUserIdField, bHasUser);
    StartResponse(strName, rmsproto::kStatusSuccess);
    m_builder.AddText(rmsproto::kPeerValueField, m_tree.GetUserPeerValue(strUser));
    fnSend(m_builder.GetBytes());
  } else if (strName == rmsproto::kTreeRequest) {
    return AnswerTree(strName, 0, fnSend);
  } else if (strName == rmsproto::kCallStatusRequest) {
    AnswerCallStatuses(strName, fnSend);
  } else if (strName == rmsproto::kAlertTreeRequest) {
    AnswerManualAlerts(strName, fnSend);
  } else if (strName == rmsproto::kPresentValuesRequest) {
    AnswerPresentValues(hRequest, strName, fnSend);
  } else {
    StartResponse(strName, rmsproto::kStatusNotFound);
    fnSend(m_builder.GetBytes());
  }
  return std::nullopt;
}

std::optional<CRequestAnswers::sTreeCursor> CRequestAnswers::ContinueTree(const sTreeCursor& cursor,
                                                                          const ResponseSink& fnSend) {
  return AnswerTree(cursor.strName, cursor.nNextRecord, fnSend);
}

std::optional<CRequestAnswers::sTreeCursor> CRequestAnswers::AnswerTree(std::string_view strName, size_t nFromRecord,
                                                                        const ResponseSink& fnSend) {
  if (nFromRecord == 0 && SendTreeStatusAlone(strName, fnSend)) return std::nullopt;
  // The tree keeps its records in place, so a position stays valid while the answer waits; a record
  // the feed changed meanwhile goes out with its newer values.
  const auto& arrRecords = m_tree.GetRecords();
  for (size_t nRecord = nFromRecord; nRecord < arrRecords.size(); ++nRecord) {
    const CSimRecord& record = arrRecords[nRecord];
    if (record.m_bDeleted) continue;
    StartResponse(strName, rmsproto::kStatusSuccess);
    m_builder.AddText(rmsproto::kPublicationNameField, rmsproto::kValuesTopic);
    record.AppendFields(m_builder);
    record.AppendCallFields(m_builder);
    if (!fnSend(m_builder.GetBytes())) return sTreeCursor{std::string(strName), nRecord + 1};
  }
  // A status other than success tells the terminal the tree is complete: it subscribes then.
  SendEndOfList(strName, fnSend);
  return std::nullopt;
}

void CRequestAnswers::AnswerCallStatuses(std::string_view strName, const ResponseSink& fnSend) {
  for (const sCallStatus& call : m_calls.GetCallStatuses()) {
    StartResponse(strName, rmsproto::kStatusSuccess);
    m_builder.AddText(rmsproto::kEntityTextField, call.strEntityText);
    m_builder.AddText(rmsproto::kLevelTextField, call.strLevelText);
    m_builder.AddText(call.bMarginCall ? rmsproto::kMarginStatusField : rmsproto::kObligationStatusField,
                      call.strStatus);
    m_builder.AddText(call.bMarginCall ? rmsproto::kMarginTimeField : rmsproto::kObligationTimeField,
                      call.strTime);
    m_builder.AddText(rmsproto::kSourceUserField, call.strUser);
    fnSend(m_builder.GetBytes());
  }
  SendEndOfList(strName, fnSend);
}

void CRequestAnswers::AnswerManualAlerts(std::string_view strName, const ResponseSink& fnSend) {
  if (SendTreeStatusAlone(strName, fnSend)) return;
  for (const CAlertFields& fields : m_calls.GetManualAlerts()) {
    StartResponse(strName, rmsproto::kStatusSuccess);
    m_builder.AddText(rmsproto::kPublicationNameField, rmsproto::kManualAlertTopic);
    for (const auto& [nField, strValue] : fields) m_builder.AddText(nField, strValue);
    fnSend(m_builder.GetBytes());
  }
  SendEndOfList(strName, fnSend);
}

void CRequestAnswers::AnswerPresentValues(OTP_MSG hRequest, std::string_view strName,
                                          const ResponseSink& fnSend) {
  bool bHasId = false;
  bool bHasLevel = false;
  const std::string_view strEntityId = ReadView(hRequest, rmsproto::kEntityIdField, bHasId);
  const std::string_view strLevelText = ReadView(hRequest, rmsproto::kRequestLevelTextField, bHasLevel);
  const CSimRecord* pRecord = bHasId && bHasLevel ? m_tree.FindById(strEntityId, strLevelText) : nullptr;
  if (pRecord == nullptr || pRecord->m_bDeleted) {
    StartResponse(strName, rmsproto::kStatusNotFound);
    fnSend(m_builder.GetBytes());
    return;
  }
  StartResponse(strName, rmsproto::kStatusSuccess);
  m_builder.AddText(rmsproto::kPublicationNameField, rmsproto::kValuesTopic);
  pRecord->AppendFields(m_builder);
  pRecord->AppendCallFields(m_builder);
  fnSend(m_builder.GetBytes());
}

void CRequestAnswers::TakeClientPublication(OTP_MSG hMsg, std::string_view strName) {
  if (strName == rmsproto::kCallStatusTopic)
    m_calls.TakeCallStatus(hMsg, m_tree);
  else if (strName == rmsproto::kManualAlertTopic)
    m_calls.TakeManualAlert(hMsg);
}
