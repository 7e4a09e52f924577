// The terminal's configuration file: what it sets, and what a bad file gives.
#include <gtest/gtest.h>

#include <QDir>
#include <fstream>

#include "host/TerminalConfig.h"
#include "tests/support/ScratchFolder.h"

namespace {

struct sConfigRow {
  const char* szName;
  std::string strContent;
  const char* szServer;
  const char* szUser;
  int nCategory;
  const char* szDealers;                     // joined with ','
  std::vector<const char*> arrProblemParts;  // one problem holding all of them; none when empty
};

TEST(TerminalConfigTest, ReadsSettingsAndKeepsDefaultsForWhatIsWrong) {
  const std::vector<sConfigRow> arrRows = {
      {"every setting",
       "[server]\naddress = tcp://rms.desk:7001\n[login]\nuser = DESK07\ncategory = 2\ndealers = DLR1, DLR2\n",
       "tcp://rms.desk:7001", "DESK07", 2, "DLR1,DLR2", {}},
      {"names ignore case, two endpoints", "[Server]\nAddress=tcp://a:1,tcp://a:2\n", "tcp://a:1,tcp://a:2",
       "RISK01", 0, "", {}},
      {"comments", "# desk settings\n[login]\n; who logs in\n# user = DESK08\nuser=DESK07 ; for now\n", "",
       "DESK07", 0, "", {}},
      {"line without '='", "[login]\nuser DESK07\ncategory=2\n", "", "RISK01", 0, "", {"line 2", "defaults"}},
      {"bad server, the rest taken", "[server]\naddress=rms.desk\n[login]\nuser=DESK09\n", "", "DESK09", 0, "",
       {"\"rms.desk\"", "embedded risk server"}},
      // A '%1' in the value is the user's text, not a place for the default.
      {"bad category", "[login]\ncategory=two%1\n", "", "RISK01", 0, "", {"\"two%1\"", "category 0 is used"}},
      {"unknown setting", "[login]\nusr=DESK09\n", "", "RISK01", 0, "", {"login/usr", "ignored"}},
  };
  const CScratchFolder folder("halvo-config");
  const std::filesystem::path dir = folder.GetPath();
  int nFile = 0;
  for (const sConfigRow& row : arrRows) {
    SCOPED_TRACE(row.szName);
    // A file of its own per row: QSettings keeps what it read of a path for the process.
    const std::filesystem::path path = dir / ("halvo-trader-" + std::to_string(++nFile) + ".conf");
    std::ofstream(path, std::ios::binary) << row.strContent;
    sHostOptions options;
    const QStringList arrProblems = ReadTerminalConfig(QString::fromStdString(path.string()), options);
    EXPECT_EQ(std::tuple(options.strServerAddress.toStdString(), options.strUserId.toStdString(),
                         options.nUserCategory, options.arrDealers.join(QLatin1Char(',')).toStdString()),
              std::tuple(row.szServer, row.szUser, row.nCategory, row.szDealers));
    if (row.arrProblemParts.empty()) {
      EXPECT_TRUE(arrProblems.isEmpty()) << arrProblems.join(QLatin1Char('\n')).toStdString();
      continue;
    }
    ASSERT_EQ(arrProblems.size(), 1) << arrProblems.join(QLatin1Char('\n')).toStdString();
    const std::string strProblem = arrProblems.front().toStdString();
    EXPECT_EQ(strProblem.rfind(path.string() + ": ", 0), 0u) << strProblem;
    for (const char* szPart : row.arrProblemParts) EXPECT_NE(strProblem.find(szPart), std::string::npos) << strProblem;
  }

  // Key files are named from the file's own folder, or the home folder.
  std::ofstream(dir / "keys.conf")
      << "[security]\nkey file = keys/terminal.key\nserver key file = ~/server.pub\n";
  sHostOptions options;
  EXPECT_TRUE(ReadTerminalConfig(QString::fromStdString((dir / "keys.conf").string()), options).isEmpty());
  EXPECT_EQ(options.strKeyFile.toStdString(), (dir / "keys/terminal.key").string());
  EXPECT_EQ(options.strServerKeyFile, QDir::home().filePath(QStringLiteral("server.pub")));
  EXPECT_TRUE(ReadTerminalConfig(QString::fromStdString((dir / "missing.conf").string()), options).isEmpty());
  EXPECT_TRUE(ReadTerminalConfig(QString::fromStdString(dir.string()), options).join(QString()).contains("is not a file"));
}

}  // namespace
