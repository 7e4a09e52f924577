// How fresh a watch window's data is: the banner above the rows while the server's data does not
// arrive, rows whose own newest value is old, and the "Last Update" column with each row's age,
// so a risk manager never reads old values as live.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "host/api/HalvoHostApi.h"
#include "model/ListColumns.h"
#include "model/TextShape.h"

// The link states of sHalvoLinkStatus.
constexpr int32_t kLinkConnecting = 0;
constexpr int32_t kLinkConnected = 1;
constexpr int32_t kLinkDisconnected = 2;
constexpr int32_t kLinkNotResponding = 3;
constexpr int32_t kLinkHandshakeRefused = 4;
constexpr int32_t kLinkKeyProblem = 5;

// A row whose newest value is older than this many seconds is dimmed unless the list's
// settings say otherwise; 0 there turns it off.
constexpr int32_t kDefaultDimAfterSeconds = 300;
inline constexpr const char* kDimAfterKey = "DIMAFTER";

// Empty while connected; "Risk server: no data for 12 s" once data came and stopped, or the
// state's own word ("connecting", "disconnected", "not responding") before any data. A refused
// handshake and a key problem are always named, as no wait will mend them.
std::string FormatLinkBanner(const sHalvoLinkStatus& status);

// True when a row updated at nUpdatedUs is older than nDimAfterSeconds at nNowUs; never for a
// row with no update time or a limit of 0 or less.
bool IsRowAged(int64_t nUpdatedUs, int64_t nNowUs, int32_t nDimAfterSeconds);

// The limit a list's DIMAFTER value sets: whole seconds, 0 for off; the default for an absent
// or unreadable value.
int32_t ParseDimAfterSeconds(const std::string& strValue, bool bPresent);

// A watch list's columns: the catalogue's, then "Last Update", the seconds since the row's
// newest value ("-" before any). It is not a catalogue column, so it is hidden until the column
// profile shows it; custom columns follow it.
std::span<const sColumnDef> GetWatchColumns();
extern const int32_t kLastUpdateColumn;
std::string FormatRowAge(int64_t nUpdatedUs, int64_t nNowUs);
// The shape of that text, with its value, told without making it.
sTextShape GetRowAgeShape(int64_t nUpdatedUs, int64_t nNowUs);
