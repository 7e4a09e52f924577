#include "windows/CustomAlertSettingDlg.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <array>

#include "link/WatchLists.h"
#include "lists/CellText.h"
#include "lists/widgets/FilterListCtrl.h"
#include "platform/MessageBox.h"
#include "plugin/HostServices.h"

namespace {

// What the host is asked for: dealers or clients (6), all of them (1).
constexpr int32_t kDealersKind = 6;
constexpr int32_t kDealersFlag = 1;

constexpr std::array<sColumnDef, 4> kRuleColumns = {{
    {"Custom Column Name", kAlignLeft, kSortText},
    {"Expression", kAlignRight, kSortText},
    {"Value", kAlignRight, kSortDecimal},
    {"Custom Column Number", kAlignRight, kSortDecimal},
}};

void FoldCase(std::string_view strText, std::string& strFolded) {
  strFolded.assign(strText);
  std::transform(strFolded.begin(), strFolded.end(), strFolded.begin(),
                 [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
}

// Selects the first entry the match finds; without one the selection stays.
void SelectMatching(QComboBox& box, const std::string& strText, Qt::MatchFlags flags) {
  const int nIndex = box.findText(QString::fromStdString(strText), flags);
  if (nIndex >= 0) box.setCurrentIndex(nIndex);
}

}  // namespace

CCustomAlertSettingDlg::CCustomAlertSettingDlg(QWidget* pParent)
    : QDialog(pParent),
      m_pNames(new QComboBox(this)),
      m_pExpressions(new QComboBox(this)),
      m_pValue(new QLineEdit(this)),
      m_pUpdate(new QPushButton(QStringLiteral("Update"), this)),
      m_pRuleList(new CFilterListCtrl(this)),
      m_pListKey(new QLabel(this)),
      m_pNumbers(new QComboBox(this)),
      m_pDealers(new QComboBox(this)) {
  setWindowTitle(QStringLiteral("Custom Column Alerts Window"));
  m_pListKey->hide();
  m_pNumbers->hide();
  m_pDealers->hide();
  m_pDealers->setObjectName(QString::number(kDealersControlId));
  LayOutControls();

  const auto updateDealers = [this] { m_bDealersStale = true; };
  QAbstractItemModel* pDealerModel = m_pDealers->model();
  connect(pDealerModel, &QAbstractItemModel::rowsInserted, this, updateDealers);
  connect(pDealerModel, &QAbstractItemModel::rowsRemoved, this, updateDealers);
  connect(pDealerModel, &QAbstractItemModel::modelReset, this, updateDealers);
  connect(pDealerModel, &QAbstractItemModel::dataChanged, this, updateDealers);
  if (const PFN_pu_PopulateAllDealersOrClients pfnPopulate = FindPopulateDealersService())
    pfnPopulate(this, kDealersControlId, kDealersKind, kDealersFlag);

  m_pExpressions->insertItem(0, QString::fromLatin1(kLessOrEqualText));
  m_pExpressions->insertItem(1, QString::fromLatin1(kGreaterOrEqualText));
  m_pExpressions->setCurrentIndex(-1);
  SetUpRuleList();

  m_pUpdate->setDefault(true);
  connect(m_pUpdate, &QPushButton::clicked, this, &CCustomAlertSettingDlg::UpdateRule);
  // The numbers drop-down follows the user's choice of a name, index for index.
  connect(m_pNames, &QComboBox::activated, m_pNumbers, &QComboBox::setCurrentIndex);
}

// The rule list goes first: its rows point at the rules of the map.
CCustomAlertSettingDlg::~CCustomAlertSettingDlg() { delete m_pRuleList; }

void CCustomAlertSettingDlg::LayOutControls() {
  auto* pLayout = new QGridLayout(this);
  pLayout->addWidget(new QLabel(QStringLiteral("Custom Columns"), this), 0, 0);
  pLayout->addWidget(new QLabel(QStringLiteral("Expression"), this), 0, 1);
  pLayout->addWidget(new QLabel(QStringLiteral("Value"), this), 0, 2);
  pLayout->addWidget(m_pNames, 1, 0);
  pLayout->addWidget(m_pExpressions, 1, 1);
  pLayout->addWidget(m_pValue, 1, 2);
  pLayout->addWidget(m_pUpdate, 1, 3);
  pLayout->addWidget(m_pRuleList, 2, 0, 1, 4);
  pLayout->setRowStretch(2, 1);
  m_pNames->setMinimumContentsLength(16);
  m_pExpressions->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  resize(560, 320);
}

void CCustomAlertSettingDlg::SetUpRuleList() {
  m_pRuleList->setObjectName(QString::fromLatin1(kCustomAlertListName));
  m_pRuleList->GetLayout().LoadColumnTable(kCustomAlertListName, kRuleColumns);
  m_pRuleList->LoadProfile();
  m_pRuleList->SetCellTextFn(MakeCellTextFn(&GetCustomAlertCellText));
  m_pRuleList->SetCustomColumnsAllowed(false);
  // Data mode brings the header's filter row. New rows are appended and show at the top.
  m_pRuleList->SetDataMode(true);
  m_pRuleList->SetReverse(true);
  connect(m_pRuleList, &CFilterListCtrl::FilterChanged, m_pRuleList, [this](int) { m_pRuleList->Filter(); });
  connect(m_pRuleList, &QAbstractItemView::doubleClicked, this,
          [this](const QModelIndex& index) { EditRuleAt(index.row()); });
  m_pRuleList->installEventFilter(this);
}

void CCustomAlertSettingDlg::PopulateAlertSettings(CFilterListCtrl& list, const std::string& strListKey) {
  const CListLayout& layout = list.GetLayout();
  const auto nColumnCount = static_cast<int32_t>(layout.m_arrColumns.size());
  if (layout.m_nCatalogueCount > nColumnCount) {
    ShowMessageBox("Error while adding user defined cols");
    return;
  }
  m_pListKey->setText(QString::fromStdString(strListKey));
  m_pNames->clear();
  m_pNumbers->clear();
  for (int32_t nColumn = layout.m_nCatalogueCount; nColumn < nColumnCount; ++nColumn) {
    m_pNames->addItem(QString::fromUtf8(layout.m_arrColumns[static_cast<size_t>(nColumn)].szName), nColumn);
    m_pNumbers->addItem(QString::number(nColumn));
  }
  // Nothing is chosen until the user chooses.
  m_pNames->setCurrentIndex(-1);
  m_pNumbers->setCurrentIndex(-1);
  m_pRuleList->DeleteAllRows();

  if (std::find(kWatchListKeys.begin(), kWatchListKeys.end(), strListKey) == kWatchListKeys.end()) return;
  for (int nIndex = 0; nIndex < m_pNames->count(); ++nIndex) {
    if (const CustomAlertSetting* pRule =
            m_rules.Load(MakeRuleKey(m_pNames->itemText(nIndex).toStdString(), strListKey)))
      ShowRule(*pRule);
  }
}

void CCustomAlertSettingDlg::ClearRuleFields() {
  m_pExpressions->setCurrentIndex(-1);
  m_pValue->clear();
}

void CCustomAlertSettingDlg::SaveAlertSettings() {
  m_pRuleList->DeleteAllRows();
  m_rules.SaveAll();
}

std::string CCustomAlertSettingDlg::GetListKey() const { return m_pListKey->text().toStdString(); }

void CCustomAlertSettingDlg::ShowRule(const CustomAlertSetting& rule) {
  // The rows are the current list key's rules of the map, so a row with the same column name
  // already shows this rule, whose content has changed.
  const CFilterListStore& store = m_pRuleList->GetStore();
  for (int32_t nIndex = 0; nIndex < store.GetStoreCount(); ++nIndex) {
    const auto* pShown = static_cast<const CustomAlertSetting*>(store.GetStoreRecord(nIndex));
    if (pShown != nullptr && pShown->strColumnName == rule.strColumnName) {
      m_pRuleList->viewport()->update();
      return;
    }
  }
  m_pRuleList->InsertRow(0, &rule);
}

void CCustomAlertSettingDlg::UpdateRule() {
  if (m_pNames->currentIndex() < 0) {
    ShowMessageBox("Please select a custom column");
    return;
  }
  if (m_pNumbers->currentIndex() < 0 || m_pExpressions->currentIndex() < 0) {
    ShowMessageBox("Please select a expression");
    return;
  }
  if (m_pValue->text().isEmpty()) {
    ShowMessageBox("Please enter some value");
    return;
  }
  CustomAlertSetting rule;
  rule.strExpression = m_pExpressions->currentText().toStdString();
  rule.strColumnName = m_pNames->currentText().toStdString();
  rule.strValue = m_pValue->text().toStdString();
  rule.strKey = MakeRuleKey(rule.strColumnName, GetListKey());
  rule.strColumnNumber = m_pNumbers->currentText().toStdString();
  const CustomAlertSetting& stored = m_rules.Set(std::move(rule));
  m_rules.Save(stored.strKey);
  ShowRule(stored);
  if (m_fnRuleSet) m_fnRuleSet(GetListKey());
}

void CCustomAlertSettingDlg::DeleteSelectedRule() {
  if (m_pRuleList->GetItemCount() == 0) {
    ShowMessageBox("No item in the list to delete");
    return;
  }
  const std::vector<int32_t> arrSelected = m_pRuleList->GetSelectedRows();
  if (arrSelected.empty()) {
    ShowMessageBox("Please select a rule to delete");
    return;
  }
  const auto* pRule =
      static_cast<const CustomAlertSetting*>(m_pRuleList->GetStore().GetRecord(arrSelected.front()));
  if (pRule == nullptr) return;
  // The row goes before its rule changes; the rule itself stays in the map.
  const std::string strKey = pRule->strKey;
  m_pRuleList->DeleteRow(arrSelected.front());
  m_rules.MarkDeleted(strKey);
  m_rules.Save(strKey);
}

void CCustomAlertSettingDlg::EditRuleAt(int32_t nRow) {
  const auto* pRule = static_cast<const CustomAlertSetting*>(m_pRuleList->GetStore().GetRecord(nRow));
  if (pRule == nullptr) return;
  // Names match whole and in any letter case; numbers and comparisons by their beginning.
  SelectMatching(*m_pNames, pRule->strColumnName, Qt::MatchFixedString);
  SelectMatching(*m_pNumbers, pRule->strColumnNumber, Qt::MatchStartsWith);
  SelectMatching(*m_pExpressions, pRule->strExpression, Qt::MatchStartsWith);
  m_pValue->setText(QString::fromStdString(pRule->strValue));
}

bool CCustomAlertSettingDlg::IsDealerOrClientListed(std::string_view strId) const {
  if (m_bDealersStale) RebuildDealerSet();
  if (m_setDealers.empty()) return false;
  std::string strFolded;
  FoldCase(strId, strFolded);
  return m_setDealers.count(strFolded) != 0;
}

void CCustomAlertSettingDlg::RebuildDealerSet() const {
  m_setDealers.clear();
  std::string strFolded;
  for (int nIndex = 0; nIndex < m_pDealers->count(); ++nIndex) {
    FoldCase(m_pDealers->itemText(nIndex).toStdString(), strFolded);
    m_setDealers.insert(strFolded);
  }
  m_bDealersStale = false;
}

bool CCustomAlertSettingDlg::eventFilter(QObject* pWatched, QEvent* pEvent) {
  if (pWatched == m_pRuleList && pEvent->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(pEvent)->key() == Qt::Key_Delete && !IsFocusInRuleListHeader()) {
    DeleteSelectedRule();
    return true;
  }
  return QDialog::eventFilter(pWatched, pEvent);
}

bool CCustomAlertSettingDlg::IsFocusInRuleListHeader() const {
  const QWidget* pFocus = QApplication::focusWidget();
  const QWidget* pHeader = m_pRuleList->GetHeader();
  return pFocus != nullptr && pHeader != nullptr && (pFocus == pHeader || pHeader->isAncestorOf(pFocus));
}
