// The framing both ends share, and the link state shown in the status bar.
#include <gtest/gtest.h>

#include "host/transport/LinkState.h"
#include "host/transport/TransportWire.h"

namespace {

using namespace std::string_literals;

TEST(TransportWireTest, TopicFramesNameExactlyOnePublication) {
  EXPECT_EQ(halvowire::MakeTopicFrame("rms prsnt value publish"), "rms prsnt value publish\0"s);
  EXPECT_EQ(halvowire::MakeTopicFrame(""), "\0"s);
  EXPECT_EQ(halvowire::ReadTopicFrame("manual sms alert\0", 17), "manual sms alert");
  // No NUL, a NUL inside, bytes after the NUL, nothing.
  for (const std::string& strFrame : {"manual sms alert"s, "rms\0x\0"s, "rms\0x"s, ""s})
    EXPECT_EQ(halvowire::ReadTopicFrame(strFrame.data(), strFrame.size()), std::nullopt) << strFrame;
}

TEST(TransportWireTest, SendTimeFramesHoldTheMomentLeastSignificantByteFirst) {
  const std::pair<int64_t, std::string> arrRows[] = {
      {0, std::string(8, '\0')},
      {0x0102030405060708, "\x08\x07\x06\x05\x04\x03\x02\x01"s},
      {-1, std::string(8, '\xFF')},
  };
  for (const auto& [nNanoseconds, strFrame] : arrRows) {
    EXPECT_EQ(halvowire::MakeSendTimeFrame(nNanoseconds), strFrame) << nNanoseconds;
    EXPECT_EQ(halvowire::ReadSendTimeFrame(strFrame.data(), strFrame.size()), nNanoseconds);
  }
  const std::string strNine(9, '\x01');
  for (const size_t nLength : {size_t{0}, size_t{7}, size_t{9}})
    EXPECT_EQ(halvowire::ReadSendTimeFrame(strNine.data(), nLength), std::nullopt) << nLength;
  EXPECT_EQ(halvowire::ReadSendTimeFrame(nullptr, 8), std::nullopt);
}

TEST(TransportWireTest, ServerAddressesAsAUserGivesThem) {
  const std::pair<const char*, const char*> arrNextPort[] = {
      {"tcp://127.0.0.1:5555", "tcp://127.0.0.1:5556"},
      {"tcp://[::1]:7000", "tcp://[::1]:7001"},
      {"tcp://127.0.0.1:*", "tcp://127.0.0.1:*"},
  };
  for (const auto& [szEndpoint, szExpected] : arrNextPort)
    EXPECT_EQ(halvowire::GetNextPortEndpoint(szEndpoint), szExpected) << szEndpoint;
  for (const char* szEndpoint :
       {"tcp://127.0.0.1:65535", "tcp://127.0.0.1:0", "tcp://127.0.0.1", "ipc:///tmp/rms"})
    EXPECT_EQ(halvowire::GetNextPortEndpoint(szEndpoint), std::nullopt) << szEndpoint;

  const std::pair<const char*, const char*> arrAddresses[] = {
      {"tcp://127.0.0.1:5555", "tcp://127.0.0.1:5555 tcp://127.0.0.1:5556"},
      {"tcp://10.0.0.5:5555,tcp://10.0.0.5:7777", "tcp://10.0.0.5:5555 tcp://10.0.0.5:7777"},
      {"ipc:///run/rms/req,ipc:///run/rms/pub", "ipc:///run/rms/req ipc:///run/rms/pub"},
  };
  for (const auto& [szAddress, szEndpoints] : arrAddresses) {
    const std::optional<halvowire::sServerEndpoints> endpoints = halvowire::ParseServerAddress(szAddress);
    ASSERT_TRUE(endpoints.has_value()) << szAddress;
    EXPECT_EQ(endpoints->strRequests + " " + endpoints->strPublications, szEndpoints);
  }
  for (const char* szAddress :
       {"tcp://127.0.0.1:*", "tcp://127.0.0.1:5555,", "inproc://rms,inproc://rms-pub", ""})
    EXPECT_FALSE(halvowire::ParseServerAddress(szAddress).has_value()) << szAddress;
}

TEST(LinkStateTest, TheLinkIsAsGoodAsItsWorstSocket) {
  using enum eLinkState;
  const std::pair<std::vector<eLinkState>, eLinkState> arrRows[] = {
      {{}, kConnecting},
      {{kConnected}, kConnected},
      {{kConnected, kConnecting}, kConnecting},
      {{kConnecting, kDisconnected, kConnected}, kDisconnected},
      {{kDisconnected, kRefused, kConnected}, kRefused},
      {{kRefused, kKeyProblem}, kKeyProblem},
  };
  for (const auto& [arrSockets, eLink] : arrRows) EXPECT_EQ(CombineLinkStates(arrSockets), eLink);
}

}  // namespace
