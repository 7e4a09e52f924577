#include "windows/DataFreshness.h"

#include <algorithm>
#include <charconv>
#include <vector>

#include "model/ColumnCatalogue.h"

namespace {

constexpr int64_t kMicrosecondsPerSecond = 1'000'000;

// Seconds up to two minutes, minutes up to two hours, hours after that.
std::string FormatQuietTime(int64_t nMilliseconds) {
  const int64_t nSeconds = nMilliseconds / 1000;
  if (nSeconds < 120) return std::to_string(nSeconds) + " s";
  if (nSeconds < 120 * 60) return std::to_string(nSeconds / 60) + " min";
  return std::to_string(nSeconds / 3600) + " h";
}

}  // namespace

std::string FormatLinkBanner(const sHalvoLinkStatus& status) {
  if (status.nState == kLinkConnected) return {};
  const std::string strQuiet =
      status.nDataAgeMs >= 0 ? "no data for " + FormatQuietTime(status.nDataAgeMs) : std::string();
  if (status.nState == kLinkHandshakeRefused)
    return "Risk server: handshake refused" + (strQuiet.empty() ? "" : ", " + strQuiet);
  if (status.nState == kLinkKeyProblem) return "Risk server: not connected, key problem";
  if (!strQuiet.empty()) return "Risk server: " + strQuiet;
  switch (status.nState) {
    case kLinkConnecting:
      return "Risk server: connecting";
    case kLinkDisconnected:
      return "Risk server: disconnected";
    default:
      return "Risk server: not responding";
  }
}

bool IsRowAged(int64_t nUpdatedUs, int64_t nNowUs, int32_t nDimAfterSeconds) {
  return nUpdatedUs > 0 && nDimAfterSeconds > 0 && nNowUs - nUpdatedUs > nDimAfterSeconds * kMicrosecondsPerSecond;
}

int32_t ParseDimAfterSeconds(const std::string& strValue, bool bPresent) {
  int32_t nSeconds = 0;
  const char* pEnd = strValue.data() + strValue.size();
  const auto result = std::from_chars(strValue.data(), pEnd, nSeconds);
  if (!bPresent || result.ec != std::errc() || result.ptr != pEnd || nSeconds < 0) return kDefaultDimAfterSeconds;
  return nSeconds;
}

const int32_t kLastUpdateColumn = kCatalogueColumnCount;

std::span<const sColumnDef> GetWatchColumns() {
  static const std::vector<sColumnDef> s_arrColumns = [] {
    const std::span<const sColumnDef> arrCatalogue = GetCatalogueColumns();
    std::vector<sColumnDef> arrColumns(arrCatalogue.begin(), arrCatalogue.end());
    arrColumns.push_back({"Last Update", kAlignRight, kSortInteger});
    return arrColumns;
  }();
  return s_arrColumns;
}

std::string FormatRowAge(int64_t nUpdatedUs, int64_t nNowUs) {
  if (nUpdatedUs <= 0) return "-";
  return std::to_string(std::max<int64_t>(0, nNowUs - nUpdatedUs) / kMicrosecondsPerSecond);
}

sTextShape GetRowAgeShape(int64_t nUpdatedUs, int64_t nNowUs) {
  sTextShape shape;
  if (nUpdatedUs <= 0) {
    shape.eKind = eShapeKind::kText;
    shape.strText = "-";
    return shape;
  }
  const int64_t nSeconds = std::max<int64_t>(0, nNowUs - nUpdatedUs) / kMicrosecondsPerSecond;
  shape.eKind = eShapeKind::kNumber;
  for (int64_t nRest = nSeconds;; nRest /= 10) {
    ++shape.nDigits;
    if (nRest < 10) break;
  }
  shape.dLow = shape.dHigh = static_cast<double>(nSeconds);
  return shape;
}
