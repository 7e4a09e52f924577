// The custom column dialog's logic on a watch list: references, set-up, buttons, add, edit, delete.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "lists/CustomColumnEdit.h"
#include "lists/ReferenceRule.h"
#include "model/ColumnCatalogue.h"

namespace {

constexpr const char* kTextNameCharacters =
    "\"#,\" are not allowed as a custom column name , please choose a different name";
constexpr const char* kTextInvalid = "Invalid Expression, Please check the expression again";
constexpr const char* kTextInUse = "This column name already present,Please choose different column Name";
constexpr const char* kTextNoneToEdit = "No user defined column selected to edit";

using namespace std::string_view_literals;
using Pieces = std::vector<std::pair<std::string, bool>>;
using Texts = std::vector<std::string>;

Texts Describe(const std::vector<sColumnChoice>& arrChoices) {
  Texts arrTexts;
  for (const sColumnChoice& choice : arrChoices)
    arrTexts.push_back(choice.strName + " " + std::to_string(choice.nColumn));
  return arrTexts;
}

const std::string kNetDisplay = "\"Cash Margin Avail\" - \"Margin Used\"";

class CustomColumnEditTest : public testing::Test {
 protected:
  CustomColumnEditTest() {
    m_layout.LoadColumnTable("Orvane_watch1", GetCatalogueColumns());
    m_layout.RecordCatalogueCount();
    m_layout.ShowAllColumns();
  }

  sCustomColumnChange Add(std::string_view strName, std::string_view strDisplay, bool bProtected = false) {
    return AddCustomColumn(m_layout, GetExpressionColumns(m_layout), strName, strDisplay, bProtected);
  }
  sCustomColumnChange Edit(const sColumnChoice* pChoice, const std::string& strDisplay) {
    return EditCustomColumn(m_layout, GetExpressionColumns(m_layout), pChoice, strDisplay);
  }
  const sHalvoColInfo& Column(int32_t nColumn) const {
    return m_layout.m_arrColumns[static_cast<size_t>(nColumn)];
  }

  CListLayout m_layout;
};

}  // namespace

TEST(ReferenceRule, SplitsAtQuotesSkippingEmptyPieces) {
  const std::pair<const char*, Pieces> arrRows[] = {
      {" \"8\" / \"10\" * 100", {{" ", false}, {"8", true}, {" / ", false}, {"10", true}, {" * 100", false}}},
      {"\"A\"\"B\"", {{"A", false}, {"B", true}}},
      {" \"1\"\"\"2", {{" ", false}, {"1", true}, {"2", false}}},
      {"\"\"", {}},
      {"no quotes", {{"no quotes", false}}},
      {" \"unclosed", {{" ", false}, {"unclosed", true}}},
  };
  for (const auto& [szText, arrExpected] : arrRows) {
    Pieces arrPieces;
    ForEachReferencePiece(szText, [&](std::string_view strPiece, bool bReference) {
      arrPieces.emplace_back(std::string(strPiece), bReference);
    });
    EXPECT_EQ(arrPieces, arrExpected) << szText;
  }
}

TEST_F(CustomColumnEditTest, AddingFailsWithTheFirstMessageInOrder) {
  std::string strLongValid = "\"Margin Used\"";
  while (strLongValid.size() < 10000) strLongValid += " + 1";
  // The case, the name, the display expression, the message.
  const std::tuple<const char*, std::string, std::string, const char*> arrRows[] = {
      {"empty name", "", kNetDisplay, "Please Enter the column Name"},
      {"hash before an empty expression", "A#B", "", kTextNameCharacters},
      {"double quote", "A\"B", kNetDisplay, kNameQuoteText},
      {"64 characters", std::string(64, 'n'), kNetDisplay, kNameTooLongText},
      {"empty expression", "Net", "",
       "Column Expression is empty, please enter an expression to add a column"},
      {"unknown name", "Net", "\"No Such Column\" + 1", kTextInvalid},
      {"two references, no operator", "Net", "\"Margin Used\" \"Exposure Limit\"", kTextInvalid},
      {"trimmed name of a standard column", " MToM Loss ", kNetDisplay, kTextInUse},
      {"10,000 characters, not readable from the profile", "Net", strLongValid, kProfileFullText},
  };
  for (const auto& [szCase, strName, strDisplay, szMessage] : arrRows) {
    const sCustomColumnChange change = Add(strName, strDisplay);
    EXPECT_EQ(change.strMessage, szMessage) << szCase;
    EXPECT_FALSE(change.insert.has_value()) << szCase;
  }
  EXPECT_EQ(std::pair(m_layout.m_arrColumns.size(), m_layout.GetHeaderCount()),
            std::pair(static_cast<size_t>(kCatalogueColumnCount), kCatalogueColumnCount));
}

TEST_F(CustomColumnEditTest, AddsTheNetExampleAsTheLastHeaderItemAndWhatTheRulesAllow) {
  const sCustomColumnChange change = Add("  Net  ", kNetDisplay);
  ASSERT_TRUE(change.Succeeded()) << change.strMessage;
  const int32_t nNet = kCatalogueColumnCount;
  const sHalvoColInfo& net = Column(nNet);
  EXPECT_EQ(
      std::tie(net.szName, net.strFormula, net.strFormulaText, net.nWidth, net.nFormat, net.nDataType,
               net.nKind),
      std::tuple("Net"sv, " \"1\" - \"10\""sv, kNetDisplay, 100, kAlignRight, kSortDecimal, kColumnCustom));
  ASSERT_TRUE(change.insert.has_value());
  EXPECT_EQ(std::tie(change.insert->nPosition, change.insert->strText, change.insert->nWidth,
                     change.insert->nFormat, change.insert->strTip),
            std::make_tuple(kCatalogueColumnCount, std::string("Net"), 100, kAlignRight, kNetDisplay));
  // The name, the display expression, protected or not, the stored expression.
  const std::tuple<const char*, std::string, bool, const char*> arrRows[] = {
      {"Twice", "\"margin USED\" * 2", false, " \"10\" * 2"},            // a name in any letter case
      {"Of Net", "\"NET\" / 4", true, " \"289\" / 4"},                   // references a custom column
      {"Lines", "\"Margin Used\"\r\n+\n1", false, " \"10\"  + 1"},       // line breaks become blanks
      {"Quote left open", "\"Margin Used", false, " \"10\""},
  };
  for (const auto& [szName, strDisplay, bProtected, szStored] : arrRows) {
    const sCustomColumnChange added = Add(szName, strDisplay, bProtected);
    ASSERT_TRUE(added.Succeeded()) << szName << ": " << added.strMessage;
    const sHalvoColInfo& column = m_layout.m_arrColumns.back();
    EXPECT_EQ(column.strFormula, szStored) << szName;
    EXPECT_EQ(column.strFormulaText.find('\n'), std::string::npos) << szName;
    EXPECT_EQ(column.nKind, bProtected ? kColumnProtectedCustom : kColumnCustom) << szName;
  }
  EXPECT_TRUE(Add(std::string(63, 'n'), kNetDisplay).Succeeded());
  EXPECT_EQ(Add("NET", kNetDisplay).strMessage, kTextInUse);
}

TEST_F(CustomColumnEditTest, SetsUpTheDialogByMode) {
  ASSERT_TRUE(Add("Net", kNetDisplay).Succeeded());
  ASSERT_TRUE(Add("Fixed", "\"Margin Used\"", true).Succeeded());
  ASSERT_TRUE(Add("Half", "\"Net\" / 2").Succeeded());
  // The mode, and the message, caption, confirm label and name box it sets up.
  const std::pair<int32_t, std::tuple<std::string_view, std::string_view, std::string_view, bool>> arrRows[] =
      {{kCustomDialogAdd, {"", "Orvane_watch1: Add Custom Columns", "Add", true}},
       {kCustomDialogAddProtected, {"", "Orvane_watch1: Add Protected Custom Columns", "Add", true}},
       {kCustomDialogEdit, {"", "Orvane_watch1: Edit Custom Columns", "Save", false}},
       {kCustomDialogDelete, {"", "Orvane_watch1: Delete Custom Columns", "Delete", false}}};
  for (const auto& [nMode, expected] : arrRows) {
    const sCustomDialogSetup setup = SetUpCustomDialog(m_layout, nMode);
    EXPECT_EQ(std::tie(setup.strMessage, setup.strCaption, setup.strConfirmLabel, setup.bNameBoxShown),
              expected);
    // The protected column is never offered for editing or deletion.
    EXPECT_EQ(Describe(setup.arrChooser), (Texts{"Net 289", "Half 291"}));
  }
  // The column list: numeric columns in array order, custom columns included.
  const std::vector<sColumnChoice> arrColumns = SetUpCustomDialog(m_layout, kCustomDialogAdd).arrColumns;
  EXPECT_EQ(Describe({arrColumns.front(), arrColumns.back()}), (Texts{"Cash Margin Avail 1", "Half 291"}));
  EXPECT_TRUE(std::ranges::is_sorted(arrColumns, {}, &sColumnChoice::nColumn));
  EXPECT_TRUE(std::ranges::none_of(arrColumns, [this](const sColumnChoice& choice) {
    return Column(choice.nColumn).nDataType == kSortText;
  }));

  m_layout.m_nCatalogueCount = static_cast<int32_t>(m_layout.m_arrColumns.size()) + 1;
  EXPECT_EQ(SetUpCustomDialog(m_layout, kCustomDialogAdd).strMessage, "Error while adding user defined cols");
}

// What the buttons append is seen through the dialog; without a chosen column they only say so.
TEST_F(CustomColumnEditTest, ButtonsNeedAChosenColumn) {
  EXPECT_EQ(GetOperatorAppend('*', false, nullptr).strMessage, "Please select a Column Name");
  EXPECT_EQ(GetEndAppend(nullptr).strMessage, "No column is selected");
}

TEST_F(CustomColumnEditTest, EditsTheChosenColumnOnly) {
  ASSERT_TRUE(Add("Net", kNetDisplay).Succeeded());
  ASSERT_TRUE(Add("Fixed", "\"Margin Used\"", true).Succeeded());
  const sColumnChoice net{"Net", 289};
  const sColumnChoice fixed{"Fixed", 290};
  const sColumnChoice gone{"Gone", 289};
  EXPECT_EQ(Edit(nullptr, "1").strMessage, kTextNoneToEdit);
  EXPECT_EQ(Edit(&net, "\"Nope\"").strMessage, kTextInvalid);
  EXPECT_EQ(Edit(&fixed, "1").strMessage, kTextNoneToEdit);
  EXPECT_EQ(Edit(&gone, "1").strMessage, kTextNoneToEdit);
  EXPECT_EQ(Column(289).strFormula, " \"1\" - \"10\"");

  m_layout.SetColumnWidth(289, 140);
  const sCustomColumnChange change = Edit(&net, "\"MToM Loss\" * 2");
  ASSERT_TRUE(change.Succeeded());
  EXPECT_TRUE(!change.insert.has_value() && change.arrTips.empty()) << "the header keeps its items";
  const sHalvoColInfo& edited = Column(289);
  EXPECT_EQ(std::tie(edited.szName, edited.strFormula, edited.strFormulaText, edited.nWidth),
            std::tuple("Net"sv, " \"8\" * 2"sv, "\"MToM Loss\" * 2"sv, 100));
  EXPECT_EQ(std::pair(m_layout.GetColumnWidth(289), m_layout.GetPosition(289)), std::pair(140, 289));
}

TEST_F(CustomColumnEditTest, DeletingRemovesDirectDependentsAndClosesTheHeader) {
  ASSERT_TRUE(Add("Net", kNetDisplay).Succeeded());              // 289
  ASSERT_TRUE(Add("Half", "\"Net\" / 2").Succeeded());           // 290, depends on Net
  ASSERT_TRUE(Add("Other", "\"Margin Used\" + 1").Succeeded());  // 291
  ASSERT_TRUE(Add("Double", "\"Net\" * 2", true).Succeeded());   // 292, depends on Net
  ASSERT_TRUE(Add("Quarter", "\"Half\" / 2").Succeeded());       // 293, only through Half
  // Show Other first and hide Quarter.
  std::vector<int32_t> arrPositions(m_layout.GetPositions());
  for (int32_t& nPosition : arrPositions) ++nPosition;
  arrPositions[291] = 0;
  arrPositions[293] = -1;
  m_layout.SetPositions(arrPositions);
  ASSERT_EQ(m_layout.GetPosition(291), 0);

  EXPECT_EQ(DeleteCustomColumn(m_layout, nullptr).strMessage, "No user defined column selected to delete");
  const sColumnChoice net{"Net", 289};
  const sCustomColumnChange change = DeleteCustomColumn(m_layout, &net);
  ASSERT_TRUE(change.Succeeded());
  // Double (position 292), Half (291), Net (290), each as the header is at that moment.
  EXPECT_EQ(change.arrDeletedPositions, (std::vector<int32_t>{292, 291, 290}));
  ASSERT_EQ(m_layout.m_arrColumns.size(), 291u);
  EXPECT_EQ(std::pair(std::string_view(Column(289).szName), std::string_view(Column(290).szName)),
            std::pair("Other"sv, "Quarter"sv));
  // Other first, then the standard columns; Quarter stays hidden.
  std::vector<int32_t> arrExpected(kCatalogueColumnCount);
  std::iota(arrExpected.begin(), arrExpected.end(), 1);
  arrExpected.insert(arrExpected.end(), {0, -1});
  EXPECT_EQ(m_layout.GetPositions(), arrExpected);
  ASSERT_EQ(change.arrTips.size(), 290u);
  EXPECT_EQ(std::tie(change.arrTips[0].strTip, change.arrTips[11].strTip, change.arrTips[289].nPosition),
            std::tuple("\"Margin Used\" + 1"sv, "Margin Used"sv, 289));
}
