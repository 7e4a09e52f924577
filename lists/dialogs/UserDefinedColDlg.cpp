#include "lists/dialogs/UserDefinedColDlg.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/MessageBox.h"

namespace {

constexpr const char* kOperators = "+-*/()";

// The module's instance; it lives until the process ends.
CUserDefinedColDlg* g_pCustomColumnDialog = nullptr;

}  // namespace

CUserDefinedColDlg& CUserDefinedColDlg::GetInstance() {
  if (g_pCustomColumnDialog == nullptr) {
    g_pCustomColumnDialog = new CUserDefinedColDlg();
  }
  return *g_pCustomColumnDialog;
}

CUserDefinedColDlg::CUserDefinedColDlg() {
  setWindowTitle(QStringLiteral("Add User Defined Column"));
  setModal(false);
  m_pColumnList = new QListWidget(this);
  m_pExpressionBox = new QPlainTextEdit(this);
  m_pChooser = new QComboBox(this);
  m_pNameLabel = new QLabel(QStringLiteral("Column Name"), this);
  m_pNameBox = new QLineEdit(this);

  auto* pButtons = new QGridLayout();
  for (const char* pOperator = kOperators; *pOperator != '\0'; ++pOperator) {
    const char chOperator = *pOperator;
    QPushButton* pButton = AddButton(QString(QChar(chOperator)));
    pButton->installEventFilter(this);
    connect(pButton, &QPushButton::clicked, this, [this, chOperator] { OnOperator(chOperator); });
    const int nIndex = static_cast<int>(pOperator - kOperators);
    pButtons->addWidget(pButton, nIndex / 3, nIndex % 3);
  }
  QPushButton* pEnd = AddButton(QStringLiteral("End"));
  connect(pEnd, &QPushButton::clicked, this, &CUserDefinedColDlg::OnEnd);
  pButtons->addWidget(pEnd, 2, 0);
  QPushButton* pClear = AddButton(QStringLiteral("Clear"));
  connect(pClear, &QPushButton::clicked, this, &CUserDefinedColDlg::OnClear);
  pButtons->addWidget(pClear, 2, 1);

  auto* pGroup = new QGroupBox(QStringLiteral("Column Expression"), this);
  auto* pGroupLayout = new QHBoxLayout(pGroup);
  pGroupLayout->addWidget(m_pColumnList);
  pGroupLayout->addLayout(pButtons);
  pGroupLayout->addWidget(m_pExpressionBox);

  m_pConfirm = new QPushButton(QStringLiteral("Add"), this);
  m_pCancel = new QPushButton(QStringLiteral("&Cancel"), this);
  connect(m_pConfirm, &QPushButton::clicked, this, &CUserDefinedColDlg::OnConfirm);
  connect(m_pCancel, &QPushButton::clicked, this, &QDialog::hide);
  connect(m_pChooser, &QComboBox::currentIndexChanged, this, &CUserDefinedColDlg::OnChooserChanged);

  auto* pNameRow = new QHBoxLayout();
  pNameRow->addWidget(m_pNameLabel);
  pNameRow->addWidget(m_pNameBox);
  pNameRow->addWidget(m_pChooser);
  auto* pConfirmRow = new QHBoxLayout();
  pConfirmRow->addStretch();
  pConfirmRow->addWidget(m_pConfirm);
  pConfirmRow->addWidget(m_pCancel);
  auto* pMain = new QVBoxLayout(this);
  pMain->addLayout(pNameRow);
  pMain->addWidget(pGroup);
  pMain->addLayout(pConfirmRow);
}

QPushButton* CUserDefinedColDlg::AddButton(const QString& strLabel) {
  auto* pButton = new QPushButton(strLabel, this);
  pButton->setAutoDefault(false);
  m_arrButtons.push_back(pButton);
  return pButton;
}

QPushButton* CUserDefinedColDlg::GetButton(const QString& strLabel) const {
  for (QPushButton* pButton : m_arrButtons) {
    if (pButton->text() == strLabel) {
      return pButton;
    }
  }
  return nullptr;
}

bool CUserDefinedColDlg::Initialise(ICustomColumnList& list, int32_t nMode) {
  sCustomDialogSetup setup = SetUpCustomDialog(list.GetCustomColumnLayout(), nMode);
  if (!setup.strMessage.empty()) {
    ShowMessageBox(setup.strMessage);
    return false;
  }
  m_pList = &list;
  m_nMode = nMode;
  m_arrColumns = std::move(setup.arrColumns);
  m_arrChooser = std::move(setup.arrChooser);

  // The chooser is filled with its signal blocked: nothing is chosen until the user chooses.
  const QSignalBlocker blocker(m_pChooser);
  m_pChooser->clear();
  for (const sColumnChoice& choice : m_arrChooser) {
    m_pChooser->addItem(QString::fromStdString(choice.strName), choice.nColumn);
  }
  m_pChooser->setCurrentIndex(-1);
  m_pColumnList->clear();
  for (const sColumnChoice& choice : m_arrColumns) {
    auto* pItem = new QListWidgetItem(QString::fromStdString(choice.strName), m_pColumnList);
    pItem->setData(Qt::UserRole, choice.nColumn);
  }
  m_pExpressionBox->clear();
  m_pNameBox->clear();

  setWindowTitle(QString::fromStdString(setup.strCaption));
  m_pConfirm->setText(QString::fromStdString(setup.strConfirmLabel));
  m_pNameLabel->setVisible(setup.bNameBoxShown);
  m_pNameBox->setVisible(setup.bNameBoxShown);
  m_pChooser->setVisible(!setup.bNameBoxShown);
  show();
  raise();
  activateWindow();
  if (setup.bNameBoxShown) {
    m_pNameBox->setFocus();
  }
  return true;
}

void CUserDefinedColDlg::ForgetListIfOpen(const ICustomColumnList& list) {
  if (g_pCustomColumnDialog != nullptr && g_pCustomColumnDialog->m_pList == &list) {
    g_pCustomColumnDialog->m_pList = nullptr;
    g_pCustomColumnDialog->hide();
  }
}

bool CUserDefinedColDlg::eventFilter(QObject* pWatched, QEvent* pEvent) {
  // The operator buttons read the Ctrl key from the input that clicks them.
  const QEvent::Type nType = pEvent->type();
  if (nType == QEvent::MouseButtonPress || nType == QEvent::MouseButtonRelease) {
    m_bCtrlHeld = (static_cast<QMouseEvent*>(pEvent)->modifiers() & Qt::ControlModifier) != 0;
  } else if (nType == QEvent::KeyPress || nType == QEvent::KeyRelease) {
    m_bCtrlHeld = (static_cast<QKeyEvent*>(pEvent)->modifiers() & Qt::ControlModifier) != 0;
  }
  return QDialog::eventFilter(pWatched, pEvent);
}

const sColumnChoice* CUserDefinedColDlg::GetSelectedColumn() const {
  const int nRow = m_pColumnList->currentRow();
  if (nRow < 0 || static_cast<size_t>(nRow) >= m_arrColumns.size() ||
      !m_pColumnList->item(nRow)->isSelected()) {
    return nullptr;
  }
  return &m_arrColumns[static_cast<size_t>(nRow)];
}

const sColumnChoice* CUserDefinedColDlg::GetChosenColumn() const {
  const int nIndex = m_pChooser->currentIndex();
  if (nIndex < 0 || static_cast<size_t>(nIndex) >= m_arrChooser.size()) {
    return nullptr;
  }
  return &m_arrChooser[static_cast<size_t>(nIndex)];
}

void CUserDefinedColDlg::AppendText(const sAppendText& append) {
  if (!append.strMessage.empty()) {
    ShowMessageBox(append.strMessage);
    activateWindow();
    return;
  }
  m_pExpressionBox->setPlainText(m_pExpressionBox->toPlainText() + QString::fromStdString(append.strText));
}

void CUserDefinedColDlg::OnOperator(char chOperator) {
  const bool bCtrl = m_bCtrlHeld;
  m_bCtrlHeld = false;
  AppendText(GetOperatorAppend(chOperator, bCtrl, GetSelectedColumn()));
}

void CUserDefinedColDlg::OnEnd() { AppendText(GetEndAppend(GetSelectedColumn())); }

void CUserDefinedColDlg::OnClear() { m_pExpressionBox->clear(); }

void CUserDefinedColDlg::OnChooserChanged(int nIndex) {
  if (m_pList == nullptr || nIndex < 0 || static_cast<size_t>(nIndex) >= m_arrChooser.size()) {
    return;
  }
  const auto& arrColumns = m_pList->GetCustomColumnLayout().m_arrColumns;
  const int32_t nColumn = m_arrChooser[static_cast<size_t>(nIndex)].nColumn;
  if (nColumn >= 0 && static_cast<size_t>(nColumn) < arrColumns.size()) {
    m_pExpressionBox->setPlainText(
        QString::fromStdString(arrColumns[static_cast<size_t>(nColumn)].strFormulaText));
  }
}

bool CUserDefinedColDlg::ConfirmDeletion(const CListLayout& layout) const {
  const sCustomColumnUsers users = FindCustomColumnUsers(layout, GetChosenColumn());
  if (!users.strMessage.empty()) {
    return true;  // the deletion itself reports it
  }
  std::vector<std::string> arrNames;
  for (const int32_t nColumn : users.arrDeleted) {
    arrNames.emplace_back(GetColumnNameView(layout.m_arrColumns[static_cast<size_t>(nColumn)]));
  }
  const std::string strQuestion =
      FormatDeleteQuestion(layout, users, m_pList->DescribeAlertRulesOn(arrNames));
  return strQuestion.empty() || AskYesNo(strQuestion);
}

void CUserDefinedColDlg::OnConfirm() {
  if (m_pList == nullptr) {
    return;
  }
  CListLayout& layout = m_pList->GetCustomColumnLayout();
  const std::string strDisplay = m_pExpressionBox->toPlainText().toStdString();
  sCustomColumnChange change;
  switch (m_nMode) {
    case kCustomDialogEdit:
      change = EditCustomColumn(layout, m_arrColumns, GetChosenColumn(), strDisplay);
      break;
    case kCustomDialogDelete:
      if (!ConfirmDeletion(layout)) {
        return;
      }
      change = DeleteCustomColumn(layout, GetChosenColumn());
      break;
    default:
      change = AddCustomColumn(layout, m_arrColumns, m_pNameBox->text().toStdString(), strDisplay,
                               m_nMode == kCustomDialogAddProtected);
      break;
  }
  if (!change.Succeeded()) {
    ShowMessageBox(change.strMessage);
    return;
  }
  hide();
  m_pList->ApplyCustomColumnChange(change);
}
