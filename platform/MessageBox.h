// The one way this system tells the user about a failure: a modal box with the text and an
// OK button. Which presenter shows it is chosen at run time: a sink a test installed, else a
// presenter the GUI installed, else a line on standard error.
#pragma once

#include <functional>
#include <string>

#include "platform/PlatformApi.h"

using MessageBoxPresenter = std::function<void(const std::string& strText)>;

PLATFORM_API void ShowMessageBox(const std::string& strText);

// Tests install a sink that records the texts; an empty function removes it.
PLATFORM_API void SetMessageBoxSink(MessageBoxPresenter fnSink);
// The GUI installs a presenter that shows a real modal box.
PLATFORM_API void SetMessageBoxPresenter(MessageBoxPresenter fnPresenter);
