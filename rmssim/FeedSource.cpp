#include "rmssim/FeedSource.h"

#include "host/transport/TransportWire.h"
#include "link/RmsProtocol.h"

bool CGeneratedFeed::Next(const std::vector<uint8_t>*& pBytes, std::string_view& strName) {
  if (!m_generator.ComposeNext(m_builder)) return false;
  pBytes = &m_builder.GetBytes();
  strName = rmsproto::kValuesTopic;
  return true;
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
