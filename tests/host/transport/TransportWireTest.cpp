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
