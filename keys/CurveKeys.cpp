#include "keys/CurveKeys.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <zmq.h>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

// A key file is a few lines; anything much larger is the wrong file.
constexpr size_t kMaxKeyFileBytes = 64 * 1024;

constexpr std::string_view kBlanks = " \t\r";

std::string_view Trim(std::string_view strText) {
  const size_t nStart = strText.find_first_not_of(kBlanks);
  if (nStart == std::string_view::npos) return {};
  return strText.substr(nStart, strText.find_last_not_of(kBlanks) - nStart + 1);
}

std::string DescribeErrno(int nError) { return std::strerror(nError); }

// The one key of a key file, or nullopt with the reason.
std::optional<std::string> ReadSingleKey(const std::string& strPath, std::string_view strWhat,
                                         std::string& strError, unsigned* pnMode) {
  const std::optional<std::string> strText = ReadSmallFile(strPath, kMaxKeyFileBytes, strError, pnMode);
  if (!strText) return std::nullopt;
  std::string strLineError;
  const std::optional<std::vector<sKeyLine>> arrKeys = ParseKeyText(*strText, strLineError);
  if (!arrKeys) {
    strError = strPath + ": " + strLineError;
    return std::nullopt;
  }
  if (arrKeys->empty()) {
    strError = strPath + " holds no " + std::string(strWhat);
    return std::nullopt;
  }
  if (arrKeys->size() > 1) {
    strError = strPath + " holds more than one key (lines " + std::to_string((*arrKeys)[0].nLine) + " and " +
               std::to_string((*arrKeys)[1].nLine) + ")";
    return std::nullopt;
  }
  return arrKeys->front().strKey;
}

bool WriteNewFile(const std::string& strPath, mode_t nMode, const std::string& strContent,
                  std::string& strError) {
  // O_EXCL: an existing key is never replaced, and no link placed there is followed.
  const int nFd = open(strPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, nMode);
  if (nFd < 0) {
    strError = errno == EEXIST ? strPath + " exists already; a key is never overwritten"
                               : "cannot create " + strPath + " (" + DescribeErrno(errno) + ")";
    return false;
  }
  // The umask may have taken bits away; the mode is exactly what was asked for.
  bool bOk = fchmod(nFd, nMode) == 0;
  size_t nDone = 0;
  while (bOk && nDone < strContent.size()) {
    const ssize_t nWritten = write(nFd, strContent.data() + nDone, strContent.size() - nDone);
    if (nWritten < 0 && errno == EINTR) continue;
    bOk = nWritten > 0;
    if (bOk) nDone += static_cast<size_t>(nWritten);
  }
  if (bOk) bOk = fsync(nFd) == 0;
  const int nError = errno;
  if (close(nFd) != 0) bOk = false;
  if (!bOk) {
    strError = "cannot write " + strPath + " (" + DescribeErrno(nError) + ")";
    unlink(strPath.c_str());
  }
  return bOk;
}

}  // namespace

std::optional<sCurveKeyPair> MakeCurveKeyPair() {
  char szPublic[kZ85KeyLength + 1] = {};
  char szSecret[kZ85KeyLength + 1] = {};
  if (zmq_curve_keypair(szPublic, szSecret) != 0) return std::nullopt;
  return sCurveKeyPair{szPublic, szSecret};
}

bool IsZ85Key(std::string_view strText) {
  if (strText.size() != kZ85KeyLength) return false;
  const std::string strKey(strText);
  uint8_t arrBytes[32];
  return zmq_z85_decode(arrBytes, strKey.c_str()) != nullptr;
}

std::optional<std::vector<sKeyLine>> ParseKeyText(std::string_view strText, std::string& strError) {
  std::vector<sKeyLine> arrKeys;
  int nLine = 0;
  while (!strText.empty() || nLine == 0) {
    ++nLine;
    const size_t nEnd = strText.find('\n');
    const std::string_view strLine = Trim(strText.substr(0, nEnd));
    strText = nEnd == std::string_view::npos ? std::string_view{} : strText.substr(nEnd + 1);
    if (strLine.empty()) continue;
    // NOTE: '#' is a Z85 character, but never the first of a key: the first character of each
    // group of five stands for at most 2^32 / 85^4, below its place in the alphabet.
    const size_t nWordEnd = std::min(strLine.find_first_of(kBlanks), strLine.size());
    const std::string_view strWord = strLine.substr(0, nWordEnd);
    const std::string_view strRest = Trim(strLine.substr(nWordEnd));
    if (IsZ85Key(strWord) && (strRest.empty() || strRest.front() == '#' || strRest.front() == ';')) {
      arrKeys.push_back({nLine, std::string(strWord)});
    } else if (strLine.front() != '#' && strLine.front() != ';') {
      strError = "line " + std::to_string(nLine) + " is neither a key (40 characters of Z85) nor a comment";
      return std::nullopt;
    }
  }
  return arrKeys;
}

std::optional<std::string> ReadSmallFile(const std::string& strPath, size_t nMaxBytes, std::string& strError,
                                         unsigned* pnMode) {
  if (strPath.empty()) {
    strError = "no file is named";
    return std::nullopt;
  }
  const int nFd = open(strPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (nFd < 0) {
    strError = errno == ENOENT ? strPath + " does not exist"
                               : strPath + " cannot be read (" + DescribeErrno(errno) + ")";
    return std::nullopt;
  }
  struct stat info {};
  std::optional<std::string> strText;
  bool bFailed = true;
  if (fstat(nFd, &info) != 0 || !S_ISREG(info.st_mode)) {
    strError = strPath + " is not a file";
  } else if (static_cast<uint64_t>(info.st_size) > nMaxBytes) {
    strError = strPath + " is too large (" + std::to_string(info.st_size) + " bytes) to be what it should";
  } else {
    std::string strRead(static_cast<size_t>(info.st_size), '\0');
    size_t nDone = 0;
    bFailed = false;
    while (!bFailed) {
      if (nDone == strRead.size()) strRead.resize(std::min(nMaxBytes + 1, strRead.size() + 4096));
      const ssize_t nRead = read(nFd, strRead.data() + nDone, strRead.size() - nDone);
      if (nRead < 0 && errno == EINTR) continue;
      if (nRead <= 0) {
        if (nRead == 0) break;
        strError = strPath + " cannot be read (" + DescribeErrno(errno) + ")";
        bFailed = true;
      } else if ((nDone += static_cast<size_t>(nRead)) > nMaxBytes) {
        strError = strPath + " is too large to be what it should";
        bFailed = true;
      }
    }
    if (!bFailed) {
      strRead.resize(nDone);
      strText = std::move(strRead);
      if (pnMode != nullptr) *pnMode = info.st_mode & 07777;
    }
  }
  close(nFd);
  return strText;
}

std::optional<std::string> ReadPublicKeyFile(const std::string& strPath, std::string& strError) {
  return ReadSingleKey(strPath, "public key", strError, nullptr);
}

std::optional<sCurveKeyPair> ReadSecretKeyFile(const std::string& strPath, std::string& strError) {
  unsigned nMode = 0;
  const std::optional<std::string> strSecret = ReadSingleKey(strPath, "secret key", strError, &nMode);
  if (!strSecret) return std::nullopt;
  if ((nMode & 077) != 0) {
    char szMode[16];
    std::snprintf(szMode, sizeof szMode, "%04o", nMode & 07777u);
    strError = strPath + " can be read by other users (mode " + szMode +
               "); a secret key file must be readable by its owner only: chmod 600 " + strPath;
    return std::nullopt;
  }
  char szPublic[kZ85KeyLength + 1] = {};
  if (zmq_curve_public(szPublic, strSecret->c_str()) != 0) {
    strError = strPath + ": no public key follows from its secret key";
    return std::nullopt;
  }
  return sCurveKeyPair{szPublic, *strSecret};
}

bool WriteKeyFiles(const std::string& strBasePath, const sCurveKeyPair& keys, std::string& strError) {
  const std::string strSecretPath = strBasePath + ".key";
  const std::string strPublicPath = strBasePath + ".pub";
  if (access(strPublicPath.c_str(), F_OK) == 0) {
    strError = strPublicPath + " exists already; a key is never overwritten";
    return false;
  }
  const std::string strSecretText =
      "# CURVE secret key made by rms-keys; keep it readable by its owner only.\n"
      "# Its public key, in " +
      strPublicPath + ": " + keys.strPublic + "\n" + keys.strSecret + "\n";
  const std::string strPublicText =
      "# CURVE public key made by rms-keys: a line for an allow-list, or the key a\n"
      "# terminal or relay pins for the server that holds its secret key.\n" +
      keys.strPublic + "\n";
  if (!WriteNewFile(strSecretPath, 0600, strSecretText, strError)) return false;
  if (WriteNewFile(strPublicPath, 0644, strPublicText, strError)) return true;
  unlink(strSecretPath.c_str());
  return false;
}
