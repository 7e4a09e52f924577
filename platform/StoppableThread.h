// A worker thread that waits in a poll on its own descriptors and on a stop descriptor, which
// Stop makes readable before it joins the thread. The servers' side threads (the handshake
// handler, the risk server's loop, the relay's watch of its upstream link) run this way, so
// none of them needs a timeout to notice that it should end.
#pragma once

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>
#include <functional>
#include <thread>
#include <utility>

class CStoppableThread {
 public:
  CStoppableThread() = default;
  CStoppableThread(const CStoppableThread&) = delete;
  CStoppableThread& operator=(const CStoppableThread&) = delete;
  ~CStoppableThread() { Stop(); }

  // Runs fnRun on a new thread; false, and nothing started, when the stop descriptor cannot be
  // made.
  bool Start(std::function<void()> fnRun) {
    m_nStopFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_nStopFd < 0) return false;
    m_thread = std::thread(std::move(fnRun));
    return true;
  }

  // Makes the stop descriptor readable, waits for the thread to return, then closes it.
  void Stop() {
    if (m_thread.joinable()) {
      const uint64_t nOne = 1;
      // A write fails only on a full counter, which leaves the descriptor readable anyway.
      [[maybe_unused]] const ssize_t nWritten = write(m_nStopFd, &nOne, sizeof nOne);
      m_thread.join();
    }
    if (m_nStopFd >= 0) close(m_nStopFd);
    m_nStopFd = -1;
  }

  bool IsRunning() const { return m_thread.joinable(); }
  // Readable once Stop was called; the thread polls it with its own descriptors and returns.
  int GetStopDescriptor() const { return m_nStopFd; }

 private:
  int m_nStopFd = -1;
  std::thread m_thread;
};
