#include "host/HostOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cmath>

#include "host/transport/TransportWire.h"

std::optional<sHostOptions> ParseHostOptions(const QStringList& arrArguments, const sHostOptions& base,
                                             QString& strMessage, bool& bAnswered) {
  bAnswered = false;
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral(
      "Halvo Trader: the terminal with its plug-ins.\nThe server address, key files, user id, category "
      "and dealers are read from $XDG_CONFIG_HOME/halvo-trader/halvo-trader.conf (~/.config when "
      "not set); the options below override it."));
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption userOption(QStringLiteral("user"), QStringLiteral("Log in as this user id."),
                                      QStringLiteral("id"));
  const QCommandLineOption categoryOption(
      QStringLiteral("category"),
      QStringLiteral("User category: 0 all entities, 1 the user's peer, other: the listed dealers."),
      QStringLiteral("n"));
  // Not "--plugin": Qt takes that one for its own plug-ins before the terminal sees it.
  const QCommandLineOption pluginOption(QStringLiteral("plugin-file"),
                                        QStringLiteral("Load this plug-in library."), QStringLiteral("path"));
  const QCommandLineOption serverOption(
      QStringLiteral("server"),
      QStringLiteral("Connect to this risk server instead of the embedded one: tcp://HOST:PORT (publications "
                     "on PORT + 1), or the request and publication endpoints separated by a comma."),
      QStringLiteral("address"));
  const QCommandLineOption keyFileOption(
      QStringLiteral("key-file"),
      QStringLiteral(
          "This terminal's secret key file (made by rms-keys), for an encrypted link to the server."),
      QStringLiteral("file"));
  const QCommandLineOption serverKeyFileOption(
      QStringLiteral("server-key-file"),
      QStringLiteral("The server's public key file: the link is encrypted and talks to that server alone."),
      QStringLiteral("file"));
  const QCommandLineOption dealersOption(
      QStringLiteral("dealers"), QStringLiteral("Comma-separated dealers and clients the user may see."),
      QStringLiteral("list"));
  const QCommandLineOption quitOption(QStringLiteral("quit-after"),
                                      QStringLiteral("Close the terminal after this many seconds."),
                                      QStringLiteral("seconds"));
  const QCommandLineOption screenshotOption(
      QStringLiteral("screenshot"), QStringLiteral("Save a picture of the main window before quitting."),
      QStringLiteral("file.png"));
  const QCommandLineOption noDrawOption(QStringLiteral("no-draw"),
                                        QStringLiteral("Show the windows without ever painting them."));
  const QCommandLineOption quitMessagesOption(
      QStringLiteral("quit-after-messages"),
      QStringLiteral("Close the terminal when this many publications have been delivered to the plug-in."),
      QStringLiteral("n"));
  const QCommandLineOption reportOption(
      QStringLiteral("report-deliveries"),
      QStringLiteral("At exit, print the publications delivered to the plug-in and how fast they came."));
  const QCommandLineOption measureOption(
      QStringLiteral("measure"),
      QStringLiteral("From the first publication on, measure for this many seconds the delay from the "
                     "server's send to the plug-in's return, and the busy time of each turn of the "
                     "event loop; print them and close the terminal."),
      QStringLiteral("seconds"));
  const QCommandLineOption measureAfterOption(
      QStringLiteral("measure-after"),
      QStringLiteral("Start measuring this many seconds after the first publication instead of at it."),
      QStringLiteral("seconds"));
  const QCommandLineOption ledgerOption(
      QStringLiteral("ledger"),
      QStringLiteral("At exit, write the send time of the last value or delete mark delivered for each "
                     "record and every delete mark, call status and manual alert delivered to this file; "
                     "after measuring, close only once publications stopped for a second."),
      QStringLiteral("file"));
  const QCommandLineOption noConflationOption(
      QStringLiteral("no-conflation"),
      QStringLiteral("Deliver every value publication, even when a newer one of the same entity is "
                     "already waiting."));
  const QCommandLineOption reportLinkOption(
      QStringLiteral("report-link"),
      QStringLiteral("Print each change of the link's state with the time since the start, as it happens."));
  const QCommandLineOption answerBoxesOption(
      QStringLiteral("answer-boxes-after"),
      QStringLiteral("Close every message box by itself this many seconds after it opened, as if OK was "
                     "pressed, and print its text; an unattended terminal never waits on a box."),
      QStringLiteral("seconds"));
  parser.addOptions({userOption, categoryOption, pluginOption, serverOption, keyFileOption,
                     serverKeyFileOption, dealersOption, quitOption, screenshotOption, noDrawOption,
                     quitMessagesOption, reportOption, measureOption, measureAfterOption, ledgerOption,
                     noConflationOption, reportLinkOption, answerBoxesOption});

  if (!parser.parse(arrArguments)) {
    strMessage = parser.errorText() + QLatin1Char('\n') + parser.helpText();
    return std::nullopt;
  }
  if (parser.isSet(QStringLiteral("help"))) {
    bAnswered = true;
    strMessage = parser.helpText();
    return std::nullopt;
  }
  if (parser.isSet(QStringLiteral("version"))) {
    bAnswered = true;
    strMessage =
        QCoreApplication::applicationName() + QLatin1Char(' ') + QCoreApplication::applicationVersion();
    return std::nullopt;
  }

  sHostOptions options = base;
  if (parser.isSet(userOption)) options.strUserId = parser.value(userOption);
  if (parser.isSet(categoryOption)) {
    bool bOk = false;
    options.nUserCategory = parser.value(categoryOption).toInt(&bOk);
    if (!bOk) {
      strMessage = QStringLiteral("--category takes a whole number");
      return std::nullopt;
    }
  }
  if (parser.isSet(pluginOption)) options.strPluginPath = parser.value(pluginOption);
  if (parser.isSet(serverOption)) {
    options.strServerAddress = parser.value(serverOption);
    if (!halvowire::ParseServerAddress(options.strServerAddress.toStdString())) {
      strMessage = QStringLiteral("--server takes tcp://HOST:PORT, or two endpoints separated by a comma");
      return std::nullopt;
    }
  }
  if (parser.isSet(keyFileOption)) options.strKeyFile = parser.value(keyFileOption);
  if (parser.isSet(serverKeyFileOption)) options.strServerKeyFile = parser.value(serverKeyFileOption);
  if (parser.isSet(dealersOption))
    options.arrDealers = parser.value(dealersOption).split(QLatin1Char(','), Qt::SkipEmptyParts);
  if (parser.isSet(quitOption)) {
    bool bOk = false;
    const double dSeconds = parser.value(quitOption).toDouble(&bOk);
    if (!bOk || dSeconds < 0) {
      strMessage = QStringLiteral("--quit-after takes a number of seconds");
      return std::nullopt;
    }
    options.dQuitAfterSeconds = dSeconds;
  }
  options.strScreenshotPath = parser.value(screenshotOption);
  options.bNoDraw = parser.isSet(noDrawOption);
  if (parser.isSet(quitMessagesOption)) {
    bool bOk = false;
    const qulonglong nCount = parser.value(quitMessagesOption).toULongLong(&bOk);
    if (!bOk || nCount == 0) {
      strMessage = QStringLiteral("--quit-after-messages takes a whole number above 0");
      return std::nullopt;
    }
    options.nQuitAfterMessages = nCount;
  }
  options.bReportDeliveries = parser.isSet(reportOption);
  options.bConflation = !parser.isSet(noConflationOption);
  if (parser.isSet(measureOption)) {
    bool bOk = false;
    const double dSeconds = parser.value(measureOption).toDouble(&bOk);
    if (!bOk || !std::isfinite(dSeconds) || dSeconds <= 0) {
      strMessage = QStringLiteral("--measure takes a number of seconds above 0");
      return std::nullopt;
    }
    options.dMeasureSeconds = dSeconds;
  }
  if (parser.isSet(measureAfterOption)) {
    bool bOk = false;
    const double dSeconds = parser.value(measureAfterOption).toDouble(&bOk);
    if (!bOk || !std::isfinite(dSeconds) || dSeconds < 0 || !options.dMeasureSeconds) {
      strMessage = QStringLiteral("--measure-after takes a number of seconds, and --measure with it");
      return std::nullopt;
    }
    options.dMeasureAfterSeconds = dSeconds;
  }
  options.strLedgerPath = parser.value(ledgerOption);
  options.bReportLink = parser.isSet(reportLinkOption);
  if (parser.isSet(answerBoxesOption)) {
    bool bOk = false;
    const double dSeconds = parser.value(answerBoxesOption).toDouble(&bOk);
    if (!bOk || !std::isfinite(dSeconds) || dSeconds < 0) {
      strMessage = QStringLiteral("--answer-boxes-after takes a number of seconds");
      return std::nullopt;
    }
    options.dAnswerBoxesAfterSeconds = dSeconds;
  }
  return options;
}
