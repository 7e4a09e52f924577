#include "tests/support/EventWait.h"

#include <QCoreApplication>
#include <chrono>
#include <thread>

bool RunEventsUntil(const std::function<bool()>& fnDone, bool bRunEvents) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
  while (!fnDone()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    if (bRunEvents) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    // Lets the threads that deliver to this one run on a busy machine.
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}
