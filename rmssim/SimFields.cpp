#include "rmssim/SimFields.h"

#include <algorithm>
#include <cctype>
#include <string_view>
#include <vector>

#include "model/ColumnCatalogue.h"
#include "model/RmsWireTable.h"

namespace {

bool ContainsIgnoringCase(std::string_view strText, std::string_view strWord) {
  const auto it =
      std::search(strText.begin(), strText.end(), strWord.begin(), strWord.end(),
                  [](unsigned char a, unsigned char b) { return std::tolower(a) == std::tolower(b); });
  return it != strText.end();
}

// The kind of value from the rule and the column heading.
eSimShape ChooseShape(const sWireRule& rule) {
  switch (rule.eRule) {
    case eValueRule::kText:
      return eSimShape::kText;
    case eValueRule::kInt32:
    case eValueRule::kInt64:
      return eSimShape::kCount;
    case eValueRule::kDecimal3:
      return eSimShape::kPercent;
    default:
      break;
  }
  if (rule.slot.nColumn < 0) return eSimShape::kAmount;
  const std::string_view strHeading = GetCatalogueColumns()[static_cast<size_t>(rule.slot.nColumn)].szName;
  if (ContainsIgnoringCase(strHeading, "perc") || ContainsIgnoringCase(strHeading, "%") ||
      ContainsIgnoringCase(strHeading, "factor"))
    return eSimShape::kPercent;
  if (ContainsIgnoringCase(strHeading, "mult")) return eSimShape::kMultiplier;
  if (ContainsIgnoringCase(strHeading, "limit")) return eSimShape::kLimit;
  if (ContainsIgnoringCase(strHeading, "mtm") || ContainsIgnoringCase(strHeading, "mtom") ||
      ContainsIgnoringCase(strHeading, "loss"))
    return eSimShape::kSigned;
  return eSimShape::kAmount;
}

std::vector<sSimField> BuildSimFields() {
  std::vector<sSimField> arrFields;
  for (const sWireRule& rule : rmswire::kRules) {
    // Receiver slots come from the entity text and level text, not from a value field; a field
    // that fills two slots is sent once.
    if (rule.eRule == eValueRule::kReceiver) continue;
    const bool bSeen = std::any_of(arrFields.begin(), arrFields.end(),
                                   [&rule](const sSimField& field) { return field.nField == rule.nField; });
    if (!bSeen) arrFields.push_back({rule.nField, ChooseShape(rule)});
  }
  return arrFields;
}

}  // namespace

std::span<const sSimField> GetSimFields() {
  static const std::vector<sSimField> s_arrFields = BuildSimFields();
  return s_arrFields;
}
