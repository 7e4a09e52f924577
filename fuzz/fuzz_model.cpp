// Feeds arbitrary risk messages to the entity-record parser and to the call status builder.
// The input is cut into fields (mostly ids the parser reads, values of any bytes, now and then
// 10 KB long), so the parser sees well-formed messages with hostile values. Every cell must
// read back within the limits, every decimal cell must equal printf's text of strtod's value,
// and a copy must show the same cells.
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "connect/include/HalvoCodec.h"
#include "fuzz/FuzzMessage.h"
#include "model/AuxiliaryLists.h"
#include "model/CallStatusEntry.h"
#include "model/RmsDetails.h"
#include "model/RmsValueParser.h"
#include "model/RmsWireTable.h"

namespace {

void Check(bool bCondition) {
  if (!bCondition) {
    std::abort();
  }
}

// The ids an input byte picks from: every field the parser, the levels and the call status
// builder read; other byte values name small raw ids.
const std::vector<uint32_t>& GetFieldIds() {
  static const std::vector<uint32_t> s_arrIds = [] {
    std::vector<uint32_t> arrIds = {rmsproto::kGroupwiseField, 64050, 54244, 32760, 49288, 10615, 49302, 12030, 54247};
    for (const sWireRule& rule : rmswire::kRules) {
      if (rule.eRule != eValueRule::kReceiver) {
        arrIds.push_back(rule.nField);
      }
    }
    return arrIds;
  }();
  return s_arrIds;
}

// The text printf gives for the value strtod reads from the first 63 bytes of the field;
// empty when the field is absent.
std::string PrintDecimalField(OTP_MSG hMsg, uint32_t nField, int nPrecision) {
  const void* pValue = nullptr;
  uint64_t nLength = 0;
  if (!otp_get_data(hMsg, nField, 0, &pValue, &nLength, nullptr)) {
    return {};
  }
  char szNumber[64] = {};
  std::memcpy(szNumber, pValue, std::min<uint64_t>(nLength, 63));
  char szText[400];
  std::snprintf(szText, sizeof(szText), nPrecision == 2 ? "%0.2lf" : "%0.3lf",
                std::strtod(szNumber, nullptr));
  return szText;
}

class CCheckingSink : public CCallStatusSink {
 public:
  void InsertCallStatus(std::unique_ptr<sCallStatusEntry> pEntry) override {
    Check(pEntry->strCallType == "OBLIGATION" || pEntry->strCallType == "MARGIN");
    Check(pEntry->strLevel.find(pEntry->strSegment) != std::string::npos);
    std::string strText;
    for (int nColumn = -1; nColumn <= 9; ++nColumn) {
      Check(GetCallStatusCellText(pEntry.get(), nColumn, strText) == 1);
      Check(strText.size() <= kAuxCellTextLimit);
    }
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  if (nSize == 0) {
    return 0;
  }
  static CCheckingSink s_sink;
  SetCallStatusSink(&s_sink);

  const std::vector<uint8_t> arrBytes = BuildFuzzMessage(pData + 1, nSize - 1, GetFieldIds());
  OTP_MSG hMsg = ParseOtpMessage(arrBytes.data(), arrBytes.size(), nullptr);
  Check(hMsg != nullptr);

  CRmsDetails working;
  working.nLevel = pData[0] % 8;
  Check(ParseRmsValues(hMsg, working) == 1);
  CRmsDetails stored;
  stored.SetEntityId("previous");
  stored = working;

  std::string strText;
  std::string strCopy;
  for (int nColumn = -1; nColumn <= 290; ++nColumn) {
    Check(GetColumnText(&working, nColumn, strText) == 1);
    Check(!strText.empty() && strText.size() <= CSlotTexts::kMaxTextLength);
    GetColumnText(&stored, nColumn, strCopy);
    Check(strText == strCopy);
  }
  for (const sWireRule& rule : rmswire::kRules) {
    if (rule.eRule == eValueRule::kDecimal2 || rule.eRule == eValueRule::kDecimal3) {
      const int nSlot =
          rule.slot.nColumn >= 0 ? FindColumnSlot(rule.slot.nColumn) : FindFieldSlot(rule.slot.nWireField);
      const std::string strExpected =
          PrintDecimalField(hMsg, rule.nField, rule.eRule == eValueRule::kDecimal3 ? 3 : 2);
      Check(working.GetSlotText(nSlot) == (strExpected.empty() ? rule.szAbsent : strExpected));
    }
  }

  AddCallStatusFromMessage(hMsg);
  otp_dtor_primecb(hMsg, nullptr);
  return 0;
}
