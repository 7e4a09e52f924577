// The feed: value changes, delete marks and records coming back; and recorded feeds on file.
#include <gtest/gtest.h>

#include "rmssim/EntityTree.h"
#include "rmssim/FeedFile.h"
#include "rmssim/FeedGenerator.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/TestMessage.h"

namespace {

std::vector<std::vector<uint8_t>> MakeFeed(uint64_t nSeed, uint32_t nDeleteEvery, int nCount) {
  CEntityTree tree(sTreeSize{1, 2, 4, 3, 40}, nSeed);
  CFeedGenerator generator(tree, nSeed, nDeleteEvery);
  CMessageBuilder builder;
  std::vector<std::vector<uint8_t>> arrFeed;
  for (int n = 0; n < nCount; ++n) {
    EXPECT_TRUE(generator.ComposeNext(builder));
    arrFeed.push_back(builder.GetBytes());
  }
  return arrFeed;
}

std::string GetKey(const std::vector<uint8_t>& arrMessage) {
  return ReadField(arrMessage, 64050).value_or("?") + "|" + ReadField(arrMessage, 54244).value_or("?");
}

// Every hundredth message deletes a record, which has no value changes until it is sent whole
// right after the next delete mark.
TEST(FeedTest, DeletedRecordsComeBackWithTheNextDelete) {
  const auto arrFeed = MakeFeed(1, 100, 1000);
  std::string strDeleted;
  for (size_t n = 0; n < arrFeed.size(); ++n) {
    const std::vector<uint8_t>& arrMessage = arrFeed[n];
    const FieldList arrFields = ListFields(arrMessage);
    ASSERT_EQ(ReadField(arrMessage, 54211), "rms prsnt value publish") << n;
    if ((n + 1) % 100 == 0) {
      std::vector<uint32_t> arrIds;
      for (const auto& field : arrFields) arrIds.push_back(field.first);
      EXPECT_EQ(arrIds, (std::vector<uint32_t>{54211, 64050, 54244, 64056, 20008})) << n;
      if (!strDeleted.empty() && n + 1 < arrFeed.size()) { EXPECT_EQ(GetKey(arrFeed[n + 1]), strDeleted) << n; }
      strDeleted = GetKey(arrMessage);
      continue;
    }
    EXPECT_FALSE(ReadField(arrMessage, 20008).has_value()) << n;
    EXPECT_GT(arrFields.size(), 280u) << n;
    if (n % 100 != 0) { EXPECT_NE(GetKey(arrMessage), strDeleted) << n; }
  }
}

// Written messages come back as written, past the reader's chunk (a message of 600 KB among
// small ones); damage ends the feed where it starts.
TEST(FeedFileTest, MessagesComeBackAsWrittenAndDamageEndsTheFeedWhereItStarts) {
  const CScratchFolder folder("rmssim-feed");
  const std::string strPath = folder.GetPath("feed.bin");
  const auto ReadAll = [&](CFeedReader::eResult& eLast) {
    CFeedReader reader;
    std::string strError;
    EXPECT_TRUE(reader.Open(strPath, strError)) << strError;
    std::vector<std::vector<uint8_t>> arrMessages;
    for (std::vector<uint8_t> arrMessage; (eLast = reader.ReadNext(arrMessage)) == CFeedReader::eResult::kMessage;)
      arrMessages.push_back(arrMessage);
    return arrMessages;
  };
  const std::vector<std::vector<uint8_t>> arrWritten = {ComposeMessage({{54211, "a"}}),
      ComposeMessage({{54211, "b"}, {1, std::string(600 * 1024, 'x')}}), ComposeMessage({{54211, "c"}})};
  CFeedWriter writer;
  std::string strError;
  ASSERT_TRUE(writer.Open(strPath, strError)) << strError;
  for (const std::vector<uint8_t>& arrMessage : arrWritten) writer.Write(arrMessage.data(), arrMessage.size());
  ASSERT_TRUE(writer.Close());
  CFeedReader::eResult eLast = CFeedReader::eResult::kMessage;
  EXPECT_EQ(ReadAll(eLast), arrWritten);
  EXPECT_EQ(eLast, CFeedReader::eResult::kEnd);

  const std::vector<uint8_t> arrGood =
      ComposeMessage({{54211, "rms prsnt value publish"}, {64050, "account-A10001"}});
  const std::string strGood(arrGood.begin(), arrGood.end());
  const struct { const char* szCase; std::string strBytes; size_t nMessages; CFeedReader::eResult eLast; } arrRows[] = {
      {"empty file", "", 0, CFeedReader::eResult::kEnd},
      {"cut inside the second message", strGood + strGood.substr(0, 20), 1, CFeedReader::eResult::kCorrupt},
      {"garbage first", "xxxxxxxxxxxxxxxx" + strGood, 0, CFeedReader::eResult::kCorrupt},
  };
  for (const auto& row : arrRows) {
    folder.WriteFile("feed.bin", row.strBytes);
    eLast = CFeedReader::eResult::kMessage;
    EXPECT_EQ(ReadAll(eLast).size(), row.nMessages) << row.szCase;
    EXPECT_EQ(eLast, row.eLast) << row.szCase;
  }
}

}  // namespace
