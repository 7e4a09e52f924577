// The settings a risk desk starts its terminal with, written into a fresh settings folder
// before the terminal starts: four watch lists, each with its title, a dozen standard columns
// for its subject, two custom (formula) columns, and a custom alert rule on each of those that
// fires for a small share of the records.
//
// The folder is $XDG_DATA_HOME/halvo-trader/<user>/Orvane/. Every list has every view option
// on (live filter and sort, kept filters and sort, alerts on every row, numbers never cut,
// Indian digit grouping, frozen first column) and shows its rows' "Last Update". Two keep a
// view: the margin list is filtered to the records with more than ten lakh of cash margin
// available (about three fifths of the accounts, and the larger levels above them), the
// exposure list sorted by gross exposure, largest first. They start so before the first record
// arrives, and every record that comes or changes goes to its place at once. The other two
// lists start unfiltered and unsorted.
#pragma once

#include <array>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace desksettings {

// A standard column: its index in the column catalogue and its heading.
struct sDeskColumn {
  int nIndex;
  const char* szName;
};

// A custom column and the rule on it: fires when the column is at most (bAtMost) or at least
// the threshold.
struct sDeskFormula {
  const char* szName;
  const char* szExpression;  // column headings in double quotes
  bool bAtMost;
  const char* szThreshold;
};

struct sDeskList {
  const char* szTitle;
  std::vector<sDeskColumn> arrColumns;
  std::array<sDeskFormula, 2> arrFormulas;
  // The kept filters and sort as the list stores them ("FILTERS" and "SORT" values: column
  // headings, filter texts, direction); null where the list keeps none.
  const char* szFilters = nullptr;
  const char* szSort = nullptr;
};

// Custom columns are added after the catalogue's columns and the watch lists' "Last Update".
constexpr int kCatalogueColumns = 289;

// Thresholds for the records rms-sim makes: amounts uniform up to 25 lakh, MToM values normal
// with a lakh's spread, limits up to five crore; each rule fires for about half a per cent of
// the accounts.
inline const std::vector<sDeskList>& GetDeskLists() {
  static const std::vector<sDeskList> s_arrLists = {
      {"Margin Watch",
       {{0, "EntityId"},
        {83, "Level"},
        {201, "Entity Name"},
        {7, "Category"},
        {1, "Cash Margin Avail"},
        {10, "Margin Used"},
        {22, "Adhoc Margin"},
        {69, "Collateral Value"},
        {123, "Gross Collateral"},
        {81, "Pay In Amount"},
        {82, "Pay Out Amount"},
        {283, "MarginCallStatus"},
        {284, "MarginCallDate"}},
       {{{"Net Avail", "\"Cash Margin Avail\" - \"Margin Used\"", true, "-2250000"},
         {"Used Lakhs", "\"Margin Used\" / 100000", false, "24.9"}}},
       "Cash Margin Avail:>1000000"},
      {"MToM Watch",
       {{0, "EntityId"},
        {83, "Level"},
        {201, "Entity Name"},
        {8, "MToM Loss"},
        {6, "MToM Loss Limit"},
        {9, "MToM Loss Across Products"},
        {70, "Unrealized MTM Prsnt"},
        {71, "Realized MTM Prsnt"},
        {88, "MToM Warning %"},
        {30, "MToM Mult"},
        {281, "ObligationCallStatus"},
        {282, "ObligationCallDate"}},
       {{{"MToM Lakhs", "\"MToM Loss\" / 100000", true, "-2.58"},
         {"Net MTM", "\"Unrealized MTM Prsnt\" + \"Realized MTM Prsnt\"", true, "-364000"}}}},
      {"Exposure Watch",
       {{0, "EntityId"},
        {83, "Level"},
        {201, "Entity Name"},
        {11, "Gross Exposure"},
        {4, "Exposure Limit"},
        {13, "Gross Exposure Across Products"},
        {29, "Buy Exp Present"},
        {28, "Sell Exp Present"},
        {25, "Buy Exp Limit"},
        {24, "Sell Exp Limit"},
        {80, "Open Order Value"},
        {75, "Open Order Value Limit"}},
       {{{"Exposure Gap", "\"Exposure Limit\" - \"Gross Exposure\"", true, "-1000000"},
         {"Exposure Lakhs", "\"Gross Exposure\" / 100000", false, "24.9"}}},
       nullptr,
       "Gross Exposure,descending"},
      {"Turnover Watch",
       {{0, "EntityId"},
        {83, "Level"},
        {201, "Entity Name"},
        {230, "Branch id"},
        {15, "Overall Turnover"},
        {5, "Turnover Limit"},
        {16, "Overall Turnover Across Products"},
        {97, "Buy TurnOver Present"},
        {98, "Sell TurnOver Present"},
        {32, "Premium Prsnt"},
        {31, "Amount Utilized Prsnt"}},
       {{{"Turnover Gap", "\"Turnover Limit\" - \"Overall Turnover\"", true, "-1000000"},
         {"Buy Sell Turnover", "\"Buy TurnOver Present\" + \"Sell TurnOver Present\"", false, "4750000"}}}},
  };
  return s_arrLists;
}

// The stored form of an expression: a blank, then each heading replaced by its column index.
inline std::string MakeStoredExpression(const sDeskList& list, const std::string& strDisplay) {
  std::string strStored = " " + strDisplay;
  for (const sDeskColumn& column : list.arrColumns) {
    const std::string strQuoted = std::string("\"") + column.szName + "\"";
    const std::string strIndex = "\"" + std::to_string(column.nIndex) + "\"";
    for (size_t nAt = strStored.find(strQuoted); nAt != std::string::npos;
         nAt = strStored.find(strQuoted, nAt + strIndex.size()))
      strStored.replace(nAt, strQuoted.size(), strIndex);
  }
  return strStored;
}

// The settings folder of the user under the data home the terminal is given.
inline std::filesystem::path GetSettingsFolder(const std::filesystem::path& dataHome,
                                               const std::string& strUser) {
  return dataHome / "halvo-trader" / strUser / "Orvane";
}

// Writes the watch lists and their rules; false when a file cannot be written.
inline bool WriteDeskSettings(const std::filesystem::path& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  std::ofstream settings(folder / "OrvaneSetting.ini");
  std::ofstream rules(folder / "CustomAlertSettings.ini");
  settings << "[CONFIG]\nDIALOG COUNT=4\nCOLORING CUSTOM COLUMN=";
  for (size_t nList = 0; nList < GetDeskLists().size(); ++nList)
    settings << (nList == 0 ? "" : ",") << GetDeskLists()[nList].arrFormulas[0].szName;
  settings << "\n";
  rules << "[CUSTOMIZE_WINDOW]\n";
  for (size_t nList = 0; nList < GetDeskLists().size(); ++nList) {
    const sDeskList& list = GetDeskLists()[nList];
    const std::string strListKey = "list" + std::to_string(nList + 1);
    settings << "\n[Orvane_watch" << nList + 1 << "]\nTITLE=" << list.szTitle << "\nCOLUMNPROFILE=";
    // "index,position,width" of the shown standard columns; the others stay hidden.
    int nPosition = 0;
    for (const sDeskColumn& column : list.arrColumns) {
      settings << (nPosition == 0 ? "" : ",") << column.nIndex << ',' << nPosition << ',' << 100;
      ++nPosition;
    }
    // The age of each row, after the standard columns.
    settings << ',' << kCatalogueColumns << ',' << nPosition++ << ',' << 100;
    settings << "\nUSERCOLUMNPROFILE=";
    for (size_t nFormula = 0; nFormula < list.arrFormulas.size(); ++nFormula) {
      const sDeskFormula& formula = list.arrFormulas[nFormula];
      const int nColumn = kCatalogueColumns + 1 + static_cast<int>(nFormula);
      settings << ',' << nColumn << ',' << nPosition++ << ",100," << formula.szName << '#'
               << MakeStoredExpression(list, formula.szExpression) << '#' << formula.szExpression;
      // Column name, comparison, threshold, column number, then the key: "name|listN".
      const std::string strKey = std::string(formula.szName) + "|" + strListKey;
      rules << strKey << '=' << formula.szName << '|'
            << (formula.bAtMost ? "less than or equal to" : "greater than or equal to") << '|'
            << formula.szThreshold << '|' << nColumn << '|' << strKey << "\n";
    }
    settings << "\n";
    settings << "LIVEFILTERSORT=1\nKEEPFILTERSORT=1\nALERTEVERYROW=1\nNUMBERSUNCUT=1\n"
                "DIGITGROUPING=indian\nFROZENFIRSTCOLUMN=1\n";
    if (list.szFilters != nullptr) settings << "FILTERS=" << list.szFilters << "\n";
    if (list.szSort != nullptr) settings << "SORT=" << list.szSort << "\n";
  }
  settings.close();
  rules.close();
  return !settings.fail() && !rules.fail();
}

}  // namespace desksettings
