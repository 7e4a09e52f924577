// How the terminal's transport and the risk server frame their traffic over ZeroMQ. Both ends
// build and read frames only through these functions, so the framing lives in one place; the
// layout and its constants are in protocol/LinkFrames.h.
//
// The server's ROUTER hands a request over as [envelope...][marker][message]. The envelope
// holds one routing identity for each ROUTER the request passed: the server's own first, then
// one for each relay between the server and the terminal. The server answers
// [envelope...][message]; each ROUTER on the way back takes off its frame and hands the rest to
// the peer it names, so the answer reaches the DEALER that asked.
//
// The send time frame's clock is one for every process of a machine, so a terminal beside the
// server can tell how long a message took to reach its receiver.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>
#include <zmq.hpp>

#include "connect/include/connecthalvo.h"
#include "protocol/LinkFrames.h"
#include "protocol/RmsProtocol.h"

namespace halvowire {

// One event of a socket monitor; nEvent is 0 (no event has that number) when the event was too
// short to read.
struct sMonitorEvent {
  uint16_t nEvent = 0;
  uint32_t nValue = 0;
};
// Takes the next waiting event of a monitor socket, all its frames; nullopt when none waits.
std::optional<sMonitorEvent> ReceiveMonitorEvent(zmq::socket_t& monitor);

// The topic frame of a publication name; also what a subscriber subscribes to.
std::string MakeTopicFrame(std::string_view strName);
// The publication name carried by a topic frame: the bytes before a final NUL byte. Nullopt
// when the frame does not end with NUL or holds another NUL.
std::optional<std::string_view> ReadTopicFrame(const void* pBytes, size_t nLength);

// Now on the clock send times are read from, in nanoseconds.
int64_t GetSendClockNs();
// The send time frame of a moment of GetSendClockNs.
std::string MakeSendTimeFrame(int64_t nNanoseconds);
// The moment a send time frame holds; nullopt for a frame of another size.
std::optional<int64_t> ReadSendTimeFrame(const void* pBytes, size_t nLength);

// The bytes of a field of a message, or nullopt when it has none.
std::optional<std::string_view> GetFieldBytes(OTP_MSG hMsg, uint32_t nFieldId);
// Field 54211 of a message, or nullopt when it has none.
inline std::optional<std::string_view> GetPublicationName(OTP_MSG hMsg) {
  return GetFieldBytes(hMsg, rmsproto::kPublicationNameField);
}

// Reads every frame of the next message waiting on a ROUTER into arrFrames (reused between
// calls); false when none is waiting.
bool ReceiveRoutedMessage(zmq::socket_t& router, std::vector<zmq::message_t>& arrFrames);
// The marker of a client message as a ROUTER hands it over: at least one envelope frame, then
// a one-byte marker, then the message. Nullopt for any other frames.
std::optional<char> ReadClientMarker(std::span<const zmq::message_t> arrFrames);
// How a routed answer went: sent, no room for it now, or the client is gone.
enum class eRoutedSend { Sent, NoRoom, Gone };
// Sends [envelope...][message] on a ROUTER without waiting: the answer to the client message
// whose envelope (every frame before its marker) is arrEnvelope. A ROUTER with
// ZMQ_ROUTER_MANDATORY tells NoRoom and Gone apart; others drop what finds no room.
eRoutedSend SendRoutedAnswer(zmq::socket_t& router, std::span<const zmq::message_t> arrEnvelope,
                             const void* pBytes, size_t nLength);

// Where a risk server listens: the ROUTER for requests and the PUB for its publications.
struct sServerEndpoints {
  std::string strRequests;
  std::string strPublications;
};

// The endpoint one port above a "tcp://HOST:PORT" endpoint; "tcp://HOST:*" stays as it is.
// Nullopt for another form or for port 65535.
std::optional<std::string> GetNextPortEndpoint(std::string_view strEndpoint);

// A server address as a user gives it: "tcp://HOST:PORT" (publications on the next port), or
// the two endpoints separated by a comma. Only tcp:// and ipc:// endpoints are accepted.
std::optional<sServerEndpoints> ParseServerAddress(std::string_view strAddress);
// Where a server or relay listens, given as a server address where port * lets the system
// pick a free one ("tcp://HOST:*" picks both).
std::optional<sServerEndpoints> ParseListenAddress(std::string_view strAddress);

}  // namespace halvowire
