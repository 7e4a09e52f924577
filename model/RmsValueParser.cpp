#include "model/RmsValueParser.h"

#include <array>
#include <cstring>
#include <memory>

#include "model/EntityLevel.h"
#include "model/FieldReaders.h"
#include "model/NumberFormat.h"
#include "model/RmsWireTable.h"
#include "protocol/RmsProtocol.h"

namespace {

// The wire table ordered by slot (row index per slot), so a record is written front to back
// in one pass.
constexpr std::array<int16_t, kRmsSlotCount> kSlotRules = [] {
  std::array<int16_t, kRmsSlotCount> arrRules{};
  arrRules.fill(-1);
  for (size_t nRow = 0; nRow < std::size(rmswire::kRules); ++nRow) {
    const rmsslot::sKey& slot = rmswire::kRules[nRow].slot;
    const int nSlot = slot.nColumn >= 0 ? FindColumnSlot(slot.nColumn) : FindFieldSlot(slot.nWireField);
    arrRules[static_cast<size_t>(nSlot)] = static_cast<int16_t>(nRow);
  }
  return arrRules;
}();

constexpr bool IsEverySlotRuled() {
  for (int16_t nRow : kSlotRules) {
    if (nRow < 0) {
      return false;
    }
  }
  return true;
}
static_assert(IsEverySlotRuled(), "every slot needs exactly one row of the wire table");

// A number's longest text fits the buffers it is formatted into.
static_assert(kFixedTextSize <= CSlotTexts::kMaxTextLength);

// The fields the table reads, each once and in table order, which is the order senders write
// a record in; and for each row its field's place among them (-1 for a receiver row).
struct sFieldPlan {
  std::array<uint32_t, std::size(rmswire::kRules)> arrIds{};
  uint32_t nCount = 0;
  std::array<int16_t, std::size(rmswire::kRules)> arrPlace{};
};

constexpr sFieldPlan kFieldPlan = [] {
  sFieldPlan plan;
  for (size_t nRow = 0; nRow < std::size(rmswire::kRules); ++nRow) {
    const sWireRule& rule = rmswire::kRules[nRow];
    plan.arrPlace[nRow] = -1;
    if (rule.eRule == eValueRule::kReceiver) continue;
    for (uint32_t n = 0; n < plan.nCount && plan.arrPlace[nRow] < 0; ++n)
      if (plan.arrIds[n] == rule.nField) plan.arrPlace[nRow] = static_cast<int16_t>(n);
    if (plan.arrPlace[nRow] < 0) {
      plan.arrPlace[nRow] = static_cast<int16_t>(plan.nCount);
      plan.arrIds[plan.nCount++] = rule.nField;
    }
  }
  return plan;
}();

// A field's bytes as the message gave them.
struct sFieldBytes {
  std::string_view strBytes;
  bool bPresent = false;
};

sFieldBytes GetRowField(const OTP_FIELD_DATA* arrData, size_t nRow) {
  const int nPlace = kFieldPlan.arrPlace[nRow];
  if (nPlace < 0 || arrData[nPlace].pValue == nullptr) return {};
  const OTP_FIELD_DATA& data = arrData[nPlace];
  return {data.nLength == 0 ? std::string_view() : std::string_view(static_cast<const char*>(data.pValue), data.nLength),
          true};
}

// Writes one slot's text from its field's bytes.
void AppendSlot(const sFieldBytes& field, const CRmsDetails& record, int nSlot, const sWireRule& rule,
                CSlotTextsWriter& writer) {
  if (rule.eRule == eValueRule::kReceiver) {
    writer.Append(record.GetSlotText(nSlot));
    return;
  }
  if (!field.bPresent) {
    writer.Append(rule.szAbsent);
    return;
  }
  switch (rule.eRule) {
    case eValueRule::kDecimal2:
    case eValueRule::kDecimal3:
    case eValueRule::kNegated2:
      writer.AppendNumber(GetBytesDecimalText(field.strBytes));
      return;
    case eValueRule::kBranchDecimal2:
      if (record.nLevel == kLevelBranch) {
        writer.AppendNumber(GetBytesDecimalText(field.strBytes));
      } else {
        writer.Append(rule.szAbsent);
      }
      return;
    case eValueRule::kInt32:
    case eValueRule::kInt64:
      writer.AppendNumber(field.strBytes.substr(0, kIntegerFieldChars));
      return;
    case eValueRule::kText:
    case eValueRule::kReceiver:
      writer.Append(GetBytesText(field.strBytes));
      return;
  }
}

}  // namespace

std::string_view FormatNumberSlot(int nSlot, std::string_view strBytes) {
  static thread_local char s_arrBuffers[CSlotTexts::kUnpackBuffers][CSlotTexts::kMaxTextLength + 1];
  static thread_local int s_nNext = 0;
  char* pText = s_arrBuffers[s_nNext];
  s_nNext = (s_nNext + 1) % CSlotTexts::kUnpackBuffers;
  const sWireRule& rule = rmswire::kRules[static_cast<size_t>(kSlotRules[static_cast<size_t>(nSlot)])];
  switch (rule.eRule) {
    case eValueRule::kDecimal3:
      return {pText, FormatDecimalText(strBytes, 3, false, pText)};
    case eValueRule::kNegated2:
      return {pText, FormatDecimalText(strBytes, 2, true, pText)};
    case eValueRule::kInt32:
      return {pText, FormatInteger(ClampToInt32(GetBytesInteger(strBytes)), pText)};
    case eValueRule::kInt64:
      return {pText, FormatInteger(GetBytesInteger(strBytes), pText)};
    default:
      return {pText, FormatDecimalText(strBytes, 2, false, pText)};
  }
}

sNumberRule GetNumberSlotRule(int nSlot) {
  const sWireRule& rule = rmswire::kRules[static_cast<size_t>(kSlotRules[static_cast<size_t>(nSlot)])];
  // Nine and eighteen digits are the most that never reach the clamps of 32 and 64 bits.
  switch (rule.eRule) {
    case eValueRule::kDecimal3:
      return {3, false, 0};
    case eValueRule::kNegated2:
      return {2, true, 0};
    case eValueRule::kInt32:
      return {-1, false, 9};
    case eValueRule::kInt64:
      return {-1, false, 18};
    default:
      return {2, false, 0};
  }
}

int ParseRmsValues(OTP_MSG hMsg, CRmsDetails& record) {
  // The buffer is kept between messages; the record gets its texts in one copy. A thread-local
  // address costs a call in a shared library, which the compiler would repeat for each slot; a
  // pointer read from it once is held.
  struct sScratch {
    CSlotTextsWriter writer;
    std::array<OTP_FIELD_DATA, std::size(rmswire::kRules)> arrData;
  };
  static thread_local std::unique_ptr<sScratch> s_pScratch;
  if (s_pScratch == nullptr) s_pScratch = std::make_unique<sScratch>();
  CSlotTextsWriter& writer = s_pScratch->writer;
  OTP_FIELD_DATA* const arrData = s_pScratch->arrData.data();
  // One call fetches every field; a failure leaves them all absent.
  if (!otp_get_data_many(hMsg, kFieldPlan.arrIds.data(), kFieldPlan.nCount, arrData, nullptr))
    s_pScratch->arrData.fill({});
  writer.Start();
  for (int nSlot = 0; nSlot < kRmsSlotCount; ++nSlot) {
    const size_t nRow = static_cast<size_t>(kSlotRules[static_cast<size_t>(nSlot)]);
    AppendSlot(GetRowField(arrData, nRow), record, nSlot, rmswire::kRules[nRow], writer);
  }
  writer.CommitTo(record.GetSlotTexts());

  std::string_view strGroupwise;
  record.bGroupwiseValidation =
      ReadFieldTextView(hMsg, rmsproto::kGroupwiseField, strGroupwise) && strGroupwise == "yes";
  return 1;
}
