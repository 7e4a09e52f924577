// rms-sim in a process of its own, as an operator runs it: started on free loopback ports (or
// on the ports of an earlier run), its request log read back, killed without warning or
// stopped by signal. It runs rms-relay too, which says where it listens the same way.
#pragma once

#include <QProcess>
#include <QStringList>
#include <string>
#include <vector>

#include "host/transport/TransportWire.h"

class CSimProcess {
 public:
  CSimProcess() = default;
  ~CSimProcess();
  CSimProcess(const CSimProcess&) = delete;
  CSimProcess& operator=(const CSimProcess&) = delete;

  // Starts rms-sim with its request log on and the given options, listening on the endpoints
  // (free ports when empty). False when it does not say where it listens.
  bool Start(const QStringList& arrOptions, const halvowire::sServerEndpoints& endpoints = {});
  // Starts strProgram, which says on its first line where it listens, as rms-sim does. False
  // when it does not.
  bool StartProgram(const QString& strProgram, const QStringList& arrArguments);
  // SIGKILL, then waits for the process to end.
  void Kill();
  // SIGTERM; the exit code once the process ended, -1 when it crashed or did not end.
  int Terminate();

  const halvowire::sServerEndpoints& GetEndpoints() const { return m_endpoints; }
  // The names of the requests the server logged so far, in order.
  std::vector<std::string> GetRequestNames();

 private:
  void ReadOutput();

  QProcess m_process;
  std::string m_strOutput;
  halvowire::sServerEndpoints m_endpoints;
};
