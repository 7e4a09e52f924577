// Publications that break the link's rules, so a terminal's defences can be tried over real
// sockets: a number of malformed publications under the values name, then one publication
// with a frame past every link's size limit. The server sends them once, when the values
// feed starts, before its first message; they are neither recorded nor in the ledger.
//
// The malformed ones take turns among these kinds, each of which a terminal drops and counts
// once, and none of which breaks the connection:
//   - the topic frame alone
//   - a message cut short (its length word says more than the frame holds)
//   - a message whose field count is 0xFFFFFFFF
//   - bytes that are no message
//   - a topic frame with bytes after its NUL (it still matches the subscription's prefix)
//   - a send time frame of 5 bytes
//   - a fourth frame after the send time
// The oversize one is refused by the terminal before it is read: the connection that carried
// it is dropped and made again.
#pragma once

#include <cstdint>
#include <string>
#include <vector>
#include <zmq.hpp>

#include "rmssim/SimRandom.h"

class CFaultPublications {
 public:
  CFaultPublications(uint64_t nMalformed, uint32_t nOversizeMiB, uint64_t nSeed);

  // Sends up to nBurst publications on the publisher, each as it is, while its subscribers have
  // room; true once every one went.
  bool Send(zmq::socket_t& publisher, int nBurst);

 private:
  // Makes the next publication due; none (no frames) once every one was made.
  void Advance();
  void MakeMalformed(uint64_t nKind);
  void MakeOversize();

  uint64_t m_nMalformed;
  uint64_t m_nMalformedMade = 0;
  uint32_t m_nOversizeMiB;  // 0 once the oversize one was made
  CSimRandom m_random;
  std::vector<std::string> m_arrFrames;  // of the publication due
  std::string m_strMessage;  // a well-formed message the malformed ones are made from
};
