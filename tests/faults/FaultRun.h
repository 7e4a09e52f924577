// The processes of one fault case: the terminal (halvo-host with the plug-in, off screen, in a
// fresh settings folder) and rms-sim, each a process of its own. The terminal reports every
// change of its link's state with the time since its start; a case places those on the send
// clock (shared by every process of the machine) from the moment it started the terminal. Both
// write ledgers, so what the terminal delivered can be compared with what the server sent.
#pragma once

#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "bench/BenchProcess.h"
#include "bench/LedgerCompare.h"
#include "host/transport/TransportWire.h"

namespace faultsuite {

// What a case found: one text per failed check, its figures by name, and what the terminal
// reported, to read when a check failed.
struct sFaultVerdict {
  std::vector<std::string> arrFailures;
  std::map<std::string, double> mapFigures;
  std::vector<std::string> arrReports;

  void Check(bool bHolds, const std::string& strWhat) {
    if (!bHolds) arrFailures.push_back(strWhat);
  }
};

inline std::chrono::milliseconds GetLeft(std::chrono::steady_clock::time_point deadline) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
}

// rms-sim with its request log on.
class CServerRun {
 public:
  // On free ports, or on the address ("REQ,PUB") of an earlier run; false when it did not start.
  bool Start(std::vector<std::string> arrOptions,
             const std::string& strAddress = "tcp://127.0.0.1:*,tcp://127.0.0.1:*") {
    arrOptions.insert(arrOptions.begin(), "--log-requests");
    m_strAddress = benchprocess::StartRiskServer(m_process, arrOptions, strAddress).value_or("");
    return !m_strAddress.empty();
  }
  const std::string& GetAddress() const { return m_strAddress; }
  void Signal(int nSignal) { m_process.Signal(nSignal); }
  void Kill() {
    m_process.Signal(SIGKILL);
    m_process.Wait(kStopPatience, m_arrLines);
  }
  // SIGTERM, after SIGCONT for a frozen one: false when it did not end cleanly (ledger written).
  bool Stop() {
    m_process.Signal(SIGCONT);
    m_process.Signal(SIGTERM);
    return m_process.Wait(kStopPatience, m_arrLines) == 0;
  }
  // How often it was asked strRequest, by the lines written so far.
  int CountRequests(const std::string& strRequest) {
    while (std::optional<std::string> strLine = m_process.ReadLine(std::chrono::milliseconds(20)))
      m_arrLines.push_back(*strLine);
    return static_cast<int>(std::count(m_arrLines.begin(), m_arrLines.end(), "rms-sim: request " + strRequest));
  }
  // Reads its log until it was asked strRequest; false when that did not come within the wait.
  bool WaitForRequest(const std::string& strRequest, std::chrono::milliseconds wait) {
    const std::string strLogged = "rms-sim: request " + strRequest;
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (size_t n = 0;; ++n) {
      if (n == m_arrLines.size()) {
        const std::optional<std::string> strLine = m_process.ReadLine(GetLeft(deadline));
        if (!strLine) return false;
        m_arrLines.push_back(*strLine);
      }
      if (m_arrLines[n] == strLogged) return true;
    }
  }

 private:
  static constexpr std::chrono::milliseconds kStopPatience{30'000};
  benchprocess::CChildProcess m_process;
  std::string m_strAddress;
  std::vector<std::string> m_arrLines;
};

struct sLinkChange {
  std::string strState;  // "Server: connected", ...
  int64_t nAtNs = 0;     // when the terminal showed it, on the send clock
};

class CTerminalRun {
 public:
  // The run's files (settings, ledger) go under folder.
  explicit CTerminalRun(std::filesystem::path folder) : m_folder(std::move(folder)) {}
  // A program that starts the terminal with its arguments, given before Start.
  void SetLauncher(std::vector<std::string> arrLauncher) { m_arrLauncher = std::move(arrLauncher); }
  // Starts it against strServer; it closes by itself after dQuitAfterSeconds.
  bool Start(const std::string& strServer, double dQuitAfterSeconds,
             const std::vector<std::string>& arrExtra = {}) {
    std::vector<std::string> arrArguments = m_arrLauncher;
    arrArguments.insert(arrArguments.end(),
                        {(benchprocess::GetProgramFolder() / "halvo-host").string(), "--server", strServer,
                         "--quit-after", std::to_string(dQuitAfterSeconds), "--report-link", "--report-deliveries",
                         "--ledger", GetLedgerPath().string()});
    arrArguments.insert(arrArguments.end(), arrExtra.begin(), arrExtra.end());
    m_nStartNs = halvowire::GetSendClockNs();
    m_nQuitNs = m_nStartNs + static_cast<int64_t>(dQuitAfterSeconds * 1e9);
    return m_process.Start(arrArguments, benchprocess::MakeHostEnvironment(m_folder));
  }
  // Reads its output until the link's state changes to strState (empty: to anything but
  // connected); when the terminal showed it, nullopt when not within the wait.
  std::optional<int64_t> WaitForLink(const std::string& strState, std::chrono::milliseconds wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (size_t n = m_arrLinkChanges.size();; ++n) {
      while (n == m_arrLinkChanges.size()) {
        const std::chrono::milliseconds left = GetLeft(deadline);
        const std::optional<std::string> strLine = left.count() > 0 ? m_process.ReadLine(left) : std::nullopt;
        if (!strLine) return std::nullopt;
        Note(*strLine);
      }
      const std::string& strShown = m_arrLinkChanges[n].strState;
      if (strState.empty() ? strShown != "Server: connected" : strShown == strState)
        return m_arrLinkChanges[n].nAtNs;
    }
  }
  // Reads its output until the send clock reaches nUntilNs or the output ends.
  void ReadUntil(int64_t nUntilNs) {
    for (int64_t nLeftMs; (nLeftMs = (nUntilNs - halvowire::GetSendClockNs()) / 1'000'000) > 0;) {
      const std::optional<std::string> strLine = m_process.ReadLine(std::chrono::milliseconds(nLeftMs));
      if (!strLine) return;
      Note(*strLine);
    }
  }
  // Waits up to 30 s past its quit time for it to close: its exit code, -1 when crashed or killed.
  int WaitForExit() {
    const int64_t nLeftMs = std::max<int64_t>(0, (m_nQuitNs - halvowire::GetSendClockNs()) / 1'000'000);
    std::vector<std::string> arrRest;
    const int nExitCode = m_process.Wait(std::chrono::milliseconds(nLeftMs + 30'000), arrRest);
    for (const std::string& strLine : arrRest) Note(strLine);
    return nExitCode;
  }

  int64_t GetStartNs() const { return m_nStartNs; }
  const std::vector<sLinkChange>& GetLinkChanges() const { return m_arrLinkChanges; }
  std::vector<std::string> GetStatesBetween(int64_t nFromNs, int64_t nToNs) const {
    std::vector<std::string> arrStates;
    for (const sLinkChange& change : m_arrLinkChanges)
      if (change.nAtNs >= nFromNs && change.nAtNs <= nToNs) arrStates.push_back(change.strState);
    return arrStates;
  }
  // The texts of the lines that start with strPrefix, without it and their time (" at S s").
  std::vector<std::string> GetTexts(const std::string& strPrefix) const {
    std::vector<std::string> arrTexts;
    for (const std::string& strLine : m_arrLines)
      if (strLine.starts_with(strPrefix)) arrTexts.push_back(CutTime(strLine.substr(strPrefix.size())));
    return arrTexts;
  }
  // A figure of the report printed at exit.
  std::optional<double> GetReport(const std::string& strName) const {
    return benchprocess::FindReportValue(m_arrLines, "report:", strName);
  }
  std::filesystem::path GetLedgerPath() const { return m_folder / "terminal.ledger"; }
  std::filesystem::path GetSettingsFolder() const {
    return m_folder / "data" / "halvo-trader" / "RISK01" / "Orvane";
  }
  const std::vector<std::string>& GetOutput() const { return m_arrLines; }

 private:
  static std::string CutTime(const std::string& strText) { return strText.substr(0, strText.rfind(" at ")); }
  void Note(const std::string& strLine) {
    m_arrLines.push_back(strLine);
    const std::string strPrefix = "report: link = ";
    if (!strLine.starts_with(strPrefix)) return;
    const double dSeconds = std::strtod(strLine.c_str() + strLine.rfind(" at ") + 4, nullptr);
    m_arrLinkChanges.push_back(
        {CutTime(strLine.substr(strPrefix.size())), m_nStartNs + static_cast<int64_t>(dSeconds * 1e9)});
  }

  std::filesystem::path m_folder;
  std::vector<std::string> m_arrLauncher;
  benchprocess::CChildProcess m_process;
  int64_t m_nStartNs = 0, m_nQuitNs = 0;
  std::vector<std::string> m_arrLines;
  std::vector<sLinkChange> m_arrLinkChanges;
};

// Waits for the terminal to close by itself with exit code 0 within 30 s of its quit time;
// noted in the verdict, with its last lines, when it crashed or hung.
inline void CheckClosed(CTerminalRun& terminal, sFaultVerdict& verdict) {
  const int nExitCode = terminal.WaitForExit();
  const std::vector<std::string>& arrOutput = terminal.GetOutput();
  for (const std::string& strLine : arrOutput)
    if (strLine.starts_with("report: ")) verdict.arrReports.push_back(strLine);
  // What it printed last tells a crash from a hang.
  std::string strLast;
  for (size_t n = arrOutput.size() > 20 ? arrOutput.size() - 20 : 0; n < arrOutput.size(); ++n)
    strLast += "\n    " + arrOutput[n];
  verdict.Check(nExitCode == 0, "the terminal closes by itself with exit code 0 (got " +
                                    std::to_string(nExitCode) + ", -1: crashed or hung); its last lines:" + strLast);
}

// Compares the server's ledger with the terminal's over what the server sent from nFromNs on,
// listing the events lost among the verdict's reports; nullopt (noted) when either is unreadable.
inline std::optional<ledgercompare::sComparison> CompareLedgers(const std::filesystem::path& serverLedger,
    const CTerminalRun& run, int64_t nFromNs, sFaultVerdict& verdict) {
  const std::optional<ledgercompare::sLedger> server = ledgercompare::ReadLedger(serverLedger.string());
  const std::optional<ledgercompare::sLedger> terminal = ledgercompare::ReadLedger(run.GetLedgerPath().string());
  verdict.Check(server && terminal, "the server's and the terminal's ledgers can be read");
  if (!server || !terminal) return std::nullopt;
  // Which events went missing, and when each was sent, in the terminal's time.
  for (const ledgercompare::CEvent& event : server->arrEvents) {
    const auto& [nSentNs, strKind, strKey] = event;
    if (nSentNs >= nFromNs && std::find(terminal->arrEvents.begin(), terminal->arrEvents.end(), event) ==
                                  terminal->arrEvents.end())
      verdict.arrReports.push_back("lost: " + strKind + " " + strKey + " sent at " +
                                   std::to_string((nSentNs - run.GetStartNs()) / 1'000'000) + " ms");
  }
  return ledgercompare::CompareLedgers(*server, *terminal, nFromNs);
}

}  // namespace faultsuite
