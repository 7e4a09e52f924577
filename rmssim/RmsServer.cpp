#include "rmssim/RmsServer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "host/transport/ZmqFrames.h"
#include "host/transport/ZmqLinkSettings.h"
#include "keys/LinkSecurity.h"
#include "protocol/RmsProtocol.h"
#include "rmssim/SimRandom.h"

namespace {

// Requests read, or feed messages sent, before the loop looks at its other sockets again.
constexpr int kBurst = 256;
// How long the loop waits before trying a publication that found no room.
constexpr int kRetryMs = 1;
// Answers ZeroMQ holds for one client before the server waits for room: a few megabytes.
constexpr int kAnswerRoom = 2000;
// How long it waits before trying an answer that found no room. The answers queued last a
// terminal tens of milliseconds, and waking less often leaves the processors to it.
constexpr int kAnswerRetryMs = 4;

using halvowire::ReceiveFrame;

}  // namespace

CRmsServer::CRmsServer(sSimOptions options, CZapHandler::LogFunction fnLog)
    : m_options(std::move(options)), m_dRate(m_options.dRate), m_fnLog(std::move(fnLog)) {
  if (!m_fnLog)
    m_fnLog = [](const std::string& strLine) { std::fprintf(stderr, "rms-sim: %s\n", strLine.c_str()); };
  if (!m_options.arrSchedule.empty()) {
    m_pSchedule = std::make_unique<CFeedSchedule>(m_options.arrSchedule);
    m_dRate = m_pSchedule->GetRate();
  }
  if (!m_options.strLedgerPath.empty()) m_pLedger = std::make_unique<CFeedLedger>();
  if (m_options.nGarbage > 0 || m_options.nOversizeMiB > 0)
    m_pFaults = std::make_unique<CFaultPublications>(m_options.nGarbage, m_options.nOversizeMiB, m_options.nSeed);
}

CRmsServer::~CRmsServer() { Stop(); }

bool CRmsServer::Start(std::string& strError) {
  if (m_pTree) {
    strError = "the server was started before";
    return false;
  }
  if (!m_options.strRecordPath.empty() && !m_recording.Open(m_options.strRecordPath, strError)) return false;
  m_pTree = std::make_unique<CEntityTree>(m_options.tree, m_options.nSeed);
  CSimRandom sampleRandom(m_options.nSeed + 1);
  m_calls.AddSamples(*m_pTree, sampleRandom, m_options.nSampleCalls, m_options.nSampleAlerts);
  m_pAnswers = std::make_unique<CRequestAnswers>(*m_pTree, m_calls, m_options);
  if (m_options.strReplayPath.empty()) {
    m_pFeed = std::make_unique<CGeneratedFeed>(*m_pTree, m_calls, m_options.nSeed, m_options.nDeleteEvery,
                                               m_options.nEventsEvery);
  } else {
    auto pReplay = std::make_unique<CReplayedFeed>();
    if (!pReplay->Open(m_options.strReplayPath, strError)) return false;
    m_pFeed = std::move(pReplay);
  }

  std::string strPublications = m_options.strPublications;
  if (strPublications.empty()) {
    const std::optional<std::string> strNext = halvowire::GetNextPortEndpoint(m_options.strRequests);
    if (!strNext) {
      strError = "no publication endpoint follows from " + m_options.strRequests + "; give --publications";
      return false;
    }
    strPublications = *strNext;
  }
  if (!PrepareSecurity(strPublications, strError)) return false;
  std::string strBinding = m_options.strRequests;
  try {
    m_pRouter = std::make_unique<zmq::socket_t>(m_context, zmq::socket_type::router);
    halvowire::ConfigureLinkSocket(*m_pRouter);
    if (m_keys) MakeCurveServer(*m_pRouter, *m_keys);
    // Answers are never dropped: a send that finds no room says so instead (and so does one to
    // a client that is gone), and the answer waits.
    m_pRouter->set(zmq::sockopt::sndhwm, kAnswerRoom);
    m_pRouter->set(zmq::sockopt::router_mandatory, 1);
    m_pRouter->bind(strBinding);
    m_pPublisher = std::make_unique<zmq::socket_t>(m_context, zmq::socket_type::xpub);
    halvowire::ConfigureLinkSocket(*m_pPublisher);
    if (m_keys) MakeCurveServer(*m_pPublisher, *m_keys);
    m_pPublisher->set(zmq::sockopt::sndhwm, m_options.nHighWaterMark);
    m_pPublisher->set(zmq::sockopt::xpub_nodrop, 1);
    strBinding = strPublications;
    m_pPublisher->bind(strBinding);
  } catch (const zmq::error_t& error) {
    strError = "cannot listen on " + strBinding + ": " + error.what();
    m_pRouter.reset();
    m_pPublisher.reset();
    return false;
  }
  m_endpoints.strRequests = m_pRouter->get(zmq::sockopt::last_endpoint);
  m_endpoints.strPublications = m_pPublisher->get(zmq::sockopt::last_endpoint);

  if (!m_thread.Start([this] { Run(); })) {
    strError = "cannot create the server's wake-up";
    return false;
  }
  return true;
}

void CRmsServer::Stop() {
  m_thread.Stop();
  m_pRouter.reset();
  m_pPublisher.reset();
  if (m_pZap) m_pZap->Stop();
  m_recording.Close();
  WriteLedger();
}

bool CRmsServer::PrepareSecurity(const std::string& strPublications, std::string& strError) {
  if (m_options.strKeyFile.empty()) {
    for (const std::string& strEndpoint : {m_options.strRequests, strPublications}) {
      // What is no endpoint at all is left to the bind to refuse, with its reason.
      if (IsLoopbackEndpoint(strEndpoint) || strEndpoint.find("://") == std::string::npos) continue;
      strError =
          strEndpoint +
          " can be reached from other machines: give --key-file and --allow-list, so that its links are "
          "encrypted (docs/security.md)";
      return false;
    }
    return true;
  }
  m_keys = ReadSecretKeyFile(m_options.strKeyFile, strError);
  if (!m_keys) {
    strError = "cannot use the secret key: " + strError;
    return false;
  }
  m_pZap = std::make_unique<CZapHandler>(m_context, m_options.strAllowListPath, m_fnLog);
  if (m_pZap->Start(strError)) return true;
  strError = "cannot use the allow-list: " + strError;
  return false;
}

sServerStats CRmsServer::GetStats() const {
  sServerStats stats;
  stats.nRequests = m_nRequests.load();
  stats.nResponses = m_nResponses.load();
  stats.nAnswerWaits = m_nAnswerWaits.load();
  stats.nFeedMessages = m_nFeedMessages.load();
  stats.nClientPublications = m_nClientPublications.load();
  stats.nMalformed = m_nMalformed.load();
  stats.bFeedEnded = m_bFeedEnded.load();
  return stats;
}

void CRmsServer::Run() {
  for (;;) {
    // While an answer waits, no new request is read; the wait for room is the retry timeout
    // (a ROUTER reports room for writing even when its one client's queue is full).
    const short nRouterEvents = HasAnswersWaiting() ? 0 : ZMQ_POLLIN;
    zmq::pollitem_t arrItems[] = {{nullptr, m_thread.GetStopDescriptor(), ZMQ_POLLIN, 0},
                                  {m_pRouter->handle(), 0, nRouterEvents, 0},
                                  {m_pPublisher->handle(), 0, ZMQ_POLLIN, 0}};
    if (zmq_poll(arrItems, 3, GetPollTimeoutMs()) < 0) continue;
    if (arrItems[0].revents & ZMQ_POLLIN) return;
    if (HasAnswersWaiting()) FlushAnswers();
    if ((arrItems[1].revents & ZMQ_POLLIN) && !HasAnswersWaiting()) ReadRequests();
    if (arrItems[2].revents & ZMQ_POLLIN) ReadSubscriptions();
    if (FlushQueued() && SendFaults()) RunFeed();
    SendHeartbeatWhenDue();
    if (m_bFeedEnded) WriteLedger();
  }
}

int CRmsServer::GetPollTimeoutMs() const {
  const auto untilHeartbeat = std::chrono::ceil<std::chrono::milliseconds>(m_nextHeartbeat - std::chrono::steady_clock::now());
  return std::clamp(GetFeedTimeoutMs(), 0, static_cast<int>(std::max<int64_t>(0, untilHeartbeat.count())));
}

int CRmsServer::GetFeedTimeoutMs() const {
  if (!m_arrQueued.empty() || (m_pFaults && m_bValuesSubscribed)) return kRetryMs;
  if (HasAnswersWaiting()) return kAnswerRetryMs;
  if (!m_bValuesSubscribed || m_bFeedEnded) return INT32_MAX;
  // Without a rate every message is due when the clock starts.
  const double dAheadSeconds =
      m_dRate > 0 ? static_cast<double>(m_nFeedMessages - m_nFeedClockBase) / m_dRate : 0.0;
  auto due = m_feedClockStart + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                    std::chrono::duration<double>(dAheadSeconds));
  // A phase that ends sooner changes the rate then.
  if (m_pSchedule && m_pSchedule->IsStarted()) due = std::min(due, m_pSchedule->GetPhaseEnd());
  const auto wait = std::chrono::duration<double, std::milli>(due - std::chrono::steady_clock::now());
  return static_cast<int>(std::ceil(std::max(0.0, wait.count())));
}

void CRmsServer::ReadRequests() {
  for (int n = 0; n < kBurst && !HasAnswersWaiting() && halvowire::ReceiveRoutedMessage(*m_pRouter, m_arrFrames); ++n) {
    const std::optional<char> cMarker = halvowire::ReadClientMarker(m_arrFrames);
    if (!cMarker) {
      ++m_nMalformed;
      continue;
    }
    HandleClientMessage(std::span(m_arrFrames).first(m_arrFrames.size() - 2), *cMarker, m_arrFrames.back());
  }
}

void CRmsServer::HandleClientMessage(std::span<const zmq::message_t> arrEnvelope, char cMarker,
                                     const zmq::message_t& body) {
  OTP_MSG hMsg = ParseOtpMessage(body.data(), body.size(), nullptr);
  if (hMsg == nullptr) {
    ++m_nMalformed;
    return;
  }
  if (cMarker == halvowire::kRequestMarker) {
    ++m_nRequests;
    KeepTree(arrEnvelope, m_pAnswers->Answer(hMsg, [this, arrEnvelope](const std::vector<uint8_t>& arrResponse) {
      return SendAnswer(arrEnvelope, arrResponse);
    }));
  } else if (const std::optional<std::string_view> strName = halvowire::GetPublicationName(hMsg);
             cMarker == halvowire::kPublicationMarker && strName) {
    ++m_nClientPublications;
    m_pAnswers->TakeClientPublication(hMsg, *strName);
    const auto* pBytes = body.data<uint8_t>();
    const int64_t nSentNs = Publish(*strName, std::vector<uint8_t>(pBytes, pBytes + body.size()));
    if (m_pLedger) m_pLedger->NoteMessage(hMsg, nSentNs);
  } else {
    ++m_nMalformed;
  }
  otp_dtor_primecb(hMsg, nullptr);
}

bool CRmsServer::SendAnswer(std::span<const zmq::message_t> arrEnvelope, const std::vector<uint8_t>& arrBytes) {
  if (m_arrWaitingAnswers.empty()) {
    switch (halvowire::SendRoutedAnswer(*m_pRouter, arrEnvelope, arrBytes.data(), arrBytes.size())) {
      case halvowire::eRoutedSend::Sent:
        ++m_nResponses;
        return true;
      case halvowire::eRoutedSend::Gone:
        // Nobody to answer: the rest of this answer is not made either.
        return false;
      case halvowire::eRoutedSend::NoRoom:
        break;
    }
  }
  if (m_arrWaitingAnswers.empty()) ++m_nAnswerWaits;
  sWaitingAnswer& waiting = m_arrWaitingAnswers.emplace_back();
  for (const zmq::message_t& frame : arrEnvelope) waiting.arrEnvelope.emplace_back(frame.data(), frame.size());
  waiting.arrBytes = arrBytes;
  return false;
}

void CRmsServer::KeepTree(std::span<const zmq::message_t> arrEnvelope,
                          std::optional<CRequestAnswers::sTreeCursor> cursor) {
  // A tree answer that stopped with nothing waiting stopped because its client is gone.
  if (!cursor || m_arrWaitingAnswers.empty()) {
    m_waitingTree.reset();
    return;
  }
  if (m_waitingTree) {
    m_waitingTree->cursor = std::move(*cursor);
    return;
  }
  sWaitingTree& tree = m_waitingTree.emplace();
  for (const zmq::message_t& frame : arrEnvelope) tree.arrEnvelope.emplace_back(frame.data(), frame.size());
  tree.cursor = std::move(*cursor);
}

void CRmsServer::FlushAnswers() {
  while (!m_arrWaitingAnswers.empty()) {
    const sWaitingAnswer& waiting = m_arrWaitingAnswers.front();
    const halvowire::eRoutedSend result =
        halvowire::SendRoutedAnswer(*m_pRouter, waiting.arrEnvelope, waiting.arrBytes.data(), waiting.arrBytes.size());
    if (result == halvowire::eRoutedSend::NoRoom) return;
    if (result == halvowire::eRoutedSend::Sent) ++m_nResponses;
    m_arrWaitingAnswers.pop_front();
  }
  if (!m_waitingTree) return;
  const std::vector<zmq::message_t>& arrEnvelope = m_waitingTree->arrEnvelope;
  KeepTree(arrEnvelope, m_pAnswers->ContinueTree(m_waitingTree->cursor, [this, &arrEnvelope](const std::vector<uint8_t>& arrResponse) {
    return SendAnswer(arrEnvelope, arrResponse);
  }));
}

void CRmsServer::ReadSubscriptions() {
  // Without ZMQ_XPUB_VERBOSE a name is reported when its first subscriber comes and when its
  // last one goes: [1 or 0][topic frame].
  static const std::string s_strValuesFrame = halvowire::MakeTopicFrame(rmsproto::kValuesTopic);
  zmq::message_t frame;
  for (int n = 0; n < kBurst && ReceiveFrame(*m_pPublisher, frame); ++n) {
    const std::string_view strFrame(frame.data<char>(), frame.size());
    if (strFrame.size() < 1 || strFrame.substr(1) != s_strValuesFrame) continue;
    const bool bSubscribed = strFrame[0] == 1;
    if (bSubscribed && !m_bValuesSubscribed) {
      // Only the feed's start is held; a subscriber coming back later finds it running at once.
      if (m_nFeedMessages == 0)
        m_feedHeldUntil = std::chrono::steady_clock::now() +
                          std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                              std::chrono::duration<double>(m_options.dFeedDelaySeconds));
      StartFeedClock();
    }
    if (bSubscribed && m_pSchedule && !m_pSchedule->IsStarted())
      m_pSchedule->Start(m_feedClockStart, halvowire::GetSendClockNs(), m_nFeedMessages);
    m_bValuesSubscribed = bSubscribed;
  }
}

bool CRmsServer::SendFaults() {
  if (!m_pFaults) return true;
  if (!m_bValuesSubscribed || !m_pFaults->Send(*m_pPublisher, kBurst)) return false;
  m_pFaults.reset();
  return true;
}

void CRmsServer::StartFeedClock() {
  m_feedClockStart = std::max(std::chrono::steady_clock::now(), m_feedHeldUntil);
  m_nFeedClockBase = m_nFeedMessages;
}

void CRmsServer::FollowSchedule() {
  if (!m_pSchedule->Advance(std::chrono::steady_clock::now(), halvowire::GetSendClockNs(), m_nFeedMessages))
    return;
  if (m_pSchedule->IsFinished()) {
    m_bFeedEnded = true;
    return;
  }
  m_dRate = m_pSchedule->GetRate();
  StartFeedClock();
}

void CRmsServer::RunFeed() {
  if (m_pSchedule && !m_bFeedEnded) FollowSchedule();
  if (!m_bValuesSubscribed || m_bFeedEnded || std::chrono::steady_clock::now() < m_feedClockStart) return;
  uint64_t nDue = m_nFeedMessages + kBurst;
  if (m_dRate > 0) {
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - m_feedClockStart;
    nDue = m_nFeedClockBase + static_cast<uint64_t>(elapsed.count() * m_dRate) + 1;
    // After a stall (no room for a while) the feed goes on at its rate, without a burst.
    if (nDue > m_nFeedMessages && static_cast<double>(nDue - m_nFeedMessages) > m_dRate + kBurst) {
      StartFeedClock();
      nDue = m_nFeedMessages + 1;
    }
    nDue = std::min<uint64_t>(nDue, m_nFeedMessages + kBurst);
  }
  if (m_options.nCount > 0) nDue = std::min(nDue, m_options.nCount);
  while (m_nFeedMessages < nDue && m_arrQueued.empty()) {
    const std::vector<uint8_t>* pBytes = nullptr;
    std::string_view strName;
    if (!m_pFeed->Next(pBytes, strName)) {
      m_bFeedEnded = true;
      return;
    }
    // Counted before it goes, so a subscriber that has the last message sees the feed ended.
    ++m_nFeedMessages;
    if (m_options.nCount > 0 && m_nFeedMessages >= m_options.nCount) m_bFeedEnded = true;
    const int64_t nSentNs = Publish(strName, *pBytes);
    if (m_pLedger) m_pFeed->NoteLast(*m_pLedger, nSentNs);
  }
}

int64_t CRmsServer::Publish(std::string_view strName, const std::vector<uint8_t>& arrBytes) {
  std::string strTopicFrame = halvowire::MakeTopicFrame(strName);
  const int64_t nSentNs = halvowire::GetSendClockNs();
  if (m_arrQueued.empty() && TrySend(strTopicFrame, arrBytes, nSentNs)) return nSentNs;
  m_arrQueued.push_back({std::move(strTopicFrame), arrBytes, nSentNs});
  return nSentNs;
}

void CRmsServer::SendHeartbeatWhenDue() {
  const auto now = std::chrono::steady_clock::now();
  if (now < m_nextHeartbeat) return;
  m_nextHeartbeat = now + std::chrono::milliseconds(halvowire::kServerHeartbeatMs);
  // Behind waiting publications a heartbeat would say nothing new: the data says it.
  if (!m_arrQueued.empty()) return;
  static const std::string s_strTopicFrame = halvowire::MakeTopicFrame(halvowire::kHeartbeatTopic);
  static const std::vector<uint8_t> s_arrEmpty = CMessageBuilder().GetBytes();
  SendFrames(s_strTopicFrame, s_arrEmpty, halvowire::GetSendClockNs());
}

void CRmsServer::WriteLedger() {
  if (!m_pLedger || m_bLedgerWritten) return;
  m_bLedgerWritten = true;
  std::string strError;
  if (!m_pLedger->Write(m_options.strLedgerPath, strError))
    std::fprintf(stderr, "rms-sim: %s\n", strError.c_str());
}

bool CRmsServer::TrySend(const std::string& strTopicFrame, const std::vector<uint8_t>& arrBytes,
                         int64_t nSentNs) {
  if (!SendFrames(strTopicFrame, arrBytes, nSentNs)) return false;
  if (m_recording.IsOpen()) m_recording.Write(arrBytes.data(), arrBytes.size());
  return true;
}

bool CRmsServer::SendFrames(const std::string& strTopicFrame, const std::vector<uint8_t>& arrBytes,
                            int64_t nSentNs) {
  if (!m_pPublisher->send(zmq::const_buffer(strTopicFrame.data(), strTopicFrame.size()),
                          zmq::send_flags::sndmore | zmq::send_flags::dontwait))
    return false;
  // Room is counted in whole messages, so the other frames always go after the first.
  m_pPublisher->send(zmq::const_buffer(arrBytes.data(), arrBytes.size()), zmq::send_flags::sndmore);
  const std::string strSendTime = halvowire::MakeSendTimeFrame(nSentNs);
  m_pPublisher->send(zmq::const_buffer(strSendTime.data(), strSendTime.size()), zmq::send_flags::none);
  return true;
}

bool CRmsServer::FlushQueued() {
  while (!m_arrQueued.empty()) {
    const sQueuedPublication& queued = m_arrQueued.front();
    if (!TrySend(queued.strTopicFrame, queued.arrBytes, queued.nSentNs)) return false;
    m_arrQueued.pop_front();
  }
  return true;
}
