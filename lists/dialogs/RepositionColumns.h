// The column profile dialog: the user chooses which columns of a list are shown, and in which
// order, by moving names between two drag lists (hidden on the left, shown on the right).
// "&View" applies the arrangement to the list, "&Save" applies it and saves the list's column
// profile, "&Cancel" leaves the list as it is. Columns the list names as fixed cannot leave the
// shown list; the drag lists ask the dialog (message kMsgFixedColumnQuery) before moving one.
#pragma once

#include <QDialog>
#include <cstdint>
#include <string>
#include <vector>

#include "lists/ListLayout.h"

class CHvDragListCtrl;
class QLabel;
class QLineEdit;
class QPushButton;

// Name of the list whose dialog offers the default sort controls.
inline constexpr const char* kSortControlsListName = "DealerNetPosition";
inline constexpr const char* kCannotRemoveText = " cannot be removed";
// Asks the window that contains a list (not a filter list) to refresh it; wParam is the list's
// control identifier.
inline constexpr uint32_t kMsgRefreshList = 1147;  // WM_USER + 123

// What the dialog needs of a list.
class IRepositionList {
 public:
  virtual ~IRepositionList() = default;
  virtual CListLayout& GetRepositionLayout() = 0;
  virtual const std::vector<std::string>& GetFixedColumnNames() const = 0;
  // Shows the layout's new arrangement: clears the header filters, rebuilds the header and
  // refreshes the list.
  virtual void ApplyRepositionedColumns() = 0;
  virtual bool SaveProfile() = 0;
};

class CRepositionColumns : public QDialog {
  Q_OBJECT

 public:
  // The default sort text belongs to the list and outlives the dialog.
  CRepositionColumns(IRepositionList& list, std::string& strDefaultSort, QWidget* pParent = nullptr);

  CHvDragListCtrl* GetHiddenList() const { return m_pHidden; }
  CHvDragListCtrl* GetShownList() const { return m_pShown; }
  QPushButton* GetButton(const QString& strLabel) const;
  QLineEdit* GetSortEdit() const { return m_pSortEdit; }
  bool IsFixedColumn(const std::string& strName) const;

  void MoveToShown();
  void MoveToHidden();
  void ApplyView();
  void ApplySave();

 protected:
  bool event(QEvent* pEvent) override;

 private:
  QPushButton* AddButton(const QString& strLabel);
  void FillLists();

  IRepositionList& m_list;
  std::string& m_strDefaultSort;
  std::vector<std::string> m_arrFixed;
  std::vector<sHalvoColInfo> m_arrColumns;
  bool m_bSortControls = false;
  CHvDragListCtrl* m_pHidden = nullptr;
  CHvDragListCtrl* m_pShown = nullptr;
  QLabel* m_pSortLabel = nullptr;
  QLineEdit* m_pSortEdit = nullptr;
  std::vector<QPushButton*> m_arrButtons;
};
