// What the server keeps of its clients' publications: the call statuses set on entities (the
// call history that "roth_rst" lists) and the manual alerts sent (that the alert tree lists).
// Oldest first; the oldest entries go once a list is full.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "connect/include/connecthalvo.h"

class CEntityTree;
class CSimRandom;

struct sCallStatus {
  std::string strEntityText;  // 64050
  std::string strLevelText;   // 54244
  bool bMarginCall = false;   // 49302 and 12030, else 49288 and 10615
  std::string strStatus;
  std::string strTime;
  std::string strUser;  // 54247
};

// The time text a terminal sends with a call: "%d/%m/%Y %I:%M:%S %p", local time.
std::string FormatCallTime(std::time_t nTime);

// A manual alert's fields (id, value) in the order they are sent back.
using CAlertFields = std::vector<std::pair<uint32_t, std::string>>;

class CCallBook {
 public:
  static constexpr size_t kMaxEntries = 10000;

  // A call status from a "rms prsnt value publish ZEL" publication: needs 64050, 54244, 54247
  // and one status with its time (an obligation call when both kinds are there). Also sets the
  // call on the entity's record. False when a field is missing.
  bool TakeCallStatus(OTP_MSG hMsg, CEntityTree& tree);
  // A "manual sms alert" publication: needs 54001 and 54247. False when one is missing.
  bool TakeManualAlert(OTP_MSG hMsg);

  // A few calls and alerts on random accounts, so a fresh server has history to list.
  void AddSamples(CEntityTree& tree, CSimRandom& random, size_t nCalls, size_t nAlerts);

  const std::deque<sCallStatus>& GetCallStatuses() const { return m_arrCalls; }
  const std::deque<CAlertFields>& GetManualAlerts() const { return m_arrAlerts; }

 private:
  void AddCallStatus(sCallStatus call, CEntityTree& tree);
  void AddManualAlert(CAlertFields fields);

  std::deque<sCallStatus> m_arrCalls;
  std::deque<CAlertFields> m_arrAlerts;
};
