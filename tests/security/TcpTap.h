// A TCP forwarder on loopback that keeps every byte it passes, both ways: what anyone able to
// read the wire between a terminal and its server would see. Each connection made to it is
// joined to a new connection to the target, with a thread for each way.
#pragma once

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
  void Accept(int nTargetPort);
  void Forward(int nFrom, int nTo);

  int m_nListener = -1;
  std::string m_strEndpoint;
  std::thread m_acceptThread;
  mutable std::mutex m_mutex;  // guards what follows
  std::string m_strCaptured;
  std::vector<int> m_arrSockets;
  std::vector<std::thread> m_arrForwarders;
};
