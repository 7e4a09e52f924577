#include "host/HostOptions.h"

#include <QCommandLineParser>

#include "host/transport/TransportWire.h"

std::optional<sHostOptions> ParseHostOptions(const QStringList& arrArguments, QString& strMessage,
                                             bool& bHelpAsked) {
  bHelpAsked = false;
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("Halvo Trader: the terminal with its plug-ins"));
  parser.addHelpOption();
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
  const QCommandLineOption dealersOption(
      QStringLiteral("dealers"), QStringLiteral("Comma-separated dealers and clients the user may see."),
      QStringLiteral("list"));
  const QCommandLineOption quitOption(QStringLiteral("quit-after"),
                                      QStringLiteral("Close the terminal after this many seconds."),
                                      QStringLiteral("seconds"));
  const QCommandLineOption screenshotOption(
      QStringLiteral("screenshot"), QStringLiteral("Save a picture of the main window before quitting."),
      QStringLiteral("file.png"));
  parser.addOptions(
      {userOption, categoryOption, pluginOption, serverOption, dealersOption, quitOption, screenshotOption});

  if (!parser.parse(arrArguments)) {
    strMessage = parser.errorText() + QLatin1Char('\n') + parser.helpText();
    return std::nullopt;
  }
  if (parser.isSet(QStringLiteral("help"))) {
    bHelpAsked = true;
    strMessage = parser.helpText();
    return std::nullopt;
  }

  sHostOptions options;
  if (parser.isSet(userOption)) options.strUserId = parser.value(userOption);
  if (parser.isSet(categoryOption)) {
    bool bOk = false;
    options.nUserCategory = parser.value(categoryOption).toInt(&bOk);
    if (!bOk) {
      strMessage = QStringLiteral("--category takes a whole number");
      return std::nullopt;
    }
  }
  options.strPluginPath = parser.value(pluginOption);
  options.strServerAddress = parser.value(serverOption);
  if (parser.isSet(serverOption) && !halvowire::ParseServerAddress(options.strServerAddress.toStdString())) {
    strMessage = QStringLiteral("--server takes tcp://HOST:PORT, or two endpoints separated by a comma");
    return std::nullopt;
  }
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
  return options;
}
