#include "rmssim/SimOptions.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <limits>
#include <string_view>

namespace {

template <typename Number>
bool ParseNumber(std::string_view strText, Number& nValue) {
  const auto [pEnd, error] = std::from_chars(strText.data(), strText.data() + strText.size(), nValue);
  return !strText.empty() && error == std::errc() && pEnd == strText.data() + strText.size();
}

bool ParseCount(std::string_view strText, uint32_t& nValue) { return ParseNumber(strText, nValue); }

// The largest oversize frame rms-sim makes, so a typo does not take the machine's memory.
constexpr uint32_t kMaxOversizeMiB = 4096;

bool ParseLarge(std::string_view strText, uint64_t& nValue) { return ParseNumber(strText, nValue); }

bool ParseNonNegative(std::string_view strText, double& dValue) {
  return ParseNumber(strText, dValue) && std::isfinite(dValue) && dValue >= 0;
}

struct sOptionRow {
  const char* szName;
  const char* szValue;  // null for a switch, which takes no value
  const char* szHelp;
  std::function<bool(std::string_view, sSimOptions&)> fnApply;
};

const std::vector<sOptionRow>& GetOptionRows() {
  static const std::vector<sOptionRow> s_arrRows = {
      {"requests", "ENDPOINT",
       "ROUTER endpoint for requests (default tcp://127.0.0.1:5555; port * picks one)",
       [](std::string_view s, sSimOptions& o) { return !(o.strRequests = s).empty(); }},
      {"publications", "ENDPOINT", "PUB endpoint for publications (default: the request port + 1)",
       [](std::string_view s, sSimOptions& o) { return !(o.strPublications = s).empty(); }},
      {"brokers", "N", "brokers in the tree (default 1)",
       [](std::string_view s, sSimOptions& o) { return ParseCount(s, o.tree.nBrokers); }},
      {"branches", "N", "branches (default 4)",
       [](std::string_view s, sSimOptions& o) { return ParseCount(s, o.tree.nBranches); }},
      {"dealers", "N", "dealers (default 20)",
       [](std::string_view s, sSimOptions& o) { return ParseCount(s, o.tree.nDealers); }},
      {"groups", "N", "groups (default 10)",
       [](std::string_view s, sSimOptions& o) { return ParseCount(s, o.tree.nGroups); }},
      {"accounts", "N", "accounts (default 1000)",
       [](std::string_view s, sSimOptions& o) { return ParseCount(s, o.tree.nAccounts); }},
      {"rate", "N", "feed messages a second, 0 as fast as subscribers take them (default 100)",
       [](std::string_view s, sSimOptions& o) { return ParseNonNegative(s, o.dRate); }},
      {"count", "N", "stop the feed after N messages, 0 never (default 0)",
       [](std::string_view s, sSimOptions& o) { return ParseLarge(s, o.nCount); }},
      {"feed-delay", "SECONDS",
       "start the feed this long after its first subscriber, so terminals started together all get "
       "its first message (default 0)",
       [](std::string_view s, sSimOptions& o) { return ParseNonNegative(s, o.dFeedDelaySeconds); }},
      {"schedule", "PHASES",
       "RATE:SECONDS,... : the feed runs each rate (0 as fast as taken) for its seconds, then ends",
       [](std::string_view s, sSimOptions& o) {
         std::optional<std::vector<sFeedPhase>> arrPhases = ParseFeedSchedule(s);
         if (arrPhases) o.arrSchedule = std::move(*arrPhases);
         return arrPhases.has_value();
       }},
      {"events-every", "N",
       "a call status or a manual alert, in turn, every N feed messages; 0 never (default 0)",
       [](std::string_view s, sSimOptions& o) { return ParseCount(s, o.nEventsEvery); }},
      {"delete-every", "N",
       "delete a record every N feed messages, add it back later; 0 never (default 1000)",
       [](std::string_view s, sSimOptions& o) { return ParseCount(s, o.nDeleteEvery); }},
      {"seed", "N", "seed of the tree and the feed (default 1)",
       [](std::string_view s, sSimOptions& o) { return ParseLarge(s, o.nSeed); }},
      {"record", "FILE", "append every publication to FILE",
       [](std::string_view s, sSimOptions& o) { return !(o.strRecordPath = s).empty(); }},
      {"replay", "FILE", "publish the feed recorded in FILE instead of making one up",
       [](std::string_view s, sSimOptions& o) { return !(o.strReplayPath = s).empty(); }},
      {"ledger", "FILE",
       "when the feed ends, write each record's last value or delete and every delete mark, call status "
       "and manual alert sent, with send times",
       [](std::string_view s, sSimOptions& o) { return !(o.strLedgerPath = s).empty(); }},
      {"key-file", "FILE",
       "this server's secret key (made by rms-keys): with --allow-list every link is encrypted (CURVE); "
       "needed to listen on anything but loopback",
       [](std::string_view s, sSimOptions& o) { return !(o.strKeyFile = s).empty(); }},
      {"allow-list", "FILE",
       "the public keys of the clients let in, one a line, '#' comments; read again when it changes",
       [](std::string_view s, sSimOptions& o) { return !(o.strAllowListPath = s).empty(); }},
      {"duration", "SECONDS", "exit after this long, 0 when interrupted (default 0)",
       [](std::string_view s, sSimOptions& o) { return ParseNonNegative(s, o.dDurationSeconds); }},
      {"hwm", "N", "publications queued for a subscriber before the feed waits (default 1000)",
       [](std::string_view s, sSimOptions& o) {
         uint32_t nValue = 0;
         if (!ParseCount(s, nValue) || nValue == 0 || nValue > std::numeric_limits<int>::max()) return false;
         o.nHighWaterMark = static_cast<int>(nValue);
         return true;
       }},
      {"tree-status", "N", "answer both tree requests with status N alone; 5 answers normally (default 5)",
       [](std::string_view s, sSimOptions& o) {
         uint32_t nValue = 0;
         if (!ParseCount(s, nValue) || nValue > std::numeric_limits<int32_t>::max()) return false;
         o.nTreeStatus = static_cast<int32_t>(nValue);
         return true;
       }},
      {"garbage", "N",
       "when the feed starts, send N malformed publications of its name first, which a terminal drops "
       "and counts (default 0)",
       [](std::string_view s, sSimOptions& o) { return ParseLarge(s, o.nGarbage); }},
      {"oversize-mb", "M",
       "when the feed starts, send one publication with a frame of M MiB after the malformed ones, past "
       "every link's 16 MiB limit (default 0: none)",
       [](std::string_view s, sSimOptions& o) {
         return ParseCount(s, o.nOversizeMiB) && o.nOversizeMiB <= kMaxOversizeMiB;
       }},
      {"log-requests", nullptr, "print the name of every request received",
       [](std::string_view, sSimOptions& o) {
         o.bLogRequests = true;
         return true;
       }},
  };
  return s_arrRows;
}

}  // namespace

std::string GetSimHelpText() {
  std::string strHelp =
      "Usage: rms-sim [options]\n"
      "A risk server: answers the terminal's requests from a made-up entity tree and publishes\n"
      "value changes. The feed starts when the first terminal subscribes to it.\n\nOptions:\n";
  constexpr size_t kHelpColumn = 28;
  for (const sOptionRow& row : GetOptionRows()) {
    std::string strLeft = std::string("  --") + row.szName;
    if (row.szValue != nullptr) strLeft += std::string(" ") + row.szValue;
    strLeft.resize(kHelpColumn, ' ');
    strHelp += strLeft + row.szHelp + "\n";
  }
  strHelp += std::string("  --help").append(kHelpColumn - 8, ' ') + "show this text\n";
  return strHelp;
}

std::optional<sSimOptions> ParseSimOptions(std::span<const std::string> arrArguments, std::string& strMessage,
                                           bool& bHelpAsked) {
  bHelpAsked = false;
  sSimOptions options;
  const auto Fail = [&strMessage](const std::string& strError) {
    strMessage = "rms-sim: " + strError + "\n\n" + GetSimHelpText();
    return std::nullopt;
  };
  for (size_t n = 0; n < arrArguments.size(); ++n) {
    std::string_view strArgument = arrArguments[n];
    if (strArgument == "--help" || strArgument == "-h") {
      bHelpAsked = true;
      strMessage = GetSimHelpText();
      return std::nullopt;
    }
    if (!strArgument.starts_with("--")) return Fail("unexpected argument " + std::string(strArgument));
    strArgument.remove_prefix(2);
    std::string_view strValue;
    bool bHasValue = false;
    if (const size_t nEquals = strArgument.find('='); nEquals != std::string_view::npos) {
      strValue = strArgument.substr(nEquals + 1);
      strArgument = strArgument.substr(0, nEquals);
      bHasValue = true;
    }
    const sOptionRow* pRow = nullptr;
    for (const sOptionRow& row : GetOptionRows())
      if (strArgument == row.szName) pRow = &row;
    if (pRow == nullptr) return Fail("unknown option --" + std::string(strArgument));
    if (pRow->szValue == nullptr) {
      if (bHasValue) return Fail("--" + std::string(strArgument) + " takes no value");
    } else if (!bHasValue) {
      if (n + 1 == arrArguments.size()) return Fail("--" + std::string(strArgument) + " needs a value");
      strValue = arrArguments[++n];
    }
    if (!pRow->fnApply(strValue, options))
      return Fail("bad value for --" + std::string(strArgument) + ": " + std::string(strValue));
  }
  if (!options.strRecordPath.empty() && options.strRecordPath == options.strReplayPath)
    return Fail("--record and --replay name the same file");
  if (options.strKeyFile.empty() != options.strAllowListPath.empty())
    return Fail("--key-file and --allow-list go together");
  return options;
}
