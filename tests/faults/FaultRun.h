// The processes of one fault case: the terminal (halvo-host with the plug-in, off screen, in a
// fresh settings folder) and rms-sim, each a process of its own. The terminal reports every
// change of its link's state with the time since its start; a case places those on the send
// clock (shared by every process of the machine) from the moment it started the terminal. Both
// write ledgers, so what the terminal delivered can be compared with what the server sent.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "bench/BenchProcess.h"
#include "bench/LedgerCompare.h"

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

// rms-sim with its request log on.
class CServerRun {
 public:
  // On free ports, or on the address ("REQ,PUB") of an earlier run; false when it does not say
  // where it listens.
  bool Start(const std::vector<std::string>& arrOptions, const std::string& strAddress = {});
  const std::string& GetAddress() const { return m_strAddress; }
  void Signal(int nSignal) { m_process.Signal(nSignal); }
  void Kill();
  // SIGTERM (after SIGCONT): false when it did not end cleanly. Its ledger is written then.
  bool Stop();
  // How often it was asked strRequest, by the lines read so far.
  int CountRequests(const std::string& strRequest);
  // Reads its log until it was asked strRequest; false when that did not come within the wait.
  bool WaitForRequest(const std::string& strRequest, std::chrono::milliseconds wait);

 private:
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
  explicit CTerminalRun(std::filesystem::path folder);
  // A program that starts the terminal with its arguments, given before Start.
  void SetLauncher(std::vector<std::string> arrLauncher) { m_arrLauncher = std::move(arrLauncher); }
  // Starts it against strServer; it closes by itself after dQuitAfterSeconds.
  bool Start(const std::string& strServer, double dQuitAfterSeconds, const std::vector<std::string>& arrExtra = {});
  // Reads its output until the link's state changes to strState (empty: to anything but
  // connected); when the terminal showed it, nullopt when not within the wait.
  std::optional<int64_t> WaitForLink(const std::string& strState, std::chrono::milliseconds wait);
  void ReadUntil(int64_t nUntilNs);
  // Waits for it to close by itself and reads the rest of its output: its exit code, -1 when
  // it crashed or was killed.
  int WaitForExit(std::chrono::milliseconds wait);

  int64_t GetStartNs() const { return m_nStartNs; }
  const std::vector<sLinkChange>& GetLinkChanges() const { return m_arrLinkChanges; }
  std::vector<std::string> GetStatesBetween(int64_t nFromNs, int64_t nToNs) const;
  // The texts of the message boxes answered by themselves, in order.
  std::vector<std::string> GetBoxesAnswered() const;
  // A figure of the report printed at exit.
  std::optional<double> GetReport(const std::string& strName) const;
  // When the last answer was delivered, on the send clock.
  std::optional<int64_t> GetLastResponseNs() const;
  const std::filesystem::path& GetLedgerPath() const { return m_ledgerPath; }
  std::filesystem::path GetSettingsFolder() const { return m_folder / "data" / "halvo-trader" / "RISK01" / "Orvane"; }
  const std::vector<std::string>& GetOutput() const { return m_arrLines; }

 private:
  void Note(const std::string& strLine);

  std::filesystem::path m_folder;
  std::filesystem::path m_ledgerPath;
  std::vector<std::string> m_arrLauncher;
  benchprocess::CChildProcess m_process;
  int64_t m_nStartNs = 0;
  std::vector<std::string> m_arrLines;
  std::vector<sLinkChange> m_arrLinkChanges;
};

// Waits for the terminal to close by itself with exit code 0 within 30 s of its quit time;
// noted in the verdict, with its last lines, when it crashed or hung.
void CheckClosed(CTerminalRun& terminal, double dQuitAfterSeconds, sFaultVerdict& verdict);

// Compares the server's ledger with the terminal's over what the server sent from nFromNs on,
// listing the events lost among the verdict's reports; nullopt (noted) when either is unreadable.
std::optional<ledgercompare::sComparison> CompareLedgers(const std::filesystem::path& serverLedger,
    const CTerminalRun& terminal, int64_t nFromNs, sFaultVerdict& verdict);

}  // namespace faultsuite
