#include "model/RmsValueParser.h"

#include <array>

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
    const int nSlot =
        slot.nColumn >= 0 ? FindColumnSlot(slot.nColumn) : FindFieldSlot(slot.nWireField);
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

// Numbers are formatted straight into the slot: their longest text is shorter than a slot's.
static_assert(kFixedTextSize <= CSlotTexts::kMaxTextLength);

// Reads a decimal field and writes its formatted value; false when the field is absent.
bool AppendDecimal(OTP_MSG hMsg, uint32_t nField, int nPrecision, bool bNegate,
                   CSlotTextsWriter& writer) {
  std::string_view strNumber;
  if (!ReadFieldDecimalText(hMsg, nField, strNumber)) {
    return false;
  }
  writer.EndSlot(FormatDecimalText(strNumber, nPrecision, bNegate, writer.GetSlotBuffer()));
  return true;
}

void AppendInteger(CSlotTextsWriter& writer, int64_t nValue) {
  writer.EndSlot(FormatInteger(nValue, writer.GetSlotBuffer()));
}

// Writes one slot's text.
void AppendSlot(OTP_MSG hMsg, const CRmsDetails& record, int nSlot, const sWireRule& rule,
                CSlotTextsWriter& writer) {
  switch (rule.eRule) {
    case eValueRule::kReceiver:
      writer.Append(record.GetSlotText(nSlot));
      return;
    case eValueRule::kDecimal2:
      if (AppendDecimal(hMsg, rule.nField, 2, false, writer)) {
        return;
      }
      break;
    case eValueRule::kDecimal3:
      if (AppendDecimal(hMsg, rule.nField, 3, false, writer)) {
        return;
      }
      break;
    case eValueRule::kNegated2:
      if (AppendDecimal(hMsg, rule.nField, 2, true, writer)) {
        return;
      }
      break;
    case eValueRule::kBranchDecimal2:
      if (record.nLevel == kLevelBranch && AppendDecimal(hMsg, rule.nField, 2, false, writer)) {
        return;
      }
      break;
    case eValueRule::kInt32: {
      int32_t nValue = 0;
      if (ReadFieldInt(hMsg, rule.nField, nValue)) {
        AppendInteger(writer, nValue);
        return;
      }
      break;
    }
    case eValueRule::kInt64: {
      int64_t nValue = 0;
      if (ReadFieldInt(hMsg, rule.nField, nValue)) {
        AppendInteger(writer, nValue);
        return;
      }
      break;
    }
    case eValueRule::kText: {
      std::string_view strText;
      if (ReadFieldTextView(hMsg, rule.nField, strText)) {
        writer.Append(strText);
        return;
      }
      break;
    }
  }
  writer.Append(rule.szAbsent);
}

}  // namespace

int ParseRmsValues(OTP_MSG hMsg, CRmsDetails& record) {
  // The buffer is kept between messages; the record gets its texts in one copy.
  static thread_local CSlotTextsWriter s_writer;
  s_writer.Start();
  for (int nSlot = 0; nSlot < kRmsSlotCount; ++nSlot) {
    const size_t nRow = static_cast<size_t>(kSlotRules[static_cast<size_t>(nSlot)]);
    AppendSlot(hMsg, record, nSlot, rmswire::kRules[nRow], s_writer);
  }
  s_writer.CommitTo(record.GetSlotTexts());

  std::string_view strGroupwise;
  record.bGroupwiseValidation =
      ReadFieldTextView(hMsg, kGroupwiseField, strGroupwise) && strGroupwise == "yes";
  return 1;
}
