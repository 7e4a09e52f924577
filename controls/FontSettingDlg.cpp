#include "controls/FontSettingDlg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "controls/FontChoice.h"
#include "controls/HotFontCombo.h"
#include "platform/qt/ModalDialog.h"

namespace {

std::vector<std::string> GetComboEntries(const QComboBox& combo) {
  std::vector<std::string> arrEntries;
  for (int nIndex = 0; nIndex < combo.count(); ++nIndex) arrEntries.push_back(combo.itemText(nIndex).toStdString());
  return arrEntries;
}

void SelectEntryWithPrefix(QComboBox& combo, const std::string& strPrefix) {
  const int32_t nIndex = FindEntryWithPrefix(GetComboEntries(combo), strPrefix);
  if (nIndex >= 0) combo.setCurrentIndex(nIndex);
}

}  // namespace

CFontSettingDlg::CFontSettingDlg(const std::string& strFontName, const std::string& strFontSize, QWidget* pParent)
    : QDialog(pParent), m_strFontName(strFontName), m_strFontSize(strFontSize) {
  setWindowTitle(QStringLiteral("Font Dialog"));
  m_pFontChoice = new CHotFontCombo(this);
  m_pFontChoice->SetCurrentFontName(kDefaultFontChoice);
  m_pFontChoice->FillFonts();
  m_pSizeChoice = new QComboBox(this);
  for (const std::string& strSize : GetFontSizeTexts()) m_pSizeChoice->addItem(QString::fromStdString(strSize));
  m_pSizeChoice->setCurrentIndex(0);

  auto* pOk = new QPushButton(QStringLiteral("&OK"), this);
  auto* pCancel = new QPushButton(QStringLiteral("&Cancel"), this);
  pOk->setDefault(true);
  connect(pOk, &QPushButton::clicked, this, &CFontSettingDlg::accept);
  connect(pCancel, &QPushButton::clicked, this, &CFontSettingDlg::reject);

  auto* pChoices = new QGridLayout();
  pChoices->addWidget(new QLabel(QStringLiteral("Font:"), this), 0, 0);
  pChoices->addWidget(m_pFontChoice, 0, 1);
  pChoices->addWidget(new QLabel(QStringLiteral("Size:"), this), 1, 0);
  pChoices->addWidget(m_pSizeChoice, 1, 1);
  pChoices->setColumnStretch(1, 1);
  auto* pButtons = new QHBoxLayout();
  pButtons->addStretch();
  pButtons->addWidget(pOk);
  pButtons->addWidget(pCancel);
  auto* pMain = new QVBoxLayout(this);
  pMain->addLayout(pChoices);
  pMain->addLayout(pButtons);
  setMinimumWidth(280);
}

int CFontSettingDlg::DoModal() {
  // A dialog answered through the hook is never shown, so the presets are selected here too.
  SelectPresets();
  return RunModalDialog(*this);
}

void CFontSettingDlg::SelectPresets() {
  SelectEntryWithPrefix(*m_pFontChoice, m_strFontName);
  SelectEntryWithPrefix(*m_pSizeChoice, m_strFontSize);
}

void CFontSettingDlg::showEvent(QShowEvent* pEvent) {
  QDialog::showEvent(pEvent);
  SelectPresets();
}

void CFontSettingDlg::accept() {
  if (m_pFontChoice->currentIndex() >= 0) m_strFontName = m_pFontChoice->currentText().toStdString();
  if (m_pSizeChoice->currentIndex() >= 0) m_strFontSize = m_pSizeChoice->currentText().toStdString();
  QDialog::accept();
}
