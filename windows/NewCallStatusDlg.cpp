#include "windows/NewCallStatusDlg.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "link/RmsRequests.h"
#include "platform/qt/ModalDialog.h"
#include "windows/WindowPlacement.h"

CNewCallStatus::CNewCallStatus(QWidget* pParent) : QDialog(pParent), m_pStatusBox(new QComboBox(this)) {
  // Only a picked entry counts as a status, so the box offers no field to type into.
  m_pStatusBox->setMinimumWidth(200);
  auto* pSetStatus = new QPushButton(QStringLiteral("Set Status"), this);
  pSetStatus->setDefault(true);
  auto* pLayout = new QVBoxLayout(this);
  pLayout->addWidget(m_pStatusBox);
  pLayout->addWidget(pSetStatus, 0, Qt::AlignRight);
  connect(pSetStatus, &QPushButton::clicked, this, &CNewCallStatus::SetStatus);
}

void CNewCallStatus::Prepare() {
  setWindowIcon(QApplication::style()->standardIcon(QStyle::SP_MessageBoxInformation));
  m_pStatusBox->clear();
  m_strChosenStatus.clear();
  setResult(QDialog::Rejected);
  if (m_nCallKind == kCallObligation) {
    setWindowTitle(QStringLiteral("NewObligatoryCallStatus"));
    m_pStatusBox->addItems({QStringLiteral("OPEN"), QStringLiteral("CLOSE"), QStringLiteral("SELL OFF")});
  } else if (m_nCallKind == kCallMargin) {
    setWindowTitle(QStringLiteral("NewMarginCallStatus"));
    m_pStatusBox->addItems({QStringLiteral("LEVEL 1"), QStringLiteral("LEVEL 2"), QStringLiteral("OPEN"),
                            QStringLiteral("CLOSE")});
  } else {
    setWindowTitle(QString());
  }
  m_pStatusBox->setCurrentIndex(-1);
  adjustSize();
  CentreOn(*this, m_pOwner);
}

bool CNewCallStatus::RunModal() {
  Prepare();
  return RunModalDialog(*this) == QDialog::Accepted;
}

void CNewCallStatus::SetStatus() {
  if (m_pStatusBox->currentIndex() >= 0) m_strChosenStatus = m_pStatusBox->currentText().toStdString();
  accept();
}
