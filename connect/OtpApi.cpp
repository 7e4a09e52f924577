// The C interface over the handles. Every call runs through Run, which turns a failed
// allocation into OTP_ERR_NO_MEMORY: nothing is thrown across the interface.
#include <exception>
#include <memory>

#include "connect/OtpHandles.h"
#include "connect/WireFormat.h"
#include "connect/include/connecthalvo.h"

namespace {

template <typename FnBody>
int Run(int32_t* pnErr, FnBody fnBody) {
  int32_t nErr = OTP_ERR_NONE;
  try {
    nErr = fnBody();
  } catch (const std::exception&) {
    nErr = OTP_ERR_NO_MEMORY;
  }
  if (pnErr != nullptr) {
    *pnErr = nErr;
  }
  return nErr == OTP_ERR_NONE ? 1 : 0;
}

}  // namespace

int otp_ctor_primecb(OTP_MSG* phMsg, int32_t* pnErr) {
  return Run(pnErr, [&]() -> int32_t {
    if (phMsg == nullptr) {
      return OTP_ERR_ARGUMENT;
    }
    *phMsg = new sOtpMessage;
    return OTP_ERR_NONE;
  });
}

int otp_open_scratch(OTP_SCRATCH* phScratch, uint32_t nSize, int32_t* pnErr) {
  return Run(pnErr, [&]() -> int32_t {
    if (phScratch == nullptr) {
      return OTP_ERR_ARGUMENT;
    }
    if (nSize > wire::kMaxMessageSize) {
      return OTP_ERR_TOO_LARGE;
    }
    auto pScratch = std::make_unique<sOtpScratch>();
    pScratch->writer.Reserve(nSize);
    *phScratch = pScratch.release();
    return OTP_ERR_NONE;
  });
}

int otp_start_msg(OTP_MSG hMsg, OTP_SCRATCH hScratch, int32_t* pnErr) {
  return Run(pnErr, [&]() -> int32_t {
    if (hMsg == nullptr || hScratch == nullptr || hMsg->optReceived) {
      return OTP_ERR_ARGUMENT;
    }
    BindScratch(*hMsg, hScratch);
    hScratch->writer.Start();
    hScratch->nLength = static_cast<uint32_t>(hScratch->writer.GetBytes().size());
    return OTP_ERR_NONE;
  });
}

int otp_add_data(OTP_MSG hMsg, uint32_t nFieldId, int32_t nType, const void* pValue, uint64_t nLength,
                 int32_t* pnErr) {
  return Run(pnErr, [&]() -> int32_t {
    if (hMsg == nullptr || hMsg->optReceived || (pValue == nullptr && nLength > 0)) {
      return OTP_ERR_ARGUMENT;
    }
    if (nType != wire::kTypeBytes) {
      return OTP_ERR_TYPE;
    }
    sOtpScratch* pScratch = hMsg->pScratch;
    if (pScratch == nullptr || !pScratch->IsComposing()) {
      return OTP_ERR_NOT_STARTED;
    }
    const int32_t nErr = pScratch->writer.Append(nFieldId, pValue, nLength);
    pScratch->nLength = static_cast<uint32_t>(pScratch->writer.GetBytes().size());
    return nErr;
  });
}

int otp_get_field(OTP_MSG hMsg, uint32_t nFieldId, OTP_FIELD_INFO* pInfo, int32_t* pnErr) {
  return Run(pnErr, [&]() -> int32_t {
    if (hMsg == nullptr) {
      return OTP_ERR_ARGUMENT;
    }
    const uint8_t* pValue = nullptr;
    uint32_t nLength = 0;
    const int32_t nErr = FindMessageField(*hMsg, nFieldId, &pValue, &nLength);
    if (nErr == OTP_ERR_NONE && pInfo != nullptr) {
      *pInfo = {nFieldId, static_cast<uint32_t>(wire::kTypeBytes), nLength};
    }
    return nErr;
  });
}

int otp_get_data(OTP_MSG hMsg, uint32_t nFieldId, int32_t nIndex, const void** ppValue, uint64_t* pnLength,
                 int32_t* pnErr) {
  return Run(pnErr, [&]() -> int32_t {
    if (ppValue != nullptr) {
      *ppValue = nullptr;
    }
    if (pnLength != nullptr) {
      *pnLength = 0;
    }
    if (hMsg == nullptr || ppValue == nullptr || pnLength == nullptr || nIndex != 0) {
      return OTP_ERR_ARGUMENT;
    }
    const uint8_t* pValue = nullptr;
    uint32_t nLength = 0;
    const int32_t nErr = FindMessageField(*hMsg, nFieldId, &pValue, &nLength);
    if (nErr == OTP_ERR_NONE) {
      *ppValue = pValue;
      *pnLength = nLength;
    }
    return nErr;
  });
}

int otp_get_data_many(OTP_MSG hMsg, const uint32_t* arrFieldIds, uint32_t nCount, OTP_FIELD_DATA* arrData,
                      int32_t* pnErr) {
  return Run(pnErr, [&]() -> int32_t {
    if (hMsg == nullptr || (nCount != 0 && (arrFieldIds == nullptr || arrData == nullptr))) {
      return OTP_ERR_ARGUMENT;
    }
    // A received message is read in one loop, the common case of a whole record.
    if (hMsg->optReceived) {
      hMsg->optReceived->FindFields(arrFieldIds, nCount, arrData);
      return OTP_ERR_NONE;
    }
    for (uint32_t n = 0; n < nCount; ++n) {
      const uint8_t* pValue = nullptr;
      uint32_t nLength = 0;
      const bool bFound = FindMessageField(*hMsg, arrFieldIds[n], &pValue, &nLength) == OTP_ERR_NONE;
      arrData[n] = {bFound ? pValue : nullptr, bFound ? nLength : 0u};
    }
    return OTP_ERR_NONE;
  });
}

int otp_close_scratch(OTP_SCRATCH hScratch, int32_t* pnErr) {
  return Run(pnErr, [&]() -> int32_t {
    if (hScratch == nullptr) {
      return OTP_ERR_ARGUMENT;
    }
    for (sOtpMessage* pMsg : hScratch->arrBound) {
      pMsg->pScratch = nullptr;
    }
    delete hScratch;
    return OTP_ERR_NONE;
  });
}

int otp_dtor_primecb(OTP_MSG hMsg, int32_t* pnErr) {
  return Run(pnErr, [&]() -> int32_t {
    if (hMsg == nullptr) {
      return OTP_ERR_ARGUMENT;
    }
    BindScratch(*hMsg, nullptr);
    delete hMsg;
    return OTP_ERR_NONE;
  });
}
