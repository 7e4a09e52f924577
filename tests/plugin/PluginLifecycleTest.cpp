// Start-up and shutdown of the real plug-in library under small host modules, each run in a
// process of its own because a host's services are looked up in the main program.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "tests/support/ProcessRun.h"
#include "tests/support/ScratchFolder.h"

namespace {

// A run of the plug-in runner: its exit code and the lines it wrote.
struct sRun {
  int nExitCode = -1;
  std::vector<std::string> arrLines;

  // The lines from strFirst on.
  std::vector<std::string> From(const std::string& strFirst) const {
    const auto it = std::find(arrLines.begin(), arrLines.end(), strFirst);
    return {it, arrLines.end()};
  }
  std::vector<std::string> GetBoxes() const {
    std::vector<std::string> arrBoxes;
    std::copy_if(arrLines.begin(), arrLines.end(), std::back_inserter(arrBoxes),
                 [](const std::string& strLine) { return strLine.starts_with("box "); });
    return arrBoxes;
  }
};

// What every start-up and shutdown with a frame does after its first line: the five windows
// handed to the frame, both receive controls taken, the four first requests, and at the end
// control 0 closed and both controls given back.
std::vector<std::string> Expected(const std::string& strFirst) {
  return {strFirst, "frame message 1933 windows 5 lparam 0", "service GetPyxoRxControl 0",
          "service GetPyxoRxControl 1", "control 0 request om_get_user_peer_data",
          "control 0 request mrv_rst_show_tree_all", "control 0 request roth_rst",
          "control 0 request mrv_surv_alert_show_tree_all", "init done", "frame SaveDockLayout 0", "control 0 close 0",
          "service DestoryPyxoRxCOntrol 0", "service DestoryPyxoRxCOntrol 1", "exit done, 0 windows left"};
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
    const sProcessRun run =
        RunProcess("QT_QPA_PLATFORM=offscreen FAKE_HOST_USER_DIRECTORY=" + (m_dir / "user").string() +
                   " FAKE_DRIVE_ROOT=" + (m_dir / "root").string() + " " + strBefore + " " + PLUGIN_RUNNER +
                   " " + FAKE_HOST_DIR + "/libfake_host_" + strHostVariant + ".so " + PLUGIN_LIBRARY +
                   " RISK07 0 " + strExtra + " 2>/dev/null");
    return {run.nExitCode, SplitLines(run.strOutput)};
  }

  CScratchFolder m_folder{"orvane-lifecycle"};
  const std::filesystem::path m_dir{m_folder.GetPath()};
  const std::filesystem::path m_settings{m_dir / "user" / "Orvane"};
};

// The start makes the settings folder and the stop keeps the titles there. A second start removes
// what interrupted writes left, keeps the lines and shows nothing; read-only, each failure shows once.
TEST_F(PluginLifecycleTest, StartAndStopUnderAFullHost) {
  const sRun run = Run("full");
  ASSERT_EQ(run.nExitCode, 0);
  EXPECT_EQ(run.From("service pu_get_UserDirectory"), Expected("service pu_get_UserDirectory"));
  EXPECT_NE(ReadWholeFile(m_settings / "OrvaneSetting.ini").find("[Orvane_watch4]\nTITLE=Orvane Watch 4\n"),
            std::string::npos);

  const pid_t nGonePid = ::fork();
  if (nGonePid == 0) ::_exit(0);
  ::waitpid(nGonePid, nullptr, 0);
  const std::string strSuffix = ".tmp-" + std::to_string(nGonePid) + "-4";
  for (const char* szFile : {"OrvaneSetting.ini", "CustomAlertSettings.ini"})
    std::ofstream(m_settings / (szFile + strSuffix)) << "[CONFIG]\npartial";
  std::ofstream(m_settings / "OrvaneSetting.ini") << "[CONFIG]\nMAIL_CC=desk@example.com\n";
  const sRun again = Run("full");
  ASSERT_EQ(again.nExitCode, 0);
  EXPECT_TRUE(again.GetBoxes().empty());
  for (const char* szFile : {"OrvaneSetting.ini", "CustomAlertSettings.ini"})
    EXPECT_FALSE(std::filesystem::exists(m_settings / (szFile + strSuffix))) << szFile;
  const std::string strSettings = ReadWholeFile(m_settings / "OrvaneSetting.ini");
  EXPECT_EQ(strSettings.rfind("[CONFIG]\nMAIL_CC=desk@example.com\n", 0), 0u);

  ASSERT_EQ(::chmod((m_settings / "OrvaneSetting.ini").c_str(), 0444), 0);
  ASSERT_EQ(::chmod(m_settings.c_str(), 0555), 0);
  // Root writes anywhere, so root runs the plug-in as nobody.
  const sRun readOnly =
      Run("full", "", ::geteuid() == 0 ? "setpriv --reuid=nobody --regid=nogroup --clear-groups" : "");
  ::chmod(m_settings.c_str(), 0755);
  ASSERT_EQ(readOnly.nExitCode, 0);
  // Each of the seven lists fails to write its three profile keys; every text shows once.
  EXPECT_EQ(readOnly.GetBoxes(),
            (std::vector<std::string>{"box File Open Failed", "box Error while saving column profile"}));
  EXPECT_EQ(ReadWholeFile(m_settings / "OrvaneSetting.ini"), strSettings);
}

TEST_F(PluginLifecycleTest, HostsWithoutAServiceOrAFrame) {
  // Without the user directory service the settings file sits at the drive root, with the
  // default titles.
  const sRun noUserDirectory = Run("no_userdir");
  ASSERT_EQ(noUserDirectory.nExitCode, 0);
  const std::string strBox = "box Halvo Trader Version is not compatible with Zel";
  EXPECT_EQ(noUserDirectory.From(strBox), Expected(strBox));
  EXPECT_FALSE(std::filesystem::exists(m_settings));
  EXPECT_NE(
      ReadWholeFile(m_dir / "root" / "OrvaneSetting.ini").find("[Orvane_watch1]\nTITLE=Orvane Watch 1\n"),
      std::string::npos);
  const sRun noFrame = Run("full", "--no-frame");
  ASSERT_EQ(noFrame.nExitCode, 0);
  EXPECT_EQ(noFrame.From("service pu_get_UserDirectory"),
            (std::vector<std::string>{"service pu_get_UserDirectory", "init done", "exit done, 0 windows left"}));
}

}  // namespace
