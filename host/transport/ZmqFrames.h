// Reading ZeroMQ frames without blocking, as both ends of the link do on their I/O threads.
#pragma once

#include <zmq.hpp>

namespace halvowire {

// The next frame, if one is waiting.
inline bool ReceiveFrame(zmq::socket_t& socket, zmq::message_t& frame) {
  return socket.recv(frame, zmq::recv_flags::dontwait).has_value();
}

// Reads the frames left of a message whose last frame read was frame; they arrived with it.
inline void SkipRestOfMessage(zmq::socket_t& socket, zmq::message_t& frame) {
  while (frame.more()) {
    if (!ReceiveFrame(socket, frame)) return;
  }
}

}  // namespace halvowire
