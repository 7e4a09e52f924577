// A TCP forwarder on loopback that keeps every byte it passes, both ways: what anyone able to
// read the wire between a terminal and its server would see. Each connection made to it is
// joined to a new connection to the target.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class CTcpTap {
 public:
  // strTarget: "tcp://127.0.0.1:PORT". Listens on a free loopback port at once.
  explicit CTcpTap(const std::string& strTarget);
  ~CTcpTap();
  CTcpTap(const CTcpTap&) = delete;
  CTcpTap& operator=(const CTcpTap&) = delete;

  // Where to connect instead of the target; empty when the tap could not listen.
  const std::string& GetEndpoint() const { return m_strEndpoint; }
  // Every byte passed so far, either way.
  std::string GetCaptured() const;

 private:
  void Run();
  // Passes what is waiting on nFrom to nTo; false when nFrom closed.
  bool Forward(int nFrom, int nTo);

  int m_nTargetPort = 0;
  int m_nListener = -1;
  int m_nWakeFd = -1;
  std::string m_strEndpoint;
  std::vector<std::pair<int, int>> m_arrPairs;  // the tap's thread alone
  mutable std::mutex m_mutex;
  std::string m_strCaptured;
  std::thread m_thread;
};
