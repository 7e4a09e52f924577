#include "tests/security/TcpTap.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>

namespace {

sockaddr_in MakeLoopbackAddress(int nPort) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<uint16_t>(nPort));
  return address;
}

bool WriteAll(int nFd, const char* pBytes, size_t nLength) {
  while (nLength > 0) {
    const ssize_t nWritten = write(nFd, pBytes, nLength);
    if (nWritten <= 0) return false;
    pBytes += nWritten;
    nLength -= static_cast<size_t>(nWritten);
  }
  return true;
}

}  // namespace

CTcpTap::CTcpTap(const std::string& strTarget) {
  m_nTargetPort = std::stoi(strTarget.substr(strTarget.rfind(':') + 1));
  m_nListener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address = MakeLoopbackAddress(0);
  socklen_t nLength = sizeof address;
  if (m_nListener < 0 || bind(m_nListener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(m_nListener, 16) != 0 ||
      getsockname(m_nListener, reinterpret_cast<sockaddr*>(&address), &nLength) != 0)
    return;
  m_nWakeFd = eventfd(0, EFD_CLOEXEC);
  m_strEndpoint = "tcp://127.0.0.1:" + std::to_string(ntohs(address.sin_port));
  m_thread = std::thread(&CTcpTap::Run, this);
}

CTcpTap::~CTcpTap() {
  if (m_thread.joinable()) {
    const uint64_t nOne = 1;
    [[maybe_unused]] const ssize_t nWritten = write(m_nWakeFd, &nOne, sizeof nOne);
    m_thread.join();
  }
  for (const auto& [nClient, nServer] : m_arrPairs) {
    close(nClient);
    close(nServer);
  }
  if (m_nWakeFd >= 0) close(m_nWakeFd);
  if (m_nListener >= 0) close(m_nListener);
}

std::string CTcpTap::GetCaptured() const {
  const std::lock_guard lock(m_mutex);
  return m_strCaptured;
}

void CTcpTap::Run() {
  for (;;) {
    std::vector<pollfd> arrItems = {{m_nWakeFd, POLLIN, 0}, {m_nListener, POLLIN, 0}};
    for (const auto& [nClient, nServer] : m_arrPairs) {
      arrItems.push_back({nClient, POLLIN, 0});
      arrItems.push_back({nServer, POLLIN, 0});
    }
    if (poll(arrItems.data(), arrItems.size(), -1) < 0) continue;
    if (arrItems[0].revents != 0) return;
    for (size_t n = m_arrPairs.size(); n-- > 0;) {
      const auto [nClient, nServer] = m_arrPairs[n];
      const bool bClientOpen = arrItems[2 + 2 * n].revents == 0 || Forward(nClient, nServer);
      const bool bServerOpen = arrItems[3 + 2 * n].revents == 0 || Forward(nServer, nClient);
      if (bClientOpen && bServerOpen) continue;
      close(nClient);
      close(nServer);
      m_arrPairs.erase(m_arrPairs.begin() + static_cast<std::ptrdiff_t>(n));
    }
    if (arrItems[1].revents & POLLIN) {
      const int nClient = accept4(m_nListener, nullptr, nullptr, SOCK_CLOEXEC);
      if (nClient < 0) continue;
      const int nServer = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
      const sockaddr_in target = MakeLoopbackAddress(m_nTargetPort);
      if (nServer < 0 || connect(nServer, reinterpret_cast<const sockaddr*>(&target), sizeof target) != 0) {
        close(nClient);
        if (nServer >= 0) close(nServer);
        continue;
      }
      m_arrPairs.emplace_back(nClient, nServer);
    }
  }
}

bool CTcpTap::Forward(int nFrom, int nTo) {
  char arrBuffer[65536];
  const ssize_t nRead = read(nFrom, arrBuffer, sizeof arrBuffer);
  if (nRead <= 0) return false;
  {
    const std::lock_guard lock(m_mutex);
    m_strCaptured.append(arrBuffer, static_cast<size_t>(nRead));
  }
  return WriteAll(nTo, arrBuffer, static_cast<size_t>(nRead));
}
