// What the custom column dialog does to a list, without the dialog: setting it up for a list
// and a mode, the texts its buttons append, and adding, editing and deleting custom columns in
// the list's layout. Each operation checks its input in the dialog's order and returns the first
// failure's message (the dialog shows it and stays open, the layout untouched), or what the
// list's header must do to show the change. After a success the dialog closes and the list
// saves its column profile.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "lists/CustomColumnExpression.h"
#include "lists/ListLayout.h"

inline constexpr const char* kDialogSetupFailedText = "Error while adding user defined cols";
inline constexpr const char* kSelectColumnNameText = "Please select a Column Name";
inline constexpr const char* kNoColumnSelectedText = "No column is selected";
inline constexpr const char* kEnterColumnNameText = "Please Enter the column Name";
inline constexpr const char* kNameCharactersText =
    "\"#,\" are not allowed as a custom column name , please choose a different name";
// A quoted name could never be referenced: the quote would end the reference.
inline constexpr const char* kNameQuoteText =
    "Double quotes are not allowed in a custom column name, please choose a different name";
inline constexpr const char* kNameTooLongText =
    "Column Name is too long, please enter at most 63 characters";
inline constexpr const char* kEmptyExpressionText =
    "Column Expression is empty, please enter an expression to add a column";
inline constexpr const char* kInvalidExpressionText = "Invalid Expression, Please check the expression again";
inline constexpr const char* kNameInUseText = "This column name already present,Please choose different column Name";
// The profile value of the column's kind would be cut when read back (kMaxProfileValueLength).
inline constexpr const char* kProfileFullText =
    "The custom columns of this list do not fit its column profile, please use a shorter expression";
inline constexpr const char* kNoColumnToEditText = "No user defined column selected to edit";
inline constexpr const char* kNoColumnToDeleteText = "No user defined column selected to delete";

// The dialog's modes, as the list's commands open it.
constexpr int32_t kCustomDialogAdd = 0;
constexpr int32_t kCustomDialogEdit = 1;
constexpr int32_t kCustomDialogDelete = 2;
constexpr int32_t kCustomDialogAddProtected = 3;

// Record values of a column added in the dialog.
constexpr int32_t kAddedCustomWidth = 100;

// The dialog set up for a list and a mode.
struct sCustomDialogSetup {
  std::string strMessage;  // not empty: show it; the dialog is not set up
  std::string strCaption;  // "<profile name>: Add Custom Columns" and so on
  std::string strConfirmLabel;  // "Add", "Save" or "Delete"
  bool bNameBoxShown = false;   // modes 0 and 3 show the name box, the others the chooser
  std::vector<sColumnChoice> arrChooser;
  std::vector<sColumnChoice> arrColumns;
};

sCustomDialogSetup SetUpCustomDialog(const CListLayout& layout, int32_t nMode);

// What a button appends to the display expression, or the message to show instead.
struct sAppendText {
  std::string strText;
  std::string strMessage;  // not empty: show it; nothing is appended
};

// An operator button (+ - * / ( )): with Ctrl the bare operator; otherwise the selected column
// in quotes and the operator between blanks, kSelectColumnNameText when none is selected.
sAppendText GetOperatorAppend(char chOperator, bool bCtrl, const sColumnChoice* pSelected);
// "End": the selected column in quotes, kNoColumnSelectedText when none is selected.
sAppendText GetEndAppend(const sColumnChoice* pSelected);

// A header item to insert.
struct sHeaderInsert {
  int32_t nPosition = 0;
  std::string strText;
  int32_t nWidth = 0;
  int32_t nFormat = kAlignRight;
  std::string strTip;
};

struct sHeaderTip {
  int32_t nPosition = 0;
  std::string strTip;
};

// The outcome of a confirm.
struct sCustomColumnChange {
  std::string strMessage;  // not empty: the failure to show; nothing changed
  std::optional<sHeaderInsert> insert;
  // Header items to delete, in this order, each position as the header is at that moment.
  std::vector<int32_t> arrDeletedPositions;
  // Tips to set again, one per header item.
  std::vector<sHeaderTip> arrTips;

  bool Succeeded() const { return strMessage.empty(); }
};

// Confirm in modes 0 (bProtected false) and 3. The name is trimmed; line breaks in the display
// expression are kept as blanks (the profile stores one line). The column list is the dialog's.
sCustomColumnChange AddCustomColumn(CListLayout& layout, std::span<const sColumnChoice> arrColumns,
                                    std::string_view strNameBox, std::string_view strDisplay, bool bProtected);

// Confirm in mode 1: the chosen column (null when none) gets the new expressions and kind 1;
// its header item and tip stay as they are.
sCustomColumnChange EditCustomColumn(CListLayout& layout, std::span<const sColumnChoice> arrColumns,
                                     const sColumnChoice* pChosen, std::string_view strDisplay);

// Who uses a custom column that is to be deleted.
struct sCustomColumnUsers {
  std::string strMessage;  // not empty: no column to delete (kNoColumnToDeleteText)
  int32_t nChosen = -1;
  std::vector<int32_t> arrDeleted;  // the chosen column and the custom columns that reference it
  std::vector<int32_t> arrLeft;     // custom columns that reference one of those and stay
};

// The chosen column (null when none), the custom columns whose display expressions reference it
// by the reference rule (FindReferencedColumn), which go with it, and the custom columns left
// that reference one of them, which then show kInvalidReferenceText. Each in array order.
sCustomColumnUsers FindCustomColumnUsers(const CListLayout& layout, const sColumnChoice* pChosen);

// The question asked before a deletion that takes or breaks more than the chosen column: the
// columns deleted with it, the columns left with a reference failure and the custom alert rules
// (arrRules, as the owner describes them) that lose their column. Empty when nothing else uses
// the column: it is deleted without a question.
std::string FormatDeleteQuestion(const CListLayout& layout, const sCustomColumnUsers& users,
                                 std::span<const std::string> arrRules);

// Confirm in mode 2: the chosen column and every custom column that references it go (as
// FindCustomColumnUsers finds them); header items are deleted and every tip is set again. The
// stored expressions of the columns left are rebuilt from their names, so each keeps its
// columns, and a name whose column went shows the reference failure.
sCustomColumnChange DeleteCustomColumn(CListLayout& layout, const sColumnChoice* pChosen);
