// The server's answers field by field, and a tree answer stopped for room and taken up again.
#include <gtest/gtest.h>

#include "rmssim/CallBook.h"
#include "rmssim/EntityTree.h"
#include "rmssim/RequestAnswers.h"
#include "tests/support/SimTestSupport.h"

namespace {

using namespace simtest;

class RequestAnswersTest : public ::testing::Test {
 protected:
  RequestAnswersTest() : m_tree(sTreeSize{1, 2, 4, 3, 40}, 1), m_answers(m_tree, m_calls) {}

  std::vector<std::vector<uint8_t>> Ask(const FieldList& arrRequest) {
    std::vector<std::vector<uint8_t>> arrResponses;
    const CTestMessage request(arrRequest);
    m_answers.Answer(request.Get(), [&](const std::vector<uint8_t>& arrResponse) {
      arrResponses.push_back(arrResponse);
      return true;
    });
    return arrResponses;
  }

  CEntityTree m_tree;
  CCallBook m_calls;
  CRequestAnswers m_answers;
};

TEST_F(RequestAnswersTest, SingleAnswers) {
  const struct { const char* szCase; FieldList arrRequest; FieldList arrResponse; } arrRows[] = {
      {"peer value of a dealer: its branch", {{0, "om_get_user_peer_data"}, {31003, "D02"}},
          {{32767, "om_get_user_peer_data"}, {32766, "5"}, {64056, "DELHI1"}}},
      {"peer value of anyone else: the first branch", {{0, "om_get_user_peer_data"}, {31003, "RISK01"}},
          {{32767, "om_get_user_peer_data"}, {32766, "5"}, {64056, "MUMBAI1"}}},
      {"unknown request", {{0, "no_such_request"}}, {{32767, "no_such_request"}, {32766, "2"}}},
      {"present values of an unknown entity", {{0, "rms_get_prsnt_values_rst"}, {54001, "A99999"},
          {32760, "ALL-ALL-ALL-ALL"}}, {{32767, "rms_get_prsnt_values_rst"}, {32766, "2"}}},
  };
  for (const auto& row : arrRows) {
    const auto arrResponses = Ask(row.arrRequest);
    ASSERT_EQ(arrResponses.size(), 1u) << row.szCase;
    EXPECT_EQ(ListFields(arrResponses[0]), row.arrResponse) << row.szCase;
  }
}

TEST_F(RequestAnswersTest, ATreeAnswerStoppedForRoomGoesOnWhereItStopped) {
  const auto arrWhole = Ask({{0, "mrv_rst_show_tree_all"}});
  // The answer stops after every nRoom-th response; the last room is never full.
  for (const size_t nRoom : {size_t{1}, size_t{3}, arrWhole.size()}) {
    SCOPED_TRACE(nRoom);
    m_tree.GetRecords()[4].m_bDeleted = false;
    std::vector<std::vector<uint8_t>> arrTaken;
    const CRequestAnswers::ResponseSink fnSink = [&](const std::vector<uint8_t>& arrResponse) {
      arrTaken.push_back(arrResponse);
      // Deleted once the answer began: left out all the same.
      m_tree.GetRecords()[4].m_bDeleted = true;
      return arrTaken.size() % nRoom != 0;
    };
    const CTestMessage request({{0, "mrv_rst_show_tree_all"}});
    std::optional<CRequestAnswers::sTreeCursor> cursor = m_answers.Answer(request.Get(), fnSink);
    size_t nStops = 0;
    for (; cursor && nStops <= arrWhole.size(); ++nStops) cursor = m_answers.ContinueTree(*cursor, fnSink);
    // Every record but the deleted one, then the end of the list.
    EXPECT_EQ(nStops, (arrWhole.size() - 2) / nRoom);
    std::vector<std::vector<uint8_t>> arrExpected = arrWhole;
    arrExpected.erase(arrExpected.begin() + 4);
    EXPECT_EQ(arrTaken, arrExpected);
  }
  // Nor are a deleted record's present values given.
  const CSimRecord& deleted = m_tree.GetRecords()[4];
  EXPECT_EQ(ReadField(Ask({{0, "rms_get_prsnt_values_rst"}, {54001, deleted.GetEntity().strId},
                           {32760, deleted.GetLevelText()}})[0], 32766), "2");
}

}  // namespace
