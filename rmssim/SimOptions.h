// What the risk server is told: where it listens, the size of its tree, its feed, and the
// recording or replay of that feed.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "protocol/RmsProtocol.h"
#include "rmssim/EntityTree.h"
#include "rmssim/FeedSchedule.h"

struct sSimOptions {
  std::string strRequests = "tcp://127.0.0.1:5555";
  std::string strPublications;  // empty: the request port + 1 ("*" stays "*")
  sTreeSize tree;
  double dRate = 100.0;          // feed messages a second; 0 as fast as subscribers take them
  uint64_t nCount = 0;           // feed messages before the feed stops; 0 for no end
  double dFeedDelaySeconds = 0;  // the first feed message waits this long after the first subscriber
  uint32_t nDeleteEvery = 1000;  // a delete mark every this many feed messages; 0 never
  // Phases of the feed, each at its rate for its time, in place of dRate; the feed ends after
  // the last. Empty: one rate without end.
  std::vector<sFeedPhase> arrSchedule;
  // A call status or a manual alert (in turn) every this many feed messages, as other desks'
  // users would send them; 0 never.
  uint32_t nEventsEvery = 0;
  uint64_t nSeed = 1;
  std::string strRecordPath;    // every publication is appended here
  std::string strReplayPath;    // the feed comes from this recording instead
  std::string strLedgerPath;    // what the feed sent to each record is written here at its end
  // This server's secret key file and the allow-list of client keys: given together, every
  // link to the server is CURVE-encrypted and only the listed clients are let in. Without
  // them the server listens on loopback only.
  std::string strKeyFile;
  std::string strAllowListPath;
  double dDurationSeconds = 0;  // rms-sim exits after this long; 0 waits for a signal
  int nHighWaterMark = 1000;    // publications queued for a subscriber before the feed waits
  uint32_t nSampleCalls = 3;    // call statuses and manual alerts a fresh server holds
  uint32_t nSampleAlerts = 3;
  // The status both tree requests are answered with; any status but success comes alone, with
  // no records, so the terminal subscribes to the publications instead.
  int32_t nTreeStatus = rmsproto::kStatusSuccess;  // success answers with the records
  bool bLogRequests = false;  // print the name of every request on standard output
  // Sent once when the values feed starts, before its first message (CFaultPublications):
  // malformed publications of the values name, then one with a frame of this many MiB.
  uint64_t nGarbage = 0;
  uint32_t nOversizeMiB = 0;
};

// Parses rms-sim's arguments (the program name left out); "--name value" and "--name=value".
// On an error or --help fills strMessage (the error and the help, or the help alone with
// bHelpAsked set) and returns nullopt.
std::optional<sSimOptions> ParseSimOptions(std::span<const std::string> arrArguments, std::string& strMessage,
                                           bool& bHelpAsked);

std::string GetSimHelpText();
