#include "host/transport/RxControl.h"

#include "connect/include/HalvoCodec.h"
#include "host/transport/DeliveryQueue.h"
#include "host/transport/TransportIo.h"
#include "host/transport/TransportWire.h"

namespace {

void SetResult(int32_t* pnErr, int32_t nErr) {
  if (pnErr != nullptr) *pnErr = nErr;
}

}  // namespace

CRxControl::CRxControl(uint64_t nId, CPyxoRxNotifierBase* pReceiver, CTransportIo& io,
                       CDeliveryQueue& delivery)
    : m_nId(nId), m_io(io), m_delivery(delivery) {
  m_delivery.AddReceiver(m_nId, pReceiver);
  sTransportCommand command;
  command.eWhat = sTransportCommand::eKind::kOpen;
  command.nControl = m_nId;
  m_io.Post(std::move(command));
}

CRxControl::~CRxControl() { Close(0); }

int CRxControl::SendRequest(uint64_t* pnOut, OTP_MSG hMsg, int32_t /*nFlags*/, int32_t* pnErr) {
  if (pnOut != nullptr) *pnOut = 0;
  const uint8_t* pBytes = nullptr;
  size_t nLength = 0;
  if (!GetComposedBytes(hMsg, &pBytes, &nLength)) {
    SetResult(pnErr, OTP_ERR_ARGUMENT);
    return 0;
  }
  return SendBytes(false, pBytes, nLength, pnErr);
}

int CRxControl::Subscribe(uint64_t* pnOut, uint32_t nFieldId, const char* pValue, uint64_t nLength,
                          int32_t /*nMode*/, int32_t /*nReserved1*/, int32_t /*nReserved2*/,
                          int32_t /*nReserved3*/, int32_t /*nReliable*/, int32_t* pnErr) {
  if (pnOut != nullptr) *pnOut = 0;
  if (!m_bOpen || nFieldId != rmsproto::kPublicationNameField || (pValue == nullptr && nLength > 0)) {
    SetResult(pnErr, OTP_ERR_ARGUMENT);
    return 0;
  }
  sTransportCommand command;
  command.eWhat = sTransportCommand::eKind::kSubscribe;
  command.nControl = m_nId;
  command.strTopic.assign(pValue == nullptr ? "" : pValue, static_cast<size_t>(nLength));
  m_io.Post(std::move(command));
  SetResult(pnErr, OTP_ERR_NONE);
  return 1;
}

int CRxControl::Publish(OTP_SCRATCH hScratch, int32_t* pnErr) {
  const uint8_t* pBytes = nullptr;
  size_t nLength = 0;
  if (!GetScratchBytes(hScratch, &pBytes, &nLength)) {
    SetResult(pnErr, OTP_ERR_ARGUMENT);
    return 0;
  }
  return SendBytes(true, pBytes, nLength, pnErr);
}

void CRxControl::Close(int32_t /*nFlags*/) {
  if (!m_bOpen) return;
  m_bOpen = false;
  m_delivery.RemoveReceiver(m_nId);
  sTransportCommand command;
  command.eWhat = sTransportCommand::eKind::kClose;
  command.nControl = m_nId;
  m_io.Post(std::move(command));
}

int CRxControl::SendBytes(bool bPublication, const uint8_t* pBytes, size_t nLength, int32_t* pnErr) {
  if (!m_bOpen) {
    SetResult(pnErr, OTP_ERR_ARGUMENT);
    return 0;
  }
  sTransportCommand command;
  command.eWhat = bPublication ? sTransportCommand::eKind::kPublish : sTransportCommand::eKind::kRequest;
  command.nControl = m_nId;
  command.body = zmq::message_t(pBytes, nLength);
  m_io.Post(std::move(command));
  SetResult(pnErr, OTP_ERR_NONE);
  return 1;
}
