// Child processes for the benchmarks that run the terminal and the risk server as a user
// would: started with arguments and extra environment, their output read line by line, and
// stopped by signal. Standard error goes with standard output.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

namespace benchprocess {

// The folder of the running program, where the other programs of the build are.
inline std::filesystem::path GetProgramFolder() {
  return std::filesystem::read_symlink("/proc/self/exe").parent_path();
}

class CChildProcess {
 public:
  CChildProcess() = default;
  ~CChildProcess() {
    if (m_nPid > 0) {
      kill(m_nPid, SIGKILL);
      waitpid(m_nPid, nullptr, 0);
    }
    if (m_nOutput >= 0) close(m_nOutput);
  }
  CChildProcess(const CChildProcess&) = delete;
  CChildProcess& operator=(const CChildProcess&) = delete;

  // Starts arrArguments[0] with the rest as arguments and mapEnvironment added to this
  // process's environment. False when it cannot be started.
  bool Start(const std::vector<std::string>& arrArguments,
             const std::map<std::string, std::string>& mapEnvironment) {
    int arrPipe[2];
    if (pipe2(arrPipe, O_CLOEXEC) != 0) return false;
    std::vector<std::string> arrEnvironment;
    for (char** pEntry = environ; *pEntry != nullptr; ++pEntry) {
      const std::string strEntry(*pEntry);
      if (!mapEnvironment.contains(strEntry.substr(0, strEntry.find('='))))
        arrEnvironment.push_back(strEntry);
    }
    for (const auto& [strName, strValue] : mapEnvironment) arrEnvironment.push_back(strName + "=" + strValue);
    std::vector<char*> arrArgv;
    for (const std::string& strArgument : arrArguments)
      arrArgv.push_back(const_cast<char*>(strArgument.c_str()));
    arrArgv.push_back(nullptr);
    std::vector<char*> arrEnvp;
    for (const std::string& strEntry : arrEnvironment) arrEnvp.push_back(const_cast<char*>(strEntry.c_str()));
    arrEnvp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, arrPipe[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, arrPipe[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, arrPipe[0]);
    const int nError = posix_spawn(&m_nPid, arrArgv[0], &actions, nullptr, arrArgv.data(), arrEnvp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(arrPipe[1]);
    m_nOutput = arrPipe[0];
    if (nError != 0) m_nPid = -1;
    return nError == 0;
  }

  // The next line of output without its end; nullopt when the output ended or nothing came
  // within the wait.
  std::optional<std::string> ReadLine(std::chrono::milliseconds wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
      const size_t nEnd = m_strBuffer.find('\n');
      if (nEnd != std::string::npos) {
        std::string strLine = m_strBuffer.substr(0, nEnd);
        m_strBuffer.erase(0, nEnd + 1);
        return strLine;
      }
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      if (m_nOutput < 0 || left.count() <= 0) return std::nullopt;
      pollfd item{m_nOutput, POLLIN, 0};
      if (poll(&item, 1, static_cast<int>(left.count())) <= 0) continue;
      char szBuffer[4096];
      const ssize_t nRead = read(m_nOutput, szBuffer, sizeof szBuffer);
      if (nRead <= 0) {
        close(m_nOutput);
        m_nOutput = -1;
        if (m_strBuffer.empty()) return std::nullopt;
        m_strBuffer.push_back('\n');
        continue;
      }
      m_strBuffer.append(szBuffer, static_cast<size_t>(nRead));
    }
  }

  void Signal(int nSignal) const {
    if (m_nPid > 0) kill(m_nPid, nSignal);
  }

  // The process id while it runs; -1 before it started and once it was waited for.
  pid_t GetPid() const { return m_nPid; }

  // The exit code once the process ended, after reading what it still wrote; -1 when it was
  // killed or did not end within the wait (then it is killed).
  int Wait(std::chrono::milliseconds wait, std::vector<std::string>& arrLines) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (m_nOutput >= 0 && std::chrono::steady_clock::now() < deadline) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      if (std::optional<std::string> strLine = ReadLine(left)) arrLines.push_back(*strLine);
    }
    if (m_nPid <= 0) return -1;
    if (m_nOutput >= 0) kill(m_nPid, SIGKILL);
    int nStatus = 0;
    waitpid(m_nPid, &nStatus, 0);
    m_nPid = -1;
    return WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
  }

 private:
  pid_t m_nPid = -1;
  int m_nOutput = -1;
  std::string m_strBuffer;
};

// The value of a "PREFIX NAME = VALUE ..." line among arrLines, as a number.
inline std::optional<double> FindReportValue(const std::vector<std::string>& arrLines,
                                             const std::string& strPrefix, const std::string& strName) {
  const std::string strStart = strPrefix + " " + strName + " = ";
  for (const std::string& strLine : arrLines) {
    if (!strLine.starts_with(strStart)) continue;
    try {
      return std::stod(strLine.substr(strStart.size()));
    } catch (const std::exception&) {
      return std::nullopt;
    }
  }
  return std::nullopt;
}

// Reads the first line of rms-sim or rms-relay, "NAME: requests on REQ, publications on PUB":
// the address to give a terminal's --server ("REQ,PUB"), or nullopt when none came.
inline std::optional<std::string> ReadListeningAddress(CChildProcess& process) {
  const std::optional<std::string> strLine = process.ReadLine(std::chrono::seconds(60));
  const std::string strRequests = "requests on ";
  const std::string strPublications = ", publications on ";
  if (!strLine) return std::nullopt;
  const size_t nRequests = strLine->find(strRequests);
  const size_t nPublications = strLine->find(strPublications);
  if (nRequests == std::string::npos || nPublications == std::string::npos) return std::nullopt;
  const size_t nStart = nRequests + strRequests.size();
  return strLine->substr(nStart, nPublications - nStart) + "," +
         strLine->substr(nPublications + strPublications.size());
}

// Starts rms-sim with the extra arguments, on free loopback ports or on the address of an
// earlier run ("REQ,PUB", as returned); the address to give the terminal's --server, or nullopt
// when it did not start.
inline std::optional<std::string> StartRiskServer(CChildProcess& server, const std::vector<std::string>& arrExtra,
                                                  const std::string& strAddress = "tcp://127.0.0.1:*,tcp://127.0.0.1:*") {
  const size_t nComma = strAddress.find(',');
  std::vector<std::string> arrArguments = {(GetProgramFolder() / "rms-sim").string(), "--requests",
                                           strAddress.substr(0, nComma), "--publications",
                                           strAddress.substr(nComma + 1)};
  arrArguments.insert(arrArguments.end(), arrExtra.begin(), arrExtra.end());
  if (!server.Start(arrArguments, {})) return std::nullopt;
  return ReadListeningAddress(server);
}

// Starts rms-relay on free loopback ports, forwarding to the server at strServer; the address
// to give the terminals' --server, or nullopt when it did not start.
inline std::optional<std::string> StartRelay(CChildProcess& relay, const std::string& strServer) {
  if (!relay.Start({(GetProgramFolder() / "rms-relay").string(), "--server", strServer, "--listen",
                    "tcp://127.0.0.1:*,tcp://127.0.0.1:*"},
                   {}))
    return std::nullopt;
  return ReadListeningAddress(relay);
}

// The feed messages rms-sim reports having sent when it stops.
inline std::optional<double> StopRiskServer(CChildProcess& server) {
  server.Signal(SIGTERM);
  std::vector<std::string> arrLines;
  if (server.Wait(std::chrono::seconds(30), arrLines) != 0) return std::nullopt;
  for (const std::string& strLine : arrLines) {
    const size_t nEnd = strLine.find(" feed messages");
    if (nEnd == std::string::npos) continue;
    const size_t nStart = strLine.rfind(", ", nEnd);
    if (nStart == std::string::npos) return std::nullopt;
    return std::stod(strLine.substr(nStart + 2, nEnd - nStart - 2));
  }
  return std::nullopt;
}

// The environment of a terminal run: off screen, with its settings in a fresh folder.
inline std::map<std::string, std::string> MakeHostEnvironment(const std::filesystem::path& folder) {
  return {{"QT_QPA_PLATFORM", "offscreen"},
          {"XDG_DATA_HOME", (folder / "data").string()},
          {"XDG_CONFIG_HOME", (folder / "config").string()},
          {"XDG_RUNTIME_DIR", (folder / "runtime").string()}};
}

// A fresh folder under the temporary directory (TMPDIR), removed with the object.
class CScratchFolder {
 public:
  explicit CScratchFolder(const std::string& strName) {
    std::string strTemplate = (std::filesystem::temp_directory_path() / (strName + ".XXXXXX")).string();
    if (mkdtemp(strTemplate.data()) == nullptr) return;
    m_path = strTemplate;
    std::filesystem::create_directory(m_path / "runtime");
    std::filesystem::permissions(m_path / "runtime", std::filesystem::perms::owner_all);
  }
  ~CScratchFolder() {
    if (m_path.empty()) return;
    std::error_code error;
    std::filesystem::remove_all(m_path, error);
  }
  CScratchFolder(const CScratchFolder&) = delete;
  CScratchFolder& operator=(const CScratchFolder&) = delete;

  // Empty when the folder could not be made.
  const std::filesystem::path& GetPath() const { return m_path; }

 private:
  std::filesystem::path m_path;
};

}  // namespace benchprocess
