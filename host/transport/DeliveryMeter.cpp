#include "host/transport/DeliveryMeter.h"

#include <utility>

#include "host/transport/TransportWire.h"

CDeliveryMeter::CDeliveryMeter(std::function<int64_t()> fnClockNs)
    : m_fnClockNs(fnClockNs ? std::move(fnClockNs) : std::function<int64_t()>(&halvowire::GetSendClockNs)) {}

void CDeliveryMeter::OnDelivered(const sDelivery& delivery) {
  const int64_t nNowNs = m_fnClockNs();
  if (!delivery.bPublication) {
    if (m_nFirstResponseNs == 0) m_nFirstResponseNs = nNowNs;
    m_nLastResponseNs = nNowNs;
    return;
  }
  ++m_nPublications;
  if (m_nPublications == 1) m_nFirstNs = nNowNs;
  m_nLastNs = nNowNs;
  if (m_bMeasuring) {
    ++m_nMeasured;
    if (delivery.nSentNs != 0) m_delays.Add(nNowNs - delivery.nSentNs);
  }
  // A call may add another call or start measuring; each runs once.
  while (!m_mapCalls.empty() && m_mapCalls.begin()->first <= m_nPublications) {
    std::function<void()> fnCall = std::move(m_mapCalls.begin()->second);
    m_mapCalls.erase(m_mapCalls.begin());
    fnCall();
  }
}

void CDeliveryMeter::CallAtCount(uint64_t nCount, std::function<void()> fnCall) {
  m_mapCalls.emplace(nCount, std::move(fnCall));
}

void CDeliveryMeter::StartMeasuring() {
  m_delays.Clear();
  m_nMeasured = 0;
  m_bMeasuring = true;
}
