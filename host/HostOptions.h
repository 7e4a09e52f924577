// What the terminal is told on its command line.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

struct sHostOptions {
  QString strUserId = QStringLiteral("RISK01");
  int nUserCategory = 0;
  QString strPluginPath;     // empty: the plug-in next to the executable
  QString strServerAddress;  // empty: the embedded risk server
  // This terminal's secret key file and the server's public key file: with both, the link to
  // the server is CURVE-encrypted and pins that key (docs/security.md).
  QString strKeyFile;
  QString strServerKeyFile;
  QStringList arrDealers;    // dealers and clients a user of other categories may see
  std::optional<double> dQuitAfterSeconds;
  QString strScreenshotPath;  // saved just before quitting
  // For scripts and benchmarks.
  bool bNoDraw = false;                        // the windows are shown but never painted
  std::optional<uint64_t> nQuitAfterMessages;  // publications delivered, then close
  bool bReportDeliveries = false;              // print the deliveries' figures at exit
  std::optional<double> dMeasureSeconds;       // measure delays and event loop turns, then close
  double dMeasureAfterSeconds = 0;             // from the first publication until measuring starts
  QString strLedgerPath;                       // what was delivered to each record, written at exit
  bool bConflation = true;                     // a newer value of an entity replaces a waiting one
  bool bReportLink = false;                    // print each change of the link's state as it happens
  std::optional<double> dAnswerBoxesAfterSeconds;  // message boxes close by themselves after this long
};

// Parses the arguments (argv[0] included) over base: what an option does not set keeps base's
// value (the configuration file's, or the defaults). On a bad option, --help or --version,
// fills strMessage (the error and the help; or the answer, with bAnswered set, for standard
// output) and returns nullopt.
std::optional<sHostOptions> ParseHostOptions(const QStringList& arrArguments, const sHostOptions& base,
                                             QString& strMessage, bool& bAnswered);
