#include "windows/CustomAlertSettingDlg.h"

#include <QLabel>
#include <QVBoxLayout>

CCustomAlertSettingDlg::CCustomAlertSettingDlg(QWidget* pParent)
    : QDialog(pParent), m_pListKey(new QLabel(this)) {
  setWindowTitle(QStringLiteral("Custom Column Alerts Window"));
  // The current list key is kept in a hidden label, as the rule controls read it.
  m_pListKey->hide();
  auto* pLayout = new QVBoxLayout(this);
  pLayout->addWidget(new QLabel(QStringLiteral("Custom Columns"), this));
  resize(420, 300);
}

void CCustomAlertSettingDlg::PopulateAlertSettings(CFilterListCtrl& /*list*/, const std::string& strListKey) {
  m_strListKey = strListKey;
  m_pListKey->setText(QString::fromStdString(strListKey));
}
