// Clean-up of what interrupted settings writes leave behind. A write that is killed between
// creating its temporary file and renaming it over the settings file leaves the temporary
// ("<file>.tmp-<pid>-<n>", see TempFileClaim.h) next to the file; nothing else ever removes it.
#pragma once

#include <cstddef>
#include <string>

#include "platform/PlatformApi.h"

// Removes the temporaries of writes of the file at strPath (mapped like every platform path;
// for a symbolic link, of the file it names) whose writer is gone: regular files in its folder
// named "<file name>.tmp-<pid>-<n>" whose process no longer runs, or that is this process
// without a write of that name under way. The file itself, other files, and temporaries of
// writes under way here or in another running process are never touched. Returns how many
// were removed.
PLATFORM_API size_t RemoveInterruptedWrites(const std::string& strPath);
