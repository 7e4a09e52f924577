// Whole-file reads and crash-safe whole-file replacement for the settings files.
#pragma once

#include <string>
#include <string_view>

enum class EFileRead { Read, Missing, Failed };

// Reads a regular file of at most 64 MiB whole. Missing means the file (or a folder on its
// path) does not exist; anything else that stops the read is Failed.
EFileRead ReadFileContents(const std::string& strPath, std::string& strContents);

// The file a replacement of strPath writes: the target of a symbolic link, else the path itself.
std::string ResolveReplaceTarget(const std::string& strPath);

// Called after the temporary file is complete and synced, just before the rename.
using PFN_BeforeReplace = void (*)(const char* szTempPath, const char* szPath);

// Writes the contents to a new temporary file in the same folder (named as TempFileClaim.h
// says), syncs it, calls pfnBefore (when set) and renames it over strPath, so a crash leaves
// either the old file or the new one, whole, and perhaps the temporary. An existing file keeps its permission
// bits; a symbolic link keeps pointing at the file it names, which is replaced. False, with strPath untouched
// and the temporary removed, when any step fails.
bool ReplaceFileContents(const std::string& strPath, std::string_view strContents,
                         PFN_BeforeReplace pfnBefore);
