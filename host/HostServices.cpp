#include "host/HostServices.h"

#include <QComboBox>
#include <QDir>
#include <QStandardPaths>
#include <QWidget>

#include "host/api/HalvoHostApi.h"

namespace {

struct sHostServiceState {
  std::string strUserDirectory;
  std::vector<std::string> arrDealers;
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

void ConfigureHostServices(const std::string& strUserDirectory, const std::vector<std::string>& arrDealers) {
  GetState().strUserDirectory = strUserDirectory;
  GetState().arrDealers = arrDealers;
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

// The transport behind receive controls is not part of this terminal yet: no control can be
// given, which a plug-in treats as a terminal without a server link.
HALVO_API CPyxoRxControl* GetPyxoRxControl(int32_t /*nKind*/, CPyxoRxNotifierBase* /*pReceiver*/) {
  return nullptr;
}

HALVO_API void DestoryPyxoRxCOntrol(CPyxoRxControl* /*pControl*/) {}

}  // extern "C"
