#include "tests/faults/FaultRun.h"

#include <signal.h>

#include <algorithm>
#include <cstdlib>

#include "host/transport/TransportWire.h"

namespace faultsuite {

namespace {

constexpr std::chrono::milliseconds kServerStopPatience{30'000};
// Long enough for a poll to see lines already written.
constexpr std::chrono::milliseconds kGlance{20};

const std::string kLinkPrefix = "report: link = ";
const std::string kBoxPrefix = "report: box_answered = ";

// The part of a "TEXT at S s" line before " at ", and S.
std::string CutTime(const std::string& strText) { return strText.substr(0, strText.rfind(" at ")); }
double ReadTime(const std::string& strText) {
  const size_t nAt = strText.rfind(" at ");
  return nAt == std::string::npos ? 0.0 : std::strtod(strText.c_str() + nAt + 4, nullptr);
}

std::chrono::milliseconds GetLeft(std::chrono::steady_clock::time_point deadline) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
}

}  // namespace

bool CServerRun::Start(const std::vector<std::string>& arrOptions, const std::string& strAddress) {
  std::vector<std::string> arrArguments = {"--log-requests"};
  arrArguments.insert(arrArguments.end(), arrOptions.begin(), arrOptions.end());
  m_strAddress = (strAddress.empty() ? benchprocess::StartRiskServer(m_process, arrArguments)
                                     : benchprocess::StartRiskServer(m_process, arrArguments, strAddress))
                     .value_or("");
  return !m_strAddress.empty();
}

void CServerRun::Kill() {
  m_process.Signal(SIGKILL);
  m_process.Wait(kServerStopPatience, m_arrLines);
}

bool CServerRun::Stop() {
  m_process.Signal(SIGCONT);  // a frozen server would not take the signal
  m_process.Signal(SIGTERM);
  return m_process.Wait(kServerStopPatience, m_arrLines) == 0;
}

bool CServerRun::WaitForRequest(const std::string& strRequest, std::chrono::milliseconds wait) {
  const std::string strLogged = "rms-sim: request " + strRequest;
  if (std::find(m_arrLines.begin(), m_arrLines.end(), strLogged) != m_arrLines.end()) return true;
  const auto deadline = std::chrono::steady_clock::now() + wait;
  for (;;) {
    const std::optional<std::string> strLine = m_process.ReadLine(GetLeft(deadline));
    if (!strLine) return false;
    m_arrLines.push_back(*strLine);
    if (*strLine == strLogged) return true;
  }
}

int CServerRun::CountRequests(const std::string& strRequest) {
  while (std::optional<std::string> strLine = m_process.ReadLine(kGlance)) m_arrLines.push_back(*strLine);
  return static_cast<int>(std::count(m_arrLines.begin(), m_arrLines.end(), "rms-sim: request " + strRequest));
}

CTerminalRun::CTerminalRun(std::filesystem::path folder)
    : m_folder(std::move(folder)), m_ledgerPath(m_folder / "terminal.ledger") {}

bool CTerminalRun::Start(const std::string& strServer, double dQuitAfterSeconds,
                         const std::vector<std::string>& arrExtra) {
  std::vector<std::string> arrArguments = m_arrLauncher;
  arrArguments.insert(arrArguments.end(), {(benchprocess::GetProgramFolder() / "halvo-host").string(), "--server",
                                           strServer, "--quit-after", std::to_string(dQuitAfterSeconds), "--report-link",
                                           "--report-deliveries", "--ledger", m_ledgerPath.string()});
  arrArguments.insert(arrArguments.end(), arrExtra.begin(), arrExtra.end());
  m_nStartNs = halvowire::GetSendClockNs();
  return m_process.Start(arrArguments, benchprocess::MakeHostEnvironment(m_folder));
}

void CTerminalRun::Note(const std::string& strLine) {
  m_arrLines.push_back(strLine);
  if (strLine.starts_with(kLinkPrefix))
    m_arrLinkChanges.push_back(
        {CutTime(strLine.substr(kLinkPrefix.size())), m_nStartNs + static_cast<int64_t>(ReadTime(strLine) * 1e9)});
}

std::optional<int64_t> CTerminalRun::WaitForLink(const std::string& strState, std::chrono::milliseconds wait) {
  const auto deadline = std::chrono::steady_clock::now() + wait;
  const size_t nSeen = m_arrLinkChanges.size();
  for (;;) {
    for (size_t n = nSeen; n < m_arrLinkChanges.size(); ++n) {
      const std::string& strShown = m_arrLinkChanges[n].strState;
      if (strState.empty() ? strShown != "Server: connected" : strShown == strState)
        return m_arrLinkChanges[n].nAtNs;
    }
    const std::chrono::milliseconds left = GetLeft(deadline);
    const std::optional<std::string> strLine = left.count() > 0 ? m_process.ReadLine(left) : std::nullopt;
    if (!strLine) return std::nullopt;
    Note(*strLine);
  }
}

void CTerminalRun::ReadUntil(int64_t nUntilNs) {
  for (;;) {
    const int64_t nLeftMs = (nUntilNs - halvowire::GetSendClockNs()) / 1'000'000;
    if (nLeftMs <= 0) return;
    const std::optional<std::string> strLine = m_process.ReadLine(std::chrono::milliseconds(nLeftMs));
    if (!strLine) return;  // the time is up, or the terminal's output ended
    Note(*strLine);
  }
}

int CTerminalRun::WaitForExit(std::chrono::milliseconds wait) {
  std::vector<std::string> arrRest;
  const int nExitCode = m_process.Wait(wait, arrRest);
  for (const std::string& strLine : arrRest) Note(strLine);
  return nExitCode;
}

std::vector<std::string> CTerminalRun::GetStatesBetween(int64_t nFromNs, int64_t nToNs) const {
  std::vector<std::string> arrStates;
  for (const sLinkChange& change : m_arrLinkChanges)
    if (change.nAtNs >= nFromNs && change.nAtNs <= nToNs) arrStates.push_back(change.strState);
  return arrStates;
}

std::vector<std::string> CTerminalRun::GetBoxesAnswered() const {
  std::vector<std::string> arrTexts;
  for (const std::string& strLine : m_arrLines)
    if (strLine.starts_with(kBoxPrefix)) arrTexts.push_back(CutTime(strLine.substr(kBoxPrefix.size())));
  return arrTexts;
}

std::optional<double> CTerminalRun::GetReport(const std::string& strName) const {
  return benchprocess::FindReportValue(m_arrLines, "report:", strName);
}

std::optional<int64_t> CTerminalRun::GetLastResponseNs() const {
  const std::optional<double> dAfterStartMs = GetReport("last_response_after_start_ms");
  if (!dAfterStartMs) return std::nullopt;
  return m_nStartNs + static_cast<int64_t>(*dAfterStartMs * 1e6);
}

void CheckClosed(CTerminalRun& terminal, double dQuitAfterSeconds, sFaultVerdict& verdict) {
  const int64_t nQuitNs = terminal.GetStartNs() + static_cast<int64_t>(dQuitAfterSeconds * 1e9);
  const auto wait = std::chrono::milliseconds(std::max<int64_t>(0, (nQuitNs - halvowire::GetSendClockNs()) / 1'000'000));
  const int nExitCode = terminal.WaitForExit(wait + std::chrono::seconds(30));
  const std::vector<std::string>& arrOutput = terminal.GetOutput();
  for (const std::string& strLine : arrOutput)
    if (strLine.starts_with("report: ")) verdict.arrReports.push_back(strLine);
  // What it printed last tells a crash from a hang.
  std::string strLast;
  for (size_t n = arrOutput.size() > 20 ? arrOutput.size() - 20 : 0; n < arrOutput.size(); ++n)
    strLast += "\n    " + arrOutput[n];
  verdict.Check(nExitCode == 0, "the terminal closes by itself with exit code 0 (got " + std::to_string(nExitCode) +
                                    ", -1: crashed or hung); its last lines:" + strLast);
}

std::optional<ledgercompare::sComparison> CompareLedgers(const std::filesystem::path& serverLedger,
                                                         const CTerminalRun& run, int64_t nFromNs,
                                                         sFaultVerdict& verdict) {
  const std::optional<ledgercompare::sLedger> server = ledgercompare::ReadLedger(serverLedger.string());
  const std::optional<ledgercompare::sLedger> terminal = ledgercompare::ReadLedger(run.GetLedgerPath().string());
  verdict.Check(server.has_value(), "the server's ledger can be read");
  verdict.Check(terminal.has_value(), "the terminal's ledger can be read");
  if (!server || !terminal) return std::nullopt;
  const ledgercompare::sComparison comparison = ledgercompare::CompareLedgers(*server, *terminal, nFromNs);
  // Which events went missing, and when each was sent, in the terminal's time.
  for (const ledgercompare::CEvent& event : server->arrEvents) {
    const auto& [nSentNs, strKind, strKey] = event;
    if (nSentNs >= nFromNs && std::find(terminal->arrEvents.begin(), terminal->arrEvents.end(), event) ==
                                  terminal->arrEvents.end())
      verdict.arrReports.push_back("lost: " + strKind + " " + strKey + " sent at " +
                                   std::to_string((nSentNs - run.GetStartNs()) / 1'000'000) + " ms");
  }
  return comparison;
}

}  // namespace faultsuite
