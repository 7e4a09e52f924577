// Shows message boxes as real modal boxes with an OK button, and questions as boxes with Yes
// and No, over the main frame.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "platform/PlatformApi.h"

// With answerAfter, each box closes by itself that long after it opened, as if OK (or No, for
// a question) was pressed, and fnOnAnswered (when given) is told its text: a terminal that runs
// unattended never waits on a box, and an unattended question changes nothing.
PLATFORM_API void InstallQtMessageBoxPresenter(
    std::optional<std::chrono::milliseconds> answerAfter = std::nullopt,
    std::function<void(const std::string& strText)> fnOnAnswered = {});
