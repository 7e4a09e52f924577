// Window messages registered by name: every caller that registers the same name (ignoring
// case) gets the same number, so two windows agree on a message without sharing a header.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/PlatformApi.h"

// The first number handed out; numbered messages below it are fixed ones (1132, 1933, ...).
inline constexpr uint32_t kFirstRegisteredMessage = 0xC000;
inline constexpr uint32_t kLastRegisteredMessage = 0xFFFF;

// The number of the named message, registering it on first use. 0 for an empty name or when
// every number is taken.
PLATFORM_API uint32_t RegisterWindowMessage(std::string_view strName);
