// The server's answers to requests, message by message, and what it keeps of the publications
// its clients send. Knows no sockets.
//
//   om_get_user_peer_data         one response: status 5, 64056 the user's peer value
//   mrv_rst_show_tree_all         one response per record (status 5, 54211 the values topic, the
//                                 record and its calls), then one with status 7
//   roth_rst                      one response per kept call status (status 5), then status 7
//   mrv_surv_alert_show_tree_all  one response per kept manual alert (status 5, 54211 "manual sms
//                                 alert"), then status 7
//   rms_get_prsnt_values_rst      the record of 54001 at level text 32760 as in the tree answer;
//                                 status 2 for an unknown or deleted record
//   anything else                 one response with status 2
//
// Every response names its request in 32767 and carries its status in 32766. With a tree status
// other than 5 configured, both tree requests get one response with that status and nothing
// else. With the request log on, each request's name is printed ("rms-sim: request NAME") before
// it is answered.
//
// A tree answer goes no faster than the client takes it: when the sink says there is no room,
// the answer stops and the caller goes on with it later, from the record where it stopped.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "connect/include/HalvoCodec.h"
#include "connect/include/connecthalvo.h"
#include "rmssim/SimOptions.h"

class CCallBook;
class CEntityTree;

class CRequestAnswers {
 public:
  // Called with each response in turn; the bytes last until the next call. False when the
  // client has no room for more after this one (the sink keeps it to send later).
  using ResponseSink = std::function<bool(const std::vector<uint8_t>&)>;

  // Where a tree answer stopped for room.
  struct sTreeCursor {
    std::string strName;
    size_t nNextRecord = 0;
  };

  // Takes the tree status and the request log from the options.
  CRequestAnswers(CEntityTree& tree, CCallBook& calls, const sSimOptions& options = {})
      : m_tree(tree),
        m_calls(calls),
        m_nTreeStatus(options.nTreeStatus),
        m_bLogRequests(options.bLogRequests) {}

  // A cursor when a tree answer stopped for room; every other answer goes out whole.
  std::optional<sTreeCursor> Answer(OTP_MSG hRequest, const ResponseSink& fnSend);
  // Goes on with a tree answer where it stopped; a cursor again when it stops again.
  std::optional<sTreeCursor> ContinueTree(const sTreeCursor& cursor, const ResponseSink& fnSend);

  // Keeps a client publication when it is a call status or a manual alert; every publication
  // is fanned out by the caller all the same.
  void TakeClientPublication(OTP_MSG hMsg, std::string_view strName);

 private:
  void StartResponse(std::string_view strName, int32_t nStatus);
  std::optional<sTreeCursor> AnswerTree(std::string_view strName, size_t nFromRecord, const ResponseSink& fnSend);
  void AnswerCallStatuses(std::string_view strName, const ResponseSink& fnSend);
  void AnswerManualAlerts(std::string_view strName, const ResponseSink& fnSend);
  void AnswerPresentValues(OTP_MSG hRequest, std::string_view strName, const ResponseSink& fnSend);
  void SendEndOfList(std::string_view strName, const ResponseSink& fnSend);
  // True when the tree status is not success: the one response with it has gone out.
  bool SendTreeStatusAlone(std::string_view strName, const ResponseSink& fnSend);

  CEntityTree& m_tree;
  CCallBook& m_calls;
  int32_t m_nTreeStatus;
  bool m_bLogRequests;
  CMessageBuilder m_builder;
};
