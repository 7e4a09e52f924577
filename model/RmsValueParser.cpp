#include "model/RmsValueParser.h"

#include <array>
#include <cstring>

#include "model/EntityLevel.h"
#include "model/FieldReaders.h"
#include "model/NumberFormat.h"
#include "model/RmsWireTable.h"

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

// A field's bytes as the message gave them, gathered before any slot is written.
struct sFieldBytes {
  std::string_view strBytes;
  bool bPresent = false;
};
using FieldBytesTable = std::array<sFieldBytes, std::size(rmswire::kRules)>;

// Fetches every field the table reads in table order, which is the order senders write a
// record in, so the message library finds each at its read position without an index look-up.
void GatherFields(OTP_MSG hMsg, FieldBytesTable& arrFields) {
  for (size_t nRow = 0; nRow < arrFields.size(); ++nRow) {
    const sWireRule& rule = rmswire::kRules[nRow];
    sFieldBytes& field = arrFields[nRow];
    field.bPresent = rule.eRule != eValueRule::kReceiver && GetFieldBytes(hMsg, rule.nField, field.strBytes);
  }
}

// A number slot keeps the bytes its text is made from; the text is made when it is read.
void AppendNumberBytes(std::string_view strBytes, CSlotTextsWriter& writer) {
  if (!strBytes.empty()) std::memcpy(writer.GetSlotBuffer(), strBytes.data(), strBytes.size());
  writer.EndNumberSlot(strBytes.size());
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
      AppendNumberBytes(GetBytesDecimalText(field.strBytes), writer);
      return;
    case eValueRule::kBranchDecimal2:
      if (record.nLevel == kLevelBranch) {
        AppendNumberBytes(GetBytesDecimalText(field.strBytes), writer);
      } else {
        writer.Append(rule.szAbsent);
      }
      return;
    case eValueRule::kInt32:
    case eValueRule::kInt64:
      AppendNumberBytes(field.strBytes.substr(0, kIntegerFieldChars), writer);
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

int ParseRmsValues(OTP_MSG hMsg, CRmsDetails& record) {
  // The buffer is kept between messages; the record gets its texts in one copy.
  static thread_local CSlotTextsWriter s_writer;
  static thread_local FieldBytesTable s_arrFields;
  GatherFields(hMsg, s_arrFields);
  s_writer.Start();
  for (int nSlot = 0; nSlot < kRmsSlotCount; ++nSlot) {
    const size_t nRow = static_cast<size_t>(kSlotRules[static_cast<size_t>(nSlot)]);
    AppendSlot(s_arrFields[nRow], record, nSlot, rmswire::kRules[nRow], s_writer);
  }
  s_writer.CommitTo(record.GetSlotTexts());

  std::string_view strGroupwise;
  record.bGroupwiseValidation =
      ReadFieldTextView(hMsg, kGroupwiseField, strGroupwise) && strGroupwise == "yes";
  return 1;
}
