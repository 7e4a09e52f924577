#include "lists/CustomColumnEdit.h"

#include <algorithm>

#include "lists/CustomColumnProfile.h"
#include "lists/CustomColumnText.h"

namespace {

// The profile keeps an expression on one line.
std::string JoinLines(std::string_view strDisplay) {
  std::string strJoined(strDisplay);
  std::replace_if(strJoined.begin(), strJoined.end(), [](char ch) { return ch == '\r' || ch == '\n'; }, ' ');
  return strJoined;
}

sHalvoColInfo MakeCustomRecord(std::string_view strName, std::string strStored, std::string strDisplay,
                               int32_t nKind) {
  sHalvoColInfo column;
  SetColumnName(column, strName);
  column.nWidth = kAddedCustomWidth;
  column.nFormat = kAlignRight;
  column.nDataType = kSortDecimal;
  column.nKind = nKind;
  column.strFormula = std::move(strStored);
  column.strFormulaText = std::move(strDisplay);
  return column;
}

bool IsEditableColumn(const CListLayout& layout, int32_t nColumn) {
  return nColumn >= layout.m_nCatalogueCount && nColumn >= 0 &&
         static_cast<size_t>(nColumn) < layout.m_arrColumns.size() &&
         layout.m_arrColumns[static_cast<size_t>(nColumn)].nKind != kColumnProtectedCustom;
}

// The column a chooser entry names: the one it remembers while that still has the name, else the
// first editable custom column of that name; -1 when there is none.
int32_t FindChosenColumn(const CListLayout& layout, const sColumnChoice* pChosen) {
  if (pChosen == nullptr) {
    return -1;
  }
  const auto hasName = [&](int32_t nColumn) {
    return GetColumnNameView(layout.m_arrColumns[static_cast<size_t>(nColumn)]) == pChosen->strName;
  };
  if (IsEditableColumn(layout, pChosen->nColumn) && hasName(pChosen->nColumn)) {
    return pChosen->nColumn;
  }
  for (int32_t nColumn = std::max(layout.m_nCatalogueCount, 0);
       static_cast<size_t>(nColumn) < layout.m_arrColumns.size(); ++nColumn) {
    if (IsEditableColumn(layout, nColumn) && hasName(nColumn)) {
      return nColumn;
    }
  }
  return -1;
}

// Whether the kind's profile value, with the column's entry instead of nReplaced's, is read
// back whole.
bool FitsProfile(const CListLayout& layout, int32_t nKind, int32_t nReplaced, std::string_view strName,
                 std::string_view strStored, std::string_view strDisplay) {
  return MeasureCustomProfileValue(layout, nKind, nReplaced) + GetCustomEntryLength(strName, strStored, strDisplay) <=
         kMaxProfileValueLength;
}

sCustomColumnChange MakeFailure(const char* szMessage) {
  sCustomColumnChange change;
  change.strMessage = szMessage;
  return change;
}

}  // namespace

sCustomDialogSetup SetUpCustomDialog(const CListLayout& layout, int32_t nMode) {
  sCustomDialogSetup setup;
  const char* szCaption = nullptr;
  switch (nMode) {
    case kCustomDialogAdd:
      szCaption = ": Add Custom Columns";
      setup.strConfirmLabel = "Add";
      break;
    case kCustomDialogAddProtected:
      szCaption = ": Add Protected Custom Columns";
      setup.strConfirmLabel = "Add";
      break;
    case kCustomDialogEdit:
      szCaption = ": Edit Custom Columns";
      setup.strConfirmLabel = "Save";
      break;
    case kCustomDialogDelete:
      szCaption = ": Delete Custom Columns";
      setup.strConfirmLabel = "Delete";
      break;
    default:
      break;
  }
  if (szCaption == nullptr || layout.m_nCatalogueCount > static_cast<int32_t>(layout.m_arrColumns.size())) {
    sCustomDialogSetup failed;
    failed.strMessage = kDialogSetupFailedText;
    return failed;
  }
  setup.strCaption = layout.m_strListName + szCaption;
  setup.bNameBoxShown = nMode == kCustomDialogAdd || nMode == kCustomDialogAddProtected;
  setup.arrChooser = GetEditableCustomColumns(layout);
  setup.arrColumns = GetExpressionColumns(layout);
  return setup;
}

sAppendText GetOperatorAppend(char chOperator, bool bCtrl, const sColumnChoice* pSelected) {
  if (bCtrl) {
    return {std::string(1, chOperator), {}};
  }
  if (pSelected == nullptr) {
    return {{}, kSelectColumnNameText};
  }
  return {'"' + pSelected->strName + "\" " + chOperator + ' ', {}};
}

sAppendText GetEndAppend(const sColumnChoice* pSelected) {
  if (pSelected == nullptr) {
    return {{}, kNoColumnSelectedText};
  }
  return {'"' + pSelected->strName + '"', {}};
}

sCustomColumnChange AddCustomColumn(CListLayout& layout, std::span<const sColumnChoice> arrColumns,
                                    std::string_view strNameBox, std::string_view strDisplay, bool bProtected) {
  const std::string_view strName = TrimBlanks(strNameBox);
  if (strName.empty()) {
    return MakeFailure(kEnterColumnNameText);
  }
  if (strName.find_first_of("#,") != std::string_view::npos) {
    return MakeFailure(kNameCharactersText);
  }
  if (strName.find('"') != std::string_view::npos) {
    return MakeFailure(kNameQuoteText);
  }
  if (strName.size() >= sHalvoColInfo::kNameSize) {
    return MakeFailure(kNameTooLongText);
  }
  if (strDisplay.empty()) {
    return MakeFailure(kEmptyExpressionText);
  }
  std::string strJoined = JoinLines(strDisplay);
  sConvertedExpression converted;
  if (!ConvertDisplayExpression(strJoined, arrColumns, converted)) {
    return MakeFailure(kInvalidExpressionText);
  }
  // Names that differ only in letter case are refused: a quoted name would reference the first.
  const bool bNameUsed = std::any_of(layout.m_arrColumns.begin(), layout.m_arrColumns.end(),
                                     [strName](const sHalvoColInfo& column) {
                                       return IsSameColumnName(GetColumnNameView(column), strName);
                                     });
  if (bNameUsed) {
    return MakeFailure(kNameInUseText);
  }
  const int32_t nKind = bProtected ? kColumnProtectedCustom : kColumnCustom;
  if (!FitsProfile(layout, nKind, -1, strName, converted.strStored, strJoined)) {
    return MakeFailure(kProfileFullText);
  }
  sCustomColumnChange change;
  change.insert = sHeaderInsert{layout.GetHeaderCount(), std::string(strName), kAddedCustomWidth, kAlignRight,
                                strJoined};
  layout.AppendShownColumn(MakeCustomRecord(strName, std::move(converted.strStored), std::move(strJoined), nKind));
  return change;
}

sCustomColumnChange EditCustomColumn(CListLayout& layout, std::span<const sColumnChoice> arrColumns,
                                     const sColumnChoice* pChosen, std::string_view strDisplay) {
  if (pChosen == nullptr) {
    return MakeFailure(kNoColumnToEditText);
  }
  std::string strJoined = JoinLines(strDisplay);
  sConvertedExpression converted;
  if (!ConvertDisplayExpression(strJoined, arrColumns, converted)) {
    return MakeFailure(kInvalidExpressionText);
  }
  const int32_t nColumn = FindChosenColumn(layout, pChosen);
  if (nColumn < 0) {
    return MakeFailure(kNoColumnToEditText);
  }
  sHalvoColInfo& column = layout.m_arrColumns[static_cast<size_t>(nColumn)];
  if (!FitsProfile(layout, kColumnCustom, nColumn, GetColumnNameView(column), converted.strStored, strJoined)) {
    return MakeFailure(kProfileFullText);
  }
  column = MakeCustomRecord(GetColumnNameView(column), std::move(converted.strStored), std::move(strJoined),
                            kColumnCustom);
  return {};
}

sCustomColumnUsers FindCustomColumnUsers(const CListLayout& layout, const sColumnChoice* pChosen) {
  sCustomColumnUsers users;
  const int32_t nChosen = FindChosenColumn(layout, pChosen);
  if (nChosen < 0) {
    users.strMessage = kNoColumnToDeleteText;
    return users;
  }
  users.nChosen = nChosen;
  const std::vector<sColumnChoice> arrColumns = GetExpressionColumns(layout);
  const auto referencesAny = [&](int32_t nColumn, std::span<const int32_t> arrTargets) {
    const std::string& strDisplay = layout.m_arrColumns[static_cast<size_t>(nColumn)].strFormulaText;
    return std::any_of(arrTargets.begin(), arrTargets.end(),
                       [&](int32_t nTarget) { return DoesReferenceColumn(strDisplay, arrColumns, nTarget); });
  };
  const int32_t nFirst = std::max(layout.m_nCatalogueCount, 0);
  const auto nCount = static_cast<int32_t>(layout.m_arrColumns.size());
  const int32_t arrChosen[] = {nChosen};
  for (int32_t nColumn = nFirst; nColumn < nCount; ++nColumn) {
    if (nColumn == nChosen || referencesAny(nColumn, arrChosen)) {
      users.arrDeleted.push_back(nColumn);
    }
  }
  for (int32_t nColumn = nFirst; nColumn < nCount; ++nColumn) {
    if (!std::binary_search(users.arrDeleted.begin(), users.arrDeleted.end(), nColumn) &&
        referencesAny(nColumn, users.arrDeleted)) {
      users.arrLeft.push_back(nColumn);
    }
  }
  return users;
}

std::string FormatDeleteQuestion(const CListLayout& layout, const sCustomColumnUsers& users,
                                 std::span<const std::string> arrRules) {
  if (users.arrDeleted.size() < 2 && users.arrLeft.empty() && arrRules.empty()) {
    return {};
  }
  const auto quote = [&](int32_t nColumn) {
    return '"' + std::string(GetColumnNameView(layout.m_arrColumns[static_cast<size_t>(nColumn)])) + '"';
  };
  const auto join = [](std::span<const std::string> arrTexts) {
    std::string strJoined;
    for (const std::string& strText : arrTexts) {
      strJoined += (strJoined.empty() ? "" : ", ") + strText;
    }
    return strJoined;
  };
  std::vector<std::string> arrOthers;
  for (const int32_t nColumn : users.arrDeleted) {
    if (nColumn != users.nChosen) {
      arrOthers.push_back(quote(nColumn));
    }
  }
  std::vector<std::string> arrLeft;
  for (const int32_t nColumn : users.arrLeft) {
    arrLeft.push_back(quote(nColumn));
  }
  std::string strQuestion;
  if (!arrOthers.empty()) {
    strQuestion += "Deleting " + quote(users.nChosen) +
                   " also deletes the custom columns that use it: " + join(arrOthers) + ".\n";
  }
  if (!arrLeft.empty()) {
    strQuestion += "These custom columns use a deleted one and will show \"" +
                   std::string(kInvalidReferenceText) + "\": " + join(arrLeft) + ".\n";
  }
  if (!arrRules.empty()) {
    strQuestion +=
        "These custom alert rules will not fire while their column is missing: " + join(arrRules) + ".\n";
  }
  return strQuestion + "Delete " + quote(users.nChosen) + "?";
}

sCustomColumnChange DeleteCustomColumn(CListLayout& layout, const sColumnChoice* pChosen) {
  const sCustomColumnUsers users = FindCustomColumnUsers(layout, pChosen);
  if (!users.strMessage.empty()) {
    return MakeFailure(users.strMessage.c_str());
  }
  sCustomColumnChange change;
  // From the last index down, so the indices still to remove stay where they are.
  for (auto it = users.arrDeleted.rbegin(); it != users.arrDeleted.rend(); ++it) {
    const int32_t nPosition = layout.GetPosition(*it);
    if (nPosition >= 0) {
      change.arrDeletedPositions.push_back(nPosition);
    }
    layout.RemoveColumn(*it);
  }
  // The columns left behind moved: their references follow them by name.
  RebuildStoredExpressions(layout);
  for (int32_t nPosition = 0; nPosition < layout.GetHeaderCount(); ++nPosition) {
    const int32_t nColumn = layout.GetColumnAt(nPosition);
    if (nColumn < 0) {
      continue;
    }
    const sHalvoColInfo& column = layout.m_arrColumns[static_cast<size_t>(nColumn)];
    change.arrTips.push_back({nPosition, nColumn < layout.m_nCatalogueCount ? std::string(GetColumnNameView(column))
                                                                             : column.strFormulaText});
  }
  return change;
}
