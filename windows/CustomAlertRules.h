// Custom alert rules: threshold rules on the custom columns of the watch lists, one per column
// name and list key, kept in one map from start-up to shutdown and stored in
// "CustomAlertSettings.ini" (section "CUSTOMIZE_WINDOW", one key per rule, read and written
// through the key accessor).
//
// A stored value is "NULL" for a deleted rule, else the five fields joined by "|": column name,
// comparison, threshold, column number, key. The key holds a "|" itself, so a stored line has
// six pieces; reading takes the first four and the key it was looked up by.
#pragma once

#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

inline constexpr const char* kCustomAlertFileName = "CustomAlertSettings.ini";
inline constexpr const char* kCustomAlertSection = "CUSTOMIZE_WINDOW";
inline constexpr const char* kDeletedRuleText = "NULL";
inline constexpr const char* kLessOrEqualText = "less than or equal to";
inline constexpr const char* kGreaterOrEqualText = "greater than or equal to";

// One rule. A deleted rule keeps its key and has an empty column name, comparison and value.
struct CustomAlertSetting {
  std::string strExpression;    // kLessOrEqualText or kGreaterOrEqualText
  std::string strColumnName;    // the custom column's heading
  std::string strValue;         // the threshold as typed
  std::string strKey;           // column name, "|", list key
  std::string strColumnNumber;  // the column's index in the list's column array, as text

  bool IsDeleted() const { return strColumnName.empty(); }
};

// The key of a column's rule in a list: "Net Loss" in "list1" gives "Net Loss|list1".
std::string MakeRuleKey(std::string_view strColumnName, std::string_view strListKey);
// The list key a rule key ends with (after its last "|").
std::string_view GetRuleListKey(std::string_view strKey);

// A rule from a stored value: split at every "|", empty pieces skipped, the first four pieces
// are column name, comparison, threshold and column number; missing pieces stay empty.
CustomAlertSetting ParseStoredRule(std::string_view strValue, std::string_view strKey);
// The value a rule is stored with: "NULL" when deleted, else the five fields joined by "|".
std::string FormatStoredRule(const CustomAlertSetting& rule);

// Whether the rule fires for a column's text. The text and the threshold are read as strtod
// reads them (no number gives 0) and compared in single precision; equal values fire both
// comparisons. A deleted rule or an unknown comparison never fires.
bool DoesRuleFire(const CustomAlertSetting& rule, std::string_view strColumnText);

// The rule list's cells: column 0 column name, 1 comparison, 2 threshold, 3 column number.
// Returns 1; other columns and a null rule give an empty text.
int GetCustomAlertCellText(const CustomAlertSetting* pRule, int nColumn, std::string& strText);

class CCustomAlertRules;

// The rules that can fire on the named columns of a list, one text each in the names' order,
// for example "Net Loss" greater than or equal to 50000.
std::vector<std::string> DescribeLiveRules(const CCustomAlertRules& rules,
                                           std::span<const std::string> arrNames,
                                           std::string_view strListKey);

// The map of all rules by key (exact, case-sensitive). Rules stay at their address until
// SaveAll, so list rows may point at them.
class CCustomAlertRules {
 public:
  const CustomAlertSetting* Find(std::string_view strKey) const;
  // Replaces the content of the rule with the same key or adds the rule.
  const CustomAlertSetting& Set(CustomAlertSetting rule);
  // Empties the column name, comparison and value of the rule with the key (added as a deleted
  // rule when the map does not hold it), so that saving writes "NULL" for it.
  void MarkDeleted(std::string_view strKey);
  // The rule to show for a key: the map's rule unless it is deleted; else, when the map does
  // not hold the key, the stored one, which is added to the map. Null when there is none.
  const CustomAlertSetting* Load(std::string_view strKey);
  // Writes every rule in key order and empties the map. Stored keys the map does not hold
  // stay as they are.
  // Writes one rule as it stands (a deleted one as deleted): a change is kept at once, so a
  // terminal that is killed loses none.
  void Save(std::string_view strKey) const;
  void SaveAll();

  // Whether a rule that can fire belongs to the list key; checks skip lists without one.
  bool HasLiveRules(std::string_view strListKey) const;
  size_t GetCount() const { return m_mapRules.size(); }

 private:
  void CountLive(const CustomAlertSetting& rule, int nChange);

  std::map<std::string, CustomAlertSetting, std::less<>> m_mapRules;
  // Rules that are not deleted, by list key.
  std::map<std::string, int, std::less<>> m_mapLiveCounts;
};
