// Waiting on the Qt event loop for something a test started: a reply over a socket, a queued
// delivery, a repaint.
#pragma once

#include <QCoreApplication>
#include <chrono>
#include <functional>
#include <thread>

// Runs pending events until fnDone holds, or, with bRunEvents false, only polls fnDone (a busy
// user-interface thread runs none). False when it still does not hold after a minute: a guard
// against a hang, not a measure of speed.
inline bool RunEventsUntil(const std::function<bool()>& fnDone, bool bRunEvents = true) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
  while (!fnDone()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    if (bRunEvents) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    // Lets the threads that deliver to this one run on a busy machine.
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}
