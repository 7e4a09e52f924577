// Titles of the four watch windows, kept in the settings file under "TITLE" in each window's
// own section.
#pragma once

#include <string>

#include "link/WatchLists.h"

// The settings section of watch window nWindow (1 to 4): "Orvane_watch1" to "Orvane_watch4".
std::string GetWatchSectionName(int nWindow);
// The title a watch window has when none is stored: "Orvane Watch 1" to "Orvane Watch 4".
std::string GetDefaultWatchTitle(int nWindow);

// The stored title of watch window nWindow, or its default when none can be read.
std::string ReadWatchTitle(int nWindow);
// Stores a title under the given section, line breaks as blanks; false when it could not be
// written.
bool WriteWatchTitle(const std::string& strSection, const std::string& strTitle);
