#include "keys/LinkSecurity.h"

#include <cerrno>

namespace {

// Every CURVE server names this domain, so the ZAP handler is asked about each handshake.
constexpr const char* kZapDomain = "orvane";

}  // namespace

std::optional<sCurveClientKeys> ReadCurveClientKeys(const std::string& strKeyFile,
                                                    const std::string& strServerKeyFile,
                                                    std::string& strError) {
  std::optional<sCurveKeyPair> own = ReadSecretKeyFile(strKeyFile, strError);
  if (!own) return std::nullopt;
  std::optional<std::string> strServerKey = ReadPublicKeyFile(strServerKeyFile, strError);
  if (!strServerKey) return std::nullopt;
  return sCurveClientKeys{std::move(*own), std::move(*strServerKey)};
}

void MakeCurveClient(zmq::socket_t& socket, const sCurveClientKeys& keys) {
  socket.set(zmq::sockopt::curve_serverkey, keys.strServerKey);
  socket.set(zmq::sockopt::curve_publickey, keys.own.strPublic);
  socket.set(zmq::sockopt::curve_secretkey, keys.own.strSecret);
}

void MakeCurveServer(zmq::socket_t& socket, const sCurveKeyPair& keys) {
  socket.set(zmq::sockopt::curve_server, 1);
  socket.set(zmq::sockopt::curve_secretkey, keys.strSecret);
  socket.set(zmq::sockopt::zap_domain, kZapDomain);
}

bool IsLoopbackEndpoint(std::string_view strEndpoint) {
  if (strEndpoint.starts_with("ipc://") || strEndpoint.starts_with("inproc://")) return true;
  if (!strEndpoint.starts_with("tcp://")) return false;
  std::string_view strHost = strEndpoint.substr(6);
  // A source address ("tcp://SOURCE;HOST:PORT") binds this side only; the peer is after it.
  if (const size_t nSemicolon = strHost.find(';'); nSemicolon != std::string_view::npos)
    strHost = strHost.substr(nSemicolon + 1);
  if (strHost.starts_with("[")) {
    const size_t nClose = strHost.find(']');
    return nClose != std::string_view::npos && strHost.substr(1, nClose - 1) == "::1";
  }
  strHost = strHost.substr(0, strHost.rfind(':'));
  return strHost == "localhost" ||
         (strHost.starts_with("127.") && strHost.find_first_not_of("0123456789.") == std::string_view::npos);
}

bool IsRefusedHandshake(uint16_t nEvent, uint32_t nValue) {
  if (nEvent == ZMQ_EVENT_HANDSHAKE_FAILED_AUTH || nEvent == ZMQ_EVENT_HANDSHAKE_FAILED_PROTOCOL) return true;
  return nEvent == ZMQ_EVENT_HANDSHAKE_FAILED_NO_DETAIL && nValue != EAGAIN;
}
