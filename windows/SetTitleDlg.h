// "Set Title": the small modeless dialog that gives a watch window a new title. Each watch
// window owns one, made on first use and afterwards only shown and hidden.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

inline constexpr int32_t kTitleEditId = 10002;
inline constexpr int32_t kTitleSaveId = 10003;
inline constexpr int32_t kTitleViewLabelId = 10004;

class CSetTitleDlg : public QDialog {
 public:
  CSetTitleDlg();

  // Prepares the dialog for a window: its view name in the hidden label, an empty field, and
  // the window whose title "Save" sets.
  void PrepareFor(QWidget* pBar, const QString& strViewName);
  // "Save": the typed text becomes the window's title exactly as typed; an empty field is
  // refused with a message box and the dialog stays open.
  void Save();

  QLineEdit* GetTitleEdit() const { return m_pEdit; }
  QString GetViewName() const;

 protected:
  // Enter and Escape hide the dialog without touching the title.
  void keyPressEvent(QKeyEvent* pEvent) override;

 private:
  QLineEdit* m_pEdit;
  QPushButton* m_pSave;
  QLabel* m_pViewName;
  QWidget* m_pBar = nullptr;
};
