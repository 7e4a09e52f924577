// The cases that harm the plug-in's settings folder: the terminal must start, run and close by
// itself whatever it finds there, and never lose a line of the file.
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#include "tests/faults/FaultCases.h"

namespace faultsuite {

namespace {

constexpr double kQuitAfter = 2;
constexpr auto kStartPatience = std::chrono::seconds(30);
constexpr auto kClosePatience = std::chrono::seconds(30);
// Every box closes by itself this soon, so a close that raises many still ends.
const std::string kBoxSeconds = "0.5";

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteFile(const std::filesystem::path& path, const std::string& strContent) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << strContent;
}

std::vector<std::string> SplitLines(const std::string& strContent) {
  std::vector<std::string> arrLines;
  std::istringstream stream(strContent);
  for (std::string strLine; std::getline(stream, strLine);) arrLines.push_back(strLine);
  return arrLines;
}

// Lines of every kind a damaged or foreign file holds, none of them a section or key the
// plug-in writes: binary bytes (NULs and CRs among them), sections with odd names, keys with
// binary values, lines of 100,000 bytes, lines of '=' and brackets alone, blank lines.
std::string MakeGarbageSettings() {
  std::mt19937 random(7);
  const auto Draw = [&random](int nLow, int nHigh) { return std::uniform_int_distribution<int>(nLow, nHigh)(random); };
  const auto Bytes = [&Draw](size_t nCount, int nLow) {
    std::string strBytes;
    while (strBytes.size() < nCount) {
      const char cByte = static_cast<char>(Draw(nLow, 255));
      if (cByte != '\n') strBytes.push_back(cByte);
    }
    return strBytes;
  };
  std::string strContent;
  for (int nLine = 0; nLine < 400; ++nLine) {
    switch (Draw(0, 6)) {
      case 0:
        strContent += Bytes(static_cast<size_t>(Draw(0, 300)), 0);
        break;
      case 1:
        strContent += "[junk " + std::to_string(nLine) + Bytes(static_cast<size_t>(Draw(0, 20)), 128) + "]";
        break;
      case 2:
        strContent += "key" + std::to_string(nLine) + "=" + Bytes(static_cast<size_t>(Draw(0, 200)), 0);
        break;
      case 3:
        strContent += std::string(100'000, static_cast<char>('a' + nLine % 26));
        break;
      case 4:
        strContent += "=[]=\r";
        break;
      case 5:
        strContent += "[";
        break;
      default:
        break;
    }
    strContent += '\n';
  }
  return strContent;
}

// Whether every line of before is in after, in the same order.
bool KeepsEveryLine(const std::string& strBefore, const std::string& strAfter) {
  const std::vector<std::string> arrAfter = SplitLines(strAfter);
  auto it = arrAfter.begin();
  for (const std::string& strLine : SplitLines(strBefore)) {
    it = std::find(it, arrAfter.end(), strLine);
    if (it == arrAfter.end()) return false;
    ++it;
  }
  return true;
}

// Runs the terminal against a server until it closes by itself.
void RunTerminal(CTerminalRun& terminal, sFaultVerdict& verdict) {
  CServerRun server;
  verdict.Check(server.Start({}), "rms-sim starts");
  verdict.Check(terminal.Start(server.GetAddress(), kQuitAfter, {"--answer-boxes-after", kBoxSeconds}),
                "the terminal starts");
  verdict.Check(terminal.WaitForLink("Server: connected", kStartPatience).has_value(),
                "the terminal shows the link connected after its start");
  const int nExitCode = terminal.WaitForExit(std::chrono::seconds(static_cast<int>(kQuitAfter)) + kClosePatience);
  std::string strTail;
  const std::vector<std::string>& arrOutput = terminal.GetOutput();
  for (size_t n = arrOutput.size() > 20 ? arrOutput.size() - 20 : 0; n < arrOutput.size(); ++n)
    strTail += "\n  " + arrOutput[n];
  verdict.Check(nExitCode == 0, "the terminal closes by itself with exit code 0 (got " + std::to_string(nExitCode) +
                                    ", -1: crashed or hung); its last output:" + strTail);
  verdict.Check(server.Stop(), "rms-sim stops cleanly");
}

}  // namespace

sFaultVerdict RunReadOnlySettings() {
  sFaultVerdict verdict;
  benchprocess::CScratchFolder folder("fault-readonly");
  // The settings a terminal saved, in a folder that then became read-only.
  CTerminalRun first(folder.GetPath());
  RunTerminal(first, verdict);
  CTerminalRun terminal(folder.GetPath());
  const std::filesystem::path settings = terminal.GetSettingsFolder();
  const std::string strContent = ReadFile(settings / "OrvaneSetting.ini");
  verdict.Check(!strContent.empty(), "the first run saved its settings");
  // Permissions do not hold the superuser back: it gets a read-only mount of the folder, in a
  // mount namespace of the terminal's own.
  if (geteuid() == 0)
    terminal.SetLauncher({"/usr/bin/unshare", "--mount", "/bin/sh", "-c",
                          "mount --bind -o ro \"$0\" \"$0\" && exec \"$@\"", settings.string()});
  else
    std::filesystem::permissions(settings, std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                               std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
  // The plug-in may show many boxes at close; they close by themselves. Their count is not
  // what this case is about: that the close ends is.
  RunTerminal(terminal, verdict);
  verdict.Check(ReadFile(settings / "OrvaneSetting.ini") == strContent, "the read-only file is left as it was");
  std::filesystem::permissions(settings, std::filesystem::perms::owner_all, std::filesystem::perm_options::add);
  return verdict;
}

sFaultVerdict RunGarbageSettings() {
  sFaultVerdict verdict;
  benchprocess::CScratchFolder folder("fault-garbage");
  CTerminalRun terminal(folder.GetPath());
  const std::filesystem::path file = terminal.GetSettingsFolder() / "OrvaneSetting.ini";
  const std::string strGarbage = MakeGarbageSettings();
  WriteFile(file, strGarbage);
  RunTerminal(terminal, verdict);
  const std::string strAfter = ReadFile(file);
  verdict.Check(strAfter.size() > strGarbage.size(), "the plug-in saved its settings beside the garbage");
  verdict.Check(KeepsEveryLine(strGarbage, strAfter), "every line of the settings file is kept, in order");
  return verdict;
}

}  // namespace faultsuite
