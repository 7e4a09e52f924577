// Margin call and obligation call e-mails: a mailto: link with subject, body and carbon-copy
// list, opened through the system's shell so the user's mail program starts with the message
// ready for a recipient. The three amounts are the texts the watch list shows for the entity.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

class CFilterListStore;
class CListLayout;
class CRmsDetails;

// "Broker", "Branch", "Dealer", "Group" or "Account" for level codes 1 to 5, else empty.
std::string_view GetLevelWord(uint32_t nLevel);

// The link of a call e-mail of kind kCallMargin or kCallObligation. Nothing is encoded
// beyond the line breaks the fixed texts carry.
std::string BuildCallEmailLink(int nKind, uint32_t nLevel, std::string_view strEntityId,
                               std::string_view strTime, const std::array<std::string, 3>& arrAmounts,
                               std::string_view strCc);

// Composes the e-mail of the kind for one entity of a list, with the current local time and
// the list's amount columns, and opens it.
void ComposeCallEmail(const CFilterListStore& store, const CListLayout& layout, const CRmsDetails& record,
                      int nKind);
