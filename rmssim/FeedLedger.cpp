#include "rmssim/FeedLedger.h"

#include <cinttypes>
#include <cstdio>
#include <memory>
#include <optional>

#include "host/transport/TransportWire.h"
#include "protocol/RmsProtocol.h"

namespace {

using halvowire::GetFieldBytes;

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
  const std::optional<std::string_view> strName = halvowire::GetPublicationName(hMsg);
  if (!strName) return;
  if (*strName == rmsproto::kManualAlertTopic) {
    if (const auto strEntityId = GetFieldBytes(hMsg, rmsproto::kEntityIdField))
      Note(eLedgerKind::kAlert, *strEntityId, nSentNs);
    return;
  }
  eLedgerKind eKind = eLedgerKind::kCall;
  if (*strName == rmsproto::kValuesTopic) {
    eKind = GetFieldBytes(hMsg, rmsproto::kDeleteMarkField) ? eLedgerKind::kDelete : eLedgerKind::kValue;
  } else if (*strName != rmsproto::kCallStatusTopic) {
    return;
  }
  const std::optional<std::string_view> strEntityText = GetFieldBytes(hMsg, rmsproto::kEntityTextField);
  const std::optional<std::string_view> strLevelText = GetFieldBytes(hMsg, rmsproto::kLevelTextField);
  if (!strEntityText || !strLevelText) return;
  Note(eKind, MakeRecordKey(*strEntityText, *strLevelText), nSentNs);
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
