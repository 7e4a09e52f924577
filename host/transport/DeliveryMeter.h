// Watches the messages delivered to receivers: counts the publications, keeps when the first
// and the last arrived and when the last response did, calls back when the count reaches given
// numbers and, while measuring, keeps each publication's delay from the server's send until its
// receiver returned.
#pragma once

#include <cstdint>
#include <functional>
#include <map>

#include "host/transport/DeliveryQueue.h"
#include "host/transport/DurationSamples.h"

class CDeliveryMeter final : public CDeliveryObserver {
 public:
  // Clock of the times below: GetSendClockNs by default; tests give their own.
  explicit CDeliveryMeter(std::function<int64_t()> fnClockNs = {});

  void OnDelivered(const sDelivery& delivery) override;

  // Calls fnCall once, on the delivering thread, when nCount publications have been delivered.
  void CallAtCount(uint64_t nCount, std::function<void()> fnCall);

  // Delays of the publications delivered from Start to Stop; Start forgets earlier ones.
  void StartMeasuring();
  void StopMeasuring() { m_bMeasuring = false; }

  uint64_t GetPublicationCount() const { return m_nPublications; }
  // Publications delivered while measuring, the ones without a send time included.
  uint64_t GetMeasuredCount() const { return m_nMeasured; }
  // Clock times of the first and the last publication; 0 before the first.
  int64_t GetFirstNs() const { return m_nFirstNs; }
  int64_t GetLastNs() const { return m_nLastNs; }
  // Clock times of the first and the last response delivered; 0 before the first.
  int64_t GetFirstResponseNs() const { return m_nFirstResponseNs; }
  int64_t GetLastResponseNs() const { return m_nLastResponseNs; }
  const CDurationSamples& GetDelays() const { return m_delays; }

 private:
  std::function<int64_t()> m_fnClockNs;
  std::multimap<uint64_t, std::function<void()>> m_mapCalls;
  uint64_t m_nPublications = 0;
  uint64_t m_nMeasured = 0;
  int64_t m_nFirstNs = 0;
  int64_t m_nLastNs = 0;
  int64_t m_nFirstResponseNs = 0;
  int64_t m_nLastResponseNs = 0;
  bool m_bMeasuring = false;
  CDurationSamples m_delays;
};
