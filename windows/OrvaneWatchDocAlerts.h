// The alerts window: a dockable bar that keeps the message alerts the risk server reports.
// Until its lists are built it holds an empty list and keeps the alerts it is given.
#pragma once

#include <QDockWidget>
#include <memory>
#include <vector>

#include "model/AuxiliaryLists.h"

class COrvaneWatchDocAlerts : public QDockWidget {
 public:
  explicit COrvaneWatchDocAlerts(QWidget* pParent);
  ~COrvaneWatchDocAlerts() override;

  void AddMessageAlert(std::unique_ptr<sMessageAlert> pAlert) {
    m_arrMessageAlerts.push_back(std::move(pAlert));
  }
  const std::vector<std::unique_ptr<sMessageAlert>>& GetMessageAlerts() const { return m_arrMessageAlerts; }

 private:
  std::vector<std::unique_ptr<sMessageAlert>> m_arrMessageAlerts;
};
