// How the terminal's transport and the risk server frame their traffic over ZeroMQ. Both ends
// build and read frames only through these functions, so the framing lives in one place.
//
//   requests and client publications  DEALER -> ROUTER  [marker][message]
//   responses                         ROUTER -> DEALER  [message]
//   server publications               PUB    -> SUB     [topic][message][send time]
//
// The marker frame is one byte: kRequestMarker or kPublicationMarker. The topic frame is the
// publication name (field 54211) followed by one NUL byte, and a subscription is that same
// frame. ZeroMQ matches topics by prefix; the NUL makes "rms prsnt value publish" match
// only itself, never "rms prsnt value publish ZEL".
//
// The send time frame holds the moment the server published the message: nanoseconds of the
// monotonic clock, 8 bytes, least significant first. That clock is one for every process of a
// machine, so a terminal beside the server can tell how long a message took to reach its
// receiver. A publication of two frames (from an older server) has no send time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "connect/include/connecthalvo.h"

namespace halvowire {

constexpr uint32_t kPublicationNameField = 54211;

constexpr char kRequestMarker = 'R';
constexpr char kPublicationMarker = 'P';

// The topic frame of a publication name; also what a subscriber subscribes to.
std::string MakeTopicFrame(std::string_view strName);
// The publication name carried by a topic frame: the bytes before a final NUL byte. Nullopt
// when the frame does not end with NUL or holds another NUL.
std::optional<std::string_view> ReadTopicFrame(const void* pBytes, size_t nLength);

constexpr size_t kSendTimeFrameSize = 8;

// Now on the clock send times are read from, in nanoseconds.
int64_t GetSendClockNs();
// The send time frame of a moment of GetSendClockNs.
std::string MakeSendTimeFrame(int64_t nNanoseconds);
// The moment a send time frame holds; nullopt for a frame of another size.
std::optional<int64_t> ReadSendTimeFrame(const void* pBytes, size_t nLength);

// Field 54211 of a message, or nullopt when it has none.
std::optional<std::string_view> GetPublicationName(OTP_MSG hMsg);

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

}  // namespace halvowire
