// A small risk server's options, and a terminal made of bare ZeroMQ sockets that talks to a
// server or relay frame by frame.
#pragma once

#include <zmq.hpp>

#include "host/transport/TransportWire.h"
#include "rmssim/SimOptions.h"
#include "tests/support/TestMessage.h"

namespace simtest {

// Generous: bounds a wait for a loopback round trip, does not time it.
constexpr int kPatienceMs = 30000;

// A small server on free loopback ports, feed paced at dRate.
inline sSimOptions MakeServerOptions(double dRate) {
  sSimOptions options;
  options.strRequests = options.strPublications = "tcp://127.0.0.1:*";
  options.tree = {1, 2, 4, 3, 40};
  options.dRate = dRate;
  return options;
}

// Sends the frames as one message.
inline void SendFrames(zmq::socket_t& socket, const std::vector<std::string>& arrFrames) {
  for (size_t n = 0; n < arrFrames.size(); ++n)
    socket.send(zmq::buffer(arrFrames[n]), n + 1 < arrFrames.size() ? zmq::send_flags::sndmore : zmq::send_flags::none);
}

// A DEALER that sends requests and a SUB.
class CRawClient {
 public:
  explicit CRawClient(const halvowire::sServerEndpoints& endpoints) {
    for (zmq::socket_t* pSocket : {&m_dealer, &m_subscriber}) {
      pSocket->set(zmq::sockopt::linger, 0);
      pSocket->set(zmq::sockopt::rcvtimeo, kPatienceMs);
    }
    m_dealer.connect(endpoints.strRequests);
    m_subscriber.connect(endpoints.strPublications);
  }

  void SendFrames(const std::vector<std::string>& arrFrames) { simtest::SendFrames(m_dealer, arrFrames); }
  void Request(const FieldList& arrFields) {
    const std::vector<uint8_t> arrMessage = ComposeMessage(arrFields);
    SendFrames({std::string(1, halvowire::kRequestMarker), std::string(arrMessage.begin(), arrMessage.end())});
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
    zmq::message_t topic, body, sendTime;
    if (!m_subscriber.recv(topic) || !topic.more() || !m_subscriber.recv(body)) return std::nullopt;
    m_nLastSendNs.reset();
    if (body.more() && m_subscriber.recv(sendTime) && !sendTime.more())
      m_nLastSendNs = halvowire::ReadSendTimeFrame(sendTime.data(), sendTime.size());
    return std::pair{topic.to_string(), std::vector<uint8_t>(body.data<uint8_t>(), body.data<uint8_t>() + body.size())};
  }

  std::optional<int64_t> m_nLastSendNs;

 private:
  zmq::context_t m_context;
  zmq::socket_t m_dealer{m_context, zmq::socket_type::dealer};
  zmq::socket_t m_subscriber{m_context, zmq::socket_type::sub};
};

}  // namespace simtest
