// Reads the CONFIG section of the settings file at start-up into the plug-in context.
#pragma once

#include <string>

#include "plugin/PluginContext.h"

// Cuts a comma-separated value into names: runs of commas and commas at either end give no
// entry; names are kept exactly as written, blanks included. At most kMaxConfigListEntries
// names are kept (the first ones); returns how many were stored.
int SplitCommaList(const std::string& strValue, ConfigNameList& arrNames);

// The integer a settings text starts with: leading blanks, an optional sign, then digits;
// no digits give 0, values past the 32-bit range are clamped to it.
int32_t ParseLeadingInt(const std::string& strValue);

// Reads CALC, then CREDIT and DEBIT only when CALC enabled the formula, then DIALOG COUNT,
// MAIL_CC and COLORING CUSTOM COLUMN. A key that cannot be read leaves its fields as they are.
void ReadConfiguration(PluginContext& context);
