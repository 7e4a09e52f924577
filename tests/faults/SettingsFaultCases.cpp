// The cases that harm the settings folder: the terminal runs and closes, and keeps every line.
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <random>
#include <sstream>

#include "tests/faults/FaultCases.h"
#include "tests/support/ScratchFolder.h"

namespace faultsuite {

namespace {

constexpr double kQuitAfter = 2;
constexpr auto kStartPatience = std::chrono::seconds(30);
// Every box closes by itself this soon, so a close that raises many still ends.
const std::string kBoxSeconds = "0.5";

// Lines of every kind a damaged or foreign file holds, none of them a section or key the
// plug-in writes: binary bytes (NULs and CRs among them), sections with odd names, keys with
// binary values, lines of 100,000 bytes, lines of '=' and brackets alone, blank lines.
std::string MakeGarbageSettings() {
  std::mt19937 random(7);
  const auto Draw = [&random](int nLow, int nHigh) { return std::uniform_int_distribution<int>(nLow, nHigh)(random); };
  const auto Bytes = [&Draw](int nCount, int nLow) {
    std::string strBytes;
    while (static_cast<int>(strBytes.size()) < nCount)
      if (const char cByte = static_cast<char>(Draw(nLow, 255)); cByte != '\n') strBytes.push_back(cByte);
    return strBytes;
  };
  const std::function<std::string(int)> arrKinds[] = {
      [&](int) { return Bytes(Draw(0, 300), 0); },
      [&](int nLine) { return "[junk " + std::to_string(nLine) + Bytes(Draw(0, 20), 128) + "]"; },
      [&](int nLine) { return "key" + std::to_string(nLine) + "=" + Bytes(Draw(0, 200), 0); },
      [](int nLine) { return std::string(100'000, static_cast<char>('a' + nLine % 26)); },
      [](int) { return std::string("=[]=\r"); },
      [](int) { return std::string("["); },
      [](int) { return std::string(); },
  };
  std::string strContent;
  for (int nLine = 0; nLine < 400; ++nLine) strContent += arrKinds[Draw(0, 6)](nLine) + "\n";
  return strContent;
}

// Whether every line of before is in after, in the same order.
bool KeepsEveryLine(const std::string& strBefore, const std::string& strAfter) {
  std::istringstream before(strBefore), after(strAfter);
  std::string strAfterLine;
  for (std::string strLine; std::getline(before, strLine);) {
    do {
      if (!std::getline(after, strAfterLine)) return false;
    } while (strAfterLine != strLine);
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
  CheckClosed(terminal, verdict);
  verdict.Check(server.Stop(), "rms-sim stops cleanly");
}

}  // namespace

sFaultVerdict RunReadOnlySettings() {
  sFaultVerdict verdict;
  benchprocess::CScratchFolder folder("fault-readonly");
  // The settings a terminal saved, in a folder that then became read-only.
  CTerminalRun first(folder.GetPath()), terminal(folder.GetPath());
  RunTerminal(first, verdict);
  const std::filesystem::path settings = terminal.GetSettingsFolder();
  const std::string strContent = ReadWholeFile(settings / "OrvaneSetting.ini");
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
  // Boxes shown at close close by themselves: that the close ends is what counts.
  RunTerminal(terminal, verdict);
  verdict.Check(ReadWholeFile(settings / "OrvaneSetting.ini") == strContent, "the read-only file is left as it was");
  std::filesystem::permissions(settings, std::filesystem::perms::owner_all, std::filesystem::perm_options::add);
  return verdict;
}

sFaultVerdict RunGarbageSettings() {
  sFaultVerdict verdict;
  benchprocess::CScratchFolder folder("fault-garbage");
  CTerminalRun terminal(folder.GetPath());
  const std::filesystem::path file = terminal.GetSettingsFolder() / "OrvaneSetting.ini";
  const std::string strGarbage = MakeGarbageSettings();
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << strGarbage;
  RunTerminal(terminal, verdict);
  const std::string strAfter = ReadWholeFile(file);
  verdict.Check(strAfter.size() > strGarbage.size(), "the plug-in saved its settings beside the garbage");
  verdict.Check(KeepsEveryLine(strGarbage, strAfter), "every line of the settings file is kept, in order");
  return verdict;
}

}  // namespace faultsuite
