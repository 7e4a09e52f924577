// "Custom Column Alerts Window": where the user keeps the threshold rules of a watch list's
// custom columns. One dialog serves every watch window; it holds the plug-in's rule map from
// start-up, when each watch list's stored rules are loaded, until SaveAlertSettings writes them
// at shutdown.
//
// Visible controls: the custom column names, the two comparisons, the threshold field, "Update"
// (the default button: Enter updates and keeps the dialog open) and the rule list. Hidden ones:
// the current list key, the column numbers beside the names, and the dealer and client
// drop-down (object name "10013") that the host fills when the dialog is made. Escape and the
// close box only hide the dialog.
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>

#include "windows/CustomAlertRules.h"

class CFilterListCtrl;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

inline constexpr int32_t kDealersControlId = 10013;
inline constexpr const char* kCustomAlertListName = "Custom Alert Setting";

class CCustomAlertSettingDlg : public QDialog {
 public:
  explicit CCustomAlertSettingDlg(QWidget* pParent);
  ~CCustomAlertSettingDlg() override;
  CCustomAlertSettingDlg(const CCustomAlertSettingDlg&) = delete;
  CCustomAlertSettingDlg& operator=(const CCustomAlertSettingDlg&) = delete;

  // Fills the dialog for one watch list and its alert list key ("list1" to "list4"): the
  // list's custom columns and the rules of those columns, loaded into the map from the file
  // when the map does not hold them yet. Other keys load no rule.
  void PopulateAlertSettings(CFilterListCtrl& list, const std::string& strListKey);
  // Clears the comparison choice and the value field for a fresh rule.
  void ClearRuleFields();
  // Writes every rule of the map to the file and empties the map and the rule list.
  void SaveAlertSettings();

  // "Update": the chosen column, comparison and threshold become the column's rule in the
  // current list; a missing choice or an empty value is refused with a message box.
  void UpdateRule();
  // The Delete key in the rule list: the first selected row goes and its rule is kept as a
  // deleted rule.
  void DeleteSelectedRule();
  // A double-click on a row: its rule into the editing controls.
  void EditRuleAt(int32_t nRow);

  // Called with the list key after "Update" set a rule, so the new threshold is compared with
  // the values the list shows now rather than at their next change.
  void SetRuleSetFn(std::function<void(const std::string& strListKey)> fnRuleSet) {
    m_fnRuleSet = std::move(fnRuleSet);
  }

  // Whether the id is an entry of the dealer and client drop-down: the whole entry, letter
  // case ignored.
  bool IsDealerOrClientListed(std::string_view strId) const;

  const CCustomAlertRules& GetRules() const { return m_rules; }
  std::string GetListKey() const;
  QComboBox& GetNamesBox() const { return *m_pNames; }
  QComboBox& GetNumbersBox() const { return *m_pNumbers; }
  QComboBox& GetExpressionBox() const { return *m_pExpressions; }
  QLineEdit& GetValueEdit() const { return *m_pValue; }
  QPushButton& GetUpdateButton() const { return *m_pUpdate; }
  CFilterListCtrl& GetRuleList() const { return *m_pRuleList; }
  QComboBox& GetDealersBox() const { return *m_pDealers; }

 protected:
  // The Delete key while the focus is in the rule list, outside its header.
  bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

 private:
  void SetUpRuleList();
  void LayOutControls();
  // Shows a rule of the map in the rule list: a new row at the top unless a row shows it.
  void ShowRule(const CustomAlertSetting& rule);
  bool IsFocusInRuleListHeader() const;
  void RebuildDealerSet() const;

  CCustomAlertRules m_rules;
  std::function<void(const std::string& strListKey)> m_fnRuleSet;
  QComboBox* m_pNames;
  QComboBox* m_pExpressions;
  QLineEdit* m_pValue;
  QPushButton* m_pUpdate;
  CFilterListCtrl* m_pRuleList;
  QLabel* m_pListKey;
  QComboBox* m_pNumbers;
  QComboBox* m_pDealers;
  // The dealer and client entries in lower case, rebuilt after the drop-down changes.
  mutable std::unordered_set<std::string> m_setDealers;
  mutable bool m_bDealersStale = true;
};
