// What a feed did to each record, kept by the server that sends it and by a terminal that
// receives it, so the two can be compared: the last value publication of every record (or the
// delete mark that removed it), and every delete mark, call status and manual alert in order,
// each with the server's send time. The same messages give the same keys on both sides.
//
// The file has one line per record and then one per event, fields separated by tabs:
//   final <send ns> value|deleted <key>
//   event <send ns> delete|call|alert <key>
// A record's key is its entity text and level text joined by '|'; an alert's is the entity id
// it names (54001). A later value after a delete mark makes the record a value again.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "connect/include/connecthalvo.h"

enum class eLedgerKind { kValue, kDelete, kCall, kAlert };

class CFeedLedger {
 public:
  static std::string MakeRecordKey(std::string_view strEntityText, std::string_view strLevelText);

  void Note(eLedgerKind eKind, std::string_view strKey, int64_t nSentNs);
  // Notes a publication by its name (54211) and key fields; other messages, and messages that
  // lack a key field, are not noted.
  void NoteMessage(OTP_MSG hMsg, int64_t nSentNs);

  // Records in no particular order, then events in the order noted. False with the reason
  // when the file cannot be written.
  bool Write(const std::string& strPath, std::string& strError) const;

 private:
  struct sFinal {
    int64_t nSentNs = 0;
    bool bDeleted = false;
  };
  struct sEvent {
    int64_t nSentNs = 0;
    eLedgerKind eKind = eLedgerKind::kDelete;
    std::string strKey;
  };

  std::unordered_map<std::string, sFinal> m_mapFinal;
  std::vector<sEvent> m_arrEvents;
  std::string m_strKey;  // scratch, so noting a value allocates only for a new record
};
