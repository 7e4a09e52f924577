// Reading and writing settings files: names, values, cuts, edits in place.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "platform/IniProfile.h"
#include "tests/support/ScratchFolder.h"

namespace {

const char* const g_szReadFile =
    "orphan=before any section\n; leading comment\n[Config]\nCALC = 10+20\n  Mail_CC=  a@b.c  \nempty=\n"
    "quoted=\"  spaced  \"\nsingle='x'\nmismatched=\"abc'\nlone=\"\ninner=a=b\nnovalue\n# hash=comment\n"
    "  ; semi=comment\ndup=first\nDUP=second\n[ Spaced Section ]\nk=v\n[config]\nlate=only in the second header\n";

}  // namespace

TEST(IniRead, TableWithLfAndCrlfLineBreaksAndMissingFiles) {
  const struct { const char *szName, *szSection, *szKey, *szDefault, *szExpected; } arrCases[] = {
      {"names ignore case", "CONFIG", "calc", "D", "10+20"},
      {"blanks around caller names", "  Config ", " CALC\t", "D", "10+20"},
      {"blanks around key and value", "config", "MAIL_CC", "D", "a@b.c"},
      {"double quotes removed, inner blanks kept", "Config", "quoted", "D", "  spaced  "},
      {"value holds '='", "Config", "inner", "D", "a=b"},
      {"line without '=' is no key", "Config", "novalue", "D", "D"},
      {"';' comment after blanks is no key", "Config", "; semi", "D", "D"},
      {"first of duplicate keys", "Config", "dup", "D", "first"},
      {"blanks inside brackets", "spaced section", "K", "D", "v"},
      {"duplicate section: only the first is read", "Config", "late", "D", "D"},
      {"key before any section", "", "orphan", "D", "D"},
      {"missing section", "Nowhere", "CALC", "Settings not found", "Settings not found"},
      {"missing key", "Config", "absent", "Key not found", "Key not found"},
  };
  CScratchFolder folder;
  folder.WriteFile("lf.ini", g_szReadFile);
  std::string strCrlf;
  for (const char* p = g_szReadFile; *p != '\0'; ++p) strCrlf += (*p == '\n') ? std::string("\r\n") : std::string(1, *p);
  folder.WriteFile("crlf.ini", strCrlf);
  for (const char* szFile : {"lf.ini", "crlf.ini"}) {
    for (const auto& row : arrCases) {
      SCOPED_TRACE(std::string(szFile) + ": " + row.szName);
      char szBuffer[4096];
      std::memset(szBuffer, '#', sizeof(szBuffer));
      EXPECT_EQ(GetPrivateProfileString(row.szSection, row.szKey, row.szDefault, szBuffer, sizeof(szBuffer),
          folder.GetPath(szFile).c_str()), std::strlen(row.szExpected));
      EXPECT_STREQ(szBuffer, row.szExpected);
    }
  }
  // A missing file gives the default.
  char szBuffer[64];
  const std::string strAbsent = folder.GetPath("absent.ini");
  EXPECT_EQ(GetPrivateProfileString("CONFIG", "CALC", "D", szBuffer, sizeof(szBuffer), strAbsent.c_str()), 1u);
  EXPECT_EQ(std::pair(std::string(szBuffer), GetPrivateProfileInt("CONFIG", "CALC", 7, strAbsent.c_str())),
            std::pair(std::string("D"), 7));
}

TEST(IniRead, IntegerValues) {
  const std::pair<const char*, int32_t> arrCases[] = {{"12", 12}, {"  -7x", -7}, {"abc", 99}, {"", 99}, {"4 2", 4},
                                                      {"99999999999", INT_MAX}, {"-99999999999", INT_MIN}};
  CScratchFolder folder;
  for (const auto& [szValue, nExpected] : arrCases) {
    folder.WriteFile("int.ini", std::string("[S]\nn=") + szValue + "\n");
    EXPECT_EQ(GetPrivateProfileInt("s", "N", 99, folder.GetPath("int.ini").c_str()), nExpected) << szValue;
  }
  EXPECT_EQ(GetPrivateProfileInt("s", "absent", 99, folder.GetPath("int.ini").c_str()), 99);
}

namespace {

// A null value deletes the key; a null key the section.
struct sWriteCase { const char *szName, *szBefore, *szSection, *szKey, *szValue, *szAfter; };

const sWriteCase g_arrWriteCases[] = {
    {"value replaced in place, key spelled as in the file", "; c\n[S]\n  a = 1 \nb=2\n\n[T]\nx\n", "s", "A",
     "9", "; c\n[S]\na=9\nb=2\n\n[T]\nx\n"},
    {"new key after the section's last key", "[S]\na=1\njunk\n\n; note\n[T]\nb=2\n", "S", "c", "3",
     "[S]\na=1\nc=3\njunk\n\n; note\n[T]\nb=2\n"},
    {"new key in a section without keys", "[S]\n; only a comment\n[T]\n", "S", "c", "3",
     "[S]\nc=3\n; only a comment\n[T]\n"},
    {"new section at the end", "[S]\na=1\n\n", "T", "b", "2", "[S]\na=1\n\n[T]\nb=2\n"},
    {"new section after a last line without break", "[S]\na=1", "T", "b", "2", "[S]\na=1\n[T]\nb=2\n"},
    {"replaced last line keeps having no break", "[S]\na=1", "S", "a", "2", "[S]\na=2"},
    {"empty file", "", "S", "a", "1", "[S]\na=1\n"},
    {"CRLF kept for a new key", "[S]\r\na=1\r\n", "S", "b", "2", "[S]\r\na=1\r\nb=2\r\n"},
    {"CRLF kept for a new section", "[S]\r\na=1\r\n", "T", "b", "2", "[S]\r\na=1\r\n[T]\r\nb=2\r\n"},
    {"first of duplicate keys replaced", "[S]\na=1\na=2\n", "S", "a", "3", "[S]\na=3\na=2\n"},
    {"first of duplicate sections updated", "[S]\na=1\n[s]\nb=2\n", "S", "b", "3", "[S]\na=1\nb=3\n[s]\nb=2\n"},
    {"delete key: every line of it in the section", "[S]\na=1\nb=2\nA=3\n[T]\na=4\n", "S", "a", nullptr,
     "[S]\nb=2\n[T]\na=4\n"},
    {"delete key: duplicate sections after the first keep theirs", "[S]\na=1\n[s]\na=2\n", "S", "a", nullptr,
     "[S]\n[s]\na=2\n"},
    {"delete missing key changes nothing", "[S]\nb=2", "S", "a", nullptr, "[S]\nb=2"},
    {"delete section: every occurrence, header to next header", "x\n[S]\na=1\n; c\n[T]\nb=2\n[s]\nz=1\n", "S",
     nullptr, nullptr, "x\n[T]\nb=2\n"},
};

std::string ReadBack(const char* szSection, const char* szKey, const std::string& strPath) {
  char szBuffer[256];
  GetPrivateProfileString(szSection, szKey, "<missing>", szBuffer, sizeof(szBuffer), strPath.c_str());
  return szBuffer;
}

TEST(IniWrite, KeepsPermissionsAndSymbolicLinks) {
  CScratchFolder folder;
  folder.WriteFile("target.ini", "[S]\na=1\n");
  chmod(folder.GetPath("target.ini").c_str(), 0640);
  ASSERT_EQ(symlink("target.ini", folder.GetPath("link.ini").c_str()), 0);

  EXPECT_TRUE(WritePrivateProfileString("S", "a", "2", folder.GetPath("link.ini").c_str()));
  struct stat st {};
  ASSERT_EQ(lstat(folder.GetPath("link.ini").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  ASSERT_EQ(stat(folder.GetPath("target.ini").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(folder.ReadFile("target.ini"), "[S]\na=2\n");
}

}  // namespace

TEST(IniWrite, Table) {
  CScratchFolder folder;
  const std::string strPath = folder.GetPath("w.ini");
  for (const sWriteCase& row : g_arrWriteCases) {
    SCOPED_TRACE(row.szName);
    folder.WriteFile("w.ini", row.szBefore);
    EXPECT_TRUE(WritePrivateProfileString(row.szSection, row.szKey, row.szValue, strPath.c_str()));
    EXPECT_EQ(folder.ReadFile("w.ini"), row.szAfter);
    if (row.szKey != nullptr) {
      EXPECT_EQ(ReadBack(row.szSection, row.szKey, strPath), row.szValue != nullptr ? row.szValue : "<missing>");
    }
    EXPECT_EQ(folder.CountEntries(), 1u) << "a temporary file was left behind";
  }
}

TEST(IniWrite, RefusesWhatWouldNotReadBack) {
  struct sRefusedCase { const char* szName; const char* szSection; const char* szKey; const char* szValue; };
  const sRefusedCase arrCases[] = {{"null section", nullptr, "k", "v"}, {"']' in section", "a]b", "k", "v"},
      {"break in section", "a\nb", "k", "v"}, {"'=' in key", "S", "k=x", "v"}, {"empty key", "S", "  ", "v"},
      {"comment key", "S", ";k", "v"}, {"header-like key", "S", "[k", "v"}, {"CR in value", "S", "k", "a\rb"}};
  CScratchFolder folder;
  const std::string strBefore = "[S]\nk=old\n";
  folder.WriteFile("r.ini", strBefore);
  for (const sRefusedCase& row : arrCases) {
    SCOPED_TRACE(row.szName);
    EXPECT_FALSE(WritePrivateProfileString(row.szSection, row.szKey, row.szValue, folder.GetPath("r.ini").c_str()));
    EXPECT_EQ(folder.ReadFile("r.ini"), strBefore);
  }
}
