// The server over its sockets, with a client made of bare ZeroMQ sockets.
#include <gtest/gtest.h>

#include <unistd.h>

#include "rmssim/EntityTree.h"
#include "rmssim/RmsServer.h"
#include "tests/support/SimTestSupport.h"

namespace {

using namespace simtest;

// A server counts frames that are not a client message, and holds its ports: another server's
// start on them fails, as other mistakes do, with a reason.
TEST(ServerTest, BadFramesAreCountedAndAFailedStartSaysWhy) {
  CRmsServer server(MakeServerOptions(0));
  std::string strError;
  ASSERT_TRUE(server.Start(strError)) << strError;
  CRawClient client(server.GetEndpoints());
  const std::vector<uint8_t> arrRequest = ComposeMessage({{0, "om_get_user_peer_data"}});
  const std::string strRequest(arrRequest.begin(), arrRequest.end());
  const std::vector<std::vector<std::string>> arrBad = {
      {strRequest},                   // no marker
      {"Q", strRequest},              // unknown marker
      {"R", "garbage"},               // not a message
      {"R", strRequest, strRequest},  // a frame too many
      {"P", strRequest},              // a publication without a name
  };
  for (const std::vector<std::string>& arrFrames : arrBad) client.SendFrames(arrFrames);
  client.Request({{0, "om_get_user_peer_data"}, {31003, "D01"}});
  EXPECT_EQ(ReadField(client.ReceiveResponse().value_or(std::vector<uint8_t>{}), 64056), "MUMBAI1");
  const sServerStats stats = server.GetStats();
  EXPECT_EQ(std::tuple(stats.nMalformed, stats.nRequests, stats.nClientPublications), std::tuple(arrBad.size(), 1u, 0u));

  const std::string strRequests = server.GetEndpoints().strRequests;
  const struct { const char* szCase; std::function<void(sSimOptions&)> fnChange; const char* szReason; } arrRows[] = {
      {"request port taken", [&](sSimOptions& o) { o.strRequests = strRequests; }, "cannot listen on"},
      {"no port above the request port",
       [](sSimOptions& o) { o.strRequests = "tcp://127.0.0.1:65535", o.strPublications.clear(); },
       "give --publications"},
      {"replay file missing", [](sSimOptions& o) { o.strReplayPath = "/nonexistent/feed.bin"; }, "/nonexistent/feed.bin"},
      {"recording not writable", [](sSimOptions& o) { o.strRecordPath = "/nonexistent/dir/feed.bin"; },
       "/nonexistent/dir/feed.bin"},
  };
  for (const auto& row : arrRows) {
    sSimOptions options = MakeServerOptions(0);
    row.fnChange(options);
    CRmsServer other(options);
    strError.clear();
    EXPECT_FALSE(other.Start(strError)) << row.szCase;
    EXPECT_NE(strError.find(row.szReason), std::string::npos) << row.szCase << ": " << strError;
  }
}

TEST(ServerTest, AnAnswerLargerThanTheClientsRoomArrivesWholeAndBeforeTheNext) {
  sSimOptions options = MakeServerOptions(0);
  options.tree.nAccounts = 10000;  // more responses than ZeroMQ and the system hold for a client
  CRmsServer server(options);
  std::string strError;
  ASSERT_TRUE(server.Start(strError)) << strError;
  CRawClient client(server.GetEndpoints());
  client.Request({{0, "mrv_rst_show_tree_all"}});
  client.Request({{0, "om_get_user_peer_data"}, {31003, "D01"}});
  // The client takes nothing until the server ran out of room and waits.
  for (int n = 0; n < 3000 && server.GetStats().nAnswerWaits == 0; ++n) usleep(10'000);
  ASSERT_GT(server.GetStats().nAnswerWaits, 0u);
  const auto arrTree = client.ReceiveList();
  ASSERT_FALSE(arrTree.empty());
  EXPECT_EQ(ReadField(arrTree.back(), 32766), "7");
  EXPECT_EQ(ReadField(client.ReceiveResponse().value_or(std::vector<uint8_t>{}), 64056), "MUMBAI1");
  // The server counts a response once it went: possibly just after the client had it.
  for (int n = 0; n < 3000 && server.GetStats().nResponses < arrTree.size() + 1; ++n) usleep(1'000);
  EXPECT_EQ(std::tuple(server.GetStats().nRequests, server.GetStats().nResponses), std::tuple(2u, arrTree.size() + 1));
  EXPECT_EQ(arrTree.size(), CEntityTree(options.tree, options.nSeed).GetRecords().size() + 1);
}

}  // namespace
