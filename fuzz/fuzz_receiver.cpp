// Feeds arbitrary messages to the receiver as responses and publications, with lists that
// keep the rows they are given. The record map and every list must stay consistent: each row
// refers to a stored record, and each stored record is in every list once.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "fuzz/FuzzMessage.h"
#include "link/RmsReceiver.h"
#include "model/CallStatusEntry.h"
#include "model/RmsWireTable.h"
#include "platform/MessageBox.h"
#include "plugin/PluginContext.h"

namespace {

void Check(bool bCondition) {
  if (!bCondition) std::abort();
}

class CRowList final : public CWatchListTarget {
 public:
  void AppendRecordRow(CRmsDetails* pRecord) override { m_arrRows.push_back(pRecord); }
  void DeleteRecordRow(const CRmsDetails* pRecord) override {
    auto it = std::find(m_arrRows.begin(), m_arrRows.end(), pRecord);
    if (it != m_arrRows.end()) m_arrRows.erase(it);
  }
  bool RefreshVisibleRecordRow(const CRmsDetails* pRecord) override {
    return std::find(m_arrRows.begin(), m_arrRows.end(), pRecord) != m_arrRows.end();
  }
  std::vector<const CRmsDetails*> m_arrRows;
};

class CFuzzHost final : public CRmsReceiverHost, public CCallStatusSink {
 public:
  CWatchListTarget* GetWatchList(int nWindow) override {
    return nWindow <= 2 ? &m_lists[nWindow - 1] : nullptr;
  }
  void CheckCustomAlerts(const CRmsDetails&, const char*) override {}
  bool IsDealerOrClientListed(std::string_view strId) const override { return strId.size() % 2 == 0; }
  void AddMessageAlert(std::unique_ptr<sMessageAlert> pAlert) override { Check(pAlert != nullptr); }
  void InsertCallStatus(std::unique_ptr<sCallStatusEntry> pEntry) override { Check(pEntry != nullptr); }
  void ReportLinkFailure(eLinkFailure) override {}
  CRowList m_lists[2];
};

const std::vector<uint32_t>& GetFieldIds() {
  static const std::vector<uint32_t> s_arrIds = [] {
    std::vector<uint32_t> arrIds = {32767, 32766, 54211, 20008, 64050, 54244, 32760, 64056, 49288, 10615,
                                    49302, 12030, 54247, 54001, 63002, 64030, 63447, 50100, 63059};
    for (const sWireRule& rule : rmswire::kRules) arrIds.push_back(rule.nField);
    return arrIds;
  }();
  return s_arrIds;
}

// Names the receiver dispatches on; the first input byte picks one for 32767 and 54211.
constexpr const char* kNames[] = {"om_get_user_peer_data",        "mrv_rst_show_tree_all",
                                  "rms_get_prsnt_values_rst",     "roth_rst",
                                  "mrv_surv_alert_show_tree_all", "rms prsnt value publish",
                                  "rms prsnt value publish ZEL",  "manual sms alert"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  if (nSize < 2) return 0;
  static CFuzzHost s_host;
  static CRmsRequests s_requests(nullptr, g_pluginContext.userId);
  static CRmsReceiver s_receiver(s_host, s_requests, g_mapRmsDetails);
  static const bool s_bSetUp = [] {
    SetMessageBoxSink([](const std::string&) {});
    SetCallStatusSink(&s_host);
    return true;
  }();
  Check(s_bSetUp);
  g_pluginContext.userCategory = pData[1] % 3;

  // The chosen names go first, so the input's own 32767 and 54211 fields, if any, are refused.
  CMessageBuilder names;
  names.AddText(32767, kNames[pData[0] % 8]);
  names.AddText(54211, kNames[(pData[0] >> 3) % 8]);
  const std::vector<uint8_t> arrBytes = BuildFuzzMessage(pData + 2, nSize - 2, GetFieldIds());
  CMessageBuilder builder;
  for (const std::vector<uint8_t>* pSource : {&names.GetBytes(), &arrBytes}) {
    OTP_MSG hPart = ParseOtpMessage(pSource->data(), pSource->size(), nullptr);
    Check(hPart != nullptr);
    for (uint32_t nId : GetFieldIds()) {
      const void* pValue = nullptr;
      uint64_t nLength = 0;
      if (otp_get_data(hPart, nId, 0, &pValue, &nLength, nullptr)) builder.AddField(nId, pValue, nLength);
    }
    otp_dtor_primecb(hPart, nullptr);
  }
  OTP_MSG hMsg = ParseOtpMessage(builder.GetBytes().data(), builder.GetBytes().size(), nullptr);
  Check(hMsg != nullptr);
  if (pData[0] & 0x80)
    s_receiver.OnPublish(hMsg);
  else
    s_receiver.OnResponse(hMsg);
  otp_dtor_primecb(hMsg, nullptr);

  for (const CRowList& list : s_host.m_lists) {
    Check(list.m_arrRows.size() == g_mapRmsDetails.size());
    for (const CRmsDetails* pRow : list.m_arrRows) {
      auto it = g_mapRmsDetails.find(FormatRecordKey(*pRow));
      Check(it != g_mapRmsDetails.end() && it->second.get() == pRow);
    }
  }
  if (g_mapRmsDetails.size() > 2000) {
    g_mapRmsDetails.clear();
    for (CRowList& list : s_host.m_lists) list.m_arrRows.clear();
  }
  return 0;
}
