// The desktop's "open" operation: hands a text (a mailto: link, a file, a web address)
// unchanged to the desktop's handler.
#pragma once

#include <functional>
#include <string>

#include "platform/PlatformApi.h"

// Starts xdg-open with the text and does not wait for it. False when it could not be started.
PLATFORM_API bool ShellOpen(const std::string& strText);

// Tests install a sink that records the texts instead of starting anything; empty removes it.
PLATFORM_API void SetShellOpenSink(std::function<void(const std::string&)> fnSink);
