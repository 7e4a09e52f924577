#include "connect/include/HalvoCodec.h"

#include <exception>
#include <span>

#include "connect/MessageWriter.h"
#include "connect/OtpHandles.h"

namespace {

void SetError(int32_t* pnErr, int32_t nErr) {
  if (pnErr != nullptr) {
    *pnErr = nErr;
  }
}

bool GiveBytes(std::span<const uint8_t> arrBytes, const uint8_t** ppBytes, size_t* pnLength) {
  if (ppBytes == nullptr || pnLength == nullptr) {
    return false;
  }
  *ppBytes = arrBytes.data();
  *pnLength = arrBytes.size();
  return true;
}

}  // namespace

OTP_MSG ParseOtpMessage(const void* pBytes, size_t nLength, int32_t* pnErr) {
  if (pBytes == nullptr) {
    SetError(pnErr, OTP_ERR_ARGUMENT);
    return nullptr;
  }
  try {
    auto pMsg = std::make_unique<sOtpMessage>();
    const int32_t nErr = pMsg->optReceived.emplace().Parse(static_cast<const uint8_t*>(pBytes), nLength);
    SetError(pnErr, nErr);
    if (nErr != OTP_ERR_NONE) {
      return nullptr;
    }
    return pMsg.release();
  } catch (const std::exception&) {
    SetError(pnErr, OTP_ERR_NO_MEMORY);
    return nullptr;
  }
}

bool GetComposedBytes(OTP_MSG hMsg, const uint8_t** ppBytes, size_t* pnLength) {
  if (hMsg == nullptr) {
    return false;
  }
  if (hMsg->optReceived) {
    return GiveBytes(hMsg->optReceived->GetBytes(), ppBytes, pnLength);
  }
  return GetScratchBytes(hMsg->pScratch, ppBytes, pnLength);
}

void PrefetchOtpMessage(OTP_MSG hMsg) {
  if (hMsg != nullptr && hMsg->optReceived) hMsg->optReceived->Prefetch();
}

size_t GetOtpMessageFootprint(OTP_MSG hMsg) {
  if (hMsg == nullptr || !hMsg->optReceived) {
    return 0;
  }
  return sizeof(sOtpMessage) - sizeof(CParsedMessage) + hMsg->optReceived->GetFootprint();
}

bool GetScratchBytes(OTP_SCRATCH hScratch, const uint8_t** ppBytes, size_t* pnLength) {
  if (hScratch == nullptr || !hScratch->IsComposing()) {
    return false;
  }
  return GiveBytes(hScratch->writer.GetBytes(), ppBytes, pnLength);
}

int64_t GetFrameLength(const void* pBytes, size_t nAvailable) {
  if (pBytes == nullptr) {
    return nAvailable == 0 ? 0 : -1;
  }
  return CParsedMessage::MeasureFrame(static_cast<const uint8_t*>(pBytes), nAvailable);
}

CMessageBuilder::CMessageBuilder() : m_pWriter(std::make_unique<CMessageWriter>()) { m_pWriter->Start(); }

CMessageBuilder::~CMessageBuilder() = default;
CMessageBuilder::CMessageBuilder(CMessageBuilder&& other) noexcept = default;
CMessageBuilder& CMessageBuilder::operator=(CMessageBuilder&& other) noexcept = default;

void CMessageBuilder::Start() { m_pWriter->Start(); }

int32_t CMessageBuilder::AddField(uint32_t nFieldId, const void* pValue, uint64_t nLength) {
  return m_pWriter->Append(nFieldId, pValue, nLength);
}

const std::vector<uint8_t>& CMessageBuilder::GetBytes() const { return m_pWriter->GetBytes(); }
