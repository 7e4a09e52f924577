// Process-wide values that start-up establishes and every other part of the plug-in reads.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// The comma-separated column lists of the configuration hold at most this many names.
inline constexpr int kMaxConfigListEntries = 50;

using ConfigNameList = std::array<std::string, kMaxConfigListEntries>;

struct PluginContext {
  void* hostModule = nullptr;  // the host executable, where host services are looked up
  std::string userId;
  int32_t userCategory = 0;  // 0 all entities, 1 the user's peer, other: the host's list
  std::string settingsDir;   // the host's user directory followed by "\\Orvane"

  std::string calcFormula;  // alert-amount formula
  bool calcEnabled = false;
  ConfigNameList creditColumns;  // negative values of these columns count in the amount
  int32_t creditCount = 0;
  ConfigNameList debitColumns;  // positive values of these columns count in the amount
  int32_t debitCount = 0;
  int32_t watchCount = 4;
  std::string mailCc;
  ConfigNameList colouredCustomColumns;  // custom columns drawn red below zero
  int32_t colouredCustomCount = 0;
};

// The one context of the loaded library.
extern PluginContext g_pluginContext;
