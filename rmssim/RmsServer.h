// The risk server: a ROUTER for requests and client publications and an XPUB for publications,
// served by one thread of its own. Terminals connect directly or through relays; an answer goes
// back along the routing envelope its request came with, however many relays that passed.
//
// Requests are answered in the order they come (CRequestAnswers). An answer goes no faster than
// its client takes it: a tree answer is made record by record as the client has room, so the
// server never holds a whole tree of encoded answers; while an answer waits, no other request
// is read. A client publication is kept when it is a
// call status or a manual alert, then fanned out on the XPUB under its own name. The feed of
// value changes runs while anyone subscribes to "rms prsnt value publish", at the configured
// rate; it starts with the first such subscriber (after the configured delay), so a recording
// begins with what that subscriber sees. Publishing never drops: when a subscriber's queue is
// full the feed waits (ZMQ_XPUB_NODROP), while requests are still answered. Each publication
// carries the moment it was published, kept while it waits for room, so a terminal's delay
// includes the wait. A heartbeat ("link heartbeat") goes out every second. Fault publications,
// when asked for, go before the feed's first message.
//
// With a key file and an allow-list both sockets are CURVE servers and a ZAP handler lets in
// only the listed client keys; without them the server listens on loopback only.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>
#include <zmq.hpp>

#include "host/transport/TransportWire.h"
#include "keys/CurveKeys.h"
#include "keys/ZapHandler.h"
#include "platform/StoppableThread.h"
#include "rmssim/CallBook.h"
#include "rmssim/EntityTree.h"
#include "rmssim/FaultPublications.h"
#include "rmssim/FeedFile.h"
#include "rmssim/FeedLedger.h"
#include "rmssim/FeedSchedule.h"
#include "rmssim/FeedSource.h"
#include "rmssim/RequestAnswers.h"
#include "rmssim/SimOptions.h"

struct sServerStats {
  uint64_t nRequests = 0;
  uint64_t nResponses = 0;
  uint64_t nAnswerWaits = 0;         // times an answer found no room with its client and waited
  uint64_t nFeedMessages = 0;        // feed messages published
  uint64_t nClientPublications = 0;  // taken from clients and fanned out
  uint64_t nMalformed = 0;           // frames from clients dropped
  bool bFeedEnded = false;           // the count was reached or the recording ran out
};

class CRmsServer {
 public:
  // fnLog takes what the server tells its operator while it runs (refused clients, a changed
  // allow-list), a line at a time; by default standard error, after "rms-sim: ".
  explicit CRmsServer(sSimOptions options, CZapHandler::LogFunction fnLog = {});
  // Stops the thread if it runs.
  ~CRmsServer();
  CRmsServer(const CRmsServer&) = delete;
  CRmsServer& operator=(const CRmsServer&) = delete;

  // Makes the tree, opens the recording or replay file, reads the keys, binds both endpoints
  // and starts the thread; once. False with the reason when something cannot be opened, read
  // or bound, or when an endpoint off loopback has no keys to protect it.
  bool Start(std::string& strError);
  // Stops the thread and closes the sockets and the recording; unsent publications are lost.
  void Stop();

  // The endpoints bound, with ports chosen by the system filled in.
  const halvowire::sServerEndpoints& GetEndpoints() const { return m_endpoints; }
  sServerStats GetStats() const;

 private:
  struct sQueuedPublication {
    std::string strTopicFrame;
    std::vector<uint8_t> arrBytes;
    int64_t nSentNs = 0;
  };

  // An answer that found no room, with the envelope it goes back along.
  struct sWaitingAnswer {
    std::vector<zmq::message_t> arrEnvelope;
    std::vector<uint8_t> arrBytes;
  };
  struct sWaitingTree {
    std::vector<zmq::message_t> arrEnvelope;
    CRequestAnswers::sTreeCursor cursor;
  };

  // Reads the key file and starts the ZAP handler, before any socket binds; or, without
  // keys, makes sure both endpoints stay on this machine.
  bool PrepareSecurity(const std::string& strPublications, std::string& strError);
  void Run();
  int GetPollTimeoutMs() const;
  // How long the feed and the waiting messages let the loop sleep; INT32_MAX for ever.
  int GetFeedTimeoutMs() const;
  // Publishes the heartbeat every second, so terminals tell a quiet server from a frozen one.
  void SendHeartbeatWhenDue();
  bool HasAnswersWaiting() const { return !m_arrWaitingAnswers.empty() || m_waitingTree.has_value(); }
  void ReadRequests();
  // Sends an answer, or keeps it when the client has no room; false when more would not fit.
  bool SendAnswer(std::span<const zmq::message_t> arrEnvelope, const std::vector<uint8_t>& arrBytes);
  void KeepTree(std::span<const zmq::message_t> arrEnvelope, std::optional<CRequestAnswers::sTreeCursor> cursor);
  // Sends what waits, then goes on with a waiting tree answer, as far as there is room.
  void FlushAnswers();
  void HandleClientMessage(std::span<const zmq::message_t> arrEnvelope, char cMarker,
                           const zmq::message_t& body);
  void ReadSubscriptions();
  // Sends the fault publications while the subscribers have room; true once all went.
  bool SendFaults();
  void StartFeedClock();
  void FollowSchedule();
  void RunFeed();
  // Sends or queues a publication; its send time.
  int64_t Publish(std::string_view strName, const std::vector<uint8_t>& arrBytes);
  // Sends a publication and records it; false when a subscriber has no room.
  bool TrySend(const std::string& strTopicFrame, const std::vector<uint8_t>& arrBytes, int64_t nSentNs);
  bool SendFrames(const std::string& strTopicFrame, const std::vector<uint8_t>& arrBytes, int64_t nSentNs);
  bool FlushQueued();
  // Once: when the feed ended, or at the stop.
  void WriteLedger();

  sSimOptions m_options;
  halvowire::sServerEndpoints m_endpoints;
  std::unique_ptr<CEntityTree> m_pTree;
  CCallBook m_calls;
  std::unique_ptr<CRequestAnswers> m_pAnswers;
  std::unique_ptr<CFeedSource> m_pFeed;
  CFeedWriter m_recording;
  std::unique_ptr<CFeedSchedule> m_pSchedule;  // null without --schedule
  double m_dRate;                              // of the feed now
  std::unique_ptr<CFeedLedger> m_pLedger;      // null without --ledger
  bool m_bLedgerWritten = false;
  std::unique_ptr<CFaultPublications> m_pFaults;  // null when none are asked for or all went

  zmq::context_t m_context;
  CZapHandler::LogFunction m_fnLog;
  std::optional<sCurveKeyPair> m_keys;  // set when the links are CURVE-encrypted
  std::unique_ptr<CZapHandler> m_pZap;  // stopped after the sockets closed
  std::unique_ptr<zmq::socket_t> m_pRouter;
  std::unique_ptr<zmq::socket_t> m_pPublisher;
  CStoppableThread m_thread;

  std::vector<zmq::message_t> m_arrFrames;     // the client message being handled
  std::deque<sQueuedPublication> m_arrQueued;  // waiting for room on the XPUB, in order
  std::deque<sWaitingAnswer> m_arrWaitingAnswers;  // waiting for room on the ROUTER, in order
  std::optional<sWaitingTree> m_waitingTree;       // goes on once the waiting answers went
  bool m_bValuesSubscribed = false;
  std::chrono::steady_clock::time_point m_feedClockStart;  // may lie ahead while the feed is held
  std::chrono::steady_clock::time_point m_feedHeldUntil;   // set by the first subscriber
  std::chrono::steady_clock::time_point m_nextHeartbeat;
  uint64_t m_nFeedClockBase = 0;                           // feed messages sent when the clock started

  std::atomic<uint64_t> m_nRequests{0};
  std::atomic<uint64_t> m_nResponses{0};
  std::atomic<uint64_t> m_nAnswerWaits{0};
  std::atomic<uint64_t> m_nFeedMessages{0};
  std::atomic<uint64_t> m_nClientPublications{0};
  std::atomic<uint64_t> m_nMalformed{0};
  std::atomic<bool> m_bFeedEnded{false};
};
