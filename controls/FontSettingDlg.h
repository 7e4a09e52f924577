// The modal "Font Dialog": a face from the installed families and a size from a fixed list.
// Created with a preset face and size; DoModal selects the first entries that begin with them
// and, on OK, takes the chosen face and size.
#pragma once

#include <QDialog>
#include <string>

class CHotFontCombo;
class QComboBox;
class QPushButton;

class CFontSettingDlg : public QDialog {
  Q_OBJECT

 public:
  CFontSettingDlg(const std::string& strFontName, const std::string& strFontSize, QWidget* pParent = nullptr);

  // Runs the dialog (through the modal dialog hook); QDialog::Accepted on OK.
  int DoModal();
  const std::string& GetFontName() const { return m_strFontName; }
  const std::string& GetFontSize() const { return m_strFontSize; }

  CHotFontCombo* GetFontChoice() const { return m_pFontChoice; }
  QComboBox* GetSizeChoice() const { return m_pSizeChoice; }

  // OK: the selected face and size replace the presets.
  void accept() override;

 protected:
  void showEvent(QShowEvent* pEvent) override;

 private:
  // Selects the first entries that begin with the presets; without one the selection stays.
  void SelectPresets();

  std::string m_strFontName;
  std::string m_strFontSize;
  CHotFontCombo* m_pFontChoice = nullptr;
  QComboBox* m_pSizeChoice = nullptr;
};
