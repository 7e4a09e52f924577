// The terminal as a user starts it: with the real plug-in, off screen, told to quit.
#include <gtest/gtest.h>

#include <QDockWidget>
#include <QMainWindow>
#include <QSettings>
#include <fstream>

#include "tests/support/ProcessRun.h"
#include "tests/support/QtTestApp.h"
#include "tests/support/ScratchFolder.h"

namespace {

// The value of a "report: NAME = VALUE UNIT" line, or -1 without one.
double FindReport(const std::string& strOutput, const std::string& strName) {
  const std::string strStart = "report: " + strName + " = ";
  const size_t nAt = strOutput.find(strStart);
  return nAt == std::string::npos ? -1.0 : std::stod(strOutput.substr(nAt + strStart.size()));
}

// Every line of a settings file is a section, a key with its value, or blank.
bool IsReadable(const std::string& strContent) {
  for (std::string strLine : SplitLines(strContent)) {
    if (!strLine.empty() && strLine.back() == '\r') strLine.pop_back();
    if (!strLine.empty() && strLine.front() != '[' && strLine.find('=') == std::string::npos) return false;
  }
  return true;
}

// A frame with docks named as the terminal's windows, to write and read its saved layouts.
struct sLayoutFrame {
  sLayoutFrame() {
    for (const char* szName :
         {"OrvaneWatch1", "OrvaneWatch2", "OrvaneWatch3", "OrvaneWatch4", "OrvaneWatchAlerts"}) {
      arrDocks.push_back(new QDockWidget(QString::fromLatin1(szName), &frame));
      arrDocks.back()->setObjectName(QString::fromLatin1(szName));
      frame.addDockWidget(Qt::TopDockWidgetArea, arrDocks.back());
    }
  }
  QMainWindow frame;
  std::vector<QDockWidget*> arrDocks;
};

class HostRunTest : public ::testing::Test {
 protected:
  sProcessRun RunHost(const std::string& strArguments) const {
    return RunProcess("QT_QPA_PLATFORM=offscreen XDG_DATA_HOME=" + m_dir.string() + " XDG_CONFIG_HOME=" +
                      (m_dir / "config").string() + " " + HALVO_HOST + " " + strArguments + " 2>&1");
  }
  void WriteFile(const std::filesystem::path& path, const std::string& strContent) const {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << strContent;
  }
  std::vector<std::string> GetUsers() const {
    std::vector<std::string> arrUsers;
    for (const auto& entry : std::filesystem::directory_iterator(m_dir / "halvo-trader"))
      arrUsers.push_back(entry.path().filename().string());
    return arrUsers;
  }

  CScratchFolder m_folder{"halvo-host"};
  const std::filesystem::path m_dir{m_folder.GetPath()};
  const std::filesystem::path m_config{m_dir / "config" / "halvo-trader"};
};

// The configuration file logs in; the frame restores its saved layout, in which every window
// was closed, and shows them all; odd settings keep their lines and the windows their titles.
TEST_F(HostRunTest, StartsThePluginFromTheConfigurationAndKeepsItsSettings) {
  WriteFile(m_config / "halvo-trader.conf", "[login]\nuser = DESK07\n");
  const QString strLayout = QString::fromStdString((m_config / "halvo-host.conf").string());
  {
    sLayoutFrame closed;
    for (QDockWidget* pDock : closed.arrDocks) pDock->hide();
    QSettings(strLayout, QSettings::IniFormat).setValue("frame/dockLayout", closed.frame.saveState(0));
  }
  const std::string strLong(500, 'L');
  const std::filesystem::path settings = m_dir / "halvo-trader" / "DESK07" / "Orvane" / "OrvaneSetting.ini";
  WriteFile(settings, "[CONFIG]\nDIALOG COUNT=9\n[Desk notes]\nKEEP=yes\n[Orvane_watch1]\nTITLE=[Risk] = desk\n"
                      "[Orvane_watch2]\nTITLE=" + strLong + "\n[Orvane_watch3]\nTITLE=\n");
  const auto screenshot = m_dir / "frame.png";

  const sProcessRun run = RunHost("--quit-after 1 --screenshot " + screenshot.string());
  ASSERT_EQ(run.nExitCode, 0) << run.strOutput;
  EXPECT_EQ(GetUsers(), std::vector<std::string>{"DESK07"});
  EXPECT_GT(std::filesystem::exists(screenshot) ? std::filesystem::file_size(screenshot) : 0, 1000u);
  sLayoutFrame reopened;
  ASSERT_TRUE(reopened.frame.restoreState(
      QSettings(strLayout, QSettings::IniFormat).value("frame/dockLayout").toByteArray(), 0));
  for (QDockWidget* pDock : reopened.arrDocks)
    EXPECT_FALSE(pDock->isHidden()) << pDock->objectName().toStdString();
  const std::string strAfter = ReadWholeFile(settings);
  EXPECT_TRUE(IsReadable(strAfter)) << strAfter;
  for (const std::string& strPart : {std::string("[Desk notes]\nKEEP=yes\n"), std::string("DIALOG COUNT=9\n"),
                                     std::string("TITLE=[Risk] = desk\n"), "TITLE=" + strLong + "\n"})
    EXPECT_NE(strAfter.find(strPart), std::string::npos) << strPart.substr(0, 40) << "\n" << strAfter;
}

TEST_F(HostRunTest, OptionsOverrideTheConfiguration) {
  WriteFile(m_config / "halvo-trader.conf", "[login]\nuser = DESK07\n");
  const sProcessRun run = RunHost("--user DESK08 --quit-after 0.3");
  EXPECT_EQ(run.nExitCode, 0) << run.strOutput;
  EXPECT_EQ(GetUsers(), std::vector<std::string>{"DESK08"});
}

TEST_F(HostRunTest, ReportsWhatItDeliveredOrMeasured) {
  // The embedded server's feed runs at 100 messages a second; --quit-after only guards the run.
  const sProcessRun counted = RunHost("--no-draw --quit-after-messages 20 --report-deliveries --quit-after 120");
  const std::string& strCounted = counted.strOutput;
  ASSERT_EQ(counted.nExitCode, 0) << strCounted;
  // The close waits for the delivery turn under way, which may deliver a few more.
  EXPECT_GE(FindReport(strCounted, "publications_delivered"), 20) << strCounted;
  EXPECT_GT(FindReport(strCounted, "first_to_last_s"), 0) << strCounted;
  EXPECT_EQ(strCounted.find("report: delay"), std::string::npos) << strCounted;

  const sProcessRun measured = RunHost("--measure 1 --quit-after 120");
  const std::string& strOutput = measured.strOutput;
  ASSERT_EQ(measured.nExitCode, 0) << strOutput;
  EXPECT_GE(FindReport(strOutput, "measured_s"), 1) << strOutput;
  // Every publication of the embedded server carries its send time.
  for (const char* szName : {"measured_publications", "delay_p50_ms", "ui_turn_samples"})
    EXPECT_GT(FindReport(strOutput, szName), 0) << szName << "\n" << strOutput;
  EXPECT_EQ(FindReport(strOutput, "delay_samples"), FindReport(strOutput, "measured_publications"));
  EXPECT_GE(FindReport(strOutput, "delay_max_ms"), FindReport(strOutput, "delay_p99_ms"));
  EXPECT_GE(FindReport(strOutput, "ui_turn_max_ms"), FindReport(strOutput, "ui_turn_p99_ms"));
  EXPECT_EQ(strOutput.find("report: publications_delivered"), std::string::npos) << strOutput;
}

}  // namespace
