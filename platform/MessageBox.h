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

// A question with a Yes and a No button, No the default; true for Yes. Shown the same way:
// a sink a test installed, else a presenter the GUI installed, else a line on standard error,
// which answers No. Questions are asked whatever the shutdown state; nothing asks during one.
using QuestionPresenter = std::function<bool(const std::string& strText)>;

PLATFORM_API bool AskYesNo(const std::string& strText);
PLATFORM_API void SetQuestionSink(QuestionPresenter fnSink);
PLATFORM_API void SetQuestionPresenter(QuestionPresenter fnPresenter);

// Between these two calls each distinct text is shown once: a shutdown whose every settings
// write fails (a read-only folder) then holds an unattended close up once per text, not once
// per failing write. Every box has the same caption, so the text alone tells boxes apart. A
// second begin keeps the texts already shown; the end forgets them.
PLATFORM_API void BeginMessageBoxShutdown();
PLATFORM_API void EndMessageBoxShutdown();
