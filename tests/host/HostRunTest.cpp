// The terminal as a user starts it: with the real plug-in, off screen, told to quit.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QDockWidget>
#include <QMainWindow>
#include <QSettings>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/ProcessRun.h"
#include "tests/support/QtTestApp.h"
#include "tests/support/ScratchFolder.h"

namespace {

sProcessRun RunHost(const std::filesystem::path& dataHome, const std::string& strArguments) {
  return RunProcess("QT_QPA_PLATFORM=offscreen XDG_DATA_HOME=" + dataHome.string() +
                    " XDG_CONFIG_HOME=" + (dataHome / "config").string() + " " + HALVO_HOST + " " +
                    strArguments + " 2>&1");
}

class HostRunTest : public ::testing::Test {
 protected:
  CScratchFolder m_folder{"halvo-host"};
  const std::filesystem::path m_dir{m_folder.GetPath()};
};

TEST_F(HostRunTest, StartsThePluginAndQuitsWhenTold) {
  const auto screenshot = m_dir / "frame.png";
  const sProcessRun run = RunHost(m_dir, "--user DEALER9 --quit-after 0.3 --screenshot " + screenshot.string());
  EXPECT_EQ(run.nExitCode, 0) << run.strOutput;
  EXPECT_TRUE(std::filesystem::is_directory(m_dir / "halvo-trader" / "DEALER9" / "Orvane")) << run.strOutput;
  ASSERT_TRUE(std::filesystem::exists(screenshot));
  EXPECT_GT(std::filesystem::file_size(screenshot), 1000u);
}

TEST_F(HostRunTest, CommandLineAnswers) {
  const sProcessRun help = RunHost(m_dir, "--help");
  EXPECT_EQ(help.nExitCode, 0);
  EXPECT_NE(help.strOutput.find("--quit-after"), std::string::npos);

  const sProcessRun version = RunHost(m_dir, "--version");
  EXPECT_EQ(version.nExitCode, 0);
  EXPECT_NE(version.strOutput.find("halvo-host "), std::string::npos) << version.strOutput;

  const sProcessRun bad = RunHost(m_dir, "--no-such-option");
  EXPECT_EQ(bad.nExitCode, 2);
  const sProcessRun badCategory = RunHost(m_dir, "--category abc");
  EXPECT_EQ(badCategory.nExitCode, 2);
  EXPECT_NE(badCategory.strOutput.find("--category"), std::string::npos);

  // Options for scripts and benchmarks: each refused value names its option.
  const std::vector<std::pair<std::string, std::string>> arrRefused = {
      {"--quit-after-messages 0", "--quit-after-messages"},
      {"--quit-after-messages -3", "--quit-after-messages"},
      {"--quit-after-messages many", "--quit-after-messages"},
      {"--measure 0", "--measure"},
      {"--measure -1", "--measure"},
      {"--measure inf", "--measure"},
      {"--measure soon", "--measure"},
      {"--measure-after 2", "--measure-after"},
      {"--measure 1 --measure-after -1", "--measure-after"},
      {"--answer-boxes-after -1", "--answer-boxes-after"},
      {"--answer-boxes-after soon", "--answer-boxes-after"},
  };
  for (const auto& [strArguments, strNamed] : arrRefused) {
    const sProcessRun refused = RunHost(m_dir, strArguments);
    EXPECT_EQ(refused.nExitCode, 2) << strArguments;
    EXPECT_NE(refused.strOutput.find(strNamed), std::string::npos)
        << strArguments << ": " << refused.strOutput;
  }
}

TEST_F(HostRunTest, ConfigurationFileLogsInAndOptionsOverrideIt) {
  struct sRow {
    const char* szName;
    const char* szConfig;
    const char* szArguments;
    const char* szUserLoggedIn;
    const char* szOutputPart;
  };
  const std::vector<sRow> arrRows = {
      {"file", "[login]\nuser = DESK07\n", "", "DESK07", ""},
      {"option over file", "[login]\nuser = DESK07\n", "--user DESK08", "DESK08", ""},
      {"malformed file", "# desk\nuser DESK07\n", "", "RISK01", "halvo-trader.conf: line 2 "},
  };
  for (const sRow& row : arrRows) {
    SCOPED_TRACE(row.szName);
    std::filesystem::remove_all(m_dir);
    std::filesystem::create_directories(m_dir / "config" / "halvo-trader");
    std::ofstream(m_dir / "config" / "halvo-trader" / "halvo-trader.conf") << row.szConfig;
    const sProcessRun run = RunHost(m_dir, std::string(row.szArguments) + " --quit-after 0.3");
    EXPECT_EQ(run.nExitCode, 0) << run.strOutput;
    EXPECT_NE(run.strOutput.find(row.szOutputPart), std::string::npos) << run.strOutput;
    std::vector<std::string> arrUsers;
    for (const auto& entry : std::filesystem::directory_iterator(m_dir / "halvo-trader"))
      arrUsers.push_back(entry.path().filename().string());
    EXPECT_EQ(arrUsers, std::vector<std::string>{row.szUserLoggedIn});
  }
}

// The value of a "report: NAME = VALUE UNIT" line, or -1 without one.
double FindReport(const std::string& strOutput, const std::string& strName) {
  const std::string strStart = "report: " + strName + " = ";
  const size_t nAt = strOutput.find(strStart);
  return nAt == std::string::npos ? -1.0 : std::stod(strOutput.substr(nAt + strStart.size()));
}

TEST_F(HostRunTest, QuitsAfterTheMessagesAndReportsThem) {
  // The embedded server's feed runs at 100 messages a second; --quit-after only guards the run.
  const sProcessRun run = RunHost(m_dir, "--no-draw --quit-after-messages 20 --report-deliveries --quit-after 120");
  EXPECT_EQ(run.nExitCode, 0) << run.strOutput;
  // The close waits for the delivery turn under way, which may deliver a few more.
  EXPECT_GE(FindReport(run.strOutput, "publications_delivered"), 20) << run.strOutput;
  EXPECT_GT(FindReport(run.strOutput, "first_to_last_s"), 0) << run.strOutput;
  EXPECT_EQ(run.strOutput.find("report: delay"), std::string::npos) << run.strOutput;
}

TEST_F(HostRunTest, MeasuresDelaysAndEventLoopTurns) {
  const sProcessRun run = RunHost(m_dir, "--measure 1 --quit-after 120");
  EXPECT_EQ(run.nExitCode, 0) << run.strOutput;
  EXPECT_GE(FindReport(run.strOutput, "measured_s"), 1) << run.strOutput;
  const double dPublications = FindReport(run.strOutput, "measured_publications");
  EXPECT_GT(dPublications, 0) << run.strOutput;
  // Every publication of the embedded server carries its send time.
  EXPECT_EQ(FindReport(run.strOutput, "delay_samples"), dPublications) << run.strOutput;
  EXPECT_GT(FindReport(run.strOutput, "delay_p50_ms"), 0) << run.strOutput;
  EXPECT_GE(FindReport(run.strOutput, "delay_max_ms"), FindReport(run.strOutput, "delay_p99_ms"));
  EXPECT_GT(FindReport(run.strOutput, "ui_turn_samples"), 0) << run.strOutput;
  EXPECT_GE(FindReport(run.strOutput, "ui_turn_max_ms"), FindReport(run.strOutput, "ui_turn_p99_ms"));
  EXPECT_EQ(run.strOutput.find("report: publications_delivered"), std::string::npos) << run.strOutput;
}

// A frame with docks named as the terminal's windows, to write and read its saved layouts.
struct sLayoutFrame {
  sLayoutFrame() {
    for (const char* szName :
         {"OrvaneWatch1", "OrvaneWatch2", "OrvaneWatch3", "OrvaneWatch4", "OrvaneWatchAlerts"}) {
      auto* pDock = new QDockWidget(QString::fromLatin1(szName), &frame);
      pDock->setObjectName(QString::fromLatin1(szName));
      frame.addDockWidget(Qt::TopDockWidgetArea, pDock);
      arrDocks.push_back(pDock);
    }
  }
  QMainWindow frame;
  std::vector<QDockWidget*> arrDocks;
};

// A user who closed every window finds them all shown at the next start: the rule holds in the
// terminal's own start order, where the frame restores its saved layout.
TEST_F(HostRunTest, ALayoutWithEveryWindowClosedStartsWithAllShown) {
  const QString strConfig =
      QString::fromStdString((m_dir / "config" / "halvo-trader" / "halvo-host.conf").string());
  {
    sLayoutFrame closed;
    for (QDockWidget* pDock : closed.arrDocks) pDock->hide();
    QSettings(strConfig, QSettings::IniFormat).setValue("frame/dockLayout", closed.frame.saveState(0));
  }
  const sProcessRun run = RunHost(m_dir, "--quit-after 0.5");
  ASSERT_EQ(run.nExitCode, 0) << run.strOutput;

  // The layout saved at the close is the one the terminal showed.
  sLayoutFrame reopened;
  const QSettings settings(strConfig, QSettings::IniFormat);
  ASSERT_TRUE(reopened.frame.restoreState(settings.value("frame/dockLayout").toByteArray(), 0));
  for (QDockWidget* pDock : reopened.arrDocks)
    EXPECT_FALSE(pDock->isHidden()) << pDock->objectName().toStdString();
}

TEST_F(HostRunTest, MissingPluginIsReportedAndTheTerminalStillRuns) {
  const sProcessRun run = RunHost(m_dir, "--plugin-file /nonexistent/libnothing.so --quit-after 0.1");
  EXPECT_EQ(run.nExitCode, 0);
  EXPECT_NE(run.strOutput.find("No plug-in"), std::string::npos) << run.strOutput;
}

// A loopback TCP port that listens but never says a word, for as long as it lives.
class CSilentServer {
 public:
  CSilentServer() {
    m_nSocket = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t nLength = sizeof address;
    if (m_nSocket < 0 || ::bind(m_nSocket, reinterpret_cast<sockaddr*>(&address), nLength) != 0 ||
        ::listen(m_nSocket, 4) != 0 ||
        ::getsockname(m_nSocket, reinterpret_cast<sockaddr*>(&address), &nLength) != 0)
      return;
    m_nPort = ntohs(address.sin_port);
  }
  ~CSilentServer() {
    if (m_nSocket >= 0) ::close(m_nSocket);
  }
  CSilentServer(const CSilentServer&) = delete;
  CSilentServer& operator=(const CSilentServer&) = delete;
  int GetPort() const { return m_nPort; }

 private:
  int m_nSocket = -1;
  int m_nPort = 0;
};

class HostBadInputTest : public HostRunTest {
 protected:
  std::filesystem::path GetSettingsPath() const {
    return m_dir / "halvo-trader" / "RISK01" / "Orvane" / "OrvaneSetting.ini";
  }
  void WriteSettings(const std::string& strContent) const {
    std::filesystem::create_directories(GetSettingsPath().parent_path());
    std::ofstream(GetSettingsPath(), std::ios::binary) << strContent;
  }
  std::string ReadSettings() const { return ReadWholeFile(GetSettingsPath()); }
  // Every line of the file is a section, a key with its value, or blank.
  static bool IsReadable(const std::string& strContent) {
    std::istringstream stream(strContent);
    std::string strLine;
    while (std::getline(stream, strLine)) {
      if (!strLine.empty() && strLine.back() == '\r') strLine.pop_back();
      if (!strLine.empty() && strLine.front() != '[' && strLine.find('=') == std::string::npos) return false;
    }
    return true;
  }
};

TEST_F(HostBadInputTest, OddSettingsStartTheTerminalAndSurviveShutdown) {
  const std::string strLong(500, 'L');
  for (const char* szCount : {"0", "9", "-3", "many"}) {
    WriteSettings(std::string("[CONFIG]\nDIALOG COUNT=") + szCount +
                  "\n[Desk notes]\nKEEP=yes\n[Orvane_watch1]\nTITLE=[Risk] = desk\n[Orvane_watch2]\nTITLE=" +
                  strLong + "\n[Orvane_watch3]\nTITLE=\n");
    const auto screenshot = m_dir / "frame.png";
    const sProcessRun run = RunHost(m_dir, "--quit-after 1 --screenshot " + screenshot.string());
    EXPECT_EQ(run.nExitCode, 0) << szCount << ": " << run.strOutput;
    EXPECT_TRUE(std::filesystem::exists(screenshot)) << szCount;
    const std::string strAfter = ReadSettings();
    EXPECT_TRUE(IsReadable(strAfter)) << szCount << ":\n" << strAfter;
    EXPECT_NE(strAfter.find("[Desk notes]\nKEEP=yes\n"), std::string::npos) << szCount;
    EXPECT_NE(strAfter.find(std::string("DIALOG COUNT=") + szCount + "\n"), std::string::npos) << szCount;
    // Windows that were shown keep their titles exactly.
    if (std::string(szCount) == "9") {
      EXPECT_NE(strAfter.find("TITLE=[Risk] = desk\n"), std::string::npos) << strAfter;
      EXPECT_NE(strAfter.find("TITLE=" + strLong + "\n"), std::string::npos);
    }
    std::filesystem::remove(screenshot);
  }
}

TEST_F(HostBadInputTest, ASilentOrVanishingServerLeavesTheTerminalRunning) {
  const CSilentServer silent;
  ASSERT_GT(silent.GetPort(), 0);
  const sProcessRun silentRun =
      RunHost(m_dir, "--server tcp://127.0.0.1:" + std::to_string(silent.GetPort()) + " --quit-after 1");
  EXPECT_EQ(silentRun.nExitCode, 0) << silentRun.strOutput;

  // A server that goes away while the terminal starts.
  const int nPort = CSilentServer().GetPort();
  const std::string strServer = std::string(RMS_SIM) +
                                " --requests tcp://127.0.0.1:" + std::to_string(nPort) +
                                " --duration 0.3 >/dev/null 2>&1 &";
  ASSERT_EQ(std::system(strServer.c_str()), 0);
  const sProcessRun vanishedRun =
      RunHost(m_dir, "--server tcp://127.0.0.1:" + std::to_string(nPort) + " --quit-after 1.5");
  EXPECT_EQ(vanishedRun.nExitCode, 0) << vanishedRun.strOutput;
  EXPECT_TRUE(IsReadable(ReadSettings()));
}

}  // namespace
