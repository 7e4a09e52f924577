// The framing both ends share, and the link state shown in the status bar.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "host/transport/LinkState.h"
#include "host/transport/TransportWire.h"

namespace {

using halvowire::sServerEndpoints;

TEST(TransportWireTest, TopicFramesNameExactlyOnePublication) {
  EXPECT_EQ(halvowire::MakeTopicFrame("rms prsnt value publish"),
            std::string("rms prsnt value publish\0", 24));
  EXPECT_EQ(halvowire::MakeTopicFrame(""), std::string(1, '\0'));

  struct sRow {
    const char* szCase;
    std::string strFrame;
    std::optional<std::string> strName;
  };
  const std::vector<sRow> arrRows = {
      {"name and NUL", std::string("manual sms alert\0", 17), "manual sms alert"},
      {"no NUL", "manual sms alert", std::nullopt},
      {"NUL inside", std::string("rms\0x\0", 6), std::nullopt},
      {"bytes after the NUL", std::string("rms\0x", 5), std::nullopt},
      {"empty frame", "", std::nullopt},
  };
  for (const sRow& row : arrRows) {
    const std::optional<std::string_view> strRead =
        halvowire::ReadTopicFrame(row.strFrame.data(), row.strFrame.size());
    EXPECT_EQ(strRead.has_value(), row.strName.has_value()) << row.szCase;
    EXPECT_EQ(strRead.value_or("<none>"), row.strName.value_or("<none>")) << row.szCase;
  }
}

TEST(TransportWireTest, SendTimeFramesHoldTheMomentLeastSignificantByteFirst) {
  struct sRow {
    int64_t nNanoseconds;
    std::string strFrame;
  };
  const std::vector<sRow> arrRows = {
      {0, std::string(8, '\0')},
      {0x0102030405060708, std::string("\x08\x07\x06\x05\x04\x03\x02\x01", 8)},
      {-1, std::string(8, '\xFF')},
  };
  for (const sRow& row : arrRows) {
    EXPECT_EQ(halvowire::MakeSendTimeFrame(row.nNanoseconds), row.strFrame) << row.nNanoseconds;
    EXPECT_EQ(halvowire::ReadSendTimeFrame(row.strFrame.data(), row.strFrame.size()), row.nNanoseconds)
        << row.nNanoseconds;
  }

  const std::string strNine(9, '\x01');
  for (const size_t nLength : {size_t{0}, size_t{7}, size_t{9}})
    EXPECT_EQ(halvowire::ReadSendTimeFrame(strNine.data(), nLength), std::nullopt) << nLength;
  EXPECT_EQ(halvowire::ReadSendTimeFrame(nullptr, 8), std::nullopt);
}

TEST(TransportWireTest, PublicationEndpointFollowsTheRequestPort) {
  const std::array<std::pair<const char*, std::optional<std::string>>, 7> arrRows = {{
      {"tcp://127.0.0.1:5555", "tcp://127.0.0.1:5556"},
      {"tcp://[::1]:7000", "tcp://[::1]:7001"},
      {"tcp://127.0.0.1:*", "tcp://127.0.0.1:*"},
      {"tcp://127.0.0.1:65535", std::nullopt},
      {"tcp://127.0.0.1:0", std::nullopt},
      {"tcp://127.0.0.1", std::nullopt},
      {"ipc:///tmp/rms", std::nullopt},
  }};
  for (const auto& [szEndpoint, strExpected] : arrRows)
    EXPECT_EQ(halvowire::GetNextPortEndpoint(szEndpoint), strExpected) << szEndpoint;
}

TEST(TransportWireTest, ServerAddressesAsAUserGivesThem) {
  struct sRow {
    const char* szAddress;
    std::optional<std::pair<std::string, std::string>> endpoints;
  };
  const std::vector<sRow> arrRows = {
      {"tcp://127.0.0.1:5555", std::pair{"tcp://127.0.0.1:5555", "tcp://127.0.0.1:5556"}},
      {"tcp://10.0.0.5:5555,tcp://10.0.0.5:7777", std::pair{"tcp://10.0.0.5:5555", "tcp://10.0.0.5:7777"}},
      {"ipc:///run/rms/req,ipc:///run/rms/pub", std::pair{"ipc:///run/rms/req", "ipc:///run/rms/pub"}},
      {"tcp://127.0.0.1:*", std::nullopt},
      {"tcp://127.0.0.1:5555,", std::nullopt},
      {"inproc://rms,inproc://rms-pub", std::nullopt},
      {"", std::nullopt},
  };
  for (const sRow& row : arrRows) {
    const std::optional<sServerEndpoints> endpoints = halvowire::ParseServerAddress(row.szAddress);
    ASSERT_EQ(endpoints.has_value(), row.endpoints.has_value()) << row.szAddress;
    if (!endpoints) continue;
    EXPECT_EQ(endpoints->strRequests, row.endpoints->first) << row.szAddress;
    EXPECT_EQ(endpoints->strPublications, row.endpoints->second) << row.szAddress;
  }
}

TEST(LinkStateTest, TheLinkIsAsGoodAsItsWorstSocket) {
  using enum eLinkState;
  struct sRow {
    std::vector<eLinkState> arrSockets;
    eLinkState eLink;
  };
  const std::vector<sRow> arrRows = {
      {{}, kConnecting},
      {{kConnected}, kConnected},
      {{kConnected, kConnecting}, kConnecting},
      {{kConnecting, kDisconnected, kConnected}, kDisconnected},
      {{kDisconnected, kRefused, kConnected}, kRefused},
      {{kRefused, kKeyProblem}, kKeyProblem},
  };
  for (size_t n = 0; n < arrRows.size(); ++n)
    EXPECT_EQ(CombineLinkStates(arrRows[n].arrSockets), arrRows[n].eLink) << "row " << n;
}

}  // namespace
