#include "model/EntityLevel.h"

#include <algorithm>

#include "model/FieldReaders.h"
#include "model/RmsDetails.h"
#include "protocol/RmsProtocol.h"

namespace {

struct sLevelWord {
  std::string_view strWord;
  uint32_t nLevel;
};

// In the order the words are looked for: "account" wins over every other word in the text.
constexpr sLevelWord kLevelWords[] = {
    {"account", kLevelAccount}, {"dealer", kLevelDealer}, {"group", kLevelGroup},
    {"branch", kLevelBranch},   {"broker", kLevelBroker},
};

}  // namespace

uint32_t FindLevelCode(std::string_view strEntityText) {
  for (const sLevelWord& word : kLevelWords) {
    if (strEntityText.find(word.strWord) != std::string_view::npos) {
      return word.nLevel;
    }
  }
  return kLevelNone;
}

std::string_view GetEntityIdFromText(std::string_view strEntityText) {
  const size_t nDash = strEntityText.find('-');
  return nDash == std::string_view::npos ? strEntityText : strEntityText.substr(nDash + 1);
}

bool ReadEntityLevel(OTP_MSG hMsg, CRmsDetails& record) {
  std::string_view strEntityText;
  if (!ReadFieldTextView(hMsg, rmsproto::kEntityTextField, strEntityText)) {
    return false;
  }
  record.nLevel = FindLevelCode(strEntityText);
  record.SetEntityId(GetEntityIdFromText(strEntityText));
  return true;
}

bool ReadLevelText(OTP_MSG hMsg, CRmsDetails& record) {
  std::string_view strLevelText;
  if (!ReadFieldTextView(hMsg, rmsproto::kLevelTextField, strLevelText) &&
      !ReadFieldTextView(hMsg, rmsproto::kRequestLevelTextField, strLevelText)) {
    return false;
  }
  record.SetLevelText(strLevelText);
  return true;
}

std::string_view GetLevelName(uint32_t nLevel) {
  switch (nLevel) {
    case kLevelAccount:
      return "Account";
    case kLevelDealer:
      return "Dealer";
    case kLevelGroup:
      return "Group";
    case kLevelBranch:
      return "Branch";
    case kLevelBroker:
      return "Broker";
    default:
      return {};
  }
}

sLevelTextParts SplitLevelText(std::string_view strLevelText) {
  sLevelTextParts parts;
  std::string_view* arrKept[] = {&parts.strSegment, &parts.strExchange, &parts.strProduct};
  size_t nPos = 0;
  while (true) {
    nPos = strLevelText.find_first_not_of('-', nPos);
    if (nPos == std::string_view::npos) {
      break;
    }
    const size_t nEnd = std::min(strLevelText.find('-', nPos), strLevelText.size());
    if (parts.nCount < 3) {
      *arrKept[parts.nCount] = strLevelText.substr(nPos, nEnd - nPos);
    }
    ++parts.nCount;
    nPos = nEnd;
  }
  return parts;
}
