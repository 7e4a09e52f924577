#include "platform/TempFileClaim.h"

#include <unistd.h>

#include <charconv>
#include <cstdint>
#include <mutex>
#include <set>

namespace {

constexpr std::string_view kTempMark = ".tmp-";

// Writes may run on any thread; the claims are the one thing they share.
struct sClaims {
  std::mutex mutex;
  std::set<std::string> setPaths;
  unsigned nSerial = 0;
};

sClaims& GetClaims() {
  static sClaims s_claims;
  return s_claims;
}

// Reads a decimal number that fills strDigits exactly; 0 for anything else.
unsigned long ParseWholeNumber(std::string_view strDigits) {
  unsigned long nValue = 0;
  const auto [pEnd, error] = std::from_chars(strDigits.data(), strDigits.data() + strDigits.size(), nValue);
  return (error == std::errc() && pEnd == strDigits.data() + strDigits.size()) ? nValue : 0;
}

}  // namespace

CTempFileClaim::CTempFileClaim(std::string strTarget) : m_strTarget(std::move(strTarget)) {}

CTempFileClaim::~CTempFileClaim() { Release(); }

const std::string& CTempFileClaim::ClaimNext() {
  Release();
  sClaims& claims = GetClaims();
  const std::lock_guard lock(claims.mutex);
  m_strPath = m_strTarget + std::string(kTempMark) + std::to_string(getpid()) + "-" +
              std::to_string(++claims.nSerial);
  claims.setPaths.insert(m_strPath);
  return m_strPath;
}

void CTempFileClaim::Release() {
  if (m_strPath.empty()) return;
  sClaims& claims = GetClaims();
  const std::lock_guard lock(claims.mutex);
  claims.setPaths.erase(m_strPath);
  m_strPath.clear();
}

pid_t ParseTempFileName(std::string_view strName, std::string_view strTargetName) {
  if (strTargetName.empty() || !strName.starts_with(strTargetName)) return 0;
  strName.remove_prefix(strTargetName.size());
  if (!strName.starts_with(kTempMark)) return 0;
  strName.remove_prefix(kTempMark.size());
  const size_t nDash = strName.find('-');
  if (nDash == std::string_view::npos || ParseWholeNumber(strName.substr(nDash + 1)) == 0) return 0;
  const unsigned long nPid = ParseWholeNumber(strName.substr(0, nDash));
  // A process id fits a pid_t; a larger number is no name this code wrote.
  return nPid <= static_cast<unsigned long>(INT32_MAX) ? static_cast<pid_t>(nPid) : 0;
}

bool RemoveUnclaimedTempFile(const std::string& strPath) {
  sClaims& claims = GetClaims();
  const std::lock_guard lock(claims.mutex);
  return !claims.setPaths.contains(strPath) && unlink(strPath.c_str()) == 0;
}
