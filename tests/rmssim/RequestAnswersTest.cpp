// The server's answers field by field, and what it keeps of its clients' publications.
#include <gtest/gtest.h>

#include "rmssim/CallBook.h"
#include "rmssim/EntityTree.h"
#include "rmssim/RequestAnswers.h"
#include "rmssim/SimRandom.h"
#include "tests/support/SimTestSupport.h"

namespace {

using namespace simtest;

class RequestAnswersTest : public ::testing::Test {
 protected:
  RequestAnswersTest() : m_tree(sTreeSize{1, 2, 4, 3, 40}, 1), m_answers(m_tree, m_calls) {
    CSimRandom random(2);
    m_calls.AddSamples(m_tree, random, 2, 2);
  }

  // Asks the fixture's answers, or pAnswers when given.
  std::vector<std::vector<uint8_t>> Ask(const FieldList& arrRequest, CRequestAnswers* pAnswers = nullptr) {
    std::vector<std::vector<uint8_t>> arrResponses;
    const CTestMessage request(arrRequest);
    (pAnswers != nullptr ? *pAnswers : m_answers)
        .Answer(request.Get(), [&](const std::vector<uint8_t>& arrResponse) {
          arrResponses.push_back(arrResponse);
          return true;
        });
    return arrResponses;
  }

  void Take(const FieldList& arrPublication) {
    const CTestMessage message(arrPublication);
    m_answers.TakeClientPublication(message.Get(), ReadField(ComposeMessage(arrPublication), 54211).value_or(""));
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
      {"names compare exactly", {{0, "ROTH_RST"}}, {{32767, "ROTH_RST"}, {32766, "2"}}},
      {"no name", {{31003, "RISK01"}}, {{32766, "2"}}},
      {"present values of an unknown entity", {{0, "rms_get_prsnt_values_rst"}, {54001, "A99999"},
          {32760, "ALL-ALL-ALL-ALL"}}, {{32767, "rms_get_prsnt_values_rst"}, {32766, "2"}}},
      {"present values at a level the entity lacks", {{0, "rms_get_prsnt_values_rst"}, {54001, "D01"},
          {32760, "CD-NSE-MIS"}}, {{32767, "rms_get_prsnt_values_rst"}, {32766, "2"}}},
  };
  for (const auto& row : arrRows) {
    const auto arrResponses = Ask(row.arrRequest);
    ASSERT_EQ(arrResponses.size(), 1u) << row.szCase;
    EXPECT_EQ(ListFields(arrResponses[0]), row.arrResponse) << row.szCase;
  }
}

// The record as the tree answer sends it, under the request's name; fields of the request
// other than the entity and level change nothing.
TEST_F(RequestAnswersTest, PresentValuesAreTheRecordAsTheTreeSendsIt) {
  const auto arrResponses =
      Ask({{0, "rms_get_prsnt_values_rst"}, {54001, "A10001"}, {32760, "ALL-ALL-ALL-ALL"}, {63002, "x"}});
  ASSERT_EQ(arrResponses.size(), 1u);
  const auto itRecord = std::find_if(m_tree.GetRecords().begin(), m_tree.GetRecords().end(), [](const auto& record) {
    return record.GetEntity().strEntityText == "account-A10001" && record.GetLevelText() == "ALL-ALL-ALL-ALL";
  });
  FieldList arrTreeFields = ListFields(Ask({{0, "mrv_rst_show_tree_all"}})[itRecord - m_tree.GetRecords().begin()]);
  ASSERT_GT(arrTreeFields.size(), 200u);
  arrTreeFields[0].second = "rms_get_prsnt_values_rst";
  EXPECT_EQ(ListFields(arrResponses[0]), arrTreeFields);
}

// Each list: its responses, then one with status 7. Tree records open with name, status, topic,
// entity and level; call statuses carry one kind of call; manual alerts their own fields.
TEST_F(RequestAnswersTest, ListsEndWithAStatusOtherThanSuccess) {
  std::vector<FieldList> arrTree, arrCalls, arrAlerts;
  for (const CSimRecord& record : m_tree.GetRecords())
    arrTree.push_back({{32767, "mrv_rst_show_tree_all"}, {32766, "5"}, {54211, "rms prsnt value publish"},
                       {64050, record.GetEntity().strEntityText}, {54244, record.GetLevelText()}});
  for (const sCallStatus& call : m_calls.GetCallStatuses())
    arrCalls.push_back({{32767, "roth_rst"}, {32766, "5"}, {64050, call.strEntityText}, {54244, call.strLevelText},
                        {call.bMarginCall ? 49302u : 49288u, call.strStatus},
                        {call.bMarginCall ? 12030u : 10615u, call.strTime}, {54247, "RMSADMIN"}});
  for (const FieldList& alert : m_calls.GetManualAlerts()) {
    arrAlerts.push_back({{32767, "mrv_surv_alert_show_tree_all"}, {32766, "5"}, {54211, "manual sms alert"}});
    arrAlerts.back().insert(arrAlerts.back().end(), alert.begin(), alert.end());
  }
  const std::pair<const char*, std::vector<FieldList>*> arrLists[] = {
      {"mrv_rst_show_tree_all", &arrTree}, {"roth_rst", &arrCalls}, {"mrv_surv_alert_show_tree_all", &arrAlerts}};
  for (const auto& [szName, arrExpected] : arrLists) {
    SCOPED_TRACE(szName);
    arrExpected->push_back({{32767, szName}, {32766, "7"}});
    std::vector<FieldList> arrAnswered;
    for (const std::vector<uint8_t>& arrResponse : Ask({{0, szName}})) {
      arrAnswered.push_back(ListFields(arrResponse));
      if (arrExpected == &arrTree && arrAnswered.back().size() > 5) arrAnswered.back().resize(5);
    }
    EXPECT_EQ(arrAnswered, *arrExpected);
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

TEST_F(RequestAnswersTest, TreeStatusOtherThanSuccessComesAloneForBothTrees) {
  for (const int32_t nStatus : {7, 0}) {
    sSimOptions options;
    options.nTreeStatus = nStatus;
    CRequestAnswers answers(m_tree, m_calls, options);
    const std::string strStatus = std::to_string(nStatus);
    for (const char* szTree : {"mrv_rst_show_tree_all", "mrv_surv_alert_show_tree_all"}) {
      const auto arrResponses = Ask({{0, szTree}}, &answers);
      ASSERT_EQ(arrResponses.size(), 1u) << szTree << " " << nStatus;
      EXPECT_EQ(ListFields(arrResponses[0]), (FieldList{{32767, szTree}, {32766, strStatus}})) << nStatus;
    }
    // The call statuses are answered as usual.
    EXPECT_EQ(Ask({{0, "roth_rst"}}, &answers).size(), m_calls.GetCallStatuses().size() + 1) << nStatus;
  }
}

TEST_F(RequestAnswersTest, CallStatusesFromClientsAreKept) {
  const FieldList arrHeader = {
      {54211, "rms prsnt value publish ZEL"}, {64050, "dealer-D03"}, {54244, "CM-NSE-NRML"}};
  const struct {
    const char* szCase;
    FieldList arrCall;
    std::optional<std::pair<uint32_t, std::string>> keptStatus;
  } arrRows[] = {
      {"obligation", {{49288, "OPEN"}, {10615, "06/12/2024 09:00:00 AM"}, {54247, "RISK01"}},
          std::pair{49288u, "OPEN"}},
      {"margin", {{49302, "LEVEL 2"}, {12030, "06/12/2024 09:05:00 AM"}, {54247, "RISK01"}},
          std::pair{49302u, "LEVEL 2"}},
      {"both kinds: an obligation", {{49288, "CLOSE"}, {10615, "t1"}, {49302, "OPEN"}, {12030, "t2"},
          {54247, "RISK02"}}, std::pair{49288u, "CLOSE"}},
      {"no user", {{49288, "OPEN"}, {10615, "t"}}, std::nullopt},
      {"status without time", {{49302, "OPEN"}, {54247, "RISK01"}}, std::nullopt},
  };
  for (const auto& row : arrRows) {
    const size_t nBefore = m_calls.GetCallStatuses().size();
    FieldList arrPublication = arrHeader;
    arrPublication.insert(arrPublication.end(), row.arrCall.begin(), row.arrCall.end());
    Take(arrPublication);
    ASSERT_EQ(m_calls.GetCallStatuses().size(), nBefore + (row.keptStatus ? 1 : 0)) << row.szCase;
    if (!row.keptStatus) continue;

    const auto arrCalls = Ask({{0, "roth_rst"}});
    const std::vector<uint8_t>& arrNewest = arrCalls[arrCalls.size() - 2];
    EXPECT_EQ(ReadField(arrNewest, row.keptStatus->first), row.keptStatus->second) << row.szCase;
    EXPECT_EQ(ReadField(arrNewest, 64050), "dealer-D03") << row.szCase;
    // The record now carries the call in its answers.
    const auto arrRecord =
        Ask({{0, "rms_get_prsnt_values_rst"}, {54001, "D03"}, {32760, "CM-NSE-NRML"}});
    EXPECT_EQ(ReadField(arrRecord[0], row.keptStatus->first), row.keptStatus->second) << row.szCase;
  }
}

TEST_F(RequestAnswersTest, ManualAlertsFromClientsAreKept) {
  const size_t nBefore = m_calls.GetManualAlerts().size();
  Take({{54211, "manual sms alert"}, {54001, "A10002"}, {54247, "RISK01"}, {63002, "FO"}, {64030, "NRML"},
      {63447, "1234.50"}, {50100, "1733475600"}, {50101, "250"}, {63059, "3"}, {99, "not kept"}});
  Take({{54211, "manual sms alert"}, {54247, "RISK01"}, {63447, "10.00"}});  // no client: not kept
  ASSERT_EQ(m_calls.GetManualAlerts().size(), nBefore + 1);
  const auto arrAlerts = Ask({{0, "mrv_surv_alert_show_tree_all"}});
  const FieldList arrExpected = {{32767, "mrv_surv_alert_show_tree_all"}, {32766, "5"}, {54211, "manual sms alert"},
      {54001, "A10002"}, {54247, "RISK01"}, {63002, "FO"}, {64030, "NRML"}, {63447, "1234.50"},
      {50100, "1733475600"}, {50101, "250"}, {63059, "3"}};
  EXPECT_EQ(ListFields(arrAlerts[arrAlerts.size() - 2]), arrExpected);
}

}  // namespace
