// A recorded feed replayed reaches a receive control as the same messages, byte for byte, in
// the same order, as the live feed did.
#include <gtest/gtest.h>

#include "host/transport/RmsTransport.h"
#include "rmssim/FeedFile.h"
#include "tests/host/transport/TransportTestSupport.h"
#include "tests/support/ScratchFolder.h"

namespace {

using namespace transporttest;

constexpr uint64_t kFeedLength = 500;

// The publications a fresh terminal receives from a server with these options, once the feed
// has ended.
std::vector<std::vector<uint8_t>> ReceiveFeed(const sSimOptions& options) {
  std::vector<std::vector<uint8_t>> arrMessages;
  std::unique_ptr<CRmsServer> pServer = StartServer(options);
  EXPECT_NE(pServer, nullptr);
  if (pServer == nullptr) return arrMessages;
  CRmsTransport transport(pServer->GetEndpoints());
  // Every message, not only the newest of each entity, is compared.
  transport.SetConflation(false);
  CKeepingReceiver receiver;
  CPyxoRxControl* pControl = transport.CreateControl(&receiver);
  Subscribe(*pControl, "rms prsnt value publish");
  EXPECT_TRUE(RunEventsUntil([&] { return receiver.m_arrReceived.size() == kFeedLength; }));
  EXPECT_TRUE(pServer->GetStats().bFeedEnded);
  for (const sReceived& received : receiver.m_arrReceived) arrMessages.push_back(received.arrBytes);
  transport.DestroyControl(pControl);
  return arrMessages;
}

TEST(ReplayTest, AReplayedFeedIsTheRecordedOne) {
  GetApplication();
  const CScratchFolder folder("halvo-feed");
  const std::string strRecording = folder.GetPath("feed.bin");

  sSimOptions options = MakeServerOptions(0);
  options.nCount = kFeedLength;
  options.nDeleteEvery = 50;  // delete marks and records coming back are part of it
  options.strRecordPath = strRecording;
  const std::vector<std::vector<uint8_t>> arrLive = ReceiveFeed(options);
  ASSERT_EQ(arrLive.size(), kFeedLength);

  std::vector<std::vector<uint8_t>> arrRecorded;
  CFeedReader reader;
  std::string strError;
  ASSERT_TRUE(reader.Open(strRecording, strError)) << strError;
  std::vector<uint8_t> arrMessage;
  while (reader.ReadNext(arrMessage) == CFeedReader::eResult::kMessage) arrRecorded.push_back(arrMessage);
  EXPECT_EQ(arrRecorded, arrLive);

  sSimOptions replay = MakeServerOptions(0);
  replay.strReplayPath = strRecording;
  replay.nSeed = 99;  // nothing of the replay comes from the seed
  const std::vector<std::vector<uint8_t>> arrReplayed = ReceiveFeed(replay);
  EXPECT_EQ(arrReplayed, arrLive);

  size_t nDeleteMarks = 0;
  for (const std::vector<uint8_t>& arrBytes : arrLive) nDeleteMarks += ReadField(arrBytes, 20008) ? 1 : 0;
  EXPECT_EQ(nDeleteMarks, kFeedLength / 50);
}

}  // namespace
