#include "host/HostServices.h"

#include <QComboBox>
#include <QDir>
#include <QStandardPaths>
#include <QWidget>

#include "host/api/HalvoHostApi.h"
#include "host/transport/RmsTransport.h"

namespace {

struct sHostServiceState {
  std::string strUserDirectory;
  std::vector<std::string> arrDealers;
  CRmsTransport* pTransport = nullptr;
};

sHostServiceState& GetState() {
  static sHostServiceState s_state;
  return s_state;
}

}  // namespace

std::string PrepareUserDirectory(const std::string& strUserId) {
  const QString strBase = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  const QString strDirectory =
      QDir(strBase).filePath(QStringLiteral("halvo-trader/") + QString::fromStdString(strUserId));
  QDir().mkpath(strDirectory);
  return strDirectory.toStdString();
}

void ConfigureHostServices(const std::string& strUserDirectory, const std::vector<std::string>& arrDealers,
                           CRmsTransport* pTransport) {
  GetState().strUserDirectory = strUserDirectory;
  GetState().arrDealers = arrDealers;
  GetState().pTransport = pTransport;
}

extern "C" {

HALVO_API int pu_get_UserDirectory(CHostString* pstrDirectory) {
  if (pstrDirectory == nullptr) return 0;
  *pstrDirectory = GetState().strUserDirectory;
  return 1;
}

HALVO_API int pu_PopulateAllDealersOrClients(void* pDialog, int32_t nControlId, int32_t /*nKind*/,
                                             int32_t /*nFlag*/) {
  auto* pWidget = static_cast<QWidget*>(pDialog);
  if (pWidget == nullptr) return 0;
  auto* pList = pWidget->findChild<QComboBox*>(QString::number(nControlId));
  if (pList == nullptr) return 0;
  for (const std::string& strDealer : GetState().arrDealers)
    pList->addItem(QString::fromStdString(strDealer));
  return 1;
}

// Kinds 0 and 1 are alike: each control has its own connection to the risk server and gets
// the responses to its own requests and the publications it subscribed to.
HALVO_API CPyxoRxControl* GetPyxoRxControl(int32_t nKind, CPyxoRxNotifierBase* pReceiver) {
  if ((nKind != 0 && nKind != 1) || GetState().pTransport == nullptr) return nullptr;
  return GetState().pTransport->CreateControl(pReceiver);
}

HALVO_API void DestoryPyxoRxCOntrol(CPyxoRxControl* pControl) {
  if (GetState().pTransport != nullptr) GetState().pTransport->DestroyControl(pControl);
}

HALVO_API int pu_get_LinkStatus(sHalvoLinkStatus* pStatus) {
  if (pStatus == nullptr || GetState().pTransport == nullptr) return 0;
  const sLinkStatus status = GetState().pTransport->GetLinkStatus();
  pStatus->nState = static_cast<int32_t>(status.eState);
  pStatus->nSession = status.nSession;
  pStatus->nDataAgeMs = status.nDataAgeMs;
  return 1;
}

}  // extern "C"
