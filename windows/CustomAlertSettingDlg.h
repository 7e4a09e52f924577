// "Custom Column Alerts Window": where the user keeps the threshold rules of a watch list's
// custom columns. One dialog serves every watch window. For now it knows which list it was
// opened for; its rule controls and stored rules come with the custom alert rules themselves.
#pragma once

#include <QDialog>
#include <string>

class CFilterListCtrl;
class QLabel;

class CCustomAlertSettingDlg : public QDialog {
 public:
  explicit CCustomAlertSettingDlg(QWidget* pParent);

  // Fills the dialog for one watch list and its alert list key ("list1" to "list4").
  void PopulateAlertSettings(CFilterListCtrl& list, const std::string& strListKey);
  // Clears the comparison choice and the value field for a fresh rule.
  void ClearRuleFields() {}
  // Writes the rules to their file; there are none to write yet.
  void SaveAlertSettings() {}

  const std::string& GetListKey() const { return m_strListKey; }

 private:
  QLabel* m_pListKey;
  std::string m_strListKey;
};
