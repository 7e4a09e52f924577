// Compares the ledger rms-sim writes of what its feed sent with the one the terminal writes of
// what it delivered (the format is described in rmssim/FeedLedger.h), over the publications
// sent from a given moment on.
#pragma once

#include <cstdint>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

namespace ledgercompare {

struct sRecordState {
  int64_t nSentNs = 0;
  std::string strState;  // "value" or "deleted"

  bool operator==(const sRecordState&) const = default;
};

// An event as (send time, kind, key).
using CEvent = std::tuple<int64_t, std::string, std::string>;

struct sLedger {
  std::unordered_map<std::string, sRecordState> mapFinal;
  std::vector<CEvent> arrEvents;  // in the order written
};

// nullopt when the file cannot be read or holds a line of another form.
inline std::optional<sLedger> ReadLedger(const std::string& strPath) {
  std::ifstream file(strPath);
  if (!file) return std::nullopt;
  sLedger ledger;
  for (std::string strLine; std::getline(file, strLine);) {
    std::vector<std::string> arrFields;
    std::istringstream line(strLine);
    for (std::string strField; std::getline(line, strField, '\t');) arrFields.push_back(strField);
    if (arrFields.size() != 4) return std::nullopt;
    const int64_t nSentNs = std::stoll(arrFields[1]);
    if (arrFields[0] == "final")
      ledger.mapFinal[arrFields[3]] = {nSentNs, arrFields[2]};
    else if (arrFields[0] == "event")
      ledger.arrEvents.emplace_back(nSentNs, arrFields[2], arrFields[3]);
    else
      return std::nullopt;
  }
  return ledger;
}

struct sComparison {
  uint64_t nRecords = 0;     // records the server published from the start on
  uint64_t nMismatches = 0;  // of those, ending with another value or state at the terminal
  uint64_t nEvents = 0;      // events the server sent from the start on
  uint64_t nLost = 0;        // of those, never delivered
  uint64_t nOutOfOrder = 0;  // delivered after a later event of the same key
};

inline sComparison CompareLedgers(const sLedger& server, const sLedger& terminal, int64_t nFromNs) {
  sComparison result;
  for (const auto& [strKey, state] : server.mapFinal) {
    if (state.nSentNs < nFromNs) continue;
    ++result.nRecords;
    const auto it = terminal.mapFinal.find(strKey);
    if (it == terminal.mapFinal.end() || !(it->second == state)) ++result.nMismatches;
  }
  // A record the terminal last heard of from the start on that the server's last word differs
  // about (the server's last word came before the start).
  for (const auto& [strKey, state] : terminal.mapFinal) {
    if (state.nSentNs < nFromNs) continue;
    const auto it = server.mapFinal.find(strKey);
    if (it == server.mapFinal.end() || it->second.nSentNs < nFromNs) ++result.nMismatches;
  }

  std::set<CEvent> setDelivered;
  std::map<std::string, int64_t> mapLastDeliveredNs;
  for (const CEvent& event : terminal.arrEvents) {
    const auto& [nSentNs, strKind, strKey] = event;
    if (nSentNs < nFromNs) continue;
    setDelivered.insert(event);
    int64_t& nLastNs = mapLastDeliveredNs[strKey];
    if (nSentNs < nLastNs) ++result.nOutOfOrder;
    nLastNs = std::max(nLastNs, nSentNs);
  }
  for (const CEvent& event : server.arrEvents) {
    if (std::get<0>(event) < nFromNs) continue;
    ++result.nEvents;
    if (!setDelivered.contains(event)) ++result.nLost;
  }
  return result;
}

}  // namespace ledgercompare
