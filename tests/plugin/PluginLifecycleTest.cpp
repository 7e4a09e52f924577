// Start-up and shutdown of the real plug-in library under small host modules, each run in a
// process of its own because a host's services are looked up in the main program.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/ProcessRun.h"
#include "tests/support/ScratchFolder.h"

namespace {

// A run of a command: its exit code and the lines it wrote.
struct sRun {
  int nExitCode = -1;
  std::vector<std::string> arrLines;
};

sRun RunCommand(const std::string& strCommand) {
  const sProcessRun run = RunProcess(strCommand);
  return {run.nExitCode, SplitLines(run.strOutput)};
}

class PluginLifecycleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(m_dir / "user");
    std::filesystem::create_directories(m_dir / "root");
  }

  // strBefore goes before the runner: more variables, or a command that runs it.
  sRun Run(const std::string& strHostVariant, const std::string& strExtra = "",
           const std::string& strBefore = "") const {
    const std::string strCommand =
        "QT_QPA_PLATFORM=offscreen FAKE_HOST_USER_DIRECTORY=" + (m_dir / "user").string() +
        " FAKE_DRIVE_ROOT=" + (m_dir / "root").string() + " " + strBefore + " " + PLUGIN_RUNNER + " " +
        FAKE_HOST_DIR + "/libfake_host_" + strHostVariant + ".so " + PLUGIN_LIBRARY + " RISK07 0 " +
        strExtra + " 2>/dev/null";
    return RunCommand(strCommand);
  }

  // The run's lines from the start-up on (after the information calls).
  static std::vector<std::string> From(const sRun& run, const std::string& strFirst) {
    for (size_t i = 0; i < run.arrLines.size(); ++i)
      if (run.arrLines[i] == strFirst)
        return {run.arrLines.begin() + static_cast<long>(i), run.arrLines.end()};
    return {};
  }

  // What every start-up and shutdown with a frame does after its first line: the five windows
  // handed to the frame, both receive controls taken, the four first requests, and at the end
  // control 0 closed and both controls given back.
  static std::vector<std::string> Expected(const std::string& strFirst) {
    std::vector<std::string> arrLines = {strFirst};
    arrLines.insert(arrLines.end(), kReleased.begin(), kReleased.end());
    return arrLines;
  }
  static inline const std::vector<std::string> kReleased = {"frame message 1933 windows 5 lparam 0",
                                                            "service GetPyxoRxControl 0",
                                                            "service GetPyxoRxControl 1",
                                                            "control 0 request om_get_user_peer_data",
                                                            "control 0 request mrv_rst_show_tree_all",
                                                            "control 0 request roth_rst",
                                                            "control 0 request mrv_surv_alert_show_tree_all",
                                                            "init done",
                                                            "frame SaveDockLayout 0",
                                                            "control 0 close 0",
                                                            "service DestoryPyxoRxCOntrol 0",
                                                            "service DestoryPyxoRxCOntrol 1",
                                                            "exit done"};

  CScratchFolder m_folder{"orvane-lifecycle"};
  const std::filesystem::path m_dir{m_folder.GetPath()};
};

TEST_F(PluginLifecycleTest, InformationCallsAnswerExactly) {
  const sRun run = Run("full", "", "FAKE_CLOCK_US=1700000000250000");
  ASSERT_EQ(run.nExitCode, 0);
  ASSERT_GE(run.arrLines.size(), 4u);
  EXPECT_EQ(run.arrLines[0], "info 1 [Orvane Watch] [5.2.0.0] 29032010 -1");
  EXPECT_EQ(run.arrLines[1],
            "optional [Orvane_Watch_Zel] first [] second [pre,Orvane_Watch_Zel] integers 7 0");
  EXPECT_EQ(run.arrLines[2], "process 0 0");
  EXPECT_EQ(run.arrLines[3], "time 0 1700000000 250000");
}

TEST_F(PluginLifecycleTest, StartAndStopUnderAFullHost) {
  const sRun run = Run("full");
  ASSERT_EQ(run.nExitCode, 0);
  EXPECT_EQ(From(run, "service pu_get_UserDirectory"), Expected("service pu_get_UserDirectory"));
  EXPECT_TRUE(std::filesystem::is_directory(m_dir / "user" / "Orvane"));
  // The titles of the four windows are kept for the next start.
  EXPECT_NE(ReadWholeFile(m_dir / "user" / "Orvane" / "OrvaneSetting.ini")
                .find("[Orvane_watch4]\nTITLE=Orvane Watch 4\n"),
            std::string::npos);

  // A second start finds the directory there and reports nothing.
  const sRun again = Run("full");
  ASSERT_EQ(again.nExitCode, 0);
  for (const std::string& strLine : again.arrLines) EXPECT_NE(strLine.rfind("box ", 0), 0u) << strLine;
}

TEST_F(PluginLifecycleTest, HostWithoutUserDirectoryService) {
  const sRun run = Run("no_userdir");
  ASSERT_EQ(run.nExitCode, 0);
  EXPECT_EQ(From(run, "box Halvo Trader Version is not compatible with Zel"),
            Expected("box Halvo Trader Version is not compatible with Zel"));
  EXPECT_FALSE(std::filesystem::exists(m_dir / "user" / "Orvane"));
  // Without a directory the settings file sits at the drive root, with the default titles.
  const std::string strSettings = ReadWholeFile(m_dir / "root" / "OrvaneSetting.ini");
  for (const char* szTitle :
       {"[Orvane_watch1]\nTITLE=Orvane Watch 1\n", "[Orvane_watch4]\nTITLE=Orvane Watch 4\n"})
    EXPECT_NE(strSettings.find(szTitle), std::string::npos) << szTitle;
}

TEST_F(PluginLifecycleTest, HostWithoutDestroyServiceStopsAfterClosing) {
  const sRun run = Run("no_destroy");
  ASSERT_EQ(run.nExitCode, 0);
  // Control 0 is closed, then the shutdown stops: no control is given back.
  EXPECT_EQ(From(run, "init done"),
            (std::vector<std::string>{"init done", "frame SaveDockLayout 0", "control 0 close 0",
                                      "box From ZEL Connection to pyxo failed", "exit done"}));
}

TEST_F(PluginLifecycleTest, ReadOnlySettingsFolderShowsEachFailureOnceAtShutdown) {
  ASSERT_EQ(Run("full").nExitCode, 0);
  const std::filesystem::path folder = m_dir / "user" / "Orvane";
  const std::string strSettings = ReadWholeFile(folder / "OrvaneSetting.ini");
  ASSERT_FALSE(strSettings.empty());
  ASSERT_EQ(::chmod((folder / "OrvaneSetting.ini").c_str(), 0444), 0);
  ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
  // Root writes anywhere, so root runs the plug-in as nobody.
  const sRun run =
      Run("full", "", ::geteuid() == 0 ? "setpriv --reuid=nobody --regid=nogroup --clear-groups" : "");
  ::chmod(folder.c_str(), 0755);

  ASSERT_EQ(run.nExitCode, 0);
  std::vector<std::string> arrBoxes;
  for (const std::string& strLine : From(run, "init done"))
    if (strLine.rfind("box ", 0) == 0) arrBoxes.push_back(strLine);
  // Each of the seven lists fails to write its three profile keys; every text shows once.
  EXPECT_EQ(arrBoxes,
            (std::vector<std::string>{"box File Open Failed", "box Error while saving column profile"}));
  EXPECT_EQ(ReadWholeFile(folder / "OrvaneSetting.ini"), strSettings);
}

TEST_F(PluginLifecycleTest, StartRemovesLeftoversOfInterruptedWrites) {
  const std::filesystem::path folder = m_dir / "user" / "Orvane";
  std::filesystem::create_directories(folder);
  const pid_t nGonePid = ::fork();
  if (nGonePid == 0) ::_exit(0);
  ::waitpid(nGonePid, nullptr, 0);
  const std::string strSuffix = ".tmp-" + std::to_string(nGonePid) + "-4";
  for (const char* szFile : {"OrvaneSetting.ini", "CustomAlertSettings.ini"})
    std::ofstream(folder / (szFile + strSuffix)) << "[CONFIG]\npartial";
  std::ofstream(folder / "OrvaneSetting.ini") << "[CONFIG]\nMAIL_CC=desk@example.com\n";

  ASSERT_EQ(Run("full").nExitCode, 0);
  for (const char* szFile : {"OrvaneSetting.ini", "CustomAlertSettings.ini"})
    EXPECT_FALSE(std::filesystem::exists(folder / (szFile + strSuffix))) << szFile;
  EXPECT_EQ(ReadWholeFile(folder / "OrvaneSetting.ini").rfind("[CONFIG]\nMAIL_CC=desk@example.com\n", 0), 0u);
}

TEST_F(PluginLifecycleTest, WithoutMainFrameNothingIsCreatedOrSaved) {
  const sRun run = Run("full", "--no-frame");
  ASSERT_EQ(run.nExitCode, 0);
  EXPECT_EQ(From(run, "service pu_get_UserDirectory"),
            (std::vector<std::string>{"service pu_get_UserDirectory", "init done", "exit done"}));
}

TEST(PluginExportsTest, LibrariesExportTheirEntryPoints) {
  struct sCase {
    std::string strLibrary;
    std::vector<std::string> arrNames;
  };
  const sCase arrCases[] = {
      {PLUGIN_LIBRARY,
       {"ExitHalvoPlugin", "GetHalvoPluginInfo", "GetOptionalHalvoPluginInfo", "InitHalvoPlugin",
        "ProcessHalvoPluginMsg", "gettimeofday"}},
      {CONNECT_LIBRARY,
       {"otp_add_data", "otp_close_scratch", "otp_ctor_primecb", "otp_dtor_primecb", "otp_get_data",
        "otp_get_data_many", "otp_get_field", "otp_open_scratch", "otp_start_msg"}},
  };
  for (const sCase& c : arrCases) {
    // Defined, exported functions with C names (C++ names are mangled and start with _Z).
    const sRun run = RunCommand("nm -D --defined-only " + c.strLibrary +
                                " | awk '$2 == \"T\" && $3 !~ /^_/ {print $3}' | sort");
    ASSERT_EQ(run.nExitCode, 0);
    EXPECT_EQ(run.arrLines, c.arrNames) << c.strLibrary;
  }
}

}  // namespace
