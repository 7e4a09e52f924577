// Export marker of the platform library, which the host, the plug-in and the message library
// share as one instance, so a sink or a fixed clock installed once holds process-wide.
#pragma once

#define PLATFORM_API __attribute__((visibility("default")))
