// The watch windows every part of the plug-in counts on: how many there are, and the key that
// names each one's list for the custom-alert rules.
#pragma once

#include <array>

inline constexpr int kWatchWindowCount = 4;
inline constexpr std::array<const char*, kWatchWindowCount> kWatchListKeys = {"list1", "list2", "list3", "list4"};

// The list key of watch window nWindow (1 to kWatchWindowCount): "list1" to "list4".
constexpr const char* GetWatchListKey(int nWindow) { return kWatchListKeys[static_cast<size_t>(nWindow - 1)]; }
