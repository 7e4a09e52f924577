#include "rmssim/FeedGenerator.h"

#include "connect/include/HalvoCodec.h"
#include "rmssim/EntityTree.h"
#include "link/RmsProtocol.h"

CFeedGenerator::CFeedGenerator(CEntityTree& tree, uint64_t nSeed, uint32_t nDeleteEvery)
    // Its own stream, apart from the one that made the tree.
    : m_tree(tree), m_random(nSeed ^ 0x9E3779B97F4A7C15ull), m_nDeleteEvery(nDeleteEvery) {}

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
  const size_t nRecord = PickLiveRecord();
  arrRecords[nRecord].Move(m_random);
  ComposeRecord(nRecord, builder);
  return true;
}

size_t CFeedGenerator::PickLiveRecord() {
  const std::vector<CSimRecord>& arrRecords = m_tree.GetRecords();
  // At most two records are deleted at a time, so this ends quickly.
  for (;;) {
    const size_t nRecord = m_random.Index(arrRecords.size());
    if (!arrRecords[nRecord].m_bDeleted) return nRecord;
  }
}

void CFeedGenerator::ComposeRecord(size_t nRecord, CMessageBuilder& builder) const {
  builder.Start();
  builder.AddText(rmsproto::kPublicationNameField, rmsproto::kValuesTopic);
  m_tree.GetRecords()[nRecord].AppendFields(builder);
}

void CFeedGenerator::ComposeDeleteMark(size_t nRecord, CMessageBuilder& builder) const {
  // The key of the record, and its peer value for terminals that screen by it.
  const CSimRecord& record = m_tree.GetRecords()[nRecord];
  builder.Start();
  builder.AddText(rmsproto::kPublicationNameField, rmsproto::kValuesTopic);
  builder.AddText(rmsproto::kEntityTextField, record.GetEntity().strEntityText);
  builder.AddText(rmsproto::kLevelTextField, record.GetLevelText());
  builder.AddText(rmsproto::kPeerValueField, record.GetEntity().strBranch);
  builder.AddText(rmsproto::kDeleteMarkField, "1");
}
