#include "host/transport/CommandQueue.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <system_error>

CCommandQueue::CCommandQueue() : m_nWakeFd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
  if (m_nWakeFd < 0) throw std::system_error(errno, std::generic_category(), "eventfd");
}

CCommandQueue::~CCommandQueue() { close(m_nWakeFd); }

void CCommandQueue::Push(sTransportCommand command) {
  {
    const std::lock_guard lock(m_mutex);
    m_arrCommands.push_back(std::move(command));
  }
  const uint64_t nOne = 1;
  // A write can only fail on a full counter, which leaves the descriptor readable anyway.
  [[maybe_unused]] const ssize_t nWritten = write(m_nWakeFd, &nOne, sizeof nOne);
}

std::deque<sTransportCommand> CCommandQueue::TakeAll() {
  // Clear the wake-up before taking: a command pushed in between is taken now and leaves
  // one spare wake-up, never a command without one.
  uint64_t nCount = 0;
  [[maybe_unused]] const ssize_t nRead = read(m_nWakeFd, &nCount, sizeof nCount);
  std::deque<sTransportCommand> arrTaken;
  const std::lock_guard lock(m_mutex);
  arrTaken.swap(m_arrCommands);
  return arrTaken;
}
