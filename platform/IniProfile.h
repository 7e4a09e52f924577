// INI profile functions with the semantics of the classic private-profile calls:
// section and key names match without regard to letter case; reads give a default text for a
// missing key and cut results to the caller's buffer; a write creates the file, the section
// or the key as needed, replaces a value in place and keeps every other line as it was.
// Paths go through MapPlatformPath, so "dir\\file.ini" works.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/PlatformApi.h"

// Copies the value of szKey in szSection into pBuffer (at most nSize - 1 characters, always
// zero-terminated when nSize > 0) and returns the number of characters copied. A missing file,
// section or key gives szDefault (null counts as ""). Blanks around the key and the value are
// ignored, a value enclosed in matching single or double quotes loses them, and CR before LF
// is ignored. A line without '=' is not a key. Comments (';' or '#') are not keys.
// With szKey null, fills the section's key names, each zero-terminated, with a second zero at
// the end; with szSection null, the section names the same way. A list that does not fit is
// cut, still ends with two zeros, and nSize - 2 is returned.
PLATFORM_API uint32_t GetPrivateProfileString(const char* szSection, const char* szKey, const char* szDefault,
                                              char* pBuffer, uint32_t nSize, const char* szPath);

// The value as a decimal integer (leading blanks, optional sign, leading digits), or nDefault
// when the key is missing or holds no digits.
PLATFORM_API int32_t GetPrivateProfileInt(const char* szSection, const char* szKey, int32_t nDefault,
                                          const char* szPath);

// Writes "key=value" into the section, replacing the key's line in place when it exists, else
// adding it at the end of the section, else adding the section at the end of the file.
// szValue null deletes the key; szKey null deletes the whole section. The file keeps its line
// ending style. The new file replaces the old one by rename, so a crash leaves one or the other
// whole. Returns false when the file cannot be read or written, and refuses (false, file
// untouched) names and values that would not read back: a line break anywhere, ']' in the
// section, '=' in the key, an empty key or one starting with ';', '#' or '['.
PLATFORM_API bool WritePrivateProfileString(const char* szSection, const char* szKey, const char* szValue,
                                            const char* szPath);

// The same write of a value, for a value that is counted rather than zero-terminated: a NUL
// inside it is kept, byte for byte, and a read gives it back (the count a read returns runs
// past it), where a zero-terminated value would lose everything after it. A NUL in the section
// or key is refused (false, file untouched): cut there, the name would be another one.
PLATFORM_API bool WritePrivateProfileValue(std::string_view strSection, std::string_view strKey,
                                           std::string_view strValue, const char* szPath);

// Called between writing the temporary file and renaming it over the original; tests use it
// to simulate a crash at that point. Null (the default) does nothing.
using PFN_ProfileBeforeRename = void (*)(const char* szTempPath, const char* szPath);
PLATFORM_API void SetProfileBeforeRenameHook(PFN_ProfileBeforeRename pfnHook);
