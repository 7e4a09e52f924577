#include "rmssim/FaultPublications.h"

#include "connect/include/HalvoCodec.h"
#include "host/transport/TransportWire.h"
#include "protocol/RmsProtocol.h"

namespace {

constexpr uint64_t kMalformedKinds = 7;
// Where the field count sits in a message's header: after the length, the magic and the version.
constexpr size_t kFieldCountOffset = 8;
constexpr size_t kMaxJunkBytes = 256;
constexpr uint32_t kEntityIdField = 54001;

std::string MakeWellFormedMessage() {
  CMessageBuilder builder;
  builder.AddText(rmsproto::kPublicationNameField, rmsproto::kValuesTopic);
  builder.AddText(kEntityIdField, "A10001");
  const std::vector<uint8_t>& arrBytes = builder.GetBytes();
  return std::string(arrBytes.begin(), arrBytes.end());
}

}  // namespace

CFaultPublications::CFaultPublications(uint64_t nMalformed, uint32_t nOversizeMiB, uint64_t nSeed)
    : m_nMalformed(nMalformed), m_nOversizeMiB(nOversizeMiB), m_random(nSeed), m_strMessage(MakeWellFormedMessage()) {
  Advance();
}

bool CFaultPublications::Send(zmq::socket_t& publisher, int nBurst) {
  for (int nSent = 0; nSent < nBurst && !m_arrFrames.empty(); ++nSent) {
    for (size_t n = 0; n < m_arrFrames.size(); ++n) {
      const bool bLast = n + 1 == m_arrFrames.size();
      // Room is counted in whole messages: only the first frame may find none.
      const zmq::send_flags flags = (bLast ? zmq::send_flags::none : zmq::send_flags::sndmore) |
                                    (n == 0 ? zmq::send_flags::dontwait : zmq::send_flags::none);
      if (!publisher.send(zmq::const_buffer(m_arrFrames[n].data(), m_arrFrames[n].size()), flags)) return false;
    }
    Advance();
  }
  return m_arrFrames.empty();
}

void CFaultPublications::Advance() {
  m_arrFrames.clear();
  if (m_nMalformedMade < m_nMalformed)
    MakeMalformed(m_nMalformedMade++ % kMalformedKinds);
  else if (m_nOversizeMiB > 0)
    MakeOversize();
}

void CFaultPublications::MakeMalformed(uint64_t nKind) {
  const std::string strTopic = halvowire::MakeTopicFrame(rmsproto::kValuesTopic);
  const std::string strSendTime = halvowire::MakeSendTimeFrame(halvowire::GetSendClockNs());
  std::string strMessage = m_strMessage;
  switch (nKind) {
    case 0:
      m_arrFrames = {strTopic};
      return;
    case 1:
      strMessage.resize(1 + m_random.Index(strMessage.size() - 1));
      break;
    case 2:
      strMessage.replace(kFieldCountOffset, 4, 4, '\xFF');
      break;
    case 3:
      strMessage.resize(m_random.Index(kMaxJunkBytes));
      for (char& cByte : strMessage) cByte = static_cast<char>(m_random.Index(256));
      break;
    case 4:
      m_arrFrames = {strTopic + "x", strMessage, strSendTime};
      return;
    case 5:
      m_arrFrames = {strTopic, strMessage, strSendTime.substr(0, 5)};
      return;
    default:
      m_arrFrames = {strTopic, strMessage, strSendTime, "x"};
      return;
  }
  m_arrFrames = {strTopic, strMessage, strSendTime};
}

void CFaultPublications::MakeOversize() {
  m_arrFrames = {halvowire::MakeTopicFrame(rmsproto::kValuesTopic), std::string(size_t{m_nOversizeMiB} << 20, '\0'),
                 halvowire::MakeSendTimeFrame(halvowire::GetSendClockNs())};
  m_nOversizeMiB = 0;
}
