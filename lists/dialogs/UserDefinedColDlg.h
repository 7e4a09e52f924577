// The custom column dialog: adds, edits and deletes a list's custom columns. One modeless
// instance serves the whole module; each command re-initialises it for the commanding list and
// mode. The checks and the changes to the list's columns are the window-free ones of
// lists/CustomColumnEdit.h; every message they give is shown as it is, and on success the
// dialog hides and hands the header work to the list, which applies it and saves its profile.
// A deletion that takes or breaks other columns or custom alert rules asks first; No leaves
// everything as it was and the dialog open.
#pragma once

#include <QDialog>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "lists/CustomColumnEdit.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

// What the dialog needs of a list.
class ICustomColumnList {
 public:
  virtual ~ICustomColumnList() = default;
  virtual CListLayout& GetCustomColumnLayout() = 0;
  // Shows a confirmed change in the header and saves the column profile.
  virtual void ApplyCustomColumnChange(const sCustomColumnChange& change) = 0;
  // The custom alert rules that compare these columns, one text each, for the question asked
  // before they are deleted; none for a list without alerts.
  virtual std::vector<std::string> DescribeAlertRulesOn(std::span<const std::string> /*arrNames*/) const {
    return {};
  }
};

class CUserDefinedColDlg : public QDialog {
  Q_OBJECT

 public:
  // The module's instance, created on first use.
  static CUserDefinedColDlg& GetInstance();

  // Sets the dialog up for a list and a mode (kCustomDialogAdd and the others); false, with the
  // message shown, when it cannot be.
  bool Initialise(ICustomColumnList& list, int32_t nMode);
  // Forgets a list that goes away, when the dialog exists and works on it.
  static void ForgetListIfOpen(const ICustomColumnList& list);

  int32_t GetMode() const { return m_nMode; }
  QListWidget* GetColumnList() const { return m_pColumnList; }
  QPlainTextEdit* GetExpressionBox() const { return m_pExpressionBox; }
  QComboBox* GetChooser() const { return m_pChooser; }
  QLineEdit* GetNameBox() const { return m_pNameBox; }
  QPushButton* GetConfirmButton() const { return m_pConfirm; }
  QPushButton* GetCancelButton() const { return m_pCancel; }
  // The button labelled with an operator, "End" or "Clear".
  QPushButton* GetButton(const QString& strLabel) const;

 protected:
  bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

 private:
  CUserDefinedColDlg();

  QPushButton* AddButton(const QString& strLabel);
  const sColumnChoice* GetSelectedColumn() const;
  const sColumnChoice* GetChosenColumn() const;
  void AppendText(const sAppendText& append);
  void OnOperator(char chOperator);
  void OnEnd();
  void OnClear();
  void OnChooserChanged(int nIndex);
  void OnConfirm();
  // Asks before a deletion that others depend on; false when the answer is No.
  bool ConfirmDeletion(const CListLayout& layout) const;

  ICustomColumnList* m_pList = nullptr;
  int32_t m_nMode = kCustomDialogAdd;
  bool m_bCtrlHeld = false;
  std::vector<sColumnChoice> m_arrColumns;
  std::vector<sColumnChoice> m_arrChooser;
  QListWidget* m_pColumnList = nullptr;
  QPlainTextEdit* m_pExpressionBox = nullptr;
  QComboBox* m_pChooser = nullptr;
  QLabel* m_pNameLabel = nullptr;
  QLineEdit* m_pNameBox = nullptr;
  QPushButton* m_pConfirm = nullptr;
  QPushButton* m_pCancel = nullptr;
  std::vector<QPushButton*> m_arrButtons;
};
