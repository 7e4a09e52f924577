// Shows message boxes as real modal boxes with an OK button, over the main frame.
#pragma once

#include "platform/PlatformApi.h"

PLATFORM_API void InstallQtMessageBoxPresenter();
