// A receive control as the terminal gives it to a plug-in: sends its requests and publications
// through the I/O thread and has its receiver called with what comes back. Used on the
// user-interface thread only.
#pragma once

#include <cstdint>

#include "host/api/HalvoHostApi.h"

class CDeliveryQueue;
class CTransportIo;

class CRxControl final : public CPyxoRxControl {
 public:
  // Registers the receiver and has the I/O thread open the control's sockets.
  CRxControl(uint64_t nId, CPyxoRxNotifierBase* pReceiver, CTransportIo& io, CDeliveryQueue& delivery);
  // Closes the control if it is still open.
  ~CRxControl();
  CRxControl(const CRxControl&) = delete;
  CRxControl& operator=(const CRxControl&) = delete;

  int SendRequest(uint64_t* pnOut, OTP_MSG hMsg, int32_t nFlags, int32_t* pnErr) override;
  // Only topic subscriptions on the publication name (field 54211) exist.
  int Subscribe(uint64_t* pnOut, uint32_t nFieldId, const char* pValue, uint64_t nLength, int32_t nMode,
                int32_t nReserved1, int32_t nReserved2, int32_t nReserved3, int32_t nReliable,
                int32_t* pnErr) override;
  int Publish(OTP_SCRATCH hScratch, int32_t* pnErr) override;
  // Nothing reaches the receiver after this, messages already queued included; sending fails.
  void Close(int32_t nFlags) override;

  bool IsOpen() const { return m_bOpen; }

 private:
  int SendBytes(bool bPublication, const uint8_t* pBytes, size_t nLength, int32_t* pnErr);

  uint64_t m_nId;
  CTransportIo& m_io;
  CDeliveryQueue& m_delivery;
  bool m_bOpen = true;
};
