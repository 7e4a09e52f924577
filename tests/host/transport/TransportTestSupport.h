// What the transport and link security tests share: a receiver that keeps what it gets,
// messages composed the way a plug-in composes them, a risk server on free loopback ports,
// and a server made of bare sockets.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "host/api/HalvoHostApi.h"
#include "host/transport/RmsTransport.h"
#include "rmssim/RmsServer.h"
#include "tests/support/EventWait.h"
#include "tests/support/QtTestApp.h"
#include "tests/support/SimTestSupport.h"

namespace transporttest {

using simtest::MakeServerOptions;
using simtest::SendFrames;

struct sReceived {
  bool bPublication = false;
  std::vector<uint8_t> arrBytes;

  std::string GetField(uint32_t nFieldId) const { return ReadField(arrBytes, nFieldId).value_or("<absent>"); }
};

class CKeepingReceiver final : public CPyxoRxNotifierBase {
 public:
  void OnPublish(OTP_MSG hMsg, uint32_t, void*) override { Keep(true, hMsg); }
  void OnResponse(uint32_t, OTP_MSG hMsg, uint32_t) override { Keep(false, hMsg); }

  size_t CountPublications() const {
    return static_cast<size_t>(std::count_if(m_arrReceived.begin(), m_arrReceived.end(),
                                             [](const sReceived& received) { return received.bPublication; }));
  }
  // Field nFieldId of every message kept, in order.
  std::vector<std::string> GetFields(uint32_t nFieldId) const {
    std::vector<std::string> arrValues;
    for (const sReceived& received : m_arrReceived) arrValues.push_back(received.GetField(nFieldId));
    return arrValues;
  }

  std::vector<sReceived> m_arrReceived;
  std::function<void(const sReceived&)> m_fnAfterEach;  // called after each message is kept

 private:
  void Keep(bool bPublication, OTP_MSG hMsg) {
    const uint8_t* pBytes = nullptr;
    size_t nLength = 0;
    GetComposedBytes(hMsg, &pBytes, &nLength);
    m_arrReceived.push_back({bPublication, std::vector<uint8_t>(pBytes, pBytes + nLength)});
    if (m_fnAfterEach) m_fnAfterEach(m_arrReceived.back());
  }
};

// A message handle and scratch buffer, filled through the message library's calls.
class CTestComposer {
 public:
  CTestComposer() {
    otp_ctor_primecb(&m_hMsg, nullptr);
    otp_open_scratch(&m_hScratch, 4096, nullptr);
  }
  ~CTestComposer() {
    otp_close_scratch(m_hScratch, nullptr);
    otp_dtor_primecb(m_hMsg, nullptr);
  }
  CTestComposer(const CTestComposer&) = delete;
  CTestComposer& operator=(const CTestComposer&) = delete;

  void Compose(const FieldList& arrFields) {
    *reinterpret_cast<uint32_t*>(m_hScratch) = 0;
    otp_start_msg(m_hMsg, m_hScratch, nullptr);
    for (const auto& [nField, strValue] : arrFields)
      otp_add_data(m_hMsg, nField, 1, strValue.data(), strValue.size(), nullptr);
  }
  OTP_MSG GetMessage() const { return m_hMsg; }
  OTP_SCRATCH GetScratch() const { return m_hScratch; }

 private:
  OTP_MSG m_hMsg = nullptr;
  OTP_SCRATCH m_hScratch = nullptr;
};

inline int SendRequest(CPyxoRxControl& control, CTestComposer& composer, const FieldList& arrFields) {
  composer.Compose(arrFields);
  uint64_t nOut = 0;
  int32_t nErr = 0;
  return control.SendRequest(&nOut, composer.GetMessage(), 0, &nErr);
}

inline int Publish(CPyxoRxControl& control, CTestComposer& composer, const FieldList& arrFields) {
  composer.Compose(arrFields);
  int32_t nErr = 0;
  return control.Publish(composer.GetScratch(), &nErr);
}

inline int Subscribe(CPyxoRxControl& control, const std::string& strName) {
  uint64_t nOut = 0;
  int32_t nErr = 0;
  return control.Subscribe(&nOut, 54211, strName.data(), strName.size(), 1, 0, 0, 0, 1, &nErr);
}

inline std::unique_ptr<CRmsServer> StartServer(const sSimOptions& options) {
  auto pServer = std::make_unique<CRmsServer>(options);
  std::string strError;
  return pServer->Start(strError) ? std::move(pServer) : nullptr;
}

// A message with field 32767 holding strMarker, as bytes.
inline std::string ComposeBytes(const std::string& strMarker) {
  const std::vector<uint8_t> arrBytes = ComposeMessage({{32767, strMarker}});
  return std::string(arrBytes.begin(), arrBytes.end());
}

// A server made of bare sockets that sends exactly what a test tells it, to a transport with
// one control.
class CRawServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (zmq::socket_t* pSocket : {&m_router, &m_publisher}) {
      pSocket->set(zmq::sockopt::linger, 0);
      pSocket->set(zmq::sockopt::rcvtimeo, simtest::kPatienceMs);
      pSocket->bind("tcp://127.0.0.1:*");
    }
    m_pTransport = std::make_unique<CRmsTransport>(halvowire::sServerEndpoints{
        m_router.get(zmq::sockopt::last_endpoint), m_publisher.get(zmq::sockopt::last_endpoint)});
    m_pControl = m_pTransport->CreateControl(&m_receiver);
  }

  // Subscribes the control to strName and reads the terminal's subscriptions until it arrives.
  void SubscribeAndAwait(const std::string& strName) {
    ASSERT_EQ(Subscribe(*m_pControl, strName), 1);
    const std::string strSubscribe = '\x01' + halvowire::MakeTopicFrame(strName);
    for (zmq::message_t subscription; subscription.to_string() != strSubscribe;)
      ASSERT_TRUE(m_publisher.recv(subscription));
  }

  zmq::context_t m_context;
  zmq::socket_t m_router{m_context, zmq::socket_type::router};
  zmq::socket_t m_publisher{m_context, zmq::socket_type::xpub};
  CKeepingReceiver m_receiver;  // outlives the transport, which may call it until it closes
  std::unique_ptr<CRmsTransport> m_pTransport;
  CPyxoRxControl* m_pControl = nullptr;
};

}  // namespace transporttest
