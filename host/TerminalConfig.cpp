#include "host/TerminalConfig.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include "host/transport/TransportWire.h"

namespace {

// Unknown settings named in a problem at most; a file of many is a wrong file, not typos.
constexpr qsizetype kMaxUnknownNamed = 5;

// The number (from 1) of the first line that is neither blank, a comment (';' or '#'), a
// [section] nor key=value; 0 when there is none. NOTE: QSettings refuses only a broken section
// header and passes over any other such line without a word.
int FindMalformedLine(const QByteArray& data) {
  const QList<QByteArray> arrLines = data.split('\n');
  for (qsizetype i = 0; i < arrLines.size(); ++i) {
    const QByteArray line = arrLines[i].trimmed();
    if (line.isEmpty() || line.startsWith(';') || line.startsWith('#') || line.contains('=')) continue;
    if (line.startsWith('[') && line.contains(']')) continue;
    return static_cast<int>(i + 1);
  }
  return 0;
}

QString DescribeMalformed(int nLine) {
  if (nLine == 0) return QStringLiteral("is not a settings file");
  return QStringLiteral("line %1 is neither a [section], a key = value nor a comment").arg(nLine);
}

// A value with a comma comes back from QSettings as a list of its parts.
QString GetText(const QVariant& value) {
  if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(QLatin1Char(',')).trimmed();
  return value.toString().trimmed();
}

// A file named in the configuration: "~/" is the home folder, and a relative path is taken
// from the configuration file's folder, where a desk keeps the terminal's keys.
QString ResolveConfigPath(const QString& strValue, const QString& strConfigPath) {
  if (strValue.isEmpty()) return {};
  if (strValue.startsWith(QLatin1String("~/"))) return QDir::home().filePath(strValue.mid(2));
  return QDir::cleanPath(QFileInfo(strConfigPath).absoluteDir().filePath(strValue));
}

}  // namespace

QString GetTerminalConfigPath() {
  return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
      .filePath(QStringLiteral("halvo-trader/halvo-trader.conf"));
}

QStringList ReadTerminalConfig(const QString& strPath, sHostOptions& options) {
  if (!QFileInfo::exists(strPath)) return {};
  const QString strPrefix = strPath + QStringLiteral(": ");
  const QString strDefaults = QStringLiteral("; the file is ignored and the defaults are used");
  if (!QFileInfo(strPath).isFile()) return {strPrefix + QStringLiteral("is not a file") + strDefaults};
  QFile file(strPath);
  if (!file.open(QIODevice::ReadOnly))
    return {strPrefix + QStringLiteral("cannot be read (") + file.errorString() + QLatin1Char(')') +
            strDefaults};
  const QByteArray data = file.readAll();

  const QSettings settings(strPath, QSettings::IniFormat);
  const int nBadLine = FindMalformedLine(data);
  if (nBadLine != 0 || settings.status() != QSettings::NoError)
    return {strPrefix + DescribeMalformed(nBadLine) + strDefaults};

  QStringList arrProblems;
  QStringList arrUnknown;
  // Section and key names match ignoring case, as they do in the plug-in's settings files.
  for (const QString& strKey : settings.allKeys()) {
    // QSettings reads a '#' line with a '=' as a key: a setting commented out.
    if (strKey.section(QLatin1Char('/'), -1).startsWith(QLatin1Char('#'))) continue;
    const QString strName = strKey.toLower();
    const QString strValue = GetText(settings.value(strKey));
    if (strName == QLatin1String("server/address")) {
      if (strValue.isEmpty()) continue;
      if (halvowire::ParseServerAddress(strValue.toStdString()))
        options.strServerAddress = strValue;
      else
        arrProblems << strPrefix + QStringLiteral(
                                       "server address \"%1\" is neither tcp://HOST:PORT nor two "
                                       "endpoints separated by a comma; the embedded risk server is used")
                                       .arg(strValue);
    } else if (strName == QLatin1String("security/key file") ||
               strName == QLatin1String("security/server key file")) {
      QString& strFile =
          strName.startsWith(QLatin1String("security/key")) ? options.strKeyFile : options.strServerKeyFile;
      strFile = ResolveConfigPath(strValue, strPath);
    } else if (strName == QLatin1String("login/user")) {
      if (!strValue.isEmpty()) options.strUserId = strValue;
    } else if (strName == QLatin1String("login/category")) {
      if (strValue.isEmpty()) continue;
      bool bOk = false;
      const int nCategory = strValue.toInt(&bOk);
      if (bOk)
        options.nUserCategory = nCategory;
      else
        arrProblems << strPrefix +
                           QStringLiteral("category \"%1\" is not a whole number; category %2 is used")
                               .arg(strValue, QString::number(options.nUserCategory));
    } else if (strName == QLatin1String("login/dealers")) {
      options.arrDealers.clear();
      for (const QString& strDealer : strValue.split(QLatin1Char(','), Qt::SkipEmptyParts))
        if (!strDealer.trimmed().isEmpty()) options.arrDealers << strDealer.trimmed();
    } else {
      arrUnknown << strKey;
    }
  }
  if (!arrUnknown.isEmpty()) {
    const qsizetype nMore = arrUnknown.size() - kMaxUnknownNamed;
    QString strList = arrUnknown.mid(0, kMaxUnknownNamed).join(QStringLiteral(", "));
    if (nMore > 0) strList += QStringLiteral(" and %1 more").arg(nMore);
    arrProblems << strPrefix + QStringLiteral("unknown settings are ignored: ") + strList;
  }
  return arrProblems;
}
