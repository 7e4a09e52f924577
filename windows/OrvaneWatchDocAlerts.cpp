#include "windows/OrvaneWatchDocAlerts.h"

#include "lists/widgets/CommonListCtrl.h"

COrvaneWatchDocAlerts::COrvaneWatchDocAlerts(QWidget* pParent)
    : QDockWidget(QStringLiteral("Orvane Watch Alerts"), pParent) {
  setObjectName(QStringLiteral("OrvaneWatchAlerts"));
  setWidget(new CCommonListCtrl(this));
}

COrvaneWatchDocAlerts::~COrvaneWatchDocAlerts() = default;
