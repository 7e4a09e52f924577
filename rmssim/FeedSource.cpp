#include "rmssim/FeedSource.h"

#include "host/transport/TransportWire.h"
#include "protocol/RmsProtocol.h"
#include "rmssim/CallBook.h"
#include "rmssim/EntityTree.h"

bool CGeneratedFeed::Next(const std::vector<uint8_t>*& pBytes, std::string_view& strName) {
  if (!m_generator.ComposeNext(m_builder)) return false;
  pBytes = &m_builder.GetBytes();
  strName = m_generator.GetLastTopic();
  const eLedgerKind eKind = m_generator.GetLastKind();
  if (eKind == eLedgerKind::kCall || eKind == eLedgerKind::kAlert) {
    // Rare enough to read back as the server reads a client's.
    OTP_MSG hMsg = ParseOtpMessage(pBytes->data(), pBytes->size(), nullptr);
    if (hMsg != nullptr && eKind == eLedgerKind::kCall) m_calls.TakeCallStatus(hMsg, m_tree);
    if (hMsg != nullptr && eKind == eLedgerKind::kAlert) m_calls.TakeManualAlert(hMsg);
    otp_dtor_primecb(hMsg, nullptr);
  }
  return true;
}

void CGeneratedFeed::NoteLast(CFeedLedger& ledger, int64_t nSentNs) {
  const CSimRecord& record = m_tree.GetRecords()[m_generator.GetLastRecord()];
  const eLedgerKind eKind = m_generator.GetLastKind();
  if (eKind == eLedgerKind::kAlert)
    ledger.Note(eKind, record.GetEntity().strId, nSentNs);
  else
    ledger.Note(eKind, CFeedLedger::MakeRecordKey(record.GetEntity().strEntityText, record.GetLevelText()),
                nSentNs);
}

bool CReplayedFeed::Next(const std::vector<uint8_t>*& pBytes, std::string_view& strName) {
  for (;;) {
    // A corrupt recording ends the replay where the damage starts.
    if (m_reader.ReadNext(m_arrMessage) != CFeedReader::eResult::kMessage) return false;
    OTP_MSG hMsg = ParseOtpMessage(m_arrMessage.data(), m_arrMessage.size(), nullptr);
    const std::optional<std::string_view> strFound =
        hMsg == nullptr ? std::nullopt : halvowire::GetPublicationName(hMsg);
    if (strFound) m_strName.assign(*strFound);
    otp_dtor_primecb(hMsg, nullptr);
    // Only a hand-made file holds a message without a name; it has no topic to go under.
    if (!strFound) continue;
    pBytes = &m_arrMessage;
    strName = m_strName;
    return true;
  }
}

void CReplayedFeed::NoteLast(CFeedLedger& ledger, int64_t nSentNs) {
  OTP_MSG hMsg = ParseOtpMessage(m_arrMessage.data(), m_arrMessage.size(), nullptr);
  if (hMsg != nullptr) ledger.NoteMessage(hMsg, nSentNs);
  otp_dtor_primecb(hMsg, nullptr);
}
