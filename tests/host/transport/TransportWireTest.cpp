// The framing both ends share, and the link state shown in the status bar.
#include <gtest/gtest.h>

#include "host/transport/LinkState.h"
#include "host/transport/TransportWire.h"

namespace {

TEST(TransportWireTest, TopicFramesNameExactlyOnePublication) {
  EXPECT_EQ(halvowire::MakeTopicFrame("rms prsnt value publish"),
            std::string("rms prsnt value publish\0", 24));
  EXPECT_EQ(halvowire::MakeTopicFrame(""), std::string(1, '\0'));
  const std::pair<std::string, std::optional<std::string>> arrRows[] = {
      {std::string("manual sms alert\0", 17), "manual sms alert"},
      {"manual sms alert", std::nullopt},          // no NUL
      {std::string("rms\0x\0", 6), std::nullopt},  // NUL inside
      {std::string("rms\0x", 5), std::nullopt},    // bytes after the NUL
      {"", std::nullopt},
  };
  for (const auto& [strFrame, strName] : arrRows) {
    const std::optional<std::string_view> strRead =
        halvowire::ReadTopicFrame(strFrame.data(), strFrame.size());
    EXPECT_EQ(strRead.value_or("<none>"), strName.value_or("<none>")) << strFrame;
  }
}

TEST(TransportWireTest, SendTimeFramesHoldTheMomentLeastSignificantByteFirst) {
  const std::pair<int64_t, std::string> arrRows[] = {
      {0, std::string(8, '\0')},
      {0x0102030405060708, std::string("\x08\x07\x06\x05\x04\x03\x02\x01", 8)},
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
  const std::pair<const char*, std::optional<std::string>> arrNextPort[] = {
      {"tcp://127.0.0.1:5555", "tcp://127.0.0.1:5556"},
      {"tcp://[::1]:7000", "tcp://[::1]:7001"},
      {"tcp://127.0.0.1:*", "tcp://127.0.0.1:*"},
      {"tcp://127.0.0.1:65535", std::nullopt},
      {"tcp://127.0.0.1:0", std::nullopt},
      {"tcp://127.0.0.1", std::nullopt},
      {"ipc:///tmp/rms", std::nullopt},
  };
  for (const auto& [szEndpoint, strExpected] : arrNextPort)
    EXPECT_EQ(halvowire::GetNextPortEndpoint(szEndpoint), strExpected) << szEndpoint;

  const std::pair<const char*, const char*> arrAddresses[] = {
      {"tcp://127.0.0.1:5555", "tcp://127.0.0.1:5555 tcp://127.0.0.1:5556"},
      {"tcp://10.0.0.5:5555,tcp://10.0.0.5:7777", "tcp://10.0.0.5:5555 tcp://10.0.0.5:7777"},
      {"ipc:///run/rms/req,ipc:///run/rms/pub", "ipc:///run/rms/req ipc:///run/rms/pub"},
      {"tcp://127.0.0.1:*", "none"},
      {"tcp://127.0.0.1:5555,", "none"},
      {"inproc://rms,inproc://rms-pub", "none"},
      {"", "none"},
  };
  for (const auto& [szAddress, szEndpoints] : arrAddresses) {
    const std::optional<halvowire::sServerEndpoints> endpoints = halvowire::ParseServerAddress(szAddress);
    EXPECT_EQ(endpoints ? endpoints->strRequests + " " + endpoints->strPublications : "none", szEndpoints);
  }
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
