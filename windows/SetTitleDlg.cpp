#include "windows/SetTitleDlg.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/MessageBox.h"

CSetTitleDlg::CSetTitleDlg()
    : m_pEdit(new QLineEdit(this)),
      m_pSave(new QPushButton(QStringLiteral("Save"), this)),
      m_pViewName(new QLabel(this)) {
  setWindowTitle(QStringLiteral("Set Title"));
  m_pEdit->setProperty("controlId", kTitleEditId);
  m_pSave->setProperty("controlId", kTitleSaveId);
  m_pViewName->setProperty("controlId", kTitleViewLabelId);
  m_pViewName->hide();
  // No default button: Enter closes the dialog like Escape instead of saving.
  m_pSave->setAutoDefault(false);
  m_pSave->setDefault(false);
  m_pEdit->setMinimumWidth(220);

  auto* pLayout = new QHBoxLayout(this);
  pLayout->addWidget(m_pEdit);
  pLayout->addWidget(m_pSave);
  connect(m_pSave, &QPushButton::clicked, this, &CSetTitleDlg::Save);
}

void CSetTitleDlg::PrepareFor(QWidget* pBar, const QString& strViewName) {
  m_pViewName->setText(strViewName);
  m_pEdit->clear();
  m_pBar = pBar;
}

QString CSetTitleDlg::GetViewName() const { return m_pViewName->text(); }

void CSetTitleDlg::Save() {
  const QString strTitle = m_pEdit->text();
  if (strTitle.isEmpty()) {
    ShowMessageBox("Please enter a list name");
    return;
  }
  if (m_pBar != nullptr) m_pBar->setWindowTitle(strTitle);
  hide();
}

void CSetTitleDlg::keyPressEvent(QKeyEvent* pEvent) {
  if (pEvent->key() == Qt::Key_Return || pEvent->key() == Qt::Key_Enter) {
    reject();
    return;
  }
  QDialog::keyPressEvent(pEvent);
}
