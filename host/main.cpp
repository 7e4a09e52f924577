// halvo-host: the terminal. Logs the user in from its configuration file and command line,
// loads the plug-in into its main frame, and stops it when the frame closes.
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <thread>

#include "host/HostApplication.h"
#include "host/HostMainFrame.h"
#include "host/HostOptions.h"
#include "host/HostRunMeter.h"
#include "host/HostServices.h"
#include "host/PluginLoader.h"
#include "host/TerminalConfig.h"
#include "host/TerminalSecurity.h"
#include "host/transport/RmsTransport.h"
#include "platform/qt/MainFrame.h"
#include "platform/qt/QtMessageBox.h"
#include "rmssim/RmsServer.h"

namespace {

// Messages are delivered in at most 50 turns a second, each followed by painting, so a busy
// feed does not have the lists painted after every few messages.
constexpr std::chrono::milliseconds kDeliveryTurnInterval{20};

// Without a display the terminal still runs, drawing off screen (for scripts and screenshots).
void ChooseOffscreenWithoutDisplay() {
  if (std::getenv("QT_QPA_PLATFORM") != nullptr) return;
  if (std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr) return;
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

// The offscreen platform warns once per window layout that it cannot pass size hints on,
// hundreds of times a run: that one line is dropped, every other message is passed on.
QtMessageHandler g_fnPreviousMessageHandler = nullptr;

void FilterQtMessages(QtMsgType eType, const QMessageLogContext& context, const QString& strMessage) {
  if (strMessage == QLatin1String("This plugin does not support propagateSizeHints()")) return;
  if (g_fnPreviousMessageHandler != nullptr)
    g_fnPreviousMessageHandler(eType, context, strMessage);
  else
    std::fputs(qPrintable(qFormatLogMessage(eType, context, strMessage) + QLatin1Char('\n')), stderr);
}

// The installed plug-in (lib/orvane-watch/ beside the program's bin/), else the one next to the
// program, where the build puts it.
QString GetDefaultPluginPath() {
  const QDir programDir(QCoreApplication::applicationDirPath());
  const QString strInstalled =
      QDir::cleanPath(programDir.filePath(QStringLiteral("../lib/orvane-watch/liborvane_watch.so")));
  if (QFileInfo::exists(strInstalled)) return strInstalled;
  return programDir.filePath(QStringLiteral("liborvane_watch.so"));
}

// A problem of the configuration file or the keys, over the frame, in a box that nobody has to
// answer: the terminal runs on meanwhile, unattended runs included.
void ShowWarning(QWidget* pFrame, const QString& strText) {
  auto* pBox = new QMessageBox(QMessageBox::Warning, QGuiApplication::applicationDisplayName(), strText,
                               QMessageBox::Ok, pFrame);
  pBox->setAttribute(Qt::WA_DeleteOnClose);
  pBox->setWindowModality(Qt::NonModal);
  pBox->show();
}

// The risk server the terminal talks to: the one given with --server, or, without it, one
// started in this process on free loopback ports (pServer then holds it).
halvowire::sServerEndpoints ChooseServer(const sHostOptions& options, std::unique_ptr<CRmsServer>& pServer) {
  if (!options.strServerAddress.isEmpty())
    return halvowire::ParseServerAddress(options.strServerAddress.toStdString())
        .value_or(halvowire::sServerEndpoints{});
  sSimOptions serverOptions;
  serverOptions.strRequests = "tcp://127.0.0.1:*";
  serverOptions.strPublications = "tcp://127.0.0.1:*";
  pServer = std::make_unique<CRmsServer>(serverOptions);
  std::string strError;
  if (pServer->Start(strError)) return pServer->GetEndpoints();
  std::fprintf(stderr, "No embedded risk server: %s\n", strError.c_str());
  pServer.reset();
  return {};
}

std::vector<std::string> ToStdList(const QStringList& arrTexts) {
  std::vector<std::string> arrResult;
  for (const QString& strText : arrTexts) arrResult.push_back(strText.toStdString());
  return arrResult;
}

// Qt joins its drawing threads when the application object goes, yet each may still run its
// thread-exit handlers a moment after; a process that ended then would cut those short, and the
// leak checker of test builds reports the thread's data as lost.
void AwaitExitingThreads() {
  constexpr auto kLongest = std::chrono::seconds(2);
  const auto deadline = std::chrono::steady_clock::now() + kLongest;
  const auto countThreads = [] {
    std::error_code error;
    const std::filesystem::directory_iterator tasks("/proc/self/task", error);
    return error ? 1 : std::distance(begin(tasks), end(tasks));
  };
  while (countThreads() > 1 && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

int RunTerminal(int argc, char* argv[]) {
  ChooseOffscreenWithoutDisplay();
  g_fnPreviousMessageHandler = qInstallMessageHandler(FilterQtMessages);
  CHostApplication app(argc, argv);
  QCoreApplication::setOrganizationName(QStringLiteral("halvo-trader"));
  QCoreApplication::setApplicationName(QStringLiteral("halvo-host"));
  QCoreApplication::setApplicationVersion(QStringLiteral(ORVANE_VERSION));
  QGuiApplication::setApplicationDisplayName(QStringLiteral("Halvo Trader"));
  // Ties the windows to the menu entry, whose icon the desktop then shows for them.
  QGuiApplication::setDesktopFileName(QStringLiteral("orvane-watch"));

  // The configuration file first, the command line over it.
  sHostOptions configured;
  const QStringList arrConfigProblems = ReadTerminalConfig(GetTerminalConfigPath(), configured);
  QString strMessage;
  bool bAnswered = false;
  const std::optional<sHostOptions> options =
      ParseHostOptions(QCoreApplication::arguments(), configured, strMessage, bAnswered);
  if (!options) {
    std::fputs(qPrintable(strMessage + QLatin1Char('\n')), bAnswered ? stdout : stderr);
    return bAnswered ? 0 : 2;
  }
  for (const QString& strProblem : arrConfigProblems)
    std::fputs(qPrintable(strProblem + QLatin1Char('\n')), stderr);

  // A key problem leaves the terminal without a link, never with a plain one.
  const sLinkSecurity security = ChooseLinkSecurity(*options);
  const QString strKeyProblem = QString::fromStdString(security.strProblem);
  if (!strKeyProblem.isEmpty()) std::fputs(qPrintable(strKeyProblem + QLatin1Char('\n')), stderr);

  // Declared before the frame and the plug-in, so both are gone before the link closes.
  std::unique_ptr<CRmsServer> pServer;
  CRmsTransport transport(ChooseServer(*options, pServer), security);
  transport.SetDeliveryTurnInterval(kDeliveryTurnInterval);
  transport.SetConflation(options->bConflation);
  CHostMainFrame frame;
  SetMainFrame(&frame);
  frame.ShowServerState(transport.GetLinkState());
  frame.ShowLinkSecurity(transport.IsEncrypted(), strKeyProblem);
  QObject::connect(&transport, &CRmsTransport::LinkStateChanged, &frame, &CHostMainFrame::ShowServerState);
  QObject::connect(&transport, &CRmsTransport::LinkDetailsChanged, &frame, &CHostMainFrame::ShowLinkDetails);
  // Without drawing the windows keep their places and sizes, so a list still knows its rows on
  // screen, but nothing is painted.
  frame.setUpdatesEnabled(!options->bNoDraw);
  frame.show();
  if (!arrConfigProblems.isEmpty())
    ShowWarning(&frame, QStringLiteral("The terminal's configuration file has problems:\n\n") +
                            arrConfigProblems.join(QStringLiteral("\n\n")));
  if (!strKeyProblem.isEmpty())
    ShowWarning(&frame, QStringLiteral("The link to the risk server was not made:\n\n") + strKeyProblem);
  // Closing the frame stops the plug-in; the event loop ends then, whatever windows are left.
  const auto fnClose = [&frame] {
    frame.close();
    QCoreApplication::quit();
  };
  CHostRunMeter runMeter(*options, transport, app, fnClose);
  if (options->dAnswerBoxesAfterSeconds)
    InstallQtMessageBoxPresenter(std::chrono::milliseconds(std::llround(*options->dAnswerBoxesAfterSeconds * 1000)),
                                 [&runMeter](const std::string& strText) { runMeter.PrintBoxAnswered(strText); });
  else
    InstallQtMessageBoxPresenter();

  ConfigureHostServices(PrepareUserDirectory(options->strUserId.toStdString()),
                        ToStdList(options->arrDealers), &transport);

  CPluginLoader loader;
  const QString strPluginPath =
      options->strPluginPath.isEmpty() ? GetDefaultPluginPath() : options->strPluginPath;
  if (loader.Load(strPluginPath.toStdString())) {
    const sPluginInfo info = loader.QueryInfo();
    frame.SetPluginDescription(QString::fromStdString(info.strName + " " + info.strVersion));
    frame.SetCloseHandler([&loader] { loader.Stop(); });
    // The plug-in's window table restores the layout during its start; this is for a plug-in
    // that sends none.
    loader.Start(options->strUserId.toStdString(), options->nUserCategory);
    frame.RestoreDockLayout();
  } else {
    const QString strError = QStringLiteral("No plug-in: ") + QString::fromStdString(loader.GetError());
    frame.SetPluginDescription(strError);
    std::fputs(qPrintable(strError + QLatin1Char('\n')), stderr);
  }

  if (options->dQuitAfterSeconds) {
    const QString strScreenshot = options->strScreenshotPath;
    QTimer::singleShot(
        static_cast<int>(*options->dQuitAfterSeconds * 1000), &frame, [&frame, strScreenshot, fnClose] {
          if (!strScreenshot.isEmpty() && !frame.grab().save(strScreenshot))
            std::fprintf(stderr, "cannot save the screenshot to %s\n", qPrintable(strScreenshot));
          fnClose();
        });
  }
  const int nExitCode = QApplication::exec();
  runMeter.PrintReport();
  return nExitCode;
}

}  // namespace

int main(int argc, char* argv[]) {
  const int nExitCode = RunTerminal(argc, argv);
  AwaitExitingThreads();
  return nExitCode;
}
