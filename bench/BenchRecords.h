// Entity records for benchmarks, filled the way the receiver fills them: one risk message per
// record composed with every mapped field and parsed by the model's parser. Values are shaped
// like the server's: signed amounts with two decimals (some zero, which custom columns divide
// by), whole numbers, ratios with four decimals, a few fields absent.
#pragma once

#include <cstdint>
#include <cstdio>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "connect/include/HalvoCodec.h"
#include "model/NumberFormat.h"
#include "model/RmsDetails.h"
#include "model/RmsValueParser.h"
#include "model/RmsWireTable.h"

namespace benchrecords {

// One in this many amounts is zero, and one in this many fields is left out of a message.
constexpr uint64_t kZeroAmountOdds = 25;
constexpr uint64_t kAbsentFieldOdds = 40;

inline std::string MakeAmountText(std::mt19937_64& random) {
  if (random() % kZeroAmountOdds == 0) return "0";
  char szText[kFixedTextSize];
  const double dValue = static_cast<double>(static_cast<int64_t>(random() % 200000000) - 40000000) / 100.0;
  return std::string(szText, FormatFixed(dValue, 2, szText));
}

inline std::string MakeFieldText(const sWireRule& rule, std::mt19937_64& random) {
  switch (rule.eRule) {
    case eValueRule::kInt32:
    case eValueRule::kInt64:
      return std::to_string(random() % 5000);
    case eValueRule::kText:
      return rule.nField == 63002   ? "CM"
             : rule.nField == 10101 ? "NSE"
             : rule.nField == 64030 ? "NRML"
                                    : "CM-NSE-NRML";
    case eValueRule::kDecimal3: {
      char szText[16];
      std::snprintf(szText, sizeof(szText), "0.%04d", static_cast<int>(random() % 10000));
      return szText;
    }
    default:
      return MakeAmountText(random);
  }
}

// The rules whose fields a message carries: each field once, receiver slots left out.
inline const std::vector<sWireRule>& GetSentRules() {
  static const std::vector<sWireRule> s_arrRules = [] {
    std::vector<sWireRule> arrRules;
    std::set<uint32_t> setSent;
    for (const sWireRule& rule : rmswire::kRules)
      if (rule.eRule != eValueRule::kReceiver && setSent.insert(rule.nField).second) arrRules.push_back(rule);
    return arrRules;
  }();
  return s_arrRules;
}

// The message the server would send for one account.
inline void ComposeAccountMessage(int nRecord, std::mt19937_64& random, CMessageBuilder& builder) {
  builder.Start();
  for (const sWireRule& rule : GetSentRules()) {
    if (random() % kAbsentFieldOdds == 0) continue;
    builder.AddText(rule.nField, MakeFieldText(rule, random));
  }
  builder.AddText(rmsproto::kGroupwiseField, nRecord % 2 ? "yes" : "no");
}

// nCount account records, each parsed from its own message.
inline std::vector<CRmsDetails> MakeParsedRecords(int nCount, uint64_t nSeed) {
  std::mt19937_64 random(nSeed);
  std::vector<CRmsDetails> arrRecords(static_cast<size_t>(nCount));
  CMessageBuilder builder;
  for (int i = 0; i < nCount; ++i) {
    CRmsDetails& record = arrRecords[static_cast<size_t>(i)];
    record.nLevel = 5;
    ComposeAccountMessage(i, random, builder);
    const std::vector<uint8_t>& arrBytes = builder.GetBytes();
    OTP_MSG hMsg = ParseOtpMessage(arrBytes.data(), arrBytes.size(), nullptr);
    if (hMsg == nullptr) continue;
    ParseRmsValues(hMsg, record);
    otp_dtor_primecb(hMsg, nullptr);
    char szId[16];
    std::snprintf(szId, sizeof(szId), "ACC%06d", i);
    record.SetEntityId(szId);
    record.SetLevelText("CM-NSE-NRML");
  }
  return arrRecords;
}

}  // namespace benchrecords
