#include "tests/support/SimProcess.h"

#include <sstream>

namespace {

constexpr int kStartPatienceMs = 20000;

// The endpoint that follows strLabel in rms-sim's first line, up to a comma or the line end.
std::string ReadEndpoint(const std::string& strLine, const std::string& strLabel) {
  const size_t nStart = strLine.find(strLabel);
  if (nStart == std::string::npos) return {};
  const size_t nFrom = nStart + strLabel.size();
  return strLine.substr(nFrom, strLine.find_first_of(",\n", nFrom) - nFrom);
}

}  // namespace

CSimProcess::~CSimProcess() { Kill(); }

bool CSimProcess::Start(const QStringList& arrOptions, const halvowire::sServerEndpoints& endpoints) {
  QStringList arrArguments = {
      QStringLiteral("--log-requests"), QStringLiteral("--requests"),
      QString::fromStdString(endpoints.strRequests.empty() ? "tcp://127.0.0.1:*" : endpoints.strRequests),
      QStringLiteral("--publications"),
      QString::fromStdString(endpoints.strPublications.empty() ? "tcp://127.0.0.1:*"
                                                               : endpoints.strPublications)};
  arrArguments += arrOptions;
  return StartProgram(QStringLiteral(RMS_SIM), arrArguments);
}

bool CSimProcess::StartProgram(const QString& strProgram, const QStringList& arrArguments) {
  m_strOutput.clear();
  m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  m_process.start(strProgram, arrArguments);
  if (!m_process.waitForStarted(kStartPatienceMs)) return false;
  while (m_strOutput.find('\n') == std::string::npos) {
    if (!m_process.waitForReadyRead(kStartPatienceMs)) return false;
    ReadOutput();
  }
  const std::string strLine = m_strOutput.substr(0, m_strOutput.find('\n'));
  m_endpoints.strRequests = ReadEndpoint(strLine, "requests on ");
  m_endpoints.strPublications = ReadEndpoint(strLine, "publications on ");
  return !m_endpoints.strRequests.empty() && !m_endpoints.strPublications.empty();
}

void CSimProcess::Kill() {
  if (m_process.state() == QProcess::NotRunning) return;
  m_process.kill();
  m_process.waitForFinished(kStartPatienceMs);
}

int CSimProcess::Terminate() {
  if (m_process.state() == QProcess::NotRunning) return -1;
  m_process.terminate();
  if (!m_process.waitForFinished(kStartPatienceMs)) return -1;
  return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}

void CSimProcess::ReadOutput() { m_strOutput += m_process.readAllStandardOutput().toStdString(); }

std::vector<std::string> CSimProcess::GetRequestNames() {
  ReadOutput();
  std::vector<std::string> arrNames;
  std::istringstream lines(m_strOutput);
  const std::string strPrefix = "rms-sim: request ";
  for (std::string strLine; std::getline(lines, strLine);) {
    if (strLine.starts_with(strPrefix)) arrNames.push_back(strLine.substr(strPrefix.size()));
  }
  return arrNames;
}
