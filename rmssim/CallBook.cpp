#include "rmssim/CallBook.h"

#include <locale.h>

#include <array>
#include <cstdio>
#include <ctime>
#include <optional>

#include "rmssim/EntityTree.h"
#include "protocol/RmsProtocol.h"
#include "rmssim/SimRandom.h"

namespace {

// Alert fields kept and sent back, in this order.
constexpr std::array<uint32_t, 8> kAlertFields = {
    rmsproto::kEntityIdField,          rmsproto::kSourceUserField,  rmsproto::kSegmentField,
    rmsproto::kProductField,           rmsproto::kAlertAmountField, rmsproto::kAlertSecondsField,
    rmsproto::kAlertMicrosecondsField, rmsproto::kAlertKindField};

constexpr const char* kSampleUser = "RMSADMIN";

std::optional<std::string> ReadText(OTP_MSG hMsg, uint32_t nFieldId) {
  const void* pValue = nullptr;
  uint64_t nLength = 0;
  if (!otp_get_data(hMsg, nFieldId, 0, &pValue, &nLength, nullptr)) return std::nullopt;
  return std::string(static_cast<const char*>(pValue), static_cast<size_t>(nLength));
}

}  // namespace

std::string FormatCallTime(std::time_t nTime) {
  // In the "C" locale, as a terminal writes it: AM/PM whatever LANG and LC_* say.
  static const locale_t s_classic = newlocale(LC_ALL_MASK, "C", locale_t{});
  std::tm local{};
  localtime_r(&nTime, &local);
  char szText[64];
  const size_t nLength = strftime_l(szText, sizeof szText, "%d/%m/%Y %I:%M:%S %p", &local, s_classic);
  return std::string(szText, nLength);
}

bool CCallBook::TakeCallStatus(OTP_MSG hMsg, CEntityTree& tree) {
  sCallStatus call;
  std::optional<std::string> strEntity = ReadText(hMsg, rmsproto::kEntityTextField);
  std::optional<std::string> strLevel = ReadText(hMsg, rmsproto::kLevelTextField);
  std::optional<std::string> strUser = ReadText(hMsg, rmsproto::kSourceUserField);
  std::optional<std::string> strStatus = ReadText(hMsg, rmsproto::kObligationStatusField);
  std::optional<std::string> strTime = ReadText(hMsg, rmsproto::kObligationTimeField);
  if (!strStatus) {
    call.bMarginCall = true;
    strStatus = ReadText(hMsg, rmsproto::kMarginStatusField);
    strTime = ReadText(hMsg, rmsproto::kMarginTimeField);
  }
  if (!strEntity || !strLevel || !strUser || !strStatus || !strTime) return false;
  call.strEntityText = std::move(*strEntity);
  call.strLevelText = std::move(*strLevel);
  call.strUser = std::move(*strUser);
  call.strStatus = std::move(*strStatus);
  call.strTime = std::move(*strTime);
  AddCallStatus(std::move(call), tree);
  return true;
}

bool CCallBook::TakeManualAlert(OTP_MSG hMsg) {
  CAlertFields fields;
  for (uint32_t nField : kAlertFields) {
    if (std::optional<std::string> strValue = ReadText(hMsg, nField))
      fields.emplace_back(nField, std::move(*strValue));
  }
  const auto Has = [&fields](uint32_t nField) {
    for (const auto& [nId, strValue] : fields)
      if (nId == nField) return true;
    return false;
  };
  if (!Has(rmsproto::kEntityIdField) || !Has(rmsproto::kSourceUserField)) return false;
  AddManualAlert(std::move(fields));
  return true;
}

void CCallBook::AddSamples(CEntityTree& tree, CSimRandom& random, size_t nCalls, size_t nAlerts) {
  const std::time_t nNow = std::time(nullptr);
  std::vector<CSimRecord>& arrRecords = tree.GetRecords();
  if (arrRecords.empty()) return;
  constexpr std::array<const char*, 3> kObligationStatuses = {"OPEN", "CLOSE", "SELL OFF"};
  constexpr std::array<const char*, 4> kMarginStatuses = {"LEVEL 1", "LEVEL 2", "OPEN", "CLOSE"};
  for (size_t n = 0; n < nCalls; ++n) {
    const CSimRecord& record = arrRecords[random.Index(arrRecords.size())];
    sCallStatus call;
    call.strEntityText = record.GetEntity().strEntityText;
    call.strLevelText = record.GetLevelText();
    call.bMarginCall = random.Chance(0.5);
    call.strStatus = call.bMarginCall ? kMarginStatuses[random.Index(kMarginStatuses.size())]
                                      : kObligationStatuses[random.Index(kObligationStatuses.size())];
    call.strTime = FormatCallTime(nNow - static_cast<std::time_t>(3600 * (nCalls - n)));
    call.strUser = kSampleUser;
    AddCallStatus(std::move(call), tree);
  }
  for (size_t n = 0; n < nAlerts; ++n) {
    const CSimRecord& record = arrRecords[random.Index(arrRecords.size())];
    char szAmount[32];
    std::snprintf(szAmount, sizeof szAmount, "%.2f", random.Between(1000.0, 500000.0));
    const std::string strLevel = record.GetLevelText();
    const size_t nFirstDash = strLevel.find('-');
    CAlertFields fields = {{rmsproto::kEntityIdField, record.GetEntity().strId},
                           {rmsproto::kSourceUserField, kSampleUser}};
    if (strLevel.compare(0, nFirstDash, "ALL") != 0) {
      fields.emplace_back(rmsproto::kSegmentField, strLevel.substr(0, nFirstDash));
      fields.emplace_back(rmsproto::kProductField, strLevel.substr(strLevel.rfind('-') + 1));
    }
    fields.emplace_back(rmsproto::kAlertAmountField, szAmount);
    fields.emplace_back(rmsproto::kAlertSecondsField,
                        std::to_string(nNow - static_cast<std::time_t>(600 * (nAlerts - n))));
    fields.emplace_back(rmsproto::kAlertMicrosecondsField, "0");
    fields.emplace_back(rmsproto::kAlertKindField, std::to_string(1 + random.Index(3)));
    AddManualAlert(std::move(fields));
  }
}

void CCallBook::AddCallStatus(sCallStatus call, CEntityTree& tree) {
  if (CSimRecord* pRecord = tree.FindByText(call.strEntityText, call.strLevelText)) {
    if (call.bMarginCall)
      pRecord->SetMarginCall(call.strStatus, call.strTime);
    else
      pRecord->SetObligationCall(call.strStatus, call.strTime);
  }
  m_arrCalls.push_back(std::move(call));
  if (m_arrCalls.size() > kMaxEntries) m_arrCalls.pop_front();
}

void CCallBook::AddManualAlert(CAlertFields fields) {
  m_arrAlerts.push_back(std::move(fields));
  if (m_arrAlerts.size() > kMaxEntries) m_arrAlerts.pop_front();
}
