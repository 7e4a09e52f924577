// How one end of a link to the risk server protects it. A link that leaves the machine is
// encrypted and authenticated with CURVE: the side that binds (server, relay toward terminals)
// is the CURVE server and lets in only the client keys of its allow-list; the side that
// connects (terminal, relay toward the server) is a CURVE client and pins the server's public
// key, so it talks to no one else. A link on loopback may stay plain.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <zmq.hpp>

#include "keys/CurveKeys.h"

// The keys of a side that connects: its own pair and the server's public key it pins.
struct sCurveClientKeys {
  sCurveKeyPair own;
  std::string strServerKey;  // Z85
};

// What a connecting side is told: plain, CURVE with its keys, or a key problem, when it must
// connect nothing at all (never plain instead).
struct sLinkSecurity {
  std::optional<sCurveClientKeys> curve;
  std::string strProblem;
};

// Reads a connecting side's own secret key file and the server's public key file; nullopt with
// the reason.
std::optional<sCurveClientKeys> ReadCurveClientKeys(const std::string& strKeyFile,
                                                    const std::string& strServerKeyFile,
                                                    std::string& strError);

// Makes a socket a CURVE client that talks only to the server holding the pinned key. Call
// before it connects.
void MakeCurveClient(zmq::socket_t& socket, const sCurveClientKeys& keys);
// Makes a socket a CURVE server whose handshakes the context's ZAP handler judges (CZapHandler,
// which must run before the socket binds). Call before it binds.
void MakeCurveServer(zmq::socket_t& socket, const sCurveKeyPair& keys);

// Whether an endpoint stays on this machine: ipc:// and inproc://, or tcp:// on a loopback
// address (127.x.x.x, ::1, localhost). Any other, "*" and 0.0.0.0 included, leaves it.
bool IsLoopbackEndpoint(std::string_view strEndpoint);

// The ZeroMQ monitor events of a failed handshake.
constexpr int kHandshakeFailedEvents = ZMQ_EVENT_HANDSHAKE_FAILED_NO_DETAIL |
                                       ZMQ_EVENT_HANDSHAKE_FAILED_PROTOCOL | ZMQ_EVENT_HANDSHAKE_FAILED_AUTH;

// Whether a monitor event (with its value) tells of a handshake the other side refused or could
// not take part in: the server refused this side's key (AUTH), the two sides do not speak the
// same security (PROTOCOL), or the other side closed the connection during the handshake
// (NO_DETAIL with a connection error: a CURVE server that cannot open a hello sealed for
// another key does that). A handshake that merely took too long (NO_DETAIL with EAGAIN: a
// frozen server whose system still accepts connections) is not refused.
bool IsRefusedHandshake(uint16_t nEvent, uint32_t nValue);
