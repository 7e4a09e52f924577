// The appearance dialog: one modeless instance for the module, opened by a list's "Customize"
// command and retargeted at every opening. It edits a working copy of the list's appearance
// (colours, font, and the keywords that colour rows by a column's text) and "Apply Settings"
// gives it to the list and stores the list's line in the settings file. The dialog stays open;
// "Cancel" hides it.
#pragma once

#include <QDialog>
#include <cstdint>
#include <string>
#include <vector>

#include "lists/AppearanceInfo.h"

class CClrButton;
class CXListCtrl;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

inline constexpr const char* kAppearanceTitle = "Customize Appearance :";
inline constexpr const char* kEnterKeywordText = "Enter text to add a new keyword to list";
inline constexpr const char* kChooseKeywordColumnText =
    "Please choose the column for Keywords before adding a keyword";
inline constexpr const char* kKeywordCommaText =
    "\",\" is not allowed in a keyword, please enter a different keyword";
inline constexpr const char* kKeywordsTooLongText =
    "The keywords of this list do not fit its settings, please remove a keyword or use shorter ones";
inline constexpr const char* kPropertyText = "Text";
inline constexpr const char* kPropertyBackground = "Background";

// What the dialog needs of a list.
class IAppearanceList {
 public:
  virtual ~IAppearanceList() = default;
  virtual const std::string& GetProfileName() const = 0;
  virtual std::string GetAppearanceKey() const = 0;
  virtual const sAppearanceInfo& GetAppearance() const = 0;
  // False when only the font of the list can change.
  virtual bool DoesAppearanceApply() const = 0;
  // The headings of the list's columns in column-array order.
  virtual std::vector<std::string> GetColumnHeadings() const = 0;
  // Sets the list's font, its colours (when appearance applies) and keywords, marks it
  // customized and redraws it.
  virtual void ApplyCustomizedAppearance(const sAppearanceInfo& appearance) = 0;
  // The window the dialog centres on.
  virtual QWidget* GetAppearanceWidget() = 0;
};

class CCustomizedAppearance : public QDialog {
  Q_OBJECT

 public:
  // The module's instance, created on first use; null before.
  static CCustomizedAppearance& GetInstance();
  static CCustomizedAppearance* FindInstance();
  // Shows the dialog for a list: title, working copy, controls; brought to the front and
  // centred on the list.
  static void ShowForList(IAppearanceList& list);
  // Forgets a list that goes away, when the dialog exists and targets it.
  static void ForgetListIfOpen(const IAppearanceList& list);

  IAppearanceList* GetTarget() const { return m_pList; }
  const sAppearanceInfo& GetWorkingAppearance() const { return m_working; }

  void OnPropertyChanged();
  void OnColourButton();
  void OnFontButton();
  void OnChangeColumn();
  void OnAddKeyword();
  void DeleteSelectedKeywords();
  void ApplySettings();

  QComboBox* GetPropertyChoice() const { return m_pProperty; }
  CClrButton* GetColourButton() const { return m_pColourButton; }
  CClrButton* GetFontButton() const { return m_pFontButton; }
  QGroupBox* GetKeywordGroup() const { return m_pKeywordGroup; }
  QComboBox* GetColumnChoice() const { return m_pColumnChoice; }
  QPushButton* GetChangeColumnButton() const { return m_pChangeColumn; }
  QLineEdit* GetKeywordBox() const { return m_pKeywordBox; }
  QPushButton* GetAddButton() const { return m_pAdd; }
  CXListCtrl* GetKeywordTable() const { return m_pKeywordTable; }
  QPushButton* GetApplyButton() const { return m_pApply; }
  QPushButton* GetCancelButton() const { return m_pCancel; }

 protected:
  bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

 private:
  CCustomizedAppearance();

  void Initialise(IAppearanceList& list);
  bool IsTextProperty() const;
  void ShowPropertyColour();
  void SetTip(QWidget* pWidget, const char* szText);
  void InsertKeywordRow(int nRow, const std::string& strKeyword, uint32_t clrColour);
  std::vector<std::string> GetKeywordTexts() const;
  void OnColumnChosen(int nColumn);
  // The column the keywords are stored for: the one chosen in the box, else the stored one.
  int32_t GetKeywordColumn() const;

  IAppearanceList* m_pList = nullptr;
  sAppearanceInfo m_working;
  // The column whose keywords the table lists; choosing another one empties the table.
  int32_t m_nTableColumn = -1;
  QComboBox* m_pProperty = nullptr;
  CClrButton* m_pColourButton = nullptr;
  QGroupBox* m_pKeywordGroup = nullptr;
  QComboBox* m_pColumnChoice = nullptr;
  QPushButton* m_pChangeColumn = nullptr;
  QLineEdit* m_pKeywordBox = nullptr;
  QPushButton* m_pAdd = nullptr;
  CXListCtrl* m_pKeywordTable = nullptr;
  CClrButton* m_pFontButton = nullptr;
  QPushButton* m_pApply = nullptr;
  QPushButton* m_pCancel = nullptr;
};
