#include "tests/security/TcpTap.h"

#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

sockaddr_in MakeLoopbackAddress(int nPort) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<uint16_t>(nPort));
  return address;
}

}  // namespace

CTcpTap::CTcpTap(const std::string& strTarget) {
  m_nListener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address = MakeLoopbackAddress(0);
  socklen_t nLength = sizeof address;
  if (m_nListener < 0 || bind(m_nListener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(m_nListener, 16) != 0 ||
      getsockname(m_nListener, reinterpret_cast<sockaddr*>(&address), &nLength) != 0)
    return;
  m_strEndpoint = "tcp://127.0.0.1:" + std::to_string(ntohs(address.sin_port));
  m_acceptThread = std::thread(&CTcpTap::Accept, this, std::stoi(strTarget.substr(strTarget.rfind(':') + 1)));
}

CTcpTap::~CTcpTap() {
  // Shutting a socket down wakes the thread blocked on it.
  if (m_nListener >= 0) shutdown(m_nListener, SHUT_RDWR);
  if (m_acceptThread.joinable()) m_acceptThread.join();
  {
    const std::lock_guard lock(m_mutex);
    for (const int nSocket : m_arrSockets) shutdown(nSocket, SHUT_RDWR);
  }
  for (std::thread& forwarder : m_arrForwarders) forwarder.join();
  for (const int nSocket : m_arrSockets) close(nSocket);
  if (m_nListener >= 0) close(m_nListener);
}

std::string CTcpTap::GetCaptured() const {
  const std::lock_guard lock(m_mutex);
  return m_strCaptured;
}

void CTcpTap::Accept(int nTargetPort) {
  for (int nClient; (nClient = accept4(m_nListener, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;) {
    const int nServer = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in target = MakeLoopbackAddress(nTargetPort);
    const std::lock_guard lock(m_mutex);
    m_arrSockets.insert(m_arrSockets.end(), {nClient, nServer});
    if (nServer < 0 || connect(nServer, reinterpret_cast<const sockaddr*>(&target), sizeof target) != 0)
      continue;
    m_arrForwarders.emplace_back(&CTcpTap::Forward, this, nClient, nServer);
    m_arrForwarders.emplace_back(&CTcpTap::Forward, this, nServer, nClient);
  }
}

void CTcpTap::Forward(int nFrom, int nTo) {
  char arrBuffer[65536];
  bool bOpen = true;
  for (ssize_t nRead; bOpen && (nRead = read(nFrom, arrBuffer, sizeof arrBuffer)) > 0;) {
    {
      const std::lock_guard lock(m_mutex);
      m_strCaptured.append(arrBuffer, static_cast<size_t>(nRead));
    }
    for (ssize_t nAt = 0, nWritten = 0; bOpen && nAt < nRead; nAt += nWritten)
      bOpen = (nWritten = send(nTo, arrBuffer + nAt, static_cast<size_t>(nRead - nAt), MSG_NOSIGNAL)) > 0;
  }
  // One way closed: both ends go, so the other way ends too.
  shutdown(nFrom, SHUT_RDWR);
  shutdown(nTo, SHUT_RDWR);
}
