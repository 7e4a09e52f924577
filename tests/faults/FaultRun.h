// The processes of one fault case: the terminal (halvo-host with the plug-in, off screen, in a
// fresh settings folder) and rms-sim, each a process of its own, as a user runs them. The
// terminal reports every change of its link's state as it happens, with the time since its
// start; a case reads those lines while it harms the server, and places them on the send clock
// (which every process of the machine shares) from the moment it started the terminal. Both write ledgers, so what the terminal delivered can be compared
// with what the server sent.
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

// What a case found: one text per check that failed, and what it measured, by name.
struct sFaultVerdict {
  std::vector<std::string> arrFailures;
  std::map<std::string, double> mapFigures;
  std::vector<std::string> arrReports;  // what the terminal reported, to read when a check failed

  void Check(bool bHolds, const std::string& strWhat) {
    if (!bHolds) arrFailures.push_back(strWhat);
  }
};

// rms-sim with its request log on.
class CServerRun {
 public:
  // Starts it with the options on free ports, or on the address of an earlier run; false when
  // it does not say where it listens.
  bool Start(const std::vector<std::string>& arrOptions, const std::string& strAddress = {});
  // The address to give the terminal's --server: "REQ,PUB".
  const std::string& GetAddress() const { return m_strAddress; }
  void Signal(int nSignal) { m_process.Signal(nSignal); }
  // SIGKILL, then waits for the end.
  void Kill();
  // SIGTERM: false when it did not end cleanly. Its ledger is written then.
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
  int64_t nAtNs = 0;     // when the terminal showed it: its start and the time it printed
};

class CTerminalRun {
 public:
  // The run's files go under folder: settings, ledger.
  explicit CTerminalRun(std::filesystem::path folder);

  // A program that starts the terminal with its arguments (the terminal's path first), given
  // before Start.
  void SetLauncher(std::vector<std::string> arrLauncher) { m_arrLauncher = std::move(arrLauncher); }
  // Starts the terminal against the server at strServer; it closes by itself after
  // dQuitAfterSeconds. arrExtra: more options.
  bool Start(const std::string& strServer, double dQuitAfterSeconds, const std::vector<std::string>& arrExtra = {});
  // Reads the terminal's output until the link's state changes to strState (or, with an
  // empty one, to anything but connected); when the terminal showed it, nullopt when that was
  // not read within the wait.
  std::optional<int64_t> WaitForLink(const std::string& strState, std::chrono::milliseconds wait);
  // Reads the terminal's output until the moment given.
  void ReadUntil(int64_t nUntilNs);
  // Waits for the terminal to close by itself within the wait and reads the rest of its output:
  // its exit code; -1 when it crashed, or did not close and was killed.
  int WaitForExit(std::chrono::milliseconds wait);

  int64_t GetStartNs() const { return m_nStartNs; }
  const std::vector<sLinkChange>& GetLinkChanges() const { return m_arrLinkChanges; }
  // The changes read from nFromNs to nToNs.
  std::vector<std::string> GetStatesBetween(int64_t nFromNs, int64_t nToNs) const;
  // The texts of the message boxes answered by themselves, in order.
  std::vector<std::string> GetBoxesAnswered() const;
  // A figure of the report printed at exit.
  std::optional<double> GetReport(const std::string& strName) const;
  // When the last answer was delivered, on the send clock (the report's start is the process's
  // start, which is the moment of Start to the kernel's tick).
  std::optional<int64_t> GetLastResponseNs() const;
  const std::filesystem::path& GetLedgerPath() const { return m_ledgerPath; }
  std::filesystem::path GetSettingsFolder() const;
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
// and lists the events lost among the verdict's reports; nullopt (a failure noted in the
// verdict) when either cannot be read.
std::optional<ledgercompare::sComparison> CompareLedgers(const std::filesystem::path& serverLedger,
                                                         const CTerminalRun& terminal, int64_t nFromNs,
                                                         sFaultVerdict& verdict);

}  // namespace faultsuite
