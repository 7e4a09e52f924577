// Waiting on the Qt event loop for something a test started: a reply over a socket, a queued
// delivery, a repaint.
#pragma once

#include <functional>

// Runs pending events until fnDone holds, or, with bRunEvents false, only polls fnDone (a busy
// user-interface thread runs none). False when it still does not hold after a minute: a guard
// against a hang, not a measure of speed.
bool RunEventsUntil(const std::function<bool()>& fnDone, bool bRunEvents = true);
