// A receive control that keeps what the plug-in sends: each message as its fields in order.
#pragma once

#include "host/api/HalvoHostApi.h"
#include "tests/support/TestMessage.h"

class CFakeRxControl final : public CPyxoRxControl {
 public:
  int SendRequest(uint64_t* pnOut, OTP_MSG hMsg, int32_t /*nFlags*/, int32_t* /*pnErr*/) override {
    const uint8_t* pBytes = nullptr;
    size_t nLength = 0;
    if (pnOut != nullptr) *pnOut = 0;
    if (!GetComposedBytes(hMsg, &pBytes, &nLength)) return 0;
    m_arrRequests.push_back(ListFields(pBytes, nLength));
    return m_bSendSucceeds ? 1 : 0;
  }
  // Kept as "field:value:out-value:the five numbers", for example "54211:x:0:1,0,0,0,1".
  int Subscribe(uint64_t* pnOut, uint32_t nFieldId, const char* pValue, uint64_t nLength, int32_t nMode,
                int32_t nReserved1, int32_t nReserved2, int32_t nReserved3, int32_t nReliable,
                int32_t* /*pnErr*/) override {
    std::string strNumbers;
    for (const int32_t nNumber : {nMode, nReserved1, nReserved2, nReserved3, nReliable})
      strNumbers += (strNumbers.empty() ? "" : ",") + std::to_string(nNumber);
    m_arrSubscriptions.push_back(std::to_string(nFieldId) + ":" + std::string(pValue, nLength) + ":" +
                                 std::to_string(*pnOut) + ":" + strNumbers);
    return 1;
  }
  int Publish(OTP_SCRATCH hScratch, int32_t* /*pnErr*/) override {
    const uint8_t* pBytes = nullptr;
    size_t nLength = 0;
    if (!GetScratchBytes(hScratch, &pBytes, &nLength)) return 0;
    m_arrPublications.push_back(ListFields(pBytes, nLength));
    return m_bSendSucceeds ? 1 : 0;
  }
  void Close(int32_t /*nFlags*/) override {}

  bool m_bSendSucceeds = true;
  std::vector<FieldList> m_arrRequests;
  std::vector<FieldList> m_arrPublications;
  std::vector<std::string> m_arrSubscriptions;
};
