// What the user-interface thread asks of the transport's I/O thread: a queue with a wake-up.
// Any thread may push; the I/O thread polls the wake-up descriptor with its sockets.
#pragma once

#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <zmq.hpp>

struct sTransportCommand {
  enum class eKind : uint8_t {
    kOpen,       // create the control's sockets
    kRequest,    // send strBody's message as a request
    kPublish,    // send the message as a client publication
    kSubscribe,  // subscribe the control to publication name strTopic
    kClose,      // close the control's sockets and drop its subscriptions
    kStop,       // end the I/O thread
  };

  eKind eWhat = eKind::kStop;
  uint64_t nControl = 0;
  zmq::message_t body;
  std::string strTopic;
};

class CCommandQueue {
 public:
  CCommandQueue();
  ~CCommandQueue();
  CCommandQueue(const CCommandQueue&) = delete;
  CCommandQueue& operator=(const CCommandQueue&) = delete;

  // Queues a command and wakes the I/O thread.
  void Push(sTransportCommand command);
  // Everything queued so far, in order; clears the wake-up.
  std::deque<sTransportCommand> TakeAll();
  // Readable while commands wait.
  int GetWakeDescriptor() const { return m_nWakeFd; }

 private:
  std::mutex m_mutex;
  std::deque<sTransportCommand> m_arrCommands;
  int m_nWakeFd = -1;
};
