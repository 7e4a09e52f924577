// A recorded feed replayed reaches a receive control as the same messages, byte for byte, in
// the same order, as the live feed did.
#include "rmssim/FeedFile.h"
#include "tests/host/transport/TransportTestSupport.h"
#include "tests/support/ScratchFolder.h"

namespace {

using namespace transporttest;

constexpr uint64_t kFeedLength = 500;

// The publications a fresh terminal receives from a server with these options, all of them
// (no conflation), once the feed has ended.
std::vector<std::vector<uint8_t>> ReceiveFeed(const sSimOptions& options) {
  std::vector<std::vector<uint8_t>> arrMessages;
  std::unique_ptr<CRmsServer> pServer = StartServer(options);
  EXPECT_NE(pServer, nullptr);
  if (pServer == nullptr) return arrMessages;
  CKeepingReceiver receiver;
  CRmsTransport transport(pServer->GetEndpoints());
  transport.SetConflation(false);
  CPyxoRxControl* pControl = transport.CreateControl(&receiver);
  Subscribe(*pControl, "rms prsnt value publish");
  EXPECT_TRUE(RunEventsUntil([&] { return receiver.m_arrReceived.size() == kFeedLength; }));
  EXPECT_TRUE(pServer->GetStats().bFeedEnded);
  for (const sReceived& received : receiver.m_arrReceived) arrMessages.push_back(received.arrBytes);
  transport.DestroyControl(pControl);
  return arrMessages;
}

TEST(ReplayTest, AReplayedFeedIsTheRecordedOne) {
  const CScratchFolder folder("halvo-feed");
  sSimOptions options = MakeServerOptions(0);
  options.nCount = kFeedLength;
  options.nDeleteEvery = 50;  // delete marks and records coming back are part of it
  options.strRecordPath = folder.GetPath("feed.bin");
  const std::vector<std::vector<uint8_t>> arrLive = ReceiveFeed(options);
  ASSERT_EQ(arrLive.size(), kFeedLength);
  const auto nDeleteMarks = std::count_if(arrLive.begin(), arrLive.end(), [](const auto& arrBytes) {
    return ReadField(arrBytes, 20008).has_value();
  });
  EXPECT_EQ(static_cast<uint64_t>(nDeleteMarks), kFeedLength / 50);

  std::vector<std::vector<uint8_t>> arrRecorded;
  CFeedReader reader;
  std::string strError;
  ASSERT_TRUE(reader.Open(options.strRecordPath, strError)) << strError;
  for (std::vector<uint8_t> arrMessage; reader.ReadNext(arrMessage) == CFeedReader::eResult::kMessage;)
    arrRecorded.push_back(arrMessage);
  EXPECT_EQ(arrRecorded, arrLive);

  sSimOptions replay = MakeServerOptions(0);
  replay.strReplayPath = options.strRecordPath;
  replay.nSeed = 99;  // nothing of the replay comes from the seed
  EXPECT_EQ(ReceiveFeed(replay), arrLive);
}

}  // namespace
