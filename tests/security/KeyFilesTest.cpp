// Key files, allow-lists and the choice of a link's protection, and their clear refusals.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "host/TerminalSecurity.h"
#include "keys/AllowList.h"
#include "keys/CurveKeys.h"
#include "keys/LinkSecurity.h"
#include "tests/support/ScratchFolder.h"

namespace {

const sCurveKeyPair kKeys = MakeCurveKeyPair().value();
const sCurveKeyPair kOtherKeys = MakeCurveKeyPair().value();

unsigned GetMode(const std::string& strPath) {
  struct stat info {};
  stat(strPath.c_str(), &info);
  return info.st_mode & 07777;
}

TEST(KeyFilesTest, KeyTextsAndTheirMistakes) {
  struct sRow { const char* szName; std::string strText; std::vector<std::string> arrKeys; const char* szError; };
  const std::vector<sRow> arrRows = {
      {"keys, comments and blanks",
       "# desk A\n" + kKeys.strPublic + "\n\n; desk B\r\n  " + kOtherKeys.strPublic + "  # RISK07\n",
       {kKeys.strPublic, kOtherKeys.strPublic}, ""},
      // Cut at its end: a random key's second character may be '#', its first never is.
      {"a short key", "# keys\n" + kKeys.strPublic.substr(0, 39) + "\n", {}, "line 2 is neither a key"},
      {"text after a key", kKeys.strPublic + " RISK07\n", {}, "line 1 is neither a key"},
      {"not Z85", std::string(40, '~') + "\n", {}, "line 1"},
  };
  for (const sRow& row : arrRows) {  // szError is empty when the text is good
    SCOPED_TRACE(row.szName);
    std::string strError;
    const std::optional<std::vector<sKeyLine>> arrKeys = ParseKeyText(row.strText, strError);
    ASSERT_EQ(arrKeys.has_value(), *row.szError == '\0') << strError;
    if (!arrKeys) {
      EXPECT_NE(strError.find(row.szError), std::string::npos) << strError;
      continue;
    }
    std::vector<std::string> arrTexts;
    for (const sKeyLine& key : *arrKeys) arrTexts.push_back(key.strKey);
    EXPECT_EQ(arrTexts, row.arrKeys);
  }
}

TEST(KeyFilesTest, WrittenPairsReadBackAndBadFilesAreRefusedClearly) {
  const CScratchFolder folder;
  std::string strError;
  ASSERT_TRUE(WriteKeyFiles(folder.GetPath("desk"), kKeys, strError)) << strError;
  EXPECT_EQ(std::pair(GetMode(folder.GetPath("desk.key")), GetMode(folder.GetPath("desk.pub"))), std::pair(0600u, 0644u));
  EXPECT_FALSE(WriteKeyFiles(folder.GetPath("desk"), kOtherKeys, strError));
  EXPECT_NE(strError.find("never overwritten"), std::string::npos) << strError;

  const std::optional<sCurveKeyPair> pair = ReadSecretKeyFile(folder.GetPath("desk.key"), strError);
  ASSERT_TRUE(pair.has_value()) << strError;
  EXPECT_EQ(std::pair(pair->strPublic, pair->strSecret), std::pair(kKeys.strPublic, kKeys.strSecret));
  EXPECT_EQ(ReadPublicKeyFile(folder.GetPath("desk.pub"), strError), kKeys.strPublic);

  // Each content is written with mode 0600 unless empty.
  struct sRow { const char* szName; const char* szFile; std::string strContent; bool bSecret; const char* szError; };
  const std::vector<sRow> arrRows = {{"missing", "missing.key", "", true, "missing.key does not exist"},
      {"a folder", "folder.key", "", true, "is not a file"},
      {"no key", "empty.pub", "# nothing yet\n", false, "holds no public key"},
      {"two keys", "two.pub", kKeys.strPublic + "\n" + kOtherKeys.strPublic + "\n", false, "lines 1 and 2"},
      {"malformed", "bad.key", "secret = " + kKeys.strSecret + "\n", true, "line 1 is neither a key"},
      {"readable by others", "open.key", kKeys.strSecret + "\n", true, "mode 0644"}};
  std::filesystem::create_directory(folder.GetPath("folder.key"));
  for (const sRow& row : arrRows) {
    SCOPED_TRACE(row.szName);
    if (!row.strContent.empty()) {
      folder.WriteFile(row.szFile, row.strContent);
      chmod(folder.GetPath(row.szFile).c_str(), std::string_view(row.szName) == "readable by others" ? 0644 : 0600);
    }
    strError.clear();
    const bool bRead = row.bSecret ? ReadSecretKeyFile(folder.GetPath(row.szFile), strError).has_value()
                                   : ReadPublicKeyFile(folder.GetPath(row.szFile), strError).has_value();
    EXPECT_FALSE(bRead);
    EXPECT_NE(strError.find(row.szError), std::string::npos) << strError;
  }
}

TEST(KeyFilesTest, AnAllowListIsReadAgainWhenItChangesAndKeepsItsKeysThroughABadEdit) {
  const CScratchFolder folder;
  const std::string strPath = folder.GetPath("allow-list");
  folder.WriteFile("allow-list", "# the desk\n" + kKeys.strPublic + "\n");
  CAllowList allowList(strPath);
  std::string strError;
  ASSERT_TRUE(allowList.Load(strError)) << strError;
  EXPECT_TRUE(allowList.Contains(kKeys.strPublic));
  EXPECT_FALSE(allowList.Contains(kOtherKeys.strPublic));
  EXPECT_EQ(allowList.ReloadIfChanged(strError), CAllowList::eReload::kUnchanged);

  // Each edit is a new file put in place, as editors save; the size changes too.
  const auto Replace = [&](const std::string& strText) {
    folder.WriteFile("allow-list.new", strText);
    std::filesystem::rename(folder.GetPath("allow-list.new"), strPath);
  };
  Replace(kKeys.strPublic + "\n" + kOtherKeys.strPublic + "\n");
  EXPECT_EQ(allowList.ReloadIfChanged(strError), CAllowList::eReload::kReloaded);
  EXPECT_TRUE(allowList.Contains(kOtherKeys.strPublic));
  Replace(kOtherKeys.strPublic + "\ntypo\n");
  EXPECT_EQ(allowList.ReloadIfChanged(strError), CAllowList::eReload::kFailed);
  EXPECT_NE(strError.find("line 2"), std::string::npos) << strError;
  EXPECT_TRUE(allowList.Contains(kKeys.strPublic)) << "the keys before stay in force";
  EXPECT_EQ(allowList.ReloadIfChanged(strError), CAllowList::eReload::kUnchanged)
      << "a bad edit is told once";
}

TEST(KeyFilesTest, OnlyALinkThatStaysOnTheMachineMayBePlain) {
  const std::pair<const char*, bool> arrEndpoints[] = {{"tcp://127.0.0.1:*", true},
      {"tcp://localhost:5555", true}, {"tcp://[::1]:5555", true}, {"ipc:///run/rms/req", true},
      {"tcp://0.0.0.0:5555", false}, {"tcp://*:5555", false}, {"tcp://rms.desk:5555", false},
      {"tcp://127.evil.com:5555", false}, {"tcp://[::]:5555", false}};
  for (const auto& [szEndpoint, bLoopback] : arrEndpoints)
    EXPECT_EQ(IsLoopbackEndpoint(szEndpoint), bLoopback) << szEndpoint;

  const CScratchFolder folder;
  std::string strError;
  ASSERT_TRUE(WriteKeyFiles(folder.GetPath("terminal"), kKeys, strError)) << strError;
  ASSERT_TRUE(WriteKeyFiles(folder.GetPath("server"), kOtherKeys, strError)) << strError;
  struct sRow { const char *szName, *szServer; std::string strKeyFile, strServerKeyFile; bool bCurve; const char* szProblem; };
  const std::vector<sRow> arrRows = {{"embedded", "", "", "", false, ""},
      {"loopback, no keys", "tcp://127.0.0.1:7001", "", "", false, ""},
      {"keys", "tcp://rms.desk:7001", folder.GetPath("terminal.key"), folder.GetPath("server.pub"), true, ""},
      {"over the network without keys", "tcp://rms.desk:7001", "", "", false, "always encrypted"},
      {"publications over the network", "tcp://127.0.0.1:7001,tcp://rms.desk:7002", "", "", false, "always encrypted"},
      {"one key file", "tcp://127.0.0.1:7001", folder.GetPath("terminal.key"), "", false, "only the terminal's"},
      {"a missing key file", "tcp://rms.desk:7001", folder.GetPath("gone.key"), folder.GetPath("server.pub"),
      false, "gone.key does not exist"}};
  for (const sRow& row : arrRows) {
    SCOPED_TRACE(row.szName);
    sHostOptions options;
    options.strServerAddress = QString::fromUtf8(row.szServer);
    options.strKeyFile = QString::fromStdString(row.strKeyFile);
    options.strServerKeyFile = QString::fromStdString(row.strServerKeyFile);
    const sLinkSecurity security = ChooseLinkSecurity(options);
    EXPECT_EQ(security.curve ? security.curve->own.strPublic + " " + security.curve->strServerKey : "none",
              row.bCurve ? kKeys.strPublic + " " + kOtherKeys.strPublic : "none");
    EXPECT_EQ(security.strProblem.empty(), *row.szProblem == '\0') << security.strProblem;
    EXPECT_NE(security.strProblem.find(row.szProblem), std::string::npos) << security.strProblem;
  }
}

}  // namespace
