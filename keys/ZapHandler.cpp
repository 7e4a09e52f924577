#include "keys/ZapHandler.h"

#include <cerrno>

#include "keys/CurveKeys.h"

namespace {

constexpr const char* kZapEndpoint = "inproc://zeromq.zap.01";
constexpr const char* kZapVersion = "1.0";
// version, request id, domain, address, routing id, mechanism, and one credential for CURVE.
constexpr size_t kRequestFrames = 7;
constexpr size_t kCurveKeyBytes = 32;
constexpr std::chrono::minutes kLogAgainAfter{1};
// Refused clients remembered for the log's sake; past that the memory starts again.
constexpr size_t kMaxLogged = 1000;

std::string EncodeKey(const zmq::message_t& key) {
  char szKey[kZ85KeyLength + 1] = {};
  if (key.size() != kCurveKeyBytes || zmq_z85_encode(szKey, key.data<uint8_t>(), key.size()) == nullptr)
    return {};
  return szKey;
}

}  // namespace

CZapHandler::CZapHandler(zmq::context_t& context, std::string strAllowListPath, LogFunction fnLog)
    : m_context(context), m_allowList(std::move(strAllowListPath)), m_fnLog(std::move(fnLog)) {}

CZapHandler::~CZapHandler() { Stop(); }

bool CZapHandler::Start(std::string& strError) {
  if (m_thread.IsRunning()) {
    strError = "the ZAP handler was started before";
    return false;
  }
  if (!m_allowList.Load(strError)) return false;
  if (m_allowList.GetSize() == 0)
    m_fnLog("the allow-list " + m_allowList.GetPath() +
            " holds no key yet: every client is refused until one is added");
  try {
    m_socket = zmq::socket_t(m_context, zmq::socket_type::rep);
    m_socket.set(zmq::sockopt::linger, 0);
    m_socket.bind(kZapEndpoint);
  } catch (const zmq::error_t& error) {
    strError = std::string("cannot answer handshakes at ") + kZapEndpoint + ": " + error.what();
    m_socket.close();
    return false;
  }
  if (!m_thread.Start([this] { Run(); })) {
    strError = "cannot create the ZAP handler's wake-up";
    m_socket.close();
    return false;
  }
  return true;
}

void CZapHandler::Stop() {
  m_thread.Stop();
  m_socket.close();
}

void CZapHandler::Run() {
  for (;;) {
    zmq::pollitem_t arrItems[] = {{nullptr, m_thread.GetStopDescriptor(), ZMQ_POLLIN, 0}, {m_socket.handle(), 0, ZMQ_POLLIN, 0}};
    if (zmq_poll(arrItems, 2, -1) < 0) {
      // The context was shut down under it (a relay whose proxy did not stop in time).
      if (zmq_errno() == ETERM) return;
      continue;
    }
    if (arrItems[0].revents & ZMQ_POLLIN) return;
    if (!(arrItems[1].revents & ZMQ_POLLIN)) continue;
    // A request has a fixed number of frames; extra ones are read and dropped.
    zmq::message_t arrFrames[kRequestFrames + 1];
    size_t nFrames = 0;
    bool bMore = true;
    try {
      while (bMore) {
        zmq::message_t& frame = arrFrames[std::min(nFrames, kRequestFrames)];
        if (!m_socket.recv(frame, zmq::recv_flags::dontwait)) break;
        bMore = frame.more();
        ++nFrames;
      }
    } catch (const zmq::error_t&) {
      return;
    }
    if (nFrames > 0) Answer(arrFrames, nFrames);
  }
}

void CZapHandler::Answer(zmq::message_t* arrFrames, size_t nFrames) {
  std::string strError;
  switch (m_allowList.ReloadIfChanged(strError)) {
    case CAllowList::eReload::kReloaded:
      m_mapLogged.clear();
      m_fnLog("the allow-list " + m_allowList.GetPath() +
              " was read again: " + std::to_string(m_allowList.GetSize()) + " keys");
      break;
    case CAllowList::eReload::kFailed:
      m_fnLog(strError + "; the " + std::to_string(m_allowList.GetSize()) +
              " keys read before stay in force");
      break;
    case CAllowList::eReload::kUnchanged:
      break;
  }
  if (nFrames != kRequestFrames || arrFrames[0].to_string_view() != kZapVersion) {
    // Not a request this handler understands; a REP must still answer before the next.
    Reply(nFrames > 1 ? arrFrames[1].to_string_view() : std::string_view(), "500", "malformed request");
    return;
  }
  const std::string strAddress = arrFrames[3].to_string();
  const std::string strKey =
      arrFrames[5].to_string_view() == "CURVE" ? EncodeKey(arrFrames[6]) : std::string();
  if (!strKey.empty() && m_allowList.Contains(strKey)) {
    Reply(arrFrames[1].to_string_view(), "200", "OK");
    return;
  }
  LogRefusal(strAddress, strKey.empty() ? "(none)" : strKey);
  Reply(arrFrames[1].to_string_view(), "400", "key not on the allow-list");
}

void CZapHandler::Reply(std::string_view strRequestId, const char* szStatus, const char* szText) {
  const std::string_view arrFrames[] = {kZapVersion, strRequestId, szStatus, szText, "", ""};
  constexpr size_t nCount = std::size(arrFrames);
  try {
    for (size_t n = 0; n < nCount; ++n)
      m_socket.send(zmq::buffer(arrFrames[n]),
                    n + 1 < nCount ? zmq::send_flags::sndmore : zmq::send_flags::none);
  } catch (const zmq::error_t&) {
    // The context is going away; the handshake goes with it.
  }
}

void CZapHandler::LogRefusal(const std::string& strAddress, const std::string& strKey) {
  const auto now = std::chrono::steady_clock::now();
  if (m_mapLogged.size() >= kMaxLogged) m_mapLogged.clear();
  const auto [it, bNew] = m_mapLogged.try_emplace({strAddress, strKey}, now);
  if (!bNew && now - it->second < kLogAgainAfter) return;
  it->second = now;
  m_fnLog("refused a client at " + strAddress + " with key " + strKey + ": not on the allow-list " +
          m_allowList.GetPath());
}
