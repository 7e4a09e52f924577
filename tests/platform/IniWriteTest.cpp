#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "platform/IniProfile.h"
#include "tests/support/ScratchFolder.h"

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
    {"lower-case section found and updated", "[orvane_watch1]\ntitle=Old\n", "Orvane_watch1", "TITLE", "New",
     "[orvane_watch1]\ntitle=New\n"},
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

TEST(IniWrite, CreatesMissingFileAndLeavesItAbsentForDeletes) {
  CScratchFolder folder;
  const std::string strPath = folder.GetPath("new.ini");
  EXPECT_TRUE(WritePrivateProfileString("S", "a", nullptr, strPath.c_str()));
  EXPECT_TRUE(WritePrivateProfileString("S", nullptr, nullptr, strPath.c_str()));
  EXPECT_EQ(access(strPath.c_str(), F_OK), -1);

  EXPECT_TRUE(WritePrivateProfileString("CONFIG", "CALC", "0", strPath.c_str()));
  EXPECT_TRUE(WritePrivateProfileString("CONFIG", "MAIL_CC", "x@y.z", strPath.c_str()));
  EXPECT_EQ(folder.ReadFile("new.ini"), "[CONFIG]\nCALC=0\nMAIL_CC=x@y.z\n");
}

TEST(IniWrite, RefusesWhatWouldNotReadBack) {
  struct sRefusedCase { const char* szName; const char* szSection; const char* szKey; const char* szValue; };
  const sRefusedCase arrCases[] = {{"null section", nullptr, "k", "v"},    {"']' in section", "a]b", "k", "v"},
      {"break in section", "a\nb", "k", "v"}, {"'=' in key", "S", "k=x", "v"}, {"empty key", "S", "  ", "v"},
               {"comment key", "S", ";k", "v"}, {"header-like key", "S", "[k", "v"},
         {"LF in value", "S", "k", "a\nb"}, {"CR in value", "S", "k", "a\rb"}};
  CScratchFolder folder;
  const std::string strBefore = "[S]\nk=old\n";
  folder.WriteFile("r.ini", strBefore);
  for (const sRefusedCase& row : arrCases) {
    SCOPED_TRACE(row.szName);
    EXPECT_FALSE(WritePrivateProfileString(row.szSection, row.szKey, row.szValue, folder.GetPath("r.ini").c_str()));
    EXPECT_EQ(folder.ReadFile("r.ini"), strBefore);
  }
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
