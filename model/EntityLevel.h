// Entity levels: the level code and entity id from the server's entity text, the level text,
// the name of a level, and the parts of a level text.
#pragma once

#include <cstdint>
#include <string_view>

#include "connect/include/connecthalvo.h"

class CRmsDetails;

constexpr uint32_t kLevelNone = 0;
constexpr uint32_t kLevelBroker = 1;
constexpr uint32_t kLevelBranch = 2;
constexpr uint32_t kLevelDealer = 3;
constexpr uint32_t kLevelGroup = 4;
constexpr uint32_t kLevelAccount = 5;

// The code of the first word found anywhere in the text, case-sensitively, tested in the
// order "account", "dealer", "group", "branch", "broker"; kLevelNone when none is.
uint32_t FindLevelCode(std::string_view strEntityText);
// The text after the first "-", or the whole text when it has none.
std::string_view GetEntityIdFromText(std::string_view strEntityText);

// Field 64050, when present, sets the record's level code and entity id; false when absent
// (both stay as they were).
bool ReadEntityLevel(OTP_MSG hMsg, CRmsDetails& record);
// The level text is field 54244, else field 32760; false when both are absent (the record's
// level text stays as it was).
bool ReadLevelText(OTP_MSG hMsg, CRmsDetails& record);

// "Account", "Dealer", "Group", "Branch", "Broker"; empty for any other code.
std::string_view GetLevelName(uint32_t nLevel);

// The parts of a level text taken left to right at "-": segment, exchange, product. A run of
// "-" separates like one, and no part is empty. Missing parts are empty; nCount says how many
// parts the text has (a fourth and later parts are counted but not kept).
struct sLevelTextParts {
  std::string_view strSegment;
  std::string_view strExchange;
  std::string_view strProduct;
  int nCount = 0;
};
sLevelTextParts SplitLevelText(std::string_view strLevelText);
