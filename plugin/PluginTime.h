// The time of day as the terminal's gettimeofday gives it: whole seconds since 1970 and the
// milliseconds of the current UTC time in microseconds.
#pragma once

#include "host/api/HalvoHostApi.h"

sHalvoTimeVal GetPluginTimeOfDay();
