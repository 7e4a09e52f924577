#include "lists/dialogs/CustomizedAppearance.h"

#include <QComboBox>
#include <QCursor>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolTip>
#include <QVBoxLayout>
#include <algorithm>

#include "controls/ClrButton.h"
#include "controls/ColorChooser.h"
#include "controls/ColorRef.h"
#include "controls/FontSettingDlg.h"
#include "controls/XListCtrl.h"
#include "lists/AppearanceLine.h"
#include "lists/dialogs/PluginListSettings.h"
#include "platform/MessageBox.h"
#include "platform/qt/WindowMessage.h"

namespace {

constexpr int kKeywordColumnWidth = 100;
constexpr int kKeywordTextColumn = 0;
constexpr int kKeywordColourColumn = 1;
constexpr const char* kTipProperty = "orvaneTip";

// The module's instance; it lives until the process ends.
CCustomizedAppearance* g_pAppearanceDialog = nullptr;

std::string ToLowerAscii(std::string strText) {
  std::transform(strText.begin(), strText.end(), strText.begin(),
                 [](char chText) { return chText >= 'A' && chText <= 'Z' ? static_cast<char>(chText - 'A' + 'a') : chText; });
  return strText;
}

}  // namespace

CCustomizedAppearance& CCustomizedAppearance::GetInstance() {
  if (g_pAppearanceDialog == nullptr) {
    g_pAppearanceDialog = new CCustomizedAppearance();
  }
  return *g_pAppearanceDialog;
}

CCustomizedAppearance* CCustomizedAppearance::FindInstance() { return g_pAppearanceDialog; }

void CCustomizedAppearance::ShowForList(IAppearanceList& list) {
  CCustomizedAppearance& dialog = GetInstance();
  dialog.setWindowTitle(QString::fromStdString(kAppearanceTitle + list.GetProfileName()));
  dialog.Initialise(list);
  dialog.show();
  dialog.raise();
  dialog.activateWindow();
  if (QWidget* pWidget = list.GetAppearanceWidget(); pWidget != nullptr) {
    const QPoint ptCentre = pWidget->mapToGlobal(pWidget->rect().center());
    dialog.move(ptCentre - dialog.rect().center());
  }
}

void CCustomizedAppearance::ForgetListIfOpen(const IAppearanceList& list) {
  if (g_pAppearanceDialog != nullptr && g_pAppearanceDialog->m_pList == &list) {
    g_pAppearanceDialog->m_pList = nullptr;
    g_pAppearanceDialog->hide();
  }
}

CCustomizedAppearance::CCustomizedAppearance() {
  setObjectName(QStringLiteral("Customize Appearance"));
  setModal(false);
  m_pProperty = new QComboBox(this);
  m_pProperty->addItem(QString::fromLatin1(kPropertyText));
  m_pProperty->addItem(QString::fromLatin1(kPropertyBackground));
  m_pColourButton = new CClrButton(this);
  m_pColourButton->setFixedSize(60, 22);

  m_pKeywordGroup = new QGroupBox(QStringLiteral("Depends on Column Text"), this);
  m_pKeywordGroup->installEventFilter(this);
  m_pColumnChoice = new QComboBox(m_pKeywordGroup);
  m_pChangeColumn = new QPushButton(QStringLiteral("..."), m_pKeywordGroup);
  m_pKeywordBox = new QLineEdit(m_pKeywordGroup);
  m_pAdd = new QPushButton(QStringLiteral("+"), m_pKeywordGroup);
  m_pChangeColumn->setFixedWidth(30);
  m_pAdd->setFixedWidth(30);
  m_pKeywordTable = new CXListCtrl(m_pKeywordGroup);
  m_pKeywordTable->InsertColumn(kKeywordTextColumn, QStringLiteral("Keyword"), kKeywordColumnWidth);
  m_pKeywordTable->InsertColumn(kKeywordColourColumn, QStringLiteral("Color"), kKeywordColumnWidth);
  m_pKeywordTable->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_pKeywordTable->setSelectionMode(QAbstractItemView::ExtendedSelection);
  m_pKeywordTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_pKeywordTable->verticalHeader()->hide();
  m_pKeywordTable->setFixedSize(2 * kKeywordColumnWidth + 4, 120);
  m_pKeywordTable->installEventFilter(this);
  auto* pGroupLayout = new QGridLayout(m_pKeywordGroup);
  pGroupLayout->addWidget(m_pColumnChoice, 0, 0);
  pGroupLayout->addWidget(m_pChangeColumn, 0, 1);
  pGroupLayout->addWidget(m_pKeywordBox, 1, 0);
  pGroupLayout->addWidget(m_pAdd, 1, 1);
  pGroupLayout->addWidget(m_pKeywordTable, 2, 0, 1, 2);

  m_pFontButton = new CClrButton(this);
  m_pFontButton->setMinimumSize(180, 24);
  m_pApply = new QPushButton(QStringLiteral(" &Apply Settings"), this);
  m_pCancel = new QPushButton(QStringLiteral("&Cancel"), this);

  SetTip(m_pColumnChoice, "Choose the column for Keywords");
  SetTip(m_pChangeColumn, "Click to change column for Keywords");
  SetTip(m_pKeywordBox, "Enter Text to add a keyword to list");
  SetTip(m_pAdd, "Click to add a keyword to list");

  connect(m_pProperty, &QComboBox::currentIndexChanged, this, &CCustomizedAppearance::OnPropertyChanged);
  connect(m_pColourButton, &QPushButton::clicked, this, &CCustomizedAppearance::OnColourButton);
  connect(m_pFontButton, &QPushButton::clicked, this, &CCustomizedAppearance::OnFontButton);
  connect(m_pChangeColumn, &QPushButton::clicked, this, &CCustomizedAppearance::OnChangeColumn);
  connect(m_pColumnChoice, &QComboBox::activated, this, &CCustomizedAppearance::OnColumnChosen);
  connect(m_pAdd, &QPushButton::clicked, this, &CCustomizedAppearance::OnAddKeyword);
  connect(m_pApply, &QPushButton::clicked, this, &CCustomizedAppearance::ApplySettings);
  connect(m_pCancel, &QPushButton::clicked, this, &QDialog::hide);

  auto* pPropertyRow = new QHBoxLayout();
  pPropertyRow->addWidget(new QLabel(QStringLiteral("Property For"), this));
  pPropertyRow->addWidget(m_pProperty, 1);
  pPropertyRow->addWidget(new QLabel(QStringLiteral("Colour"), this));
  pPropertyRow->addWidget(m_pColourButton);
  auto* pFontRow = new QHBoxLayout();
  pFontRow->addWidget(new QLabel(QStringLiteral("Font"), this));
  pFontRow->addWidget(m_pFontButton, 1);
  auto* pButtonRow = new QHBoxLayout();
  pButtonRow->addStretch();
  pButtonRow->addWidget(m_pApply);
  pButtonRow->addWidget(m_pCancel);
  auto* pMain = new QVBoxLayout(this);
  // The dialog takes the size of what it shows: it grows and shrinks with the keyword group.
  pMain->setSizeConstraint(QLayout::SetFixedSize);
  pMain->addLayout(pPropertyRow);
  pMain->addWidget(m_pKeywordGroup);
  pMain->addLayout(pFontRow);
  pMain->addLayout(pButtonRow);
  m_pKeywordGroup->hide();
}

void CCustomizedAppearance::SetTip(QWidget* pWidget, const char* szText) {
  pWidget->setProperty(kTipProperty, QString::fromLatin1(szText));
  pWidget->setToolTip(QStringLiteral("<span style=\"color:blue\">%1</span>").arg(QString::fromLatin1(szText)));
  pWidget->installEventFilter(this);
}

void CCustomizedAppearance::Initialise(IAppearanceList& list) {
  m_pList = &list;
  m_working = list.GetAppearance();
  m_nTableColumn = m_working.nKeywordColumn;
  m_pColumnChoice->clear();
  m_pKeywordTable->DeleteAllItems();
  m_pKeywordBox->clear();
  const bool bColours = list.DoesAppearanceApply();
  for (QWidget* pWidget : std::initializer_list<QWidget*>{m_pProperty, m_pColourButton, m_pColumnChoice,
                                                           m_pKeywordTable, m_pChangeColumn, m_pKeywordBox, m_pAdd}) {
    pWidget->setEnabled(bColours);
  }
  if (m_working.bKeywordsAvailable) {
    for (const std::string& strHeading : list.GetColumnHeadings()) {
      m_pColumnChoice->addItem(QString::fromStdString(strHeading));
    }
    m_pColumnChoice->setCurrentIndex(m_working.nKeywordColumn < m_pColumnChoice->count() ? m_working.nKeywordColumn
                                                                                         : -1);
    m_pColumnChoice->setEnabled(false);
    if (m_working.pKeywords != nullptr && m_working.pKeywordColours != nullptr) {
      const size_t nCount = std::min(m_working.pKeywords->size(), m_working.pKeywordColours->size());
      for (size_t nIndex = 0; nIndex < nCount; ++nIndex) {
        InsertKeywordRow(static_cast<int>(nIndex), (*m_working.pKeywords)[nIndex],
                         (*m_working.pKeywordColours)[nIndex]);
      }
    }
  }
  {
    const QSignalBlocker blocker(m_pProperty);
    m_pProperty->setCurrentIndex(m_pProperty->findText(QString::fromLatin1(kPropertyBackground)));
  }
  ShowPropertyColour();
  m_pKeywordGroup->hide();
  m_pFontButton->SetFont(m_working.strFontName, m_working.strFontSize, -1);
}

bool CCustomizedAppearance::IsTextProperty() const {
  return m_pProperty->currentText() == QString::fromLatin1(kPropertyText);
}

void CCustomizedAppearance::ShowPropertyColour() {
  const uint32_t clrShown = IsTextProperty() ? m_working.clrText : m_working.clrBackground;
  m_pColourButton->SetColours(clrShown, clrShown);
}

void CCustomizedAppearance::OnPropertyChanged() {
  ShowPropertyColour();
  m_pKeywordGroup->setVisible(IsTextProperty() && m_working.bKeywordsAvailable);
}

void CCustomizedAppearance::OnColourButton() {
  uint32_t clrColour = IsTextProperty() ? m_working.clrText : m_working.clrBackground;
  if (!ChooseColor(this, clrColour)) return;
  (IsTextProperty() ? m_working.clrText : m_working.clrBackground) = clrColour;
  ShowPropertyColour();
}

void CCustomizedAppearance::OnFontButton() {
  CFontSettingDlg dialog(m_working.strFontName, m_working.strFontSize, this);
  if (dialog.DoModal() != QDialog::Accepted) return;
  m_working.strFontName = dialog.GetFontName();
  m_working.strFontSize = dialog.GetFontSize();
  m_pFontButton->SetFont(m_working.strFontName, m_working.strFontSize, -1);
}

void CCustomizedAppearance::OnChangeColumn() { m_pColumnChoice->setEnabled(true); }

void CCustomizedAppearance::OnColumnChosen(int nColumn) {
  // The box reports a choice even when the column stays the same; its keywords stay too.
  if (nColumn == m_nTableColumn) return;
  m_nTableColumn = nColumn;
  m_pKeywordTable->DeleteAllItems();
}

int32_t CCustomizedAppearance::GetKeywordColumn() const {
  const int nChosen = m_pColumnChoice->currentIndex();
  return nChosen >= 0 ? nChosen : m_working.nKeywordColumn;
}

void CCustomizedAppearance::InsertKeywordRow(int nRow, const std::string& strKeyword, uint32_t clrColour) {
  const int nInserted = m_pKeywordTable->InsertItem(nRow, QString::fromStdString(strKeyword));
  m_pKeywordTable->SetColorBox(nInserted, kKeywordColourColumn, clrColour);
}

std::vector<std::string> CCustomizedAppearance::GetKeywordTexts() const {
  std::vector<std::string> arrTexts;
  for (int nRow = 0; nRow < m_pKeywordTable->GetItemCount(); ++nRow) {
    arrTexts.push_back(m_pKeywordTable->GetItemText(nRow, kKeywordTextColumn).toStdString());
  }
  return arrTexts;
}

void CCustomizedAppearance::OnAddKeyword() {
  const std::string strKeyword = m_pKeywordBox->text().toStdString();
  if (strKeyword.empty()) {
    ShowMessageBox(kEnterKeywordText);
    return;
  }
  // The stored line separates its fields with commas and keeps keywords only after their
  // column: a keyword with a comma, or one without a column, would not read back.
  if (strKeyword.find(',') != std::string::npos) {
    ShowMessageBox(kKeywordCommaText);
    return;
  }
  if (GetKeywordColumn() < 0) {
    m_pColumnChoice->setEnabled(true);
    ShowMessageBox(kChooseKeywordColumnText);
    return;
  }
  // Every colour at its longest, as the colour boxes may still change.
  std::vector<std::string> arrKeywords = GetKeywordTexts();
  arrKeywords.push_back(strKeyword);
  const std::vector<uint32_t> arrLongestColours(arrKeywords.size(), MakeColorRef(255, 255, 255));
  if (!DoesAppearanceValueFit(FormatAppearanceValue(
          m_working, FormatKeywordPart(GetKeywordColumn(), arrKeywords, arrLongestColours)))) {
    ShowMessageBox(kKeywordsTooLongText);
    return;
  }
  InsertKeywordRow(static_cast<int>(FindKeywordInsertRow(GetKeywordTexts(), strKeyword)), strKeyword,
                   m_working.clrText);
  m_pKeywordBox->clear();
}

void CCustomizedAppearance::DeleteSelectedKeywords() {
  std::vector<int> arrRows;
  for (const QModelIndex& index : m_pKeywordTable->selectionModel()->selectedRows()) arrRows.push_back(index.row());
  std::sort(arrRows.rbegin(), arrRows.rend());
  for (const int nRow : arrRows) m_pKeywordTable->DeleteItem(nRow);
}

void CCustomizedAppearance::ApplySettings() {
  if (m_pList == nullptr) return;
  const int32_t nColumn = GetKeywordColumn();
  std::vector<std::string> arrKeywords;
  std::vector<uint32_t> arrColours;
  for (int nRow = 0; nRow < m_pKeywordTable->GetItemCount(); ++nRow) {
    uint32_t clrColour = 0;
    if (m_pKeywordTable->GetColorBox(nRow, kKeywordColourColumn, clrColour)) {
      arrKeywords.push_back(ToLowerAscii(m_pKeywordTable->GetItemText(nRow, kKeywordTextColumn).toStdString()));
      arrColours.push_back(clrColour);
    }
  }
  sAppearanceInfo working = m_working;
  working.nKeywordColumn = nColumn;
  const std::string strValue =
      FormatAppearanceValue(working, FormatKeywordPart(nColumn, arrKeywords, arrColours));
  // A line longer than the list reads back would lose its last keywords at the next start (a
  // longer font name can do that after the keywords were added).
  if (!DoesAppearanceValueFit(strValue)) {
    ShowMessageBox(kKeywordsTooLongText);
    return;
  }
  m_working.nKeywordColumn = nColumn;
  // The arrays are shared with the list: they are refilled in place.
  if (m_working.pKeywords != nullptr) m_working.pKeywords->clear();
  if (m_working.pKeywordColours != nullptr) m_working.pKeywordColours->clear();
  if (m_pKeywordTable->GetItemCount() > 0) {
    if (m_working.pKeywords == nullptr) m_working.pKeywords = std::make_shared<std::vector<std::string>>();
    if (m_working.pKeywordColours == nullptr) m_working.pKeywordColours = std::make_shared<std::vector<uint32_t>>();
    *m_working.pKeywords = arrKeywords;
    *m_working.pKeywordColours = arrColours;
  }
  m_pList->ApplyCustomizedAppearance(m_working);
  // A failed write is not reported: the list keeps what was applied.
  CPluginListSettings settings;
  WriteStoredAppearance(settings, m_pList->GetAppearanceKey(), strValue);
}

bool CCustomizedAppearance::eventFilter(QObject* pWatched, QEvent* pEvent) {
  if (pWatched == m_pKeywordTable && pEvent->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(pEvent)->key() == Qt::Key_Delete) {
    DeleteSelectedKeywords();
    return true;
  }
  // A colour box changed in the keyword table: the table holds the new colour already; the
  // notification's text is the receiver's to free.
  if (pWatched == m_pKeywordGroup && pEvent->type() == CWindowMessageEvent::GetEventType()) {
    auto* pMessage = static_cast<CWindowMessageEvent*>(pEvent);
    if (pMessage->m_nMessage == GetColorBoxClickedMessage()) {
      delete[] reinterpret_cast<char*>(pMessage->m_wParam);
      return true;
    }
  }
  // The tips show at once, not after the usual delay.
  if (pEvent->type() == QEvent::Enter) {
    if (auto* pWidget = qobject_cast<QWidget*>(pWatched); pWidget != nullptr && pWidget->property(kTipProperty).isValid()) {
      QToolTip::showText(QCursor::pos(), pWidget->toolTip(), pWidget);
    }
  }
  return QDialog::eventFilter(pWatched, pEvent);
}
