// Start-up and shutdown of the real plug-in library under small host modules, each run in a
// process of its own because a host's services are looked up in the main program.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct sRun {
  int nExitCode = -1;
  std::vector<std::string> arrLines;
};

sRun RunCommand(const std::string& strCommand) {
  sRun run;
  FILE* pPipe = popen(strCommand.c_str(), "r");
  if (pPipe == nullptr) return run;
  char szLine[4096];
  while (std::fgets(szLine, sizeof szLine, pPipe) != nullptr) {
    std::string strLine = szLine;
    if (!strLine.empty() && strLine.back() == '\n') strLine.pop_back();
    run.arrLines.push_back(strLine);
  }
  const int nStatus = pclose(pPipe);
  run.nExitCode = WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
  return run;
}

class PluginLifecycleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir = std::filesystem::temp_directory_path() /
            ("orvane-lifecycle-" + std::to_string(::getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(m_dir);
    std::filesystem::create_directories(m_dir / "user");
    std::filesystem::create_directories(m_dir / "root");
  }
  void TearDown() override { std::filesystem::remove_all(m_dir); }

  sRun Run(const std::string& strHostVariant, const std::string& strExtra = "",
           const std::string& strEnvironment = "") const {
    const std::string strCommand =
        "QT_QPA_PLATFORM=offscreen FAKE_HOST_USER_DIRECTORY=" + (m_dir / "user").string() +
        " FAKE_DRIVE_ROOT=" + (m_dir / "root").string() + " " + strEnvironment + " " + PLUGIN_RUNNER + " " +
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

  std::filesystem::path m_dir;
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
  EXPECT_EQ(From(run, "service pu_get_UserDirectory"),
            (std::vector<std::string>{"service pu_get_UserDirectory", "frame message 1933 windows 0 lparam 0",
                                      "init done", "frame SaveDockLayout 0", "exit done"}));
  EXPECT_TRUE(std::filesystem::is_directory(m_dir / "user" / "Orvane"));
}

TEST_F(PluginLifecycleTest, HostWithoutUserDirectoryService) {
  const sRun run = Run("no_userdir");
  ASSERT_EQ(run.nExitCode, 0);
  EXPECT_EQ(From(run, "box Halvo Trader Version is not compatible with Zel"),
            (std::vector<std::string>{"box Halvo Trader Version is not compatible with Zel",
                                      "frame message 1933 windows 0 lparam 0", "init done",
                                      "frame SaveDockLayout 0", "exit done"}));
  EXPECT_FALSE(std::filesystem::exists(m_dir / "user" / "Orvane"));
  EXPECT_TRUE(std::filesystem::is_empty(m_dir / "root"));
}

TEST_F(PluginLifecycleTest, ExistingSettingsDirectoryIsNotReported) {
  std::filesystem::create_directories(m_dir / "user" / "Orvane");
  const sRun run = Run("full");
  ASSERT_EQ(run.nExitCode, 0);
  for (const std::string& strLine : run.arrLines) EXPECT_NE(strLine.rfind("box ", 0), 0u) << strLine;
}

TEST_F(PluginLifecycleTest, HostWithoutDestroyServiceStopsQuietlyWithoutALink) {
  const sRun run = Run("no_destroy");
  ASSERT_EQ(run.nExitCode, 0);
  EXPECT_EQ(From(run, "init done"),
            (std::vector<std::string>{"init done", "frame SaveDockLayout 0", "exit done"}));
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
        "otp_get_field", "otp_open_scratch", "otp_start_msg"}},
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
