// Paths composed the Windows way ("%s\\%s", "\\Orvane") mapped to this system.
#pragma once

#include <cstdio>
#include <string>

#include "platform/PlatformApi.h"

// Turns every backslash into a slash. A path that starts with a backslash is rooted at the
// drive root, "/" unless a test moved it; one that starts with a slash is left where it is.
PLATFORM_API std::string MapPlatformPath(const std::string& strPath);

// Moves the drive root (for tests, so a path like "\\file.ini" lands in a scratch folder).
// An empty text restores "/".
PLATFORM_API void SetPlatformDriveRoot(const std::string& strRoot);

// fopen on the mapped path.
PLATFORM_API FILE* PlatformOpenFile(const std::string& strPath, const char* szMode);

// Creates the directory at the mapped path (its parent must exist). False when it could not be
// created, including when it already exists.
PLATFORM_API bool PlatformCreateDirectory(const std::string& strPath);
