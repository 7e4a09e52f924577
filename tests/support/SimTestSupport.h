// Server options, composing and reading messages in the server tests, and a bare ZeroMQ client
// of the server.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>
#include <zmq.hpp>

#include "connect/include/HalvoCodec.h"
#include "connect/include/connecthalvo.h"
#include "host/transport/TransportWire.h"
#include "rmssim/SimOptions.h"
#include "tests/support/WireFields.h"

namespace simtest {

using CFields = std::vector<std::pair<uint32_t, std::string>>;

// Generous: bounds a wait for a loopback round trip, does not time it.
constexpr int kPatienceMs = 30000;

// A small server on free loopback ports, feed paced at dRate.
inline sSimOptions MakeServerOptions(double dRate) {
  sSimOptions options;
  options.strRequests = "tcp://127.0.0.1:*";
  options.strPublications = "tcp://127.0.0.1:*";
  options.tree = {1, 2, 4, 3, 40};
  options.dRate = dRate;
  return options;
}

inline std::vector<uint8_t> Compose(const CFields& arrFields) {
  CMessageBuilder builder;
  for (const auto& [nField, strValue] : arrFields) builder.AddText(nField, strValue);
  return builder.GetBytes();
}

inline std::optional<std::string> ReadField(const std::vector<uint8_t>& arrBytes, uint32_t nFieldId) {
  OTP_MSG hMsg = ParseOtpMessage(arrBytes.data(), arrBytes.size(), nullptr);
  const void* pValue = nullptr;
  uint64_t nLength = 0;
  std::optional<std::string> strValue;
  if (hMsg != nullptr && otp_get_data(hMsg, nFieldId, 0, &pValue, &nLength, nullptr))
    strValue.emplace(static_cast<const char*>(pValue), static_cast<size_t>(nLength));
  otp_dtor_primecb(hMsg, nullptr);
  return strValue;
}

// The fields of a message in the order they were added.
inline CFields ListFields(const std::vector<uint8_t>& arrBytes) { return ListWireFields(arrBytes.data(), arrBytes.size()); }

// A terminal made of bare sockets: a DEALER that sends requests, and a SUB.
class CRawClient {
 public:
  explicit CRawClient(const halvowire::sServerEndpoints& endpoints)
      : m_dealer(m_context, zmq::socket_type::dealer), m_subscriber(m_context, zmq::socket_type::sub) {
    for (zmq::socket_t* pSocket : {&m_dealer, &m_subscriber}) {
      pSocket->set(zmq::sockopt::linger, 0);
      pSocket->set(zmq::sockopt::rcvtimeo, kPatienceMs);
    }
    m_dealer.connect(endpoints.strRequests);
    m_subscriber.connect(endpoints.strPublications);
  }

  void SendFrames(const std::vector<std::string>& arrFrames) {
    for (size_t n = 0; n < arrFrames.size(); ++n)
      m_dealer.send(zmq::buffer(arrFrames[n]),
                    n + 1 < arrFrames.size() ? zmq::send_flags::sndmore : zmq::send_flags::none);
  }
  void Request(const CFields& arrFields) {
    const std::vector<uint8_t> arrMessage = Compose(arrFields);
    SendFrames(
        {std::string(1, halvowire::kRequestMarker), std::string(arrMessage.begin(), arrMessage.end())});
  }

  // The next response, or nullopt when none comes.
  std::optional<std::vector<uint8_t>> ReceiveResponse() {
    zmq::message_t frame;
    if (!m_dealer.recv(frame)) return std::nullopt;
    return std::vector<uint8_t>(frame.data<uint8_t>(), frame.data<uint8_t>() + frame.size());
  }
  // Responses up to and including the first one with a status other than success.
  std::vector<std::vector<uint8_t>> ReceiveList() {
    std::vector<std::vector<uint8_t>> arrResponses;
    while (std::optional<std::vector<uint8_t>> arrResponse = ReceiveResponse()) {
      arrResponses.push_back(*arrResponse);
      if (ReadField(*arrResponse, 32766) != "5") break;
    }
    return arrResponses;
  }

  void Subscribe(const std::string& strName) {
    m_subscriber.set(zmq::sockopt::subscribe, halvowire::MakeTopicFrame(strName));
  }
  // The next publication: its topic frame and message. Its send time frame, when it has one
  // and nothing follows it, is kept as m_nLastSendNs.
  std::optional<std::pair<std::string, std::vector<uint8_t>>> ReceivePublication() {
    zmq::message_t topic;
    zmq::message_t body;
    if (!m_subscriber.recv(topic) || !topic.more() || !m_subscriber.recv(body)) return std::nullopt;
    m_nLastSendNs.reset();
    zmq::message_t sendTime;
    if (body.more() && m_subscriber.recv(sendTime) && !sendTime.more())
      m_nLastSendNs = halvowire::ReadSendTimeFrame(sendTime.data(), sendTime.size());
    return std::pair{topic.to_string(),
                     std::vector<uint8_t>(body.data<uint8_t>(), body.data<uint8_t>() + body.size())};
  }

  std::optional<int64_t> m_nLastSendNs;

 private:
  zmq::context_t m_context;
  zmq::socket_t m_dealer;
  zmq::socket_t m_subscriber;
};

}  // namespace simtest
