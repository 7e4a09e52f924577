#include "rmssim/FeedLedger.h"

#include <cinttypes>
#include <cstdio>
#include <memory>

#include "link/RmsProtocol.h"

namespace {

bool ReadView(OTP_MSG hMsg, uint32_t nFieldId, std::string_view& strValue) {
  const void* pValue = nullptr;
  uint64_t nLength = 0;
  if (otp_get_data(hMsg, nFieldId, 0, &pValue, &nLength, nullptr) == 0) return false;
  strValue = std::string_view(static_cast<const char*>(pValue), static_cast<size_t>(nLength));
  return true;
}

const char* GetEventName(eLedgerKind eKind) {
  switch (eKind) {
    case eLedgerKind::kDelete:
      return "delete";
    case eLedgerKind::kCall:
      return "call";
    case eLedgerKind::kAlert:
      return "alert";
    case eLedgerKind::kValue:
      break;
  }
  return "value";
}

}  // namespace

std::string CFeedLedger::MakeRecordKey(std::string_view strEntityText, std::string_view strLevelText) {
  std::string strKey;
  strKey.reserve(strEntityText.size() + 1 + strLevelText.size());
  return strKey.append(strEntityText).append(1, '|').append(strLevelText);
}

void CFeedLedger::Note(eLedgerKind eKind, std::string_view strKey, int64_t nSentNs) {
  if (eKind == eLedgerKind::kValue || eKind == eLedgerKind::kDelete) {
    m_strKey.assign(strKey);
    sFinal& state = m_mapFinal[m_strKey];
    state.nSentNs = nSentNs;
    state.bDeleted = eKind == eLedgerKind::kDelete;
  }
  if (eKind != eLedgerKind::kValue) m_arrEvents.push_back({nSentNs, eKind, std::string(strKey)});
}

void CFeedLedger::NoteMessage(OTP_MSG hMsg, int64_t nSentNs) {
  std::string_view strName;
  if (!ReadView(hMsg, rmsproto::kPublicationNameField, strName)) return;
  if (strName == rmsproto::kManualAlertTopic) {
    std::string_view strEntityId;
    if (ReadView(hMsg, rmsproto::kEntityIdField, strEntityId))
      Note(eLedgerKind::kAlert, strEntityId, nSentNs);
    return;
  }
  eLedgerKind eKind = eLedgerKind::kCall;
  if (strName == rmsproto::kValuesTopic) {
    std::string_view strMark;
    eKind = ReadView(hMsg, rmsproto::kDeleteMarkField, strMark) ? eLedgerKind::kDelete : eLedgerKind::kValue;
  } else if (strName != rmsproto::kCallStatusTopic) {
    return;
  }
  std::string_view strEntityText;
  std::string_view strLevelText;
  if (!ReadView(hMsg, rmsproto::kEntityTextField, strEntityText) ||
      !ReadView(hMsg, rmsproto::kLevelTextField, strLevelText))
    return;
  Note(eKind, MakeRecordKey(strEntityText, strLevelText), nSentNs);
}

bool CFeedLedger::Write(const std::string& strPath, std::string& strError) const {
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> pFile(std::fopen(strPath.c_str(), "w"), &std::fclose);
  if (!pFile) {
    strError = "cannot write " + strPath;
    return false;
  }
  for (const auto& [strKey, state] : m_mapFinal)
    std::fprintf(pFile.get(), "final\t%" PRId64 "\t%s\t%s\n", state.nSentNs,
                 state.bDeleted ? "deleted" : "value", strKey.c_str());
  for (const sEvent& event : m_arrEvents)
    std::fprintf(pFile.get(), "event\t%" PRId64 "\t%s\t%s\n", event.nSentNs, GetEventName(event.eKind),
                 event.strKey.c_str());
  if (std::fflush(pFile.get()) != 0 || std::ferror(pFile.get()) != 0) {
    strError = "cannot write " + strPath;
    return false;
  }
  return true;
}
