// The cases that harm the server or its traffic. Each waits for what the terminal reports where
// it can; the terminal's run has a fixed length (--quit-after) with room for a slow machine, and
// the server is stopped only after it closed, so the connections lost are the fault's.
#include "tests/faults/FaultCases.h"

namespace faultsuite {

namespace {

using std::chrono::milliseconds;

constexpr int64_t kSecondNs = 1'000'000'000;
// A frozen or dead server is shown as such within 6 s; a server back is shown so within 10 s.
constexpr milliseconds kGoneShownWithin{6000}, kBackShownWithin{10000}, kStartPatience{30000};
// The hand-over's bound is 16 MiB; the read burst under way still lands.
constexpr double kQueueBoundMb = 24;
// The terminal's peak memory on the default desk of 2,250 records, sanitizer builds included.
constexpr double kRssBoundMb = 600;
// A 64 MiB frame refused before it is read costs no more than one of 17 MiB; read, 47 MiB more.
constexpr double kOversizeCostBoundMb = 32;

const std::string kConnected = "Server: connected";
const std::string kNotResponding = "Server: not responding";
const std::string kTreeRequest = "mrv_rst_show_tree_all";

int64_t Now() { return halvowire::GetSendClockNs(); }
double ToMs(int64_t nNs) { return static_cast<double>(nNs) / 1e6; }

// The server's usual desk: a call status or a manual alert every 200 feed messages, and its ledger.
std::vector<std::string> MakeServerOptions(const std::filesystem::path& ledger, std::vector<std::string> arrMore) {
  arrMore.insert(arrMore.end(), {"--events-every", "200", "--ledger", ledger.string()});
  return arrMore;
}

// Starts the server and the terminal and waits until the terminal shows the link connected and
// the server was asked every start-up request; false (noted) otherwise.
bool StartLinked(CServerRun& server, const std::vector<std::string>& arrServerOptions, CTerminalRun& terminal,
                 double dQuitAfter, const std::vector<std::string>& arrTerminalOptions, sFaultVerdict& verdict) {
  verdict.Check(server.Start(arrServerOptions), "rms-sim starts");
  if (server.GetAddress().empty()) return false;
  verdict.Check(terminal.Start(server.GetAddress(), dQuitAfter, arrTerminalOptions), "the terminal starts");
  const bool bConnected = terminal.WaitForLink(kConnected, kStartPatience).has_value();
  verdict.Check(bConnected, "the terminal shows the link connected after its start");
  // The server answers in order, and the plug-in subscribes to the manual alerts at the end of
  // the last start-up answer, asked once only: the faults come after it.
  const bool bAnswered = server.WaitForRequest("mrv_surv_alert_show_tree_all", kStartPatience);
  verdict.Check(bAnswered, "the server is asked every start-up request");
  return bConnected && bAnswered;
}

// The terminal's peak memory and the hand-over's stay within their bounds (-1: not reported).
void CheckMemory(const CTerminalRun& terminal, sFaultVerdict& verdict) {
  const double dRssMb = terminal.GetReport("rss_peak_mb").value_or(-1);
  const double dQueueMb = terminal.GetReport("queue_peak_mb").value_or(-1);
  verdict.Check(dRssMb > 0 && dRssMb <= kRssBoundMb && dQueueMb >= 0 && dQueueMb <= kQueueBoundMb,
                "peak memory " + std::to_string(dRssMb) + " MiB and hand-over " + std::to_string(dQueueMb) +
                    " MiB stay within " + std::to_string(kRssBoundMb) + " and " + std::to_string(kQueueBoundMb));
  verdict.mapFigures["queue_peak_mb"] = dQueueMb;
}

// The memory, and, given nFromNs: every record published from then on ends at the terminal
// with the server's last value, and every event sent then reached it, in order.
void CheckRecords(const std::filesystem::path& serverLedger, const CTerminalRun& terminal,
                  std::optional<int64_t> nFromNs, sFaultVerdict& verdict) {
  CheckMemory(terminal, verdict);
  if (!nFromNs) return;
  const std::optional<ledgercompare::sComparison> c = CompareLedgers(serverLedger, terminal, *nFromNs, verdict);
  if (!c) return;
  verdict.Check(c->nRecords > 0, "the server published records to compare");
  verdict.Check(c->nMismatches == 0, std::to_string(c->nMismatches) + " of " + std::to_string(c->nRecords) +
                                         " records end with another value than the server's last");
  verdict.Check(c->nLost == 0 && c->nOutOfOrder == 0, std::to_string(c->nLost) + " events lost, " +
                    std::to_string(c->nOutOfOrder) + " out of order, of " + std::to_string(c->nEvents));
}

// The end of a run the fault must not break, from the link being up (now): the terminal closes
// by itself, stays connected, loses no connection and ends with the server's records.
void CheckUnbrokenRun(CServerRun& server, CTerminalRun& terminal, const std::filesystem::path& serverLedger,
                      sFaultVerdict& verdict) {
  const int64_t nConnectedNs = Now();
  CheckClosed(terminal, verdict);
  for (const std::string& strState : terminal.GetStatesBetween(nConnectedNs, Now()))
    verdict.Check(strState == kConnected, "the link stays connected, but showed \"" + strState + "\"");
  verdict.Check(server.Stop(), "rms-sim stops cleanly");
  verdict.Check(terminal.GetReport("connections_lost") == 0.0, "no connection is lost");
  CheckRecords(serverLedger, terminal, 0, verdict);
}

sFaultVerdict RunFrozenServer() {
  constexpr double kQuitAfter = 28;
  constexpr int64_t kFreezeNs = 15 * kSecondNs;
  sFaultVerdict verdict;
  benchprocess::CScratchFolder folder("fault-frozen");
  const std::filesystem::path ledger = folder.GetPath() / "server.ledger";
  CServerRun server;
  CTerminalRun terminal(folder.GetPath());
  // 5 s of feed: one before the freeze, the rest after it.
  if (!StartLinked(server, MakeServerOptions(ledger, {"--rate", "200", "--count", "1000"}), terminal, kQuitAfter, {},
                   verdict))
    return verdict;
  terminal.ReadUntil(Now() + kSecondNs);

  const int64_t nStopNs = Now();
  server.Signal(SIGSTOP);
  const std::optional<int64_t> nShownNs = terminal.WaitForLink({}, milliseconds(kFreezeNs / 1'000'000));
  verdict.Check(nShownNs && terminal.GetLinkChanges().back().strState == kNotResponding,
                "the frozen server is shown as \"" + kNotResponding + "\"");
  if (nShownNs) {
    verdict.mapFigures["frozen_server_shown_ms"] = ToMs(*nShownNs - nStopNs);
    verdict.Check(*nShownNs - nStopNs <= kGoneShownWithin.count() * 1'000'000,
                  "the frozen server is shown as such within 6 s");
  }
  terminal.ReadUntil(nStopNs + kFreezeNs);
  for (const std::string& strState : terminal.GetStatesBetween(nStopNs, Now()))
    verdict.Check(strState != kConnected, "a frozen server is never shown connected");

  server.Signal(SIGCONT);
  const std::optional<int64_t> nBackNs = terminal.WaitForLink(kConnected, kBackShownWithin);
  verdict.Check(nBackNs.has_value(), "the server back is shown connected within 10 s");
  CheckClosed(terminal, verdict);
  // The connections outlast the freeze (the frozen server's system still answers TCP), so the
  // session goes on: nothing was lost and nothing is asked again.
  verdict.Check(server.CountRequests(kTreeRequest) == 1, "the session outlasts the freeze");
  verdict.Check(server.Stop(), "rms-sim stops cleanly");
  verdict.Check(terminal.GetReport("connections_lost") == 0.0, "no connection is lost to the freeze");
  CheckRecords(ledger, terminal, nBackNs, verdict);
  return verdict;
}

// The server killed (SIGKILL) and started again on the same ports, with the same entities or
// others. Figure: from the restart until the answer to the new tree request was delivered.
sFaultVerdict RunRestartedServer(bool bSameEntities) {
  constexpr double kQuitAfter = 10;
  sFaultVerdict verdict;
  benchprocess::CScratchFolder folder(bSameEntities ? "fault-restart-same" : "fault-restart-other");
  CServerRun first;
  CTerminalRun terminal(folder.GetPath());
  if (!StartLinked(first, {"--events-every", "200"}, terminal, kQuitAfter, {}, verdict)) return verdict;
  terminal.ReadUntil(Now() + 3 * kSecondNs / 2);

  first.Kill();
  verdict.Check(terminal.WaitForLink({}, kGoneShownWithin).has_value(),
                "the killed server is no longer shown connected within 6 s");
  const int64_t nRestartNs = Now();
  CServerRun second;
  const std::filesystem::path ledger = folder.GetPath() / "second.ledger";
  // 3 s of feed after the restart.
  std::vector<std::string> arrOptions = {"--rate", "200", "--count", "600"};
  if (!bSameEntities) arrOptions.insert(arrOptions.end(), {"--accounts", "500", "--seed", "9"});
  verdict.Check(second.Start(MakeServerOptions(ledger, arrOptions), first.GetAddress()),
                "rms-sim starts again on the same ports");
  const std::optional<int64_t> nBackNs = terminal.WaitForLink(kConnected, kBackShownWithin);
  verdict.Check(nBackNs.has_value(), "the restarted server is shown connected within 10 s");
  CheckClosed(terminal, verdict);
  verdict.Check(second.CountRequests(kTreeRequest) == 1, "the terminal asks the new server for the tree");
  verdict.Check(second.Stop(), "rms-sim stops cleanly");
  // When the last answer was delivered, on the send clock.
  const double dAnsweredMs = terminal.GetReport("last_response_after_start_ms").value_or(0);
  const int64_t nAnsweredNs = terminal.GetStartNs() + static_cast<int64_t>(dAnsweredMs * 1e6);
  verdict.Check(nAnsweredNs > nRestartNs, "the new server's tree answer was delivered");
  if (nAnsweredNs > nRestartNs) verdict.mapFigures["reconnect_recovery_ms"] = ToMs(nAnsweredNs - nRestartNs);
  CheckRecords(ledger, terminal, nBackNs, verdict);
  return verdict;
}

// 20,000 malformed publications when the feed starts: dropped and counted.
sFaultVerdict RunMalformedPublications() {
  constexpr double kQuitAfter = 7;
  sFaultVerdict verdict;
  benchprocess::CScratchFolder folder("fault-malformed");
  const std::filesystem::path ledger = folder.GetPath() / "server.ledger";
  CServerRun server;
  CTerminalRun terminal(folder.GetPath());
  // A short feed (1 s): on a loaded machine the terminal still has it all before its quit time.
  if (!StartLinked(server, MakeServerOptions(ledger, {"--garbage", "20000", "--count", "400", "--rate", "400"}),
                   terminal, kQuitAfter, {}, verdict))
    return verdict;
  CheckUnbrokenRun(server, terminal, ledger, verdict);
  verdict.Check(terminal.GetReport("malformed_dropped") == 20000.0,
                "each malformed publication is dropped and counted");
  return verdict;
}

// One 64 MiB frame when the feed starts, beside a run with a 17 MiB one (just past the limit:
// the same connection dropped, the same tree asked again) to measure the memory against.
sFaultVerdict RunOversizeFrame() {
  constexpr double kQuitAfter = 9;
  sFaultVerdict verdict;
  benchprocess::CScratchFolder folder("fault-oversize"), baselineFolder("fault-oversize-baseline");
  const std::filesystem::path ledger = folder.GetPath() / "server.ledger";
  CServerRun server, baselineServer;
  CTerminalRun terminal(folder.GetPath()), baseline(baselineFolder.GetPath());
  verdict.Check(baselineServer.Start({"--count", "400", "--rate", "400", "--oversize-mb", "17"}),
                "rms-sim starts for the run with a 17 MiB frame");
  verdict.Check(baseline.Start(baselineServer.GetAddress(), kQuitAfter), "the terminal with a 17 MiB frame starts");
  // A feed of 4 s outlasts the reconnect after the frame, so records published after it compare.
  if (!StartLinked(server, MakeServerOptions(ledger, {"--oversize-mb", "64", "--count", "1600", "--rate", "400"}),
                   terminal, kQuitAfter, {}, verdict))
    return verdict;
  CheckClosed(terminal, verdict);
  CheckClosed(baseline, verdict);
  verdict.Check(server.CountRequests(kTreeRequest) == 2,
                "the terminal asks for the tree again after the connection that carried the frame was dropped");
  const std::vector<sLinkChange>& arrChanges = terminal.GetLinkChanges();
  verdict.Check(!arrChanges.empty() && arrChanges.back().strState == kConnected, "the link is connected again");
  verdict.Check(server.Stop(), "rms-sim stops cleanly");
  verdict.Check(baselineServer.Stop(), "rms-sim of the run with a 17 MiB frame stops cleanly");
  verdict.Check(terminal.GetReport("connections_lost") == 1.0, "the connection that carried the frame is dropped");
  const double dCostMb = terminal.GetReport("rss_peak_mb").value_or(1e9) - baseline.GetReport("rss_peak_mb").value_or(0);
  verdict.Check(dCostMb < kOversizeCostBoundMb, "the 64 MiB frame costs less than 32 MiB more than a 17 MiB one (" +
                                                    std::to_string(dCostMb) + " MiB)");
  CheckRecords(ledger, terminal, arrChanges.empty() ? std::nullopt : std::optional(arrChanges.back().nAtNs),
               verdict);
  return verdict;
}

}  // namespace

sFaultVerdict RunFatalStatus(double dBoxSeconds, double dRate) {
  // Both tree answers raise a box, one after the other; the feed starts once the first closed.
  const double dQuitAfter = 2 * dBoxSeconds + 7;
  sFaultVerdict verdict;
  benchprocess::CScratchFolder folder("fault-fatal");
  const std::filesystem::path ledger = folder.GetPath() / "server.ledger";
  CServerRun server;
  CTerminalRun terminal(folder.GetPath());
  // The feed runs while the second box is open; no events: the alerts are subscribed to later.
  if (!StartLinked(server, {"--ledger", ledger.string(), "--tree-status", "0", "--schedule",
                            std::to_string(dRate) + ":" + std::to_string(dBoxSeconds + 2)},
                   terminal, dQuitAfter, {"--answer-boxes-after", std::to_string(dBoxSeconds)}, verdict))
    return verdict;
  // Held while the boxes were open, delivered when they closed.
  CheckUnbrokenRun(server, terminal, ledger, verdict);
  const std::vector<std::string> arrBoxes = terminal.GetTexts("report: box_answered = ");
  verdict.Check(!arrBoxes.empty() && std::all_of(arrBoxes.begin(), arrBoxes.end(), [](const std::string& strText) {
                  return strText == "Fatal error.Please contact administrator.";
                }),
                "the plug-in shows its fatal-error box, and only that");
  return verdict;
}

const std::vector<sFaultCase>& GetFaultCases() {
  static const std::vector<sFaultCase> s_arrCases = {
      {"frozen server", RunFrozenServer},
      {"server restarted, same entities", [] { return RunRestartedServer(true); }},
      {"server restarted, other entities", [] { return RunRestartedServer(false); }},
      {"fatal status box", [] { return RunFatalStatus(10, 100); }},
      {"20,000 malformed publications", RunMalformedPublications},
      {"64 MiB frame", RunOversizeFrame},
      {"read-only settings folder", RunReadOnlySettings},
      {"garbage settings file", RunGarbageSettings},
  };
  return s_arrCases;
}

}  // namespace faultsuite
