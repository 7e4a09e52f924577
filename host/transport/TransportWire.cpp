#include "host/transport/TransportWire.h"

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstring>

#include "host/transport/ZmqFrames.h"

namespace halvowire {

namespace {

constexpr std::string_view kTcpScheme = "tcp://";
constexpr std::string_view kIpcScheme = "ipc://";

bool IsAcceptedEndpoint(std::string_view strEndpoint) {
  const bool bTcp = strEndpoint.starts_with(kTcpScheme) && strEndpoint.size() > kTcpScheme.size();
  const bool bIpc = strEndpoint.starts_with(kIpcScheme) && strEndpoint.size() > kIpcScheme.size();
  return bTcp || bIpc;
}

std::optional<sServerEndpoints> ParseAddress(std::string_view strAddress, bool bAnyPort) {
  const size_t nComma = strAddress.find(',');
  if (nComma == std::string_view::npos) {
    const std::optional<std::string> strPublications = GetNextPortEndpoint(strAddress);
    if (!strPublications || (!bAnyPort && strAddress.ends_with(":*"))) return std::nullopt;
    return sServerEndpoints{std::string(strAddress), *strPublications};
  }
  const std::string_view strRequests = strAddress.substr(0, nComma);
  const std::string_view strPublications = strAddress.substr(nComma + 1);
  if (!IsAcceptedEndpoint(strRequests) || !IsAcceptedEndpoint(strPublications)) return std::nullopt;
  if (!bAnyPort && (strRequests.ends_with(":*") || strPublications.ends_with(":*"))) return std::nullopt;
  return sServerEndpoints{std::string(strRequests), std::string(strPublications)};
}

}  // namespace

std::string MakeTopicFrame(std::string_view strName) {
  std::string strFrame(strName);
  strFrame.push_back('\0');
  return strFrame;
}

std::optional<std::string_view> ReadTopicFrame(const void* pBytes, size_t nLength) {
  if (pBytes == nullptr || nLength == 0) return std::nullopt;
  const std::string_view strFrame(static_cast<const char*>(pBytes), nLength);
  if (strFrame.find('\0') != nLength - 1) return std::nullopt;
  return strFrame.substr(0, nLength - 1);
}

int64_t GetSendClockNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

std::string MakeSendTimeFrame(int64_t nNanoseconds) {
  std::string strFrame(kSendTimeFrameSize, '\0');
  auto nBits = static_cast<uint64_t>(nNanoseconds);
  for (char& cByte : strFrame) {
    cByte = static_cast<char>(nBits & 0xFF);
    nBits >>= 8;
  }
  return strFrame;
}

std::optional<int64_t> ReadSendTimeFrame(const void* pBytes, size_t nLength) {
  if (pBytes == nullptr || nLength != kSendTimeFrameSize) return std::nullopt;
  const auto* pByte = static_cast<const uint8_t*>(pBytes);
  uint64_t nBits = 0;
  for (size_t n = kSendTimeFrameSize; n-- > 0;) nBits = (nBits << 8) | pByte[n];
  return static_cast<int64_t>(nBits);
}

std::optional<std::string_view> GetFieldBytes(OTP_MSG hMsg, uint32_t nFieldId) {
  const void* pValue = nullptr;
  uint64_t nLength = 0;
  if (!otp_get_data(hMsg, nFieldId, 0, &pValue, &nLength, nullptr)) return std::nullopt;
  return std::string_view(static_cast<const char*>(pValue), static_cast<size_t>(nLength));
}

bool ReceiveRoutedMessage(zmq::socket_t& router, std::vector<zmq::message_t>& arrFrames) {
  arrFrames.clear();
  arrFrames.emplace_back();
  if (!ReceiveFrame(router, arrFrames.back())) return false;
  // The other frames came with the first.
  while (arrFrames.back().more()) {
    arrFrames.emplace_back();
    if (!ReceiveFrame(router, arrFrames.back())) break;
  }
  return true;
}

std::optional<char> ReadClientMarker(std::span<const zmq::message_t> arrFrames) {
  if (arrFrames.size() < 3) return std::nullopt;
  const zmq::message_t& marker = arrFrames[arrFrames.size() - 2];
  if (marker.size() != 1) return std::nullopt;
  return *marker.data<char>();
}

eRoutedSend SendRoutedAnswer(zmq::socket_t& router, std::span<const zmq::message_t> arrEnvelope,
                             const void* pBytes, size_t nLength) {
  try {
    // Room is counted in whole messages: when the first frame goes, the rest go too.
    for (size_t n = 0; n < arrEnvelope.size(); ++n) {
      const zmq::message_t& frame = arrEnvelope[n];
      if (!router.send(zmq::const_buffer(frame.data(), frame.size()), zmq::send_flags::sndmore | zmq::send_flags::dontwait))
        return eRoutedSend::NoRoom;
    }
    router.send(zmq::const_buffer(pBytes, nLength), zmq::send_flags::dontwait);
  } catch (const zmq::error_t& error) {
    if (error.num() == EHOSTUNREACH) return eRoutedSend::Gone;
    throw;
  }
  return eRoutedSend::Sent;
}

std::optional<std::string> GetNextPortEndpoint(std::string_view strEndpoint) {
  if (!strEndpoint.starts_with(kTcpScheme)) return std::nullopt;
  const size_t nColon = strEndpoint.rfind(':');
  if (nColon < kTcpScheme.size() || nColon == std::string_view::npos) return std::nullopt;
  const std::string_view strHost = strEndpoint.substr(0, nColon);
  const std::string_view strPort = strEndpoint.substr(nColon + 1);
  if (strHost.size() == kTcpScheme.size()) return std::nullopt;
  if (strPort == "*") return std::string(strEndpoint);
  unsigned nPort = 0;
  const auto [pEnd, error] = std::from_chars(strPort.data(), strPort.data() + strPort.size(), nPort);
  if (error != std::errc() || pEnd != strPort.data() + strPort.size() || strPort.empty() || nPort == 0 ||
      nPort >= 65535)
    return std::nullopt;
  return std::string(strHost) + ":" + std::to_string(nPort + 1);
}

std::optional<sServerEndpoints> ParseServerAddress(std::string_view strAddress) {
  return ParseAddress(strAddress, false);
}

std::optional<sServerEndpoints> ParseListenAddress(std::string_view strAddress) {
  return ParseAddress(strAddress, true);
}

std::optional<sMonitorEvent> ReceiveMonitorEvent(zmq::socket_t& monitor) {
  zmq::message_t frame;
  if (!monitor.recv(frame, zmq::recv_flags::dontwait)) return std::nullopt;
  // An event is two frames: 16-bit event and 32-bit value, then the endpoint.
  sMonitorEvent event;
  if (frame.size() >= sizeof event.nEvent + sizeof event.nValue) {
    std::memcpy(&event.nEvent, frame.data(), sizeof event.nEvent);
    std::memcpy(&event.nValue, frame.data<uint8_t>() + sizeof event.nEvent, sizeof event.nValue);
  }
  while (frame.more()) {
    if (!monitor.recv(frame, zmq::recv_flags::dontwait)) break;
  }
  return event;
}

}  // namespace halvowire
