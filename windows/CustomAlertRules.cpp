#include "windows/CustomAlertRules.h"

#include <array>

#include "model/NumberFormat.h"
#include "plugin/SettingsAccess.h"

namespace {

constexpr char kFieldSeparator = '|';
constexpr size_t kStoredFieldCount = 4;

}  // namespace

std::string MakeRuleKey(std::string_view strColumnName, std::string_view strListKey) {
  std::string strKey;
  strKey.reserve(strColumnName.size() + 1 + strListKey.size());
  strKey.append(strColumnName).append(1, kFieldSeparator).append(strListKey);
  return strKey;
}

std::string_view GetRuleListKey(std::string_view strKey) {
  const size_t nBar = strKey.rfind(kFieldSeparator);
  return nBar == std::string_view::npos ? std::string_view{} : strKey.substr(nBar + 1);
}

CustomAlertSetting ParseStoredRule(std::string_view strValue, std::string_view strKey) {
  std::array<std::string, kStoredFieldCount> arrPieces;
  size_t nPiece = 0;
  size_t nStart = 0;
  while (nPiece < arrPieces.size() && nStart <= strValue.size()) {
    size_t nEnd = strValue.find(kFieldSeparator, nStart);
    if (nEnd == std::string_view::npos) nEnd = strValue.size();
    if (nEnd > nStart) arrPieces[nPiece++] = strValue.substr(nStart, nEnd - nStart);
    nStart = nEnd + 1;
  }
  CustomAlertSetting rule;
  rule.strColumnName = std::move(arrPieces[0]);
  rule.strExpression = std::move(arrPieces[1]);
  rule.strValue = std::move(arrPieces[2]);
  rule.strColumnNumber = std::move(arrPieces[3]);
  rule.strKey = strKey;
  return rule;
}

std::string FormatStoredRule(const CustomAlertSetting& rule) {
  if (rule.IsDeleted()) return kDeletedRuleText;
  std::string strValue;
  for (const std::string* pField :
       {&rule.strColumnName, &rule.strExpression, &rule.strValue, &rule.strColumnNumber}) {
    strValue.append(*pField).append(1, kFieldSeparator);
  }
  return strValue.append(rule.strKey);
}

bool DoesRuleFire(const CustomAlertSetting& rule, std::string_view strColumnText) {
  if (rule.IsDeleted()) return false;
  // Single precision on purpose: values that differ only past its 24 bits count as equal.
  const auto fColumn = static_cast<float>(ParseDecimalText(strColumnText));
  const auto fThreshold = static_cast<float>(ParseDecimalText(rule.strValue));
  if (rule.strExpression == kLessOrEqualText) return fColumn <= fThreshold;
  if (rule.strExpression == kGreaterOrEqualText) return fColumn >= fThreshold;
  return false;
}

int GetCustomAlertCellText(const CustomAlertSetting* pRule, int nColumn, std::string& strText) {
  strText.clear();
  if (pRule == nullptr) return 1;
  switch (nColumn) {
    case 0:
      strText = pRule->strColumnName;
      break;
    case 1:
      strText = pRule->strExpression;
      break;
    case 2:
      strText = pRule->strValue;
      break;
    case 3:
      strText = pRule->strColumnNumber;
      break;
    default:
      break;
  }
  return 1;
}

const CustomAlertSetting* CCustomAlertRules::Find(std::string_view strKey) const {
  const auto itRule = m_mapRules.find(strKey);
  return itRule == m_mapRules.end() ? nullptr : &itRule->second;
}

const CustomAlertSetting& CCustomAlertRules::Set(CustomAlertSetting rule) {
  const auto itRule = m_mapRules.find(rule.strKey);
  if (itRule == m_mapRules.end()) {
    CountLive(rule, 1);
    std::string strKey = rule.strKey;
    return m_mapRules.emplace(std::move(strKey), std::move(rule)).first->second;
  }
  CountLive(itRule->second, -1);
  CountLive(rule, 1);
  itRule->second = std::move(rule);
  return itRule->second;
}

void CCustomAlertRules::MarkDeleted(std::string_view strKey) {
  auto itRule = m_mapRules.find(strKey);
  if (itRule == m_mapRules.end()) {
    CustomAlertSetting rule;
    rule.strKey = strKey;
    itRule = m_mapRules.emplace(rule.strKey, std::move(rule)).first;
  }
  CustomAlertSetting& rule = itRule->second;
  CountLive(rule, -1);
  rule.strColumnName.clear();
  rule.strExpression.clear();
  rule.strValue.clear();
}

const CustomAlertSetting* CCustomAlertRules::Load(std::string_view strKey) {
  if (const CustomAlertSetting* pRule = Find(strKey)) return pRule->IsDeleted() ? nullptr : pRule;
  std::string strValue;
  const std::string strKeyText(strKey);
  if (!AccessKeySetting(kSettingRead, kCustomAlertSection, strKeyText, strValue, kCustomAlertFileName) ||
      strValue == kDeletedRuleText)
    return nullptr;
  return &Set(ParseStoredRule(strValue, strKey));
}

void CCustomAlertRules::Save(std::string_view strKey) const {
  const auto itRule = m_mapRules.find(strKey);
  if (itRule == m_mapRules.end()) return;
  std::string strValue = FormatStoredRule(itRule->second);
  AccessKeySetting(kSettingWrite, kCustomAlertSection, itRule->first, strValue, kCustomAlertFileName);
}

void CCustomAlertRules::SaveAll() {
  for (const auto& [strKey, rule] : m_mapRules) Save(strKey);
  m_mapRules.clear();
  m_mapLiveCounts.clear();
}

bool CCustomAlertRules::HasLiveRules(std::string_view strListKey) const {
  const auto itCount = m_mapLiveCounts.find(strListKey);
  return itCount != m_mapLiveCounts.end() && itCount->second > 0;
}

void CCustomAlertRules::CountLive(const CustomAlertSetting& rule, int nChange) {
  if (rule.IsDeleted()) return;
  const std::string_view strListKey = GetRuleListKey(rule.strKey);
  auto itCount = m_mapLiveCounts.find(strListKey);
  if (itCount == m_mapLiveCounts.end()) itCount = m_mapLiveCounts.emplace(std::string(strListKey), 0).first;
  itCount->second += nChange;
}

std::vector<std::string> DescribeLiveRules(const CCustomAlertRules& rules,
                                           std::span<const std::string> arrNames,
                                           std::string_view strListKey) {
  std::vector<std::string> arrTexts;
  for (const std::string& strName : arrNames) {
    const CustomAlertSetting* pRule = rules.Find(MakeRuleKey(strName, strListKey));
    if (pRule != nullptr && !pRule->IsDeleted())
      arrTexts.push_back('"' + strName + "\" " + pRule->strExpression + " " + pRule->strValue);
  }
  return arrTexts;
}
