#include "rmssim/FeedGenerator.h"

#include <array>
#include <cstdio>
#include <ctime>

#include "connect/include/HalvoCodec.h"
#include "protocol/RmsProtocol.h"
#include "rmssim/CallBook.h"
#include "rmssim/EntityTree.h"

namespace {

// The user of another terminal on the desk, who sets the calls and sends the alerts.
constexpr const char* kDeskUser = "DESK02";

}  // namespace

CFeedGenerator::CFeedGenerator(CEntityTree& tree, uint64_t nSeed, uint32_t nDeleteEvery,
                               uint32_t nEventsEvery)
    // Its own stream, apart from the one that made the tree.
    : m_tree(tree),
      m_random(nSeed ^ 0x9E3779B97F4A7C15ull),
      m_nDeleteEvery(nDeleteEvery),
      m_nEventsEvery(nEventsEvery) {}

bool CFeedGenerator::ComposeNext(CMessageBuilder& builder) {
  std::vector<CSimRecord>& arrRecords = m_tree.GetRecords();
  if (arrRecords.empty()) return false;
  ++m_nComposed;
  if (m_nComingBack) {
    const size_t nRecord = *m_nComingBack;
    m_nComingBack.reset();
    arrRecords[nRecord].m_bDeleted = false;
    ComposeRecord(nRecord, builder);
    return true;
  }
  // Deleting needs a second live record to go on with.
  if (m_nDeleteEvery > 0 && m_nComposed % m_nDeleteEvery == 0 && arrRecords.size() > 2) {
    const size_t nRecord = PickLiveRecord();
    arrRecords[nRecord].m_bDeleted = true;
    m_nComingBack = m_nDeleted;
    m_nDeleted = nRecord;
    ComposeDeleteMark(nRecord, builder);
    return true;
  }
  if (m_nEventsEvery > 0 && m_nComposed % m_nEventsEvery == 0) {
    if (m_nEvents++ % 2 == 0)
      ComposeCallStatus(PickLiveRecord(), builder);
    else
      ComposeManualAlert(PickLiveRecord(), builder);
    return true;
  }
  const size_t nRecord = PickLiveRecord();
  arrRecords[nRecord].Move(m_random);
  ComposeRecord(nRecord, builder);
  return true;
}

std::string_view CFeedGenerator::GetLastTopic() const {
  switch (m_eLastKind) {
    case eLedgerKind::kCall:
      return rmsproto::kCallStatusTopic;
    case eLedgerKind::kAlert:
      return rmsproto::kManualAlertTopic;
    default:
      return rmsproto::kValuesTopic;
  }
}

size_t CFeedGenerator::PickLiveRecord() {
  const std::vector<CSimRecord>& arrRecords = m_tree.GetRecords();
  // At most two records are deleted at a time, so this ends quickly.
  for (;;) {
    const size_t nRecord = m_random.Index(arrRecords.size());
    if (!arrRecords[nRecord].m_bDeleted) return nRecord;
  }
}

void CFeedGenerator::ComposeRecord(size_t nRecord, CMessageBuilder& builder) {
  m_eLastKind = eLedgerKind::kValue;
  m_nLastRecord = nRecord;
  builder.Start();
  builder.AddText(rmsproto::kPublicationNameField, rmsproto::kValuesTopic);
  m_tree.GetRecords()[nRecord].AppendFields(builder);
}

void CFeedGenerator::ComposeDeleteMark(size_t nRecord, CMessageBuilder& builder) {
  m_eLastKind = eLedgerKind::kDelete;
  m_nLastRecord = nRecord;
  // The key of the record, and its peer value for terminals that screen by it.
  const CSimRecord& record = m_tree.GetRecords()[nRecord];
  builder.Start();
  builder.AddText(rmsproto::kPublicationNameField, rmsproto::kValuesTopic);
  builder.AddText(rmsproto::kEntityTextField, record.GetEntity().strEntityText);
  builder.AddText(rmsproto::kLevelTextField, record.GetLevelText());
  builder.AddText(rmsproto::kPeerValueField, record.GetEntity().strBranch);
  builder.AddText(rmsproto::kDeleteMarkField, "1");
}

// The fields a terminal publishes when its user sets a call.
void CFeedGenerator::ComposeCallStatus(size_t nRecord, CMessageBuilder& builder) {
  constexpr std::array<const char*, 3> kObligationStatuses = {"OPEN", "CLOSE", "SELL OFF"};
  constexpr std::array<const char*, 4> kMarginStatuses = {"LEVEL 1", "LEVEL 2", "OPEN", "CLOSE"};
  m_eLastKind = eLedgerKind::kCall;
  m_nLastRecord = nRecord;
  const CSimRecord& record = m_tree.GetRecords()[nRecord];
  const std::string strTime = FormatCallTime(std::time(nullptr));
  builder.Start();
  builder.AddText(rmsproto::kPublicationNameField, rmsproto::kCallStatusTopic);
  builder.AddText(rmsproto::kEntityTextField, record.GetEntity().strEntityText);
  builder.AddText(rmsproto::kLevelTextField, record.GetLevelText());
  if (m_random.Chance(0.5)) {
    builder.AddText(rmsproto::kObligationStatusField,
                    kObligationStatuses[m_random.Index(kObligationStatuses.size())]);
    builder.AddText(rmsproto::kObligationTimeField, strTime);
  } else {
    builder.AddText(rmsproto::kMarginStatusField, kMarginStatuses[m_random.Index(kMarginStatuses.size())]);
    builder.AddText(rmsproto::kMarginTimeField, strTime);
  }
  builder.AddText(rmsproto::kSourceUserField, kDeskUser);
}

// The fields a terminal publishes when its user sends a manual alert: the segment and product
// only when the level names them.
void CFeedGenerator::ComposeManualAlert(size_t nRecord, CMessageBuilder& builder) {
  m_eLastKind = eLedgerKind::kAlert;
  m_nLastRecord = nRecord;
  const CSimRecord& record = m_tree.GetRecords()[nRecord];
  const std::string& strLevel = record.GetLevelText();
  builder.Start();
  builder.AddText(rmsproto::kPublicationNameField, rmsproto::kManualAlertTopic);
  builder.AddText(rmsproto::kEntityIdField, record.GetEntity().strId);
  builder.AddText(rmsproto::kSourceUserField, kDeskUser);
  const std::string_view strSegment = std::string_view(strLevel).substr(0, strLevel.find('-'));
  if (strSegment != "ALL") {
    builder.AddText(rmsproto::kSegmentField, strSegment);
    builder.AddText(rmsproto::kProductField, std::string_view(strLevel).substr(strLevel.rfind('-') + 1));
  }
  char szAmount[32];
  std::snprintf(szAmount, sizeof szAmount, "%.2f", m_random.Between(1000.0, 500000.0));
  builder.AddText(rmsproto::kAlertAmountField, szAmount);
  builder.AddText(rmsproto::kAlertSecondsField, std::to_string(std::time(nullptr)));
  builder.AddText(rmsproto::kAlertMicrosecondsField, "0");
  builder.AddText(rmsproto::kAlertKindField, std::to_string(1 + m_random.Index(3)));
}
